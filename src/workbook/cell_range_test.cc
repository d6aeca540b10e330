#include "workbook/cell_range.h"

#include <gtest/gtest.h>

#include "util/error.h"

namespace statcrane {
namespace {

TEST(ColumnNames, LettersAndNumbersRoundTrip) {
  EXPECT_EQ(ColumnNumber("A"), 1);
  EXPECT_EQ(ColumnNumber("Z"), 26);
  EXPECT_EQ(ColumnNumber("AA"), 27);
  EXPECT_EQ(ColumnNumber("XFD"), kMaxColumns);
  EXPECT_EQ(ColumnNumber("XFE"), 0);
  EXPECT_EQ(ColumnNumber(""), 0);
  EXPECT_EQ(ColumnNumber("A1"), 0);
  for (int col : {1, 26, 27, 52, 53, 702, 703, kMaxColumns}) {
    EXPECT_EQ(ColumnNumber(ColumnName(col)), col) << col;
  }
  EXPECT_EQ(ColumnName(28), "AB");
  EXPECT_EQ(ColumnName(0), "");
}

TEST(CellRangeParse, CellsBlocksAndColumns) {
  EXPECT_EQ(CellRange::Parse("G12"), CellRange::Cell(7, 12));
  EXPECT_EQ(CellRange::Parse("D12:G12"), CellRange::Row(4, 7, 12));
  EXPECT_EQ(CellRange::Parse("A:Z"), CellRange::Columns(1, 26));
  EXPECT_EQ(CellRange::Parse("$b$3"), CellRange::Cell(2, 3));
  // Corners in any order give the same block.
  EXPECT_EQ(CellRange::Parse("G14:D12"), (CellRange{12, 4, 14, 7}));
  EXPECT_EQ(CellRange::Parse("A1048576"), CellRange::Cell(1, kMaxRows));

  EXPECT_EQ(CellRange::Parse("D12:G12").ToA1(), "D12:G12");
  EXPECT_EQ(CellRange::Parse("A:N").ToA1(), "A:N");
  EXPECT_EQ(CellRange::Cell(1, 5).ToA1(), "A5");
}

TEST(CellRangeParse, MalformedTextIsAnError) {
  for (const char* text : {"", "A", "12", "A0", "A1048577", "XFE1", "A1:", ":A1", "A1:B", "A:1",
                           "A 1", "1A", "A1:B2:C3", "A$", "A1B"}) {
    try {
      CellRange::Parse(text);
      ADD_FAILURE() << "accepted \"" << text << "\"";
    } catch (const StatCraneError& error) {
      EXPECT_NE(error.message().find(text), std::string::npos) << error.message();
    }
  }
}

}  // namespace
}  // namespace statcrane
