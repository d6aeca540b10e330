// Cells of the team sheets addressed by column letter and row, as the team
// writers name them ("G", 12 is G12; "A", "N", 5 is A5:N5).
#pragma once

#include <cstdint>

#include "workbook/cell_range.h"

namespace statcrane {

constexpr int32_t ColumnOf(char letter) { return letter - 'A' + 1; }

inline CellRange Cell(char column, int32_t row) { return CellRange::Cell(ColumnOf(column), row); }

inline CellRange Cells(char first, char last, int32_t row) {
  return CellRange::Row(ColumnOf(first), ColumnOf(last), row);
}

// first:last of the rows first_row to last_row.
inline CellRange Block(char first, int32_t first_row, char last, int32_t last_row) {
  return CellRange{first_row, ColumnOf(first), last_row, ColumnOf(last)};
}

inline CellRange Columns(char first, char last) {
  return CellRange::Columns(ColumnOf(first), ColumnOf(last));
}

}  // namespace statcrane
