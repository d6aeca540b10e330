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

TEST(WorkbookSheets, NewWorkbookHasSheet1Active) {
  Workbook book;
  EXPECT_EQ(book.SheetNames(), Names{"Sheet1"});
  EXPECT_EQ(book.ActiveSheet().name(), "Sheet1");
}

TEST(WorkbookSheets, AddedSheetsGoBeforeTheActiveOne) {
  Workbook book;
  for (char c = 'Z'; c >= 'A'; --c) book.AddSheet(std::string(1, c));
  for (const char* name : {"HitWSTotals", "HitLCSTotals", "HitDCSTotals", "HitRegTotals"}) {
    book.AddSheet(name);
  }
  Names expected = {"HitRegTotals", "HitDCSTotals", "HitLCSTotals", "HitWSTotals"};
  for (const std::string& letter : Letters()) expected.push_back(letter);
  expected.push_back("Sheet1");
  EXPECT_EQ(book.SheetNames(), expected);
  EXPECT_EQ(book.ActiveSheet().name(), "HitRegTotals");

  book.Delete("Sheet1");  // not active: the active sheet stays
  expected.pop_back();
  EXPECT_EQ(book.SheetNames(), expected);
  EXPECT_EQ(book.ActiveSheet().name(), "HitRegTotals");

  // "#" goes directly after "Z" and leaves the active sheet alone.
  Worksheet& extra = book.InsertSheetAfter("Z", "#");
  EXPECT_EQ(extra.name(), "#");
  EXPECT_EQ(book.SheetNames().back(), "#");
  EXPECT_EQ(book.ActiveSheet().name(), "HitRegTotals");
}

TEST(WorkbookSheets, DeletingTheActiveSheetActivatesItsNeighbour) {
  Workbook book;
  book.AddSheet("C");
  book.AddSheet("B");
  book.AddSheet("A");  // A B C Sheet1
  book.Activate("B");
  book.Delete("B");
  EXPECT_EQ(book.ActiveSheet().name(), "C");  // right-hand neighbour
  book.Activate("Sheet1");
  book.Delete("Sheet1");
  EXPECT_EQ(book.ActiveSheet().name(), "C");  // the last tab: left-hand neighbour
  book.Activate("C");
  book.Delete("A");  // a sheet before the active one
  EXPECT_EQ(book.ActiveSheet().name(), "C");
  EXPECT_EQ(book.SheetNames(), Names{"C"});
  // The last sheet stays.
  try {
    book.Delete("C");
    ADD_FAILURE() << "deleted the only sheet";
  } catch (const StatCraneError& error) {
    EXPECT_NE(error.message().find("at least one sheet"), std::string::npos);
  }
  EXPECT_EQ(book.SheetNames(), Names{"C"});
}

TEST(WorkbookSheets, UnknownSheetIsSubscriptOutOfRange) {
  Workbook book;
  const Workbook& const_book = book;
  for (auto use : std::initializer_list<void (*)(Workbook&)>{
           [](Workbook& b) { b.Sheet("Team Records"); },
           [](Workbook& b) { b.Activate("Team Records"); },
           [](Workbook& b) { b.Delete("Team Records"); },
           [](Workbook& b) { b.InsertSheetAfter("Team Records", "X"); }}) {
    try {
      use(book);
      ADD_FAILURE() << "no error";
    } catch (const StatCraneError& error) {
      EXPECT_NE(error.message().find("\"Team Records\""), std::string::npos);
    }
  }
  EXPECT_THROW(const_book.Sheet("Nope"), StatCraneError);
  EXPECT_FALSE(book.HasSheet("Team Records"));
  // Names are found without regard to case, as in the application.
  EXPECT_EQ(&book.Sheet("sheet1"), &book.Sheet("Sheet1"));
}

TEST(WorkbookSheets, NamesASheetCannotHave) {
  Workbook book;
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
  book.Delete("M");
  EXPECT_EQ(&z, &book.Sheet("Z"));
  EXPECT_EQ(z.Cell(1, 1).number, 7);
}

// --- Values ------------------------------------------------------------------

TEST(WorksheetValues, NumbersTextsAndEmptyText) {
  Workbook book;
  Worksheet& sheet = book.ActiveSheet();
  sheet.SetNumber(A1("A1"), 1987);
  sheet.SetText(A1("B1"), "NYY");
  sheet.SetText(A1("C1"), "gone soon");
  sheet.SetText(A1("C1"), "");
  sheet.SetFillColorIndex(A1("D1"), kFillHitting);
  sheet.SetText(A1("D1"), "");

  EXPECT_EQ(sheet.Cell(1, 1).kind, CellKind::kNumber);
  EXPECT_EQ(sheet.Cell(1, 1).number, 1987);
  EXPECT_EQ(sheet.Cell(1, 2).kind, CellKind::kText);
  EXPECT_EQ(sheet.Cell(1, 2).text, "NYY");
  EXPECT_EQ(sheet.Cell(1, 3).kind, CellKind::kEmpty);
  EXPECT_EQ(sheet.Cell(1, 4).kind, CellKind::kEmpty);
  EXPECT_EQ(sheet.Cell(1, 4).style->fill, kFillHitting);  // the format stays
  EXPECT_EQ(sheet.Cell(9, 9).kind, CellKind::kEmpty);
  EXPECT_EQ(*sheet.Cell(9, 9).style, CellStyle{});
  EXPECT_EQ(sheet.LastRow(), 1);

  std::vector<int32_t> visited;
  sheet.ForEachCellInRow(1, [&](int32_t col, const CellView&) { visited.push_back(col); });
  EXPECT_EQ(visited, (std::vector<int32_t>{1, 2, 4}));

  // Equal texts are pooled once.
  sheet.SetText(A1("B2:B50"), "NYY");
  EXPECT_EQ(book.strings().size(), 2u);
  EXPECT_EQ(sheet.Cell(50, 2).text.data(), sheet.Cell(1, 2).text.data());
}

TEST(WorksheetValues, ThreeDecimalValuesAreStoredAsNumbers) {
  Worksheet sheet("A");
  sheet.SetNumber(A1("D7"), RoundThreeDecimals(1.0 / 3));
  sheet.SetNumber(A1("E7"), RoundThreeDecimalsSingle(2.0 / 3));
  sheet.SetNumber(A1("F7"), RoundThreeDecimals(81.0 / 80));
  sheet.SetNumberFormat(A1("D7:F7"), "#.000");
  EXPECT_EQ(sheet.Cell(7, 4).kind, CellKind::kNumber);
  EXPECT_EQ(sheet.Cell(7, 4).number, 0.333);
  EXPECT_EQ(sheet.Cell(7, 5).number, static_cast<double>(0.667f));
  EXPECT_EQ(sheet.Cell(7, 6).number, 1.013);
  EXPECT_EQ(sheet.Cell(7, 6).style->number_format, "#.000");
}

TEST(WorksheetValues, ClearRemovesValuesAndFormats) {
  Worksheet sheet("A");
  sheet.SetNumber(A1("A1:C3"), 5);
  sheet.SetBold(A1("A1:C3"), true);
  sheet.Clear(A1("B:B"));
  EXPECT_EQ(sheet.Cell(2, 2).kind, CellKind::kEmpty);
  EXPECT_FALSE(sheet.Cell(2, 2).style->bold);
  EXPECT_EQ(sheet.Cell(2, 3).number, 5);
  EXPECT_EQ(sheet.CellCount(), 6);
}

TEST(WorksheetValues, RangesOutsideTheSheetAreRefused) {
  Worksheet sheet("A");
  try {
    sheet.SetNumber(CellRange::Cell(1, kMaxRows + 1), 1);
    ADD_FAILURE() << "wrote beyond the last row";
  } catch (const StatCraneError& error) {
    EXPECT_NE(error.message().find("1048577"), std::string::npos) << error.message();
    EXPECT_NE(error.message().find("1,048,576"), std::string::npos) << error.message();
  }
  EXPECT_NO_THROW(sheet.SetNumber(CellRange::Cell(1, kMaxRows), 1));
  EXPECT_THROW(sheet.SetBold(CellRange::Cell(kMaxColumns + 1, 1), true), StatCraneError);
  EXPECT_THROW(sheet.SetText(CellRange::Cell(1, 0), "x"), StatCraneError);
  EXPECT_THROW(sheet.SetBold(A1("A:Z"), true), StatCraneError);
  EXPECT_THROW(sheet.SetNumber(A1("A1"), std::numeric_limits<double>::quiet_NaN()), StatCraneError);
  EXPECT_THROW(sheet.SetText(A1("A1"), std::string(32768, 'x')), StatCraneError);
  EXPECT_THROW(sheet.SetFillColorIndex(A1("A1"), 99), StatCraneError);
}

// --- Formats -------------------------------------------------------------------

const BorderSide kMedium{kLineStyleContinuous, kWeightMedium, kColorAutomatic};
const BorderSide kMediumRed{kLineStyleContinuous, kWeightMedium, kColorRed};

TEST(WorksheetBorders, SideIndexesDrawEveryCellOfTheBlock) {
  Worksheet sheet("A");
  sheet.SetBorderWeight(A1("A5:U5"), BorderIndex::kRight, kWeightMedium);
  sheet.SetBorderWeight(A1("A5:U5"), BorderIndex::kLeft, kWeightMedium);
  for (int32_t col = 1; col <= 21; ++col) {
    const CellStyle& style = *sheet.Cell(5, col).style;
    EXPECT_EQ(style.left(), kMedium) << col;
    EXPECT_EQ(style.right(), kMedium) << col;
    EXPECT_EQ(style.top(), BorderSide{}) << col;
  }
  EXPECT_EQ(*sheet.Cell(5, 22).style, CellStyle{});
  EXPECT_EQ(*sheet.Cell(4, 1).style, CellStyle{});
}

TEST(WorksheetBorders, EdgeTopDrawsOnlyAboveTheFirstRow) {
  Worksheet sheet("A");
  sheet.SetBorderWeight(A1("A7:U8"), BorderIndex::kEdgeTop, kWeightMedium);
  for (int32_t col = 1; col <= 21; ++col) {
    EXPECT_EQ(sheet.Cell(7, col).style->top(), kMedium);
    EXPECT_EQ(sheet.Cell(8, col).style->top(), BorderSide{});
  }
}

TEST(WorksheetBorders, TotalsLineFrame) {
  // A totals line: a medium line above A:U, a medium red frame on B:U.
  Worksheet sheet("A");
  CellRange a_u = A1("A9:U9"), b_u = A1("B9:U9");
  sheet.SetBorderWeight(a_u, BorderIndex::kEdgeTop, kWeightMedium);
  sheet.SetBorderWeight(b_u, BorderIndex::kBottom, kWeightMedium);
  sheet.SetBorderColor(b_u, BorderIndex::kBottom, kColorRed);
  sheet.SetBorderWeight(b_u, BorderIndex::kRight, kWeightMedium);
  sheet.SetBorderWeight(b_u, BorderIndex::kLeft, kWeightMedium);
  sheet.SetBorderColor(b_u, BorderIndex::kLeft, kColorRed);
  sheet.SetBorderColor(b_u, BorderIndex::kRight, kColorRed);
  const CellStyle& a = *sheet.Cell(9, 1).style;
  EXPECT_EQ(a.top(), kMedium);
  EXPECT_EQ(a.bottom(), BorderSide{});
  const CellStyle& d = *sheet.Cell(9, 4).style;
  EXPECT_EQ(d.top(), kMedium);
  EXPECT_EQ(d.bottom(), kMediumRed);
  EXPECT_EQ(d.left(), kMediumRed);
  EXPECT_EQ(d.right(), kMediumRed);
  // LineStyle alone draws a thin line.
  sheet.SetBorderLineStyle(A1("C20"), BorderIndex::kTop, kLineStyleContinuous);
  EXPECT_EQ(sheet.Cell(20, 3).style->top(),
            (BorderSide{kLineStyleContinuous, kWeightThin, kColorAutomatic}));
}

TEST(WorksheetFormats, StylesAreInternedAcrossCellsAndSheets) {
  Workbook book;
  Worksheet& a = book.AddSheet("A");
  Worksheet& b = book.AddSheet("B");
  for (Worksheet* sheet : {&a, &b}) {
    for (int32_t row = 1; row <= 500; ++row) {
      CellRange line = CellRange::Row(1, 21, row);
      sheet->SetNumber(line, row);
      sheet->SetNumberFormat(CellRange::Row(4, 6, row), "#.000");
      sheet->SetBorderWeight(line, BorderIndex::kRight, kWeightMedium);
      sheet->SetBorderWeight(line, BorderIndex::kLeft, kWeightMedium);
    }
  }
  // Default, and the steps: "#.000"; + right; + left; right; right + left.
  EXPECT_EQ(book.styles().size(), 6u);
  EXPECT_EQ(a.Cell(17, 5).style, b.Cell(300, 4).style);
  EXPECT_NE(a.Cell(17, 5).style, a.Cell(17, 7).style);
  EXPECT_EQ(a.Cell(17, 5).style->number_format, "#.000");
  EXPECT_EQ(a.Cell(17, 7).style->left(), kMedium);

  a.SetBold(A1("A1"), true);
  a.SetFontSize(A1("A1"), 12);
  a.SetHorizontalAlignment(A1("A1"), kAlignRight);
  const CellStyle& first = *a.Cell(1, 1).style;
  EXPECT_TRUE(first.bold);
  EXPECT_EQ(first.font_size, 12);
  EXPECT_EQ(first.horizontal_alignment, kAlignRight);
  EXPECT_EQ(first.left(), kMedium);
}

TEST(WorksheetMerges, MergeKeepsTheTopLeftValue) {
  Worksheet sheet("A");
  sheet.SetText(A1("A5"), "Smith, Al");
  sheet.SetText(A1("B5"), "dropped");
  sheet.Merge(A1("A5:E5"));
  sheet.Merge(A1("R5:U5"));
  sheet.SetNumber(A1("R5"), 1234);
  EXPECT_EQ(sheet.merges(), (std::vector<CellRange>{A1("A5:E5"), A1("R5:U5")}));
  EXPECT_EQ(sheet.Cell(5, 1).text, "Smith, Al");
  EXPECT_EQ(sheet.Cell(5, 2).kind, CellKind::kEmpty);
  EXPECT_EQ(sheet.Cell(5, 18).number, 1234);

  // A merge over merged cells takes them in; a single cell merges nothing.
  sheet.Merge(A1("E5:F6"));
  EXPECT_EQ(sheet.merges(), (std::vector<CellRange>{A1("R5:U5"), A1("A5:F6")}));
  sheet.Merge(A1("H1"));
  EXPECT_EQ(sheet.merges().size(), 2u);
}

}  // namespace
}  // namespace statcrane
