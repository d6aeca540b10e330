#include "workbook/page_breaks.h"

#include <gtest/gtest.h>

#include <string>

#include "util/error.h"

namespace statcrane {
namespace {

// Landscape, one page wide: as the layout sets up the sheets of blocks.
void SetUpPage(Worksheet& sheet) {
  PageSetup setup;
  setup.orientation = PageOrientation::kLandscape;
  setup.fit_to_width = true;
  sheet.SetPageSetup(setup);
}

// A block of `rows` rows from `first` (text in A), kept together; returns
// the row after the empty row that follows it.
int32_t AddBlock(Worksheet& sheet, int32_t first, int32_t rows) {
  for (int32_t row = first; row < first + rows; ++row) {
    sheet.SetText(CellRange::Cell(Row(row), Column(1)), "line " + std::to_string(row));
  }
  sheet.KeepRowsTogether({Row(first), Row(first + rows - 1)});
  return first + rows + 1;
}

// The numbers of the rows pages begin at.
std::vector<int32_t> Numbers(const std::vector<Row>& rows) {
  std::vector<int32_t> numbers;
  for (Row row : rows) numbers.push_back(row.number());
  return numbers;
}

TEST(PageBreaks, RowHeightsAndTheFitToWidthScale) {
  Worksheet sheet("A");
  sheet.SetText(CellRange::Cell(Row(1), Column(1)), "name");
  sheet.SetFontSize(CellRange::Across(Row(1), Column(1), Column(21)), 12);
  sheet.SetText(CellRange::Cell(Row(2), Column(1)), "line");
  sheet.SetFontSize(CellRange::Cell(Row(3), Column(2)), 10);
  EXPECT_DOUBLE_EQ(EstimatedRowHeight(sheet, Row(1)), 16.2);  // 12-point text
  EXPECT_DOUBLE_EQ(EstimatedRowHeight(sheet, Row(2)), 15);
  EXPECT_DOUBLE_EQ(EstimatedRowHeight(sheet, Row(3)), 15);   // smaller text: still the default
  EXPECT_DOUBLE_EQ(EstimatedRowHeight(sheet, Row(99)), 15);  // below the last row

  // 21 default columns: 21 x 64 pixels = 1008 points, or 21 x 8.43 digits
  // of 5.575 points = 986.9 points; wider than either paper held upright
  // (7.1 and 6.87 inches printable). The larger scale counts.
  EXPECT_DOUBLE_EQ(FitToWidthScale(sheet, kLetterPaper), 0.51);  // 511.2 / 986.9
  EXPECT_DOUBLE_EQ(FitToWidthScale(sheet, kA4Paper), 0.50);      // 494.6 / 986.9
  SetUpPage(sheet);
  // Held sideways: 9.6 and 10.29 inches.
  EXPECT_DOUBLE_EQ(FitToWidthScale(sheet, kLetterPaper), 0.70);  // 691.2 / 986.9
  EXPECT_DOUBLE_EQ(FitToWidthScale(sheet, kA4Paper), 0.75);      // 740.9 / 986.9
  // Letter: 7 inches tall at 70 %, 720 points of rows; A4: 6.77 inches at
  // 75 %, 650 points: A4 holds fewer.
  EXPECT_NEAR(PageHeightInRowPoints(sheet), 6.77 * 72 / 0.75, 1e-9);

  // Fitted columns that leave room: no scaling; A4's shorter page counts.
  Worksheet narrow("B");
  narrow.SetText(CellRange::Cell(Row(1), Column(3)), "a team");  // the table starts in C
  narrow.AutoFitColumns(CellRange::Columns(Column(1), Column(26)));
  SetUpPage(narrow);
  EXPECT_DOUBLE_EQ(FitToWidthScale(narrow, kA4Paper), 1);
  EXPECT_NEAR(PageHeightInRowPoints(narrow), (8.27 - 1.5) * 72, 1e-9);
  // Title rows are printed on every page: the rows below have less room.
  PageSetup titled = narrow.page_setup();
  titled.title_rows = 1;
  narrow.SetPageSetup(titled);
  EXPECT_NEAR(PageHeightInRowPoints(narrow), (8.27 - 1.5) * 72 - 15, 1e-9);
  EXPECT_DOUBLE_EQ(FitToWidthScale(Worksheet("empty"), kA4Paper), 1);
}

// A narrow landscape sheet: pages of 487.44 points, of which the estimate
// fills 99 %: 482.6 points, 32 rows of 15 points.
TEST(PageBreaks, ABlockThatWouldBeCutStartsANewPage) {
  Worksheet sheet("A");
  SetUpPage(sheet);
  int32_t row = 1;
  for (int block = 0; block < 7; ++block) row = AddBlock(sheet, row, 10);
  // Blocks at 1, 12, 23, 34, 45, 56, 67: three blocks with the empty rows
  // between them take 32 rows, so the fourth of each page goes to the next.
  EXPECT_EQ(Numbers(RowBreaksBeforeBlocks(sheet)), (std::vector<int32_t>{34, 67}));

  // Exactly full: a block ending on the page's last row stays.
  Worksheet full("B");
  SetUpPage(full);
  row = AddBlock(full, 1, 20);    // rows 1-20, empty 21
  row = AddBlock(full, row, 11);  // 22-32: 32 rows of 15 points fit
  row = AddBlock(full, row, 2);   // 34-35
  EXPECT_EQ(Numbers(RowBreaksBeforeBlocks(full)), (std::vector<int32_t>{34}));

  // Taller rows count: with 12-point text 32 rows no longer fit.
  Worksheet tall_rows("C");
  SetUpPage(tall_rows);
  AddBlock(tall_rows, AddBlock(tall_rows, 1, 19), 12);  // 1-19, 21-32
  EXPECT_TRUE(RowBreaksBeforeBlocks(tall_rows).empty());
  tall_rows.SetFontSize(CellRange(Row(1), Column(1), Row(32), Column(1)), 12);
  EXPECT_EQ(Numbers(RowBreaksBeforeBlocks(tall_rows)), (std::vector<int32_t>{21}));

  // No blocks, no breaks; nor for blocks that all fit on the first page.
  Worksheet none("D");
  SetUpPage(none);
  for (int32_t r = 1; r <= 500; ++r) none.SetNumber(CellRange::Cell(Row(r), Column(1)), r);
  EXPECT_TRUE(RowBreaksBeforeBlocks(none).empty());
  Worksheet few("E");
  SetUpPage(few);
  AddBlock(few, AddBlock(few, 1, 5), 5);
  EXPECT_TRUE(RowBreaksBeforeBlocks(few).empty());
}

// A block taller than a page starts a new page and fills each of its pages
// (32 rows); the blocks after it go on where its last page ends.
TEST(PageBreaks, ABlockTallerThanAPageStartsANewPageAndFillsItsPages) {
  Worksheet sheet("A");
  SetUpPage(sheet);
  int32_t row = AddBlock(sheet, 1, 10);  // 1-10
  row = AddBlock(sheet, row, 70);        // 12-81: pages 12-43, 44-75, 76-81
  row = AddBlock(sheet, row, 3);         // 83-85: on the page of 76-81
  row = AddBlock(sheet, row, 3);         // 87-89: there too
  row = AddBlock(sheet, row, 70);        // 91-160: 91-122, 123-154, 155-160
  AddBlock(sheet, row, 3);               // 162-164
  EXPECT_EQ(Numbers(RowBreaksBeforeBlocks(sheet)),
            (std::vector<int32_t>{12, 44, 76, 91, 123, 155}));
  PlaceRowBreaks(sheet);
  EXPECT_EQ(Numbers(sheet.row_breaks()), (std::vector<int32_t>{12, 44, 76, 91, 123, 155}));
}

// A title or headings (rows kept with the next) never end a page: the page
// ends above them, and they go over with the lines they lead into.
TEST(PageBreaks, TitlesAndHeadingsGoOverWithTheirLines) {
  Worksheet sheet("A");
  SetUpPage(sheet);
  AddBlock(sheet, 1, 70);                  // one block, rows 1-70
  sheet.KeepWithNext({Row(1), Row(2)});    // its name and headings
  sheet.KeepWithNext({Row(31), Row(32)});  // a title and headings at the first page's foot
  sheet.KeepWithNext({Row(62), Row(62)});  // a title on row 62
  // Page 1 would be 1-32: it ends above the title at 31; page 2 would be
  // 31-62: it ends above the title at 62.
  EXPECT_EQ(Numbers(RowBreaksBeforeBlocks(sheet)), (std::vector<int32_t>{31, 62}));

  // A page that would end on nothing but rows kept with the next is filled.
  Worksheet all_titles("B");
  SetUpPage(all_titles);
  AddBlock(all_titles, 1, 40);
  all_titles.KeepWithNext({Row(1), Row(39)});
  EXPECT_EQ(Numbers(RowBreaksBeforeBlocks(all_titles)), (std::vector<int32_t>{33}));
}

TEST(PageBreaks, NoMoreBreaksThanTheApplicationsAccept) {
  Worksheet sheet("M");
  SetUpPage(sheet);
  int32_t row = 1;
  // 20-row blocks: one a page, a break before each but the first.
  for (size_t block = 0; block < kMaxRowBreaks + 10; ++block) row = AddBlock(sheet, row, 20);
  const std::vector<int32_t> breaks = Numbers(RowBreaksBeforeBlocks(sheet));
  ASSERT_EQ(breaks.size(), kMaxRowBreaks);
  EXPECT_EQ(breaks.front(), 22);
  EXPECT_EQ(breaks.back(), 1 + static_cast<int32_t>(kMaxRowBreaks) * 21);
}

TEST(PageBreaks, TheModelRefusesBreaksAndBlocksOutOfOrder) {
  Worksheet sheet("A");
  sheet.KeepRowsTogether({Row(1), Row(5)});
  EXPECT_THROW(sheet.KeepRowsTogether({Row(5), Row(8)}), StatCraneError);  // overlaps
  EXPECT_THROW(sheet.KeepRowsTogether({Row(9), Row(7)}), StatCraneError);
  sheet.KeepWithNext({Row(1), Row(2)});
  EXPECT_THROW(sheet.KeepWithNext({Row(2), Row(3)}), StatCraneError);  // overlaps
  EXPECT_THROW(sheet.KeepWithNext({Row(0), Row(3)}), StatCraneError);
  EXPECT_THROW(sheet.SetRowBreaks({Row(10), Row(5)}), StatCraneError);
  EXPECT_THROW(sheet.SetRowBreaks({Row(1)}), StatCraneError);  // nothing above it
  EXPECT_THROW(sheet.SetRowBreaks({Row(kMaxRows + 1)}), StatCraneError);
  sheet.SetRowBreaks({Row(6), Row(10)});
  EXPECT_EQ(Numbers(sheet.row_breaks()), (std::vector<int32_t>{6, 10}));
}

}  // namespace
}  // namespace statcrane
