#include "players/block_headers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "workbook/cell_style.h"

namespace statcrane {
namespace {

const BorderLine kNone{};
const BorderLine kMedium{LineStyle::kMedium, {}};
enum Side { kTopSide = 0, kLeftSide = 1, kRightSide = 2, kBottomSide = 3 };

const CellStyle& StyleAt(const Worksheet& sheet, int32_t row, int col) {
  return *sheet.Cell(row, col).style;
}

std::string TextAt(const Worksheet& sheet, int32_t row, int col) {
  return std::string(sheet.Cell(row, col).text);
}

TEST(BlockHeadersTest, NameRowAndHittingHeaderFollowTheBlockPattern) {
  Workbook sheet_book;
  Worksheet& sheet = sheet_book.AddSheet("S");
  LineState line;
  line.CurrentRow = 5;
  line.CurrentPlayerName = "Smith,John";
  Name_Header(sheet, line, 1234);
  EXPECT_EQ(line.CurrentRow, 5);
  line.CurrentRow = 6;
  Hitting_Header(sheet, line);
  EXPECT_EQ(line.CurrentRow, 7);

  // Row 5: merged name A5:E5 and id R5:U5, bold 12, filled 19.
  EXPECT_EQ(TextAt(sheet, 5, 1), "Smith,John");
  EXPECT_EQ(sheet.Cell(5, 18).kind, CellKind::kNumber);
  EXPECT_EQ(sheet.Cell(5, 18).number, 1234);
  const std::vector<CellRange> merges = {CellRange::Row(1, 5, 5), CellRange::Row(18, 21, 5)};
  EXPECT_EQ(sheet.merges(), merges);
  for (int col = 1; col <= 21; ++col) {
    const CellStyle& style = StyleAt(sheet, 5, col);
    EXPECT_TRUE(style.bold) << col;
    EXPECT_EQ(style.font_size, 12) << col;
    const bool merged = col <= 5 || col >= 18;
    EXPECT_EQ(style.fill, merged ? std::optional<Rgb>(kHittingFill) : std::nullopt) << col;
    // Tops and sides on the merged cells only; the bottom under the whole row.
    EXPECT_EQ(style.top(), merged ? kMedium : kNone) << col;
    EXPECT_EQ(style.left(), merged ? kMedium : kNone) << col;
    EXPECT_EQ(style.right(), merged ? kMedium : kNone) << col;
    EXPECT_EQ(style.bottom(), kMedium) << col;
  }
  EXPECT_EQ(sheet.selection(), CellRange::Cell(1, 5));

  // Row 6: 21 right-aligned headings, framed on every side, filled 19.
  const std::vector<std::string> headings = {"Year", "Team", "Age", "BAVG", "OBP", "SPC", "AB",
                                             "H",    "2B",   "3B",  "HR",   "R",   "RBI", "HBP",
                                             "BB",   "K",    "SB",  "CS",   "SH",  "SF",  "TB"};
  for (int col = 1; col <= 21; ++col) {
    const CellStyle& style = StyleAt(sheet, 6, col);
    EXPECT_EQ(TextAt(sheet, 6, col), headings[col - 1]);
    EXPECT_EQ(style.alignment, HorizontalAlignment::kRight);
    EXPECT_EQ(style.fill, kHittingFill);
    EXPECT_FALSE(style.bold);
    for (int side = 0; side < 4; ++side) EXPECT_EQ(style.borders[side], kMedium) << col;
  }
  EXPECT_EQ(sheet.Cell(6, 22).kind, CellKind::kEmpty);
}

TEST(BlockHeadersTest, PitchingHeaderFillsWithTwentyAndAlwaysColoursTheRowAbove) {
  Workbook sheet_book;
  Worksheet& sheet = sheet_book.AddSheet("S");
  sheet.SetText(CellRange::Cell(1, 2), "whatever was there");
  LineState line;
  line.CurrentRow = 3;
  Pitching_Header(sheet, line);
  EXPECT_EQ(line.CurrentRow, 4);
  const std::vector<std::string> headings = {"Year", "Team", "Age", "ERA", "W",   "L",  "PCT",
                                             "SV",   "G",    "GS",  "CG",  "SHO", "IP", "H",
                                             "OBA",  "R",    "ER",  "BB",  "K",   "HR", "GDP"};
  for (int col = 1; col <= 21; ++col) {
    EXPECT_EQ(TextAt(sheet, 3, col), headings[col - 1]);
    EXPECT_EQ(StyleAt(sheet, 3, col).fill, kPitchingFill);
    for (int side = 0; side < 4; ++side) EXPECT_EQ(StyleAt(sheet, 3, col).borders[side], kMedium);
    EXPECT_EQ(StyleAt(sheet, 2, col).fill,
              col <= 5 || col >= 18 ? std::optional<Rgb>(kPitchingFill) : std::nullopt);
  }
  EXPECT_EQ(TextAt(sheet, 2, 1), "whatever was there");
}

TEST(BlockHeadersTest, PostseasonBorderFramesTheTitleAndUnderlinesTheRow) {
  Workbook sheet_book;
  Worksheet& sheet = sheet_book.AddSheet("S");
  postseason_border(sheet, 9);
  for (int col = 1; col <= 21; ++col) {
    const CellStyle& style = StyleAt(sheet, 9, col);
    const bool title = col <= 3;
    EXPECT_EQ(style.top(), title ? kMedium : kNone) << col;
    EXPECT_EQ(style.left(), title ? kMedium : kNone) << col;
    EXPECT_EQ(style.right(), title ? kMedium : kNone) << col;
    EXPECT_EQ(style.bottom(), kMedium) << col;
  }
  EXPECT_EQ(StyleAt(sheet, 9, 22).bottom(), kNone);
}

TEST(BlockHeadersTest, SummaryHeadingsAreRightAlignedWithoutBordersOrFill) {
  Workbook hit_book;
  Worksheet& hit = hit_book.AddSheet("HitRegTotals");
  HitSumHeader(hit, 1);
  Workbook pitch_book;
  Worksheet& pitch = pitch_book.AddSheet("PitchRegTotals");
  PitchSumHeader(pitch, 1);
  const std::vector<std::string> hit_headings = {
      "Player", "Last Yr", "BAVG", "OBP", "SPC", "AB", "H",  "2B", "3B", "HR",
      "R",      "RBI",     "HBP",  "BB",  "K",   "SB", "CS", "SH", "SF", "TB"};
  const std::vector<std::string> pitch_headings = {
      "Player", "Last Yr", "ERA", "W",   "L", "PCT", "SV", "G", "GS", "CG",
      "SHO",    "IP",      "H",   "OBA", "R", "ER",  "BB", "K", "HR", "GDP"};
  for (int col = 1; col <= 20; ++col) {
    EXPECT_EQ(TextAt(hit, 1, col), hit_headings[col - 1]);
    EXPECT_EQ(TextAt(pitch, 1, col), pitch_headings[col - 1]);
    CellStyle expected;
    expected.alignment = HorizontalAlignment::kRight;
    EXPECT_EQ(StyleAt(hit, 1, col), expected);
    EXPECT_EQ(StyleAt(pitch, 1, col), expected);
  }
  EXPECT_EQ(hit.Cell(1, 21).kind, CellKind::kEmpty);
}

}  // namespace
}  // namespace statcrane
