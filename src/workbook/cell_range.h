// Cell addresses in A1 notation: one cell ("G12"), a block ("D12:G12") or
// whole columns ("A:Z").
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace statcrane {

// The most rows and columns a sheet can have.
constexpr int32_t kMaxRows = 1048576;
constexpr int32_t kMaxColumns = 16384;

// "A" -> 1, "Z" -> 26, "AA" -> 27; 0 for text that is not a column name.
int ColumnNumber(std::string_view letters);
// 1 -> "A", 27 -> "AA".
std::string ColumnName(int column);

// Rows count from 1, columns from 1 (A = 1), as in A1 notation.
struct CellRange {
  int32_t first_row = 1;
  int32_t first_col = 1;
  int32_t last_row = 1;
  int32_t last_col = 1;

  static CellRange Cell(int32_t col, int32_t row) { return {row, col, row, col}; }
  static CellRange Row(int32_t first_col, int32_t last_col, int32_t row) {
    return {row, first_col, row, last_col};
  }
  static CellRange Columns(int32_t first_col, int32_t last_col) {
    return {1, first_col, kMaxRows, last_col};
  }
  // Parses A1 notation; throws StatCraneError for a malformed address.
  static CellRange Parse(std::string_view a1);

  bool IsSingleCell() const { return first_row == last_row && first_col == last_col; }
  bool WholeColumns() const { return first_row == 1 && last_row == kMaxRows; }
  std::string ToA1() const;
  friend bool operator==(const CellRange&, const CellRange&) = default;
};

}  // namespace statcrane
