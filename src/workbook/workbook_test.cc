#include "workbook/workbook.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "util/error.h"
#include "util/three_decimals.h"

namespace statcrane {
namespace {

using Names = std::vector<std::string>;

CellRange A1(std::string_view text) { return CellRange::Parse(text); }

Names Letters() {
  Names letters;
  for (char c = 'A'; c <= 'Z'; ++c) letters.push_back(std::string(1, c));
  return letters;
}

// --- Sheets ----------------------------------------------------------------

TEST(WorkbookSheets, SheetsGoInTabOrderAndTheWorkbookOpensOnTheChosenOne) {
  Workbook book;
  EXPECT_EQ(book.SheetCount(), 0u);
  for (const char* name : {"HitRegTotals", "HitDCSTotals"}) book.AddSheet(name);
  Names expected = {"HitRegTotals", "HitDCSTotals"};
  for (const std::string& letter : Letters()) {
    book.AddSheet(letter);
    expected.push_back(letter);
  }
  EXPECT_EQ(book.SheetNames(), expected);
  EXPECT_EQ(book.OpeningSheetIndex(), 0u);  // the first tab until one is chosen
  book.SetOpeningSheet(*book.FindSheet("Q"));
  EXPECT_EQ(book.SheetAt(book.OpeningSheetIndex()).name(), "Q");
}

TEST(WorkbookSheets, RemovingTheOpeningSheetOpensOnItsNeighbour) {
  Workbook book;
  Worksheet& a = book.AddSheet("A");
  Worksheet& b = book.AddSheet("B");
  Worksheet& c = book.AddSheet("C");
  Worksheet& d = book.AddSheet("D");
  book.SetOpeningSheet(b);
  book.RemoveSheet(b);
  EXPECT_EQ(book.SheetAt(book.OpeningSheetIndex()).name(), "C");  // right-hand neighbour
  book.SetOpeningSheet(d);
  book.RemoveSheet(d);
  EXPECT_EQ(book.SheetAt(book.OpeningSheetIndex()).name(), "C");  // the last tab: left-hand one
  book.RemoveSheet(a);                                            // a sheet before the active one
  EXPECT_EQ(book.SheetAt(book.OpeningSheetIndex()).name(), "C");
  book.RemoveSheet(c);
  EXPECT_EQ(book.SheetCount(), 0u);
  // A handle of another workbook is refused by name.
  Workbook other;
  Worksheet& stranger = other.AddSheet("Team Records");
  try {
    book.RemoveSheet(stranger);
    ADD_FAILURE() << "removed a sheet of another workbook";
  } catch (const StatCraneError& error) {
    EXPECT_NE(error.message().find("\"Team Records\""), std::string::npos);
  }
}

TEST(WorkbookSheets, FindingASheetByName) {
  Workbook book;
  Worksheet& sheet = book.AddSheet("Sheet1");
  EXPECT_EQ(book.FindSheet("Team Records"), nullptr);
  // Names are found without regard to case.
  EXPECT_EQ(book.FindSheet("sheet1"), &sheet);
  const Workbook& const_book = book;
  EXPECT_EQ(const_book.FindSheet("SHEET1"), &sheet);
}

TEST(WorkbookSheets, NamesASheetCannotHave) {
  Workbook book;
  book.AddSheet("Sheet1");
  for (const char* name : {"", "SHEET1", "a:b", "a/b", "a[1]", "'quoted'", "History",
                           "a name longer than thirty-one ch"}) {
    EXPECT_THROW(book.AddSheet(name), StatCraneError) << name;
  }
  EXPECT_EQ(book.SheetNames(), Names{"Sheet1"});
  EXPECT_NO_THROW(book.AddSheet("Team Records"));
  EXPECT_NO_THROW(book.AddSheet("a name of exactly thirty-one ch"));
}

TEST(WorkbookSheets, SheetReferencesOutliveOtherSheetsComingAndGoing) {
  Workbook book;
  Worksheet& z = book.AddSheet("Z");
  z.SetNumber(A1("A1"), 7);
  for (char c = 'Y'; c >= 'A'; --c) book.AddSheet(std::string(1, c));
  book.RemoveSheet(*book.FindSheet("M"));
  EXPECT_EQ(&z, book.FindSheet("Z"));
  EXPECT_EQ(z.Cell(Row(1), Column(1)).number, 7);
}

// --- Values ------------------------------------------------------------------

TEST(WorksheetValues, NumbersTextsAndEmptyText) {
  Workbook book;
  Worksheet& sheet = book.AddSheet("Sheet1");
  sheet.SetNumber(A1("A1"), 1987);
  sheet.SetText(A1("B1"), "NYY");
  sheet.SetText(A1("C1"), "gone soon");
  sheet.SetText(A1("C1"), "");
  sheet.SetFill(A1("D1"), 0xFFFFCC);
  sheet.SetText(A1("D1"), "");

  EXPECT_EQ(sheet.Cell(Row(1), Column(1)).kind, CellKind::kNumber);
  EXPECT_EQ(sheet.Cell(Row(1), Column(1)).number, 1987);
  EXPECT_EQ(sheet.Cell(Row(1), Column(2)).kind, CellKind::kText);
  EXPECT_EQ(sheet.Cell(Row(1), Column(2)).text, "NYY");
  EXPECT_EQ(sheet.Cell(Row(1), Column(3)).kind, CellKind::kEmpty);
  EXPECT_EQ(sheet.Cell(Row(1), Column(4)).kind, CellKind::kEmpty);
  EXPECT_EQ(sheet.Cell(Row(1), Column(4)).style->fill, 0xFFFFCCu);  // the format stays
  EXPECT_EQ(sheet.Cell(Row(9), Column(9)).kind, CellKind::kEmpty);
  EXPECT_EQ(*sheet.Cell(Row(9), Column(9)).style, CellStyle{});
  EXPECT_EQ(sheet.LastRow().number(), 1);

  std::vector<int32_t> visited;
  sheet.ForEachCellInRow(Row(1),
                         [&](Column col, const CellView&) { visited.push_back(col.number()); });
  EXPECT_EQ(visited, (std::vector<int32_t>{1, 2, 4}));

  // Equal texts are pooled once.
  sheet.SetText(A1("B2:B50"), "NYY");
  EXPECT_EQ(book.strings().size(), 2u);
  EXPECT_EQ(sheet.Cell(Row(50), Column(2)).text.data(), sheet.Cell(Row(1), Column(2)).text.data());
}

TEST(WorksheetValues, ThreeDecimalValuesAreStoredAsNumbers) {
  Worksheet sheet("A");
  sheet.SetNumber(A1("D7"), RoundThreeDecimals(1.0 / 3));
  sheet.SetNumber(A1("E7"), RoundThreeDecimalsSingle(2.0 / 3));
  sheet.SetNumber(A1("F7"), RoundThreeDecimals(81.0 / 80));
  sheet.SetNumberFormat(A1("D7:F7"), "#.000");
  EXPECT_EQ(sheet.Cell(Row(7), Column(4)).kind, CellKind::kNumber);
  EXPECT_EQ(sheet.Cell(Row(7), Column(4)).number, 0.333);
  EXPECT_EQ(sheet.Cell(Row(7), Column(5)).number, static_cast<double>(0.667f));
  EXPECT_EQ(sheet.Cell(Row(7), Column(6)).number, 1.013);
  EXPECT_EQ(sheet.Cell(Row(7), Column(6)).style->number_format, "#.000");
}

TEST(WorksheetValues, ClearRemovesValuesAndFormats) {
  Worksheet sheet("A");
  sheet.SetNumber(A1("A1:C3"), 5);
  sheet.SetBold(A1("A1:C3"), true);
  sheet.Clear(A1("B:B"));
  EXPECT_EQ(sheet.Cell(Row(2), Column(2)).kind, CellKind::kEmpty);
  EXPECT_FALSE(sheet.Cell(Row(2), Column(2)).style->bold);
  EXPECT_EQ(sheet.Cell(Row(2), Column(3)).number, 5);
  EXPECT_EQ(sheet.CellCount(), 6);
}

TEST(WorksheetValues, RangesOutsideTheSheetAreRefused) {
  Worksheet sheet("A");
  try {
    sheet.SetNumber(CellRange::Cell(Row(kMaxRows + 1), Column(1)), 1);
    ADD_FAILURE() << "wrote beyond the last row";
  } catch (const StatCraneError& error) {
    EXPECT_NE(error.message().find("1048577"), std::string::npos) << error.message();
    EXPECT_NE(error.message().find("1,048,576"), std::string::npos) << error.message();
  }
  EXPECT_NO_THROW(sheet.SetNumber(CellRange::Cell(Row(kMaxRows), Column(1)), 1));
  EXPECT_THROW(sheet.SetBold(CellRange::Cell(Row(1), Column(kMaxColumns + 1)), true),
               StatCraneError);
  EXPECT_THROW(sheet.SetText(CellRange::Cell(Row(0), Column(1)), "x"), StatCraneError);
  EXPECT_THROW(sheet.SetBold(A1("A:Z"), true), StatCraneError);
  EXPECT_THROW(sheet.SetNumber(A1("A1"), std::numeric_limits<double>::quiet_NaN()), StatCraneError);
  EXPECT_THROW(sheet.SetText(A1("A1"), std::string(32768, 'x')), StatCraneError);
  EXPECT_THROW(sheet.SetFill(A1("A1"), 0x1000000), StatCraneError);
}

// --- Formats -------------------------------------------------------------------

const BorderLine kMedium{LineStyle::kMedium, std::nullopt};
const BorderLine kMediumRed{LineStyle::kMedium, kRed};

TEST(WorksheetBorders, ASideIsDrawnOnEveryCellOfTheBlock) {
  Worksheet sheet("A");
  sheet.SetBorder(A1("A5:U5"), BorderSide::kRight, LineStyle::kMedium);
  sheet.SetBorder(A1("A5:U5"), BorderSide::kLeft, LineStyle::kMedium);
  for (int32_t col = 1; col <= 21; ++col) {
    const CellStyle& style = *sheet.Cell(Row(5), Column(col)).style;
    EXPECT_EQ(style.border(BorderSide::kLeft), kMedium) << col;
    EXPECT_EQ(style.border(BorderSide::kRight), kMedium) << col;
    EXPECT_EQ(style.border(BorderSide::kTop), BorderLine{}) << col;
  }
  EXPECT_EQ(*sheet.Cell(Row(5), Column(22)).style, CellStyle{});
  EXPECT_EQ(*sheet.Cell(Row(4), Column(1)).style, CellStyle{});
}

TEST(WorksheetBorders, TotalsLineFrame) {
  // A totals line: a medium line above A:U, a medium red frame on B:U.
  Worksheet sheet("A");
  const CellRange a_u = A1("A9:U9"), b_u = A1("B9:U9");
  sheet.SetBorder(a_u, BorderSide::kTop, LineStyle::kMedium);
  for (BorderSide side : {BorderSide::kBottom, BorderSide::kRight, BorderSide::kLeft}) {
    sheet.SetBorder(b_u, side, LineStyle::kMedium, kRed);
  }
  const CellStyle& a = *sheet.Cell(Row(9), Column(1)).style;
  EXPECT_EQ(a.border(BorderSide::kTop), kMedium);
  EXPECT_EQ(a.border(BorderSide::kBottom), BorderLine{});
  const CellStyle& d = *sheet.Cell(Row(9), Column(4)).style;
  EXPECT_EQ(d.border(BorderSide::kTop), kMedium);
  EXPECT_EQ(d.border(BorderSide::kBottom), kMediumRed);
  EXPECT_EQ(d.border(BorderSide::kLeft), kMediumRed);
  EXPECT_EQ(d.border(BorderSide::kRight), kMediumRed);
  // Drawing a side again replaces its line and colour; no line removes both.
  sheet.SetBorder(A1("D9"), BorderSide::kLeft, LineStyle::kThin);
  EXPECT_EQ(sheet.Cell(Row(9), Column(4)).style->border(BorderSide::kLeft),
            (BorderLine{LineStyle::kThin, {}}));
  sheet.SetBorder(A1("D9"), BorderSide::kBottom, LineStyle::kNone, kRed);
  EXPECT_EQ(sheet.Cell(Row(9), Column(4)).style->border(BorderSide::kBottom), BorderLine{});
}

TEST(WorksheetFormats, StylesAreInternedAcrossCellsAndSheets) {
  Workbook book;
  Worksheet& a = book.AddSheet("A");
  Worksheet& b = book.AddSheet("B");
  for (Worksheet* sheet : {&a, &b}) {
    for (int32_t row = 1; row <= 500; ++row) {
      CellRange line = CellRange::Across(Row(row), Column(1), Column(21));
      sheet->SetNumber(line, row);
      sheet->SetNumberFormat(CellRange::Across(Row(row), Column(4), Column(6)), "#.000");
      sheet->SetBorder(line, BorderSide::kRight, LineStyle::kMedium);
      sheet->SetBorder(line, BorderSide::kLeft, LineStyle::kMedium);
    }
  }
  // Default, and the steps: "#.000"; + right; + left; right; right + left.
  EXPECT_EQ(book.styles().size(), 6u);
  EXPECT_EQ(a.Cell(Row(17), Column(5)).style, b.Cell(Row(300), Column(4)).style);
  EXPECT_NE(a.Cell(Row(17), Column(5)).style, a.Cell(Row(17), Column(7)).style);
  EXPECT_EQ(a.Cell(Row(17), Column(5)).style->number_format, "#.000");
  EXPECT_EQ(a.Cell(Row(17), Column(7)).style->border(BorderSide::kLeft), kMedium);

  a.SetBold(A1("A1"), true);
  a.SetFontSize(A1("A1"), 12);
  a.SetAlignment(A1("A1"), HorizontalAlignment::kRight);
  const CellStyle& first = *a.Cell(Row(1), Column(1)).style;
  EXPECT_TRUE(first.bold);
  EXPECT_EQ(first.font_size, 12);
  EXPECT_EQ(first.alignment, HorizontalAlignment::kRight);
  EXPECT_EQ(first.border(BorderSide::kLeft), kMedium);
}

TEST(WorksheetMerges, MergeKeepsTheTopLeftValue) {
  Worksheet sheet("A");
  sheet.SetText(A1("A5"), "Smith, Al");
  sheet.SetText(A1("B5"), "dropped");
  sheet.Merge(A1("A5:E5"));
  sheet.Merge(A1("R5:U5"));
  sheet.SetNumber(A1("R5"), 1234);
  EXPECT_EQ(sheet.merges(), (std::vector<CellRange>{A1("A5:E5"), A1("R5:U5")}));
  EXPECT_EQ(sheet.Cell(Row(5), Column(1)).text, "Smith, Al");
  EXPECT_EQ(sheet.Cell(Row(5), Column(2)).kind, CellKind::kEmpty);
  EXPECT_EQ(sheet.Cell(Row(5), Column(18)).number, 1234);

  // A merge over merged cells takes them in; a single cell merges nothing.
  sheet.Merge(A1("E5:F6"));
  EXPECT_EQ(sheet.merges(), (std::vector<CellRange>{A1("R5:U5"), A1("A5:F6")}));
  sheet.Merge(A1("H1"));
  EXPECT_EQ(sheet.merges().size(), 2u);
}

}  // namespace
}  // namespace statcrane
