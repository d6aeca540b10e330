#include "workbook/column_fit.h"

#include <gtest/gtest.h>

#include "workbook/workbook.h"

namespace statcrane {
namespace {

CellRange A1(std::string_view text) { return CellRange::Parse(text); }

TEST(FormatForDisplay, FormatsTheSheetsUse) {
  EXPECT_EQ(FormatForDisplay(0.333, "#.000"), ".333");
  EXPECT_EQ(FormatForDisplay(1, "#.000"), "1.000");
  EXPECT_EQ(FormatForDisplay(0, "#.000"), ".000");
  EXPECT_EQ(FormatForDisplay(1.0 / 16, "#.000"), ".063");
  EXPECT_EQ(FormatForDisplay(81.0 / 80, "#.000"), "1.013");
  EXPECT_EQ(FormatForDisplay(0.9996, "#.000"), "1.000");
  EXPECT_EQ(FormatForDisplay(3, "##0.00"), "3.00");
  EXPECT_EQ(FormatForDisplay(4.32, "##0.00"), "4.32");
  EXPECT_EQ(FormatForDisplay(999.99, "##0.00"), "999.99");
  EXPECT_EQ(FormatForDisplay(1234.5, "##0.00"), "1234.50");
  EXPECT_EQ(FormatForDisplay(66.2, "0.0"), "66.2");
  EXPECT_EQ(FormatForDisplay(200.0 / 3, "0.0"), "66.7");
  EXPECT_EQ(FormatForDisplay(-1.25, "0.0"), "-1.3");
}

TEST(FormatForDisplay, GeneralShowsAtMostElevenCharacters) {
  EXPECT_EQ(FormatForDisplay(12345, ""), "12345");
  EXPECT_EQ(FormatForDisplay(12345, "General"), "12345");
  EXPECT_EQ(FormatForDisplay(1.0 / 3, ""), "0.333333333");
  EXPECT_EQ(FormatForDisplay(-2.5, ""), "-2.5");
  EXPECT_EQ(FormatForDisplay(200.0 / 3, ""), "66.66666667");
  EXPECT_EQ(FormatForDisplay(0.333f, ""), "0.333000004");  // a widened float shows its tail
  EXPECT_EQ(FormatForDisplay(123456789012.0, ""), "1.23457E+11");
  EXPECT_EQ(FormatForDisplay(0, ""), "0");
}

TEST(TextPixels, DigitsAreSevenPixelsAtElevenPoints) {
  EXPECT_EQ(TextPixels("0123456789"), 70);
  EXPECT_EQ(TextPixels("0123456789", 11, true), 70);
  EXPECT_EQ(TextPixels("00", 12), 16);
  EXPECT_GT(TextPixels("Totals", 11, true), TextPixels("Totals"));
  EXPECT_GT(TextPixels("WWW"), TextPixels("iii"));
  EXPECT_EQ(TextPixels("\xC3\x89"), TextPixels("E"));  // É measured as E
  EXPECT_EQ(TextPixels(""), 0);
}

TEST(ColumnWidthForPixels, CharacterUnits) {
  EXPECT_EQ(ColumnWidthForPixels(0), 0);
  // 7 pixels of padding; (pixels - 5) / 7 characters.
  EXPECT_DOUBLE_EQ(ColumnWidthForPixels(70), 72.0 / 7);
  EXPECT_DOUBLE_EQ(ColumnWidthForPixels(3), 10.0 / 12);
  EXPECT_EQ(ColumnWidthForPixels(100000), kMaxColumnWidth);
}

double FitOf(int text_pixels) { return ColumnWidthForPixels(text_pixels); }

TEST(AutoFit, WidestDisplayedTextOfEachColumn) {
  Workbook book;
  Worksheet& sheet = book.AddSheet("Sheet1");
  sheet.SetText(A1("A1"), "Year");
  sheet.SetNumber(A1("A2"), 1987);
  sheet.SetNumber(A1("D2"), 1.0 / 3);
  sheet.SetNumberFormat(A1("D2"), "#.000");
  sheet.SetNumber(A1("E2"), 1.0 / 3);  // General
  sheet.SetText(A1("F1"), "Smith, Alexander Bartholomew");
  sheet.Merge(A1("F1:H1"));  // merged cells do not count
  sheet.SetNumber(A1("F2"), 7);
  sheet.SetText(A1("J1"), "BAVG");
  sheet.SetBold(A1("J1"), true);
  sheet.AutoFitColumns(A1("A:Z"));

  EXPECT_DOUBLE_EQ(sheet.ColumnWidth(Column(1)), FitOf(std::max(TextPixels("Year"), 28)));
  EXPECT_DOUBLE_EQ(sheet.ColumnWidth(Column(4)), FitOf(TextPixels(".333")));
  EXPECT_DOUBLE_EQ(sheet.ColumnWidth(Column(5)), FitOf(TextPixels("0.333333333")));
  EXPECT_DOUBLE_EQ(sheet.ColumnWidth(Column(6)), FitOf(7));
  EXPECT_DOUBLE_EQ(sheet.ColumnWidth(Column(10)), FitOf(TextPixels("BAVG", 11, true)));
  EXPECT_EQ(sheet.ColumnWidth(Column(2)), 0);  // no content: default width
  EXPECT_EQ(sheet.ColumnWidth(Column(7)), 0);
  EXPECT_EQ(sheet.ColumnWidth(Column(27)), 0);  // outside the range
}

TEST(AutoFit, RefittingSeesChangesAboveAndBelowTheLastFit) {
  Worksheet sheet("Team Records");
  for (int32_t row = 1; row <= 50; ++row)
    sheet.SetNumber(CellRange::Cell(Row(row), Column(1)), row);
  sheet.AutoFitColumns(A1("A:N"));
  EXPECT_DOUBLE_EQ(sheet.ColumnWidth(Column(1)), FitOf(14));

  sheet.SetNumber(A1("A60"), 123456);  // appended
  sheet.AutoFitColumns(A1("A:N"));
  EXPECT_DOUBLE_EQ(sheet.ColumnWidth(Column(1)), FitOf(42));

  sheet.SetNumber(A1("A60"), 5);  // shrunk in a row already measured
  sheet.AutoFitColumns(A1("A:N"));
  EXPECT_DOUBLE_EQ(sheet.ColumnWidth(Column(1)), FitOf(14));

  sheet.SetFontSize(A1("A10"), 12);  // a format change counts as well
  sheet.AutoFitColumns(A1("A:N"));
  EXPECT_DOUBLE_EQ(sheet.ColumnWidth(Column(1)), FitOf(16));

  sheet.Clear(A1("A:A"));
  sheet.AutoFitColumns(A1("A:N"));
  EXPECT_EQ(sheet.ColumnWidth(Column(1)), 0);

  // A block fits on its own rows only.
  sheet.SetText(A1("B1"), "a much longer text");
  sheet.SetText(A1("B2"), "short");
  sheet.AutoFitColumns(A1("B2:B9"));
  EXPECT_DOUBLE_EQ(sheet.ColumnWidth(Column(2)), FitOf(TextPixels("short")));
}

}  // namespace
}  // namespace statcrane
