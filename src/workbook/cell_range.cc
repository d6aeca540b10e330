#include "workbook/cell_range.h"

#include <cstddef>
#include <utility>

#include "util/error.h"

namespace statcrane {
namespace {

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

[[noreturn]] void Malformed(std::string_view a1) {
  throw StatCraneError("\"" + std::string(a1) + "\" is not a cell address, block or column range");
}

// One end of an address: optional '$', letters, optional '$', digits. Either
// part may be missing; the caller decides which combinations it accepts.
struct Part {
  int col = 0;  // 0 = no letters
  int row = 0;  // 0 = no digits
};

// Reads one end; false when the text is not letters-then-digits or a part is
// out of the sheet's bounds.
bool ParsePart(std::string_view text, Part& part) {
  size_t i = 0;
  if (i < text.size() && text[i] == '$') ++i;
  size_t letters_begin = i;
  while (i < text.size() && IsLetter(text[i])) ++i;
  std::string_view letters = text.substr(letters_begin, i - letters_begin);
  if (i < text.size() && text[i] == '$') {
    if (letters.empty()) return false;
    ++i;
  }
  size_t digits_begin = i;
  while (i < text.size() && IsDigit(text[i])) ++i;
  std::string_view digits = text.substr(digits_begin, i - digits_begin);
  if (i != text.size() || (letters.empty() && digits.empty())) return false;
  if (!letters.empty()) {
    part.col = ColumnNumber(letters);
    if (part.col == 0) return false;
  }
  if (!digits.empty()) {
    if (digits.size() > 7) return false;
    int64_t row = 0;
    for (char c : digits) row = row * 10 + (c - '0');
    if (row < 1 || row > kMaxRows) return false;
    part.row = static_cast<int>(row);
  }
  return true;
}

}  // namespace

std::string ColumnName(int column) {
  if (column < 1 || column > kMaxColumns) return "";
  std::string name;
  while (column > 0) {
    int rest = (column - 1) % 26;
    name.insert(name.begin(), static_cast<char>('A' + rest));
    column = (column - 1) / 26;
  }
  return name;
}

CellRange CellRange::Parse(std::string_view a1) {
  size_t colon = a1.find(':');
  std::string_view first_text = a1.substr(0, colon);
  Part first;
  if (!ParsePart(first_text, first)) Malformed(a1);
  if (colon == std::string_view::npos) {
    if (first.col == 0 || first.row == 0) Malformed(a1);
    return Cell(Row(first.row), Column(first.col));
  }
  Part last;
  if (!ParsePart(a1.substr(colon + 1), last)) Malformed(a1);
  CellRange range;
  if (first.col != 0 && first.row != 0 && last.col != 0 && last.row != 0) {
    range = {Row(first.row), Column(first.col), Row(last.row), Column(last.col)};
  } else if (first.row == 0 && last.row == 0 && first.col != 0 && last.col != 0) {
    range = Columns(Column(first.col), Column(last.col));
  } else {
    Malformed(a1);
  }
  // A block may be written corner to corner in any direction.
  if (range.first_row > range.last_row) std::swap(range.first_row, range.last_row);
  if (range.first_col > range.last_col) std::swap(range.first_col, range.last_col);
  return range;
}

std::string CellRange::ToA1() const {
  if (WholeColumns()) return ColumnName(first_col) + ":" + ColumnName(last_col);
  std::string text = ColumnName(first_col) + std::to_string(first_row);
  if (IsSingleCell()) return text;
  return text + ":" + ColumnName(last_col) + std::to_string(last_row);
}

}  // namespace statcrane
