// Cell addresses in A1 notation: one cell ("G12"), a block ("D12:G12") or
// whole columns ("A:Z").
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

namespace statcrane {

// The most rows and columns a sheet can have.
constexpr int32_t kMaxRows = 1048576;
constexpr int32_t kMaxColumns = 16384;

// "A" -> 1, "Z" -> 26, "AA" -> 27; 0 for text that is not a column name.
constexpr int ColumnNumber(std::string_view letters) {
  if (letters.empty() || letters.size() > 3) return 0;
  int number = 0;
  for (char c : letters) {
    const bool upper = c >= 'A' && c <= 'Z';
    if (!upper && !(c >= 'a' && c <= 'z')) return 0;
    number = number * 26 + (upper ? c - 'A' : c - 'a') + 1;
  }
  return number <= kMaxColumns ? number : 0;
}
// 1 -> "A", 27 -> "AA".
std::string ColumnName(int column);

// A row or a column of a sheet, counted from 1 as in A1 notation (0: none).
// Rows and columns are distinct types, so that a row cannot be passed where a
// column is wanted: every call takes the row first, then the column.
struct RowTag;
struct ColumnTag;

template <typename Tag>
class SheetOrdinal {
 public:
  constexpr SheetOrdinal() = default;
  constexpr explicit SheetOrdinal(int32_t number) : number_(number) {}
  // A column by its letters: Column("N").
  template <size_t N>
  requires std::is_same_v<Tag, ColumnTag>
  consteval explicit SheetOrdinal(const char (&letters)[N])
      : number_(ColumnNumber(std::string_view(letters, N - 1))) {
    if (number_ == 0) throw "not a column name";
  }

  constexpr int32_t number() const { return number_; }

  friend constexpr auto operator<=>(SheetOrdinal, SheetOrdinal) = default;
  friend constexpr SheetOrdinal operator+(SheetOrdinal a, int32_t n) {
    return SheetOrdinal(a.number_ + n);
  }
  friend constexpr SheetOrdinal operator-(SheetOrdinal a, int32_t n) {
    return SheetOrdinal(a.number_ - n);
  }
  // How many rows (columns) b lies before a.
  friend constexpr int32_t operator-(SheetOrdinal a, SheetOrdinal b) {
    return a.number_ - b.number_;
  }
  constexpr SheetOrdinal& operator+=(int32_t n) {
    number_ += n;
    return *this;
  }
  constexpr SheetOrdinal& operator++() { return *this += 1; }
  constexpr SheetOrdinal& operator--() { return *this += -1; }
  constexpr SheetOrdinal operator++(int) {
    const SheetOrdinal before = *this;
    ++*this;
    return before;
  }

 private:
  int32_t number_ = 0;
};

using Row = SheetOrdinal<RowTag>;
using Column = SheetOrdinal<ColumnTag>;

// A cell or a block of cells. The bounds are numbers as in A1 notation (rows
// from 1, columns from 1 = A); ranges are made from rows and columns.
struct CellRange {
  int32_t first_row = 1;
  int32_t first_col = 1;
  int32_t last_row = 1;
  int32_t last_col = 1;

  constexpr CellRange() = default;
  constexpr CellRange(Row first, Column first_column, Row last, Column last_column)
      : first_row(first.number()),
        first_col(first_column.number()),
        last_row(last.number()),
        last_col(last_column.number()) {}

  static constexpr CellRange Cell(Row row, Column col) { return {row, col, row, col}; }
  // The cells of `row` from column `first` to `last`.
  static constexpr CellRange Across(Row row, Column first, Column last) {
    return {row, first, row, last};
  }
  static constexpr CellRange Columns(Column first, Column last) {
    return {Row(1), first, Row(kMaxRows), last};
  }
  // Parses A1 notation; throws StatCraneError for a malformed address.
  static CellRange Parse(std::string_view a1);

  Row top() const { return Row(first_row); }
  Row bottom() const { return Row(last_row); }
  Column left() const { return Column(first_col); }
  Column right() const { return Column(last_col); }
  bool IsSingleCell() const { return first_row == last_row && first_col == last_col; }
  bool WholeColumns() const { return first_row == 1 && last_row == kMaxRows; }
  std::string ToA1() const;
  friend bool operator==(const CellRange&, const CellRange&) = default;
};

}  // namespace statcrane
