// Tables of sheet columns: each column of a kind of line once, with its
// heading, the value it shows for the line's plain data, its number format,
// the alignment of its heading and the group it belongs to. Writers take
// headings, cells and the extent of their frames and merges from a table,
// so a column is added by adding a row.
#pragma once

#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>
#include <variant>

#include "workbook/cell_range.h"
#include "workbook/cell_style.h"
#include "workbook/workbook.h"

namespace statcrane {

// What a column shows in a cell: nothing, a number or a text (a text the
// data holds, or one made for the cell).
using CellValue = std::variant<std::monostate, double, std::string_view, std::string>;

template <typename Data, typename Group = int>
struct SheetColumn {
  std::string_view heading;  // "" for a column without one
  CellValue (*value)(const Data&) = nullptr;
  std::string_view number_format = {};  // "" for General
  HorizontalAlignment heading_alignment = HorizontalAlignment::kGeneral;
  Group group{};
};

// Writes the value into the cell (nothing for an empty value).
inline void SetCellValue(Worksheet& sheet, const CellRange& cell, const CellValue& value) {
  if (const double* number = std::get_if<double>(&value)) {
    sheet.SetNumber(cell, *number);
  } else if (const std::string_view* text = std::get_if<std::string_view>(&value)) {
    sheet.SetText(cell, *text);
  } else if (const std::string* made = std::get_if<std::string>(&value)) {
    sheet.SetText(cell, *made);
  }
}

// The last column of a table whose first column is `first`.
template <typename Columns>
constexpr Column LastColumnOf(Column first, const Columns& columns) {
  return first + (static_cast<int32_t>(std::size(columns)) - 1);
}

// The headings of the table in `row` from column `first` on, each with its
// alignment; columns without a heading are left alone.
template <typename Columns>
void WriteHeadingCells(Worksheet& sheet, Row row, Column first, const Columns& columns) {
  Column col = first;
  for (const auto& column : columns) {
    const CellRange cell = CellRange::Cell(row, col++);
    if (column.heading.empty()) continue;
    sheet.SetText(cell, column.heading);
    if (column.heading_alignment != HorizontalAlignment::kGeneral) {
      sheet.SetAlignment(cell, column.heading_alignment);
    }
  }
}

// The values the table's columns show for `data` in `row` from column
// `first` on, each with its number format; `wanted(column)` picks the
// columns written (the others are skipped, their cells left alone).
template <typename Columns, typename Data, typename Wanted>
void WriteValueCells(Worksheet& sheet, Row row, Column first, const Columns& columns,
                     const Data& data, Wanted&& wanted) {
  Column col = first;
  for (const auto& column : columns) {
    const CellRange cell = CellRange::Cell(row, col++);
    if (!wanted(column)) continue;
    SetCellValue(sheet, cell, column.value(data));
    if (!column.number_format.empty()) sheet.SetNumberFormat(cell, column.number_format);
  }
}

// Calls fn(first_col, last_col) for each run of adjacent columns for which
// `in_run(column)` holds, left to right; the table starts at column `first`.
template <typename Columns, typename InRun, typename Fn>
void ForEachColumnRun(Column first, const Columns& columns, InRun&& in_run, Fn&& fn) {
  Column run_first;  // Column(0): not in a run
  Column col = first;
  for (const auto& column : columns) {
    if (in_run(column)) {
      if (run_first == Column()) run_first = col;
    } else if (run_first != Column()) {
      fn(run_first, col - 1);
      run_first = Column();
    }
    ++col;
  }
  if (run_first != Column()) fn(run_first, col - 1);
}

// The column of the first column of the table for which `is(column)` holds;
// Column(0) for none.
template <typename Columns, typename Is>
constexpr Column ColumnWhere(Column first, const Columns& columns, Is&& is) {
  Column col = first;
  for (const auto& column : columns) {
    if (is(column)) return col;
    ++col;
  }
  return Column();
}

template <typename Columns, typename Data>
void WriteValueCells(Worksheet& sheet, Row row, Column first, const Columns& columns,
                     const Data& data) {
  WriteValueCells(sheet, row, first, columns, data, [](const auto&) { return true; });
}

}  // namespace statcrane
