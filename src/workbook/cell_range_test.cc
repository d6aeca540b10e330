#include "workbook/cell_range.h"

#include <gtest/gtest.h>

#include <type_traits>

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
  EXPECT_EQ(CellRange::Parse("G12"), CellRange::Cell(Row(12), Column(7)));
  EXPECT_EQ(CellRange::Parse("D12:G12"), CellRange::Across(Row(12), Column(4), Column(7)));
  EXPECT_EQ(CellRange::Parse("A:Z"), CellRange::Columns(Column(1), Column(26)));
  EXPECT_EQ(CellRange::Parse("$b$3"), CellRange::Cell(Row(3), Column(2)));
  // Corners in any order give the same block.
  EXPECT_EQ(CellRange::Parse("G14:D12"), (CellRange(Row(12), Column(4), Row(14), Column(7))));
  EXPECT_EQ(CellRange::Parse("A1048576"), CellRange::Cell(Row(kMaxRows), Column(1)));

  EXPECT_EQ(CellRange::Parse("D12:G12").ToA1(), "D12:G12");
  EXPECT_EQ(CellRange::Parse("A:N").ToA1(), "A:N");
  EXPECT_EQ(CellRange::Cell(Row(5), Column(1)).ToA1(), "A5");
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

// A row always comes first, a column second: a swap, or a plain number
// where a row or column is wanted, does not compile.
template <typename R, typename C>
concept CellTakes = requires(R row, C col) {
  CellRange::Cell(row, col);
};
static_assert(CellTakes<Row, Column>);
static_assert(!CellTakes<Column, Row> && !CellTakes<int32_t, int32_t>);
static_assert(!std::is_constructible_v<Row, Column> && !std::is_convertible_v<int32_t, Column>);
static_assert(Column("A") + 13 == Column("N") && Column("AA") == Column(27));

}  // namespace
}  // namespace statcrane
