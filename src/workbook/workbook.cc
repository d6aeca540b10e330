#include "workbook/workbook.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "util/error.h"
#include "workbook/column_fit.h"

namespace statcrane {
namespace {

[[noreturn]] void Refuse(const std::string& what) { throw StatCraneError(what); }

std::string WithThousands(int64_t n) {
  std::string digits = std::to_string(n);
  for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3) {
    digits.insert(static_cast<size_t>(i), ",");
  }
  return digits;
}

// What is wrong with a range of a sheet; "" for nothing.
std::string BoundsProblem(const CellRange& range) {
  if (range.last_row > kMaxRows) {
    return "row " + std::to_string(range.last_row) + " is beyond the last row of a sheet (" +
           WithThousands(kMaxRows) + ")";
  }
  if (range.last_col > kMaxColumns) {
    return "column " + std::to_string(range.last_col) + " is beyond the last column of a sheet (" +
           WithThousands(kMaxColumns) + ")";
  }
  if (range.first_row < 1 || range.first_col < 1 || range.first_row > range.last_row ||
      range.first_col > range.last_col) {
    return "rows " + std::to_string(range.first_row) + " to " + std::to_string(range.last_row) +
           ", columns " + std::to_string(range.first_col) + " to " +
           std::to_string(range.last_col) + " do not form a range of cells";
  }
  return {};
}

bool Intersects(const CellRange& a, const CellRange& b) {
  return a.first_row <= b.last_row && b.first_row <= a.last_row && a.first_col <= b.last_col &&
         b.first_col <= a.last_col;
}

CellRange Union(const CellRange& a, const CellRange& b) {
  return {std::min(a.top(), b.top()), std::min(a.left(), b.left()),
          std::max(a.bottom(), b.bottom()), std::max(a.right(), b.right())};
}

// Characters of UTF-8 text (invalid bytes count one each).
size_t CharacterCount(std::string_view text) {
  size_t count = 0;
  for (char c : text) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
  }
  return count;
}

char FoldCase(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Sheet names compare without regard to (ASCII) case, as in the application.
bool SameSheetName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  }
  return true;
}

}  // namespace

// ---------------------------------------------------------------------------
// Worksheet

Worksheet::Worksheet(std::string name)
    : Worksheet(std::move(name), std::make_shared<WorkbookParts>()) {}

Worksheet::Worksheet(std::string name, std::shared_ptr<WorkbookParts> parts)
    : name_(std::move(name)), parts_(std::move(parts)), store_(std::make_unique<CellStore>()) {}

Worksheet::~Worksheet() = default;
Worksheet::Worksheet(Worksheet&&) noexcept = default;
Worksheet& Worksheet::operator=(Worksheet&&) noexcept = default;

void Worksheet::Refuse(const std::string& cause) const { throw SheetError(name_, cause); }

template <typename Fn>
auto Worksheet::OnThisSheet(Fn&& fn) const {
  try {
    return fn();
  } catch (const SheetError&) {
    throw;
  } catch (const StatCraneError& error) {
    Refuse(error.message());
  }
}

void Worksheet::CheckBounds(const CellRange& range) const {
  if (std::string problem = BoundsProblem(range); !problem.empty()) Refuse(problem);
}

void Worksheet::CheckCells(const CellRange& range) const {
  CheckBounds(range);
  if (range.WholeColumns()) {
    Refuse("cells of whole columns (" + range.ToA1() + ") cannot be given values or formats");
  }
}

void Worksheet::WidthsChanged(const CellRange& range) {
  int32_t last = std::min<int32_t>(range.last_col, static_cast<int32_t>(fits_.size()));
  for (int32_t col = range.first_col; col <= last; ++col) {
    ColumnFit& fit = fits_[col - 1];
    if (range.first_row <= fit.rows_measured) fit = ColumnFit{};
  }
}

void Worksheet::SetNumber(const CellRange& range, double value) {
  CheckCells(range);
  if (!std::isfinite(value)) {
    Refuse("a cell cannot hold an infinite or undefined number (" + range.ToA1() + ")");
  }
  for (int32_t row = range.first_row; row <= range.last_row; ++row) {
    for (StoredCell& cell : store_->Touch(row, range.first_col, range.last_col)) {
      cell.kind = static_cast<uint8_t>(CellKind::kNumber);
      cell.value.number = value;
    }
  }
  WidthsChanged(range);
}

void Worksheet::SetText(const CellRange& range, std::string_view text) {
  CheckCells(range);
  if (text.empty()) {
    int32_t last_row = std::min(range.last_row, store_->LastRow());
    for (int32_t row = range.first_row; row <= last_row; ++row) {
      for (StoredCell& cell : store_->RowCells(row)) {
        if (cell.col < range.first_col || cell.col > range.last_col) continue;
        cell.kind = static_cast<uint8_t>(CellKind::kEmpty);
        cell.value.number = 0;
      }
      store_->EraseBlank(row, range.first_col, range.last_col);
    }
    WidthsChanged(range);
    return;
  }
  if (text.size() > 32767 && CharacterCount(text) > 32767) {
    Refuse("a cell can hold at most 32,767 characters (" + range.ToA1() + ")");
  }
  const uint32_t index = OnThisSheet([&] { return parts_->strings.Intern(text); });
  for (int32_t row = range.first_row; row <= range.last_row; ++row) {
    for (StoredCell& cell : store_->Touch(row, range.first_col, range.last_col)) {
      cell.kind = static_cast<uint8_t>(CellKind::kText);
      cell.value.number = 0;
      cell.value.text = index;
    }
  }
  WidthsChanged(range);
}

void Worksheet::Clear(const CellRange& range) {
  CheckBounds(range);
  int32_t last_row = std::min(range.last_row, store_->LastRow());
  for (int32_t row = range.first_row; row <= last_row; ++row) {
    for (StoredCell& cell : store_->RowCells(row)) {
      if (cell.col < range.first_col || cell.col > range.last_col) continue;
      cell.kind = static_cast<uint8_t>(CellKind::kEmpty);
      cell.value.number = 0;
      cell.style = StyleTable::kDefaultStyle;
    }
    store_->EraseBlank(row, range.first_col, range.last_col);
  }
  WidthsChanged(range);
}

void Worksheet::ApplyStyle(const CellRange& range, const StyleChange& change) {
  CheckCells(range);
  StyleTable& styles = parts_->styles;
  uint32_t last_from = UINT32_MAX;
  uint32_t last_to = 0;
  for (int32_t row = range.first_row; row <= range.last_row; ++row) {
    for (StoredCell& cell : store_->Touch(row, range.first_col, range.last_col)) {
      if (cell.style != last_from) {
        last_from = cell.style;
        last_to = OnThisSheet([&] { return styles.Apply(cell.style, change); });
      }
      cell.style = last_to;
    }
  }
  if (change.AffectsWidth()) WidthsChanged(range);
}

void Worksheet::SetNumberFormat(const CellRange& range, std::string_view format) {
  CheckCells(range);
  ApplyStyle(range, OnThisSheet([&] { return parts_->styles.NumberFormat(format); }));
}

void Worksheet::SetAlignment(const CellRange& range, HorizontalAlignment alignment) {
  ApplyStyle(range, StyleTable::Alignment(alignment));
}

void Worksheet::SetFill(const CellRange& range, std::optional<Rgb> color) {
  ApplyStyle(range, StyleTable::Fill(color));
}

void Worksheet::SetBold(const CellRange& range, bool bold) {
  ApplyStyle(range, StyleTable::Bold(bold));
}

void Worksheet::SetFontSize(const CellRange& range, double points) {
  ApplyStyle(range, StyleTable::FontSize(points));
}

void Worksheet::SetFontColor(const CellRange& range, std::optional<Rgb> color) {
  ApplyStyle(range, StyleTable::FontColor(color));
}

void Worksheet::SetUnderline(const CellRange& range, bool underline) {
  ApplyStyle(range, StyleTable::Underline(underline));
}

void Worksheet::SetBorder(const CellRange& range, BorderSide side, LineStyle style,
                          std::optional<Rgb> color) {
  ApplyStyle(range, StyleTable::Border(side, BorderLine{style, color}));
}

void Worksheet::Merge(const CellRange& range) {
  CheckCells(range);
  if (range.IsSingleCell()) return;
  CellRange block = range;
  bool overlaps = false;
  for (int32_t row = block.first_row; row <= block.last_row && !overlaps; ++row) {
    for (const StoredCell& cell : store_->RowCells(row)) {
      if (cell.col >= block.first_col && cell.col <= block.last_col &&
          (cell.flags & StoredCell::kInMerge) != 0) {
        overlaps = true;
        break;
      }
    }
  }
  if (overlaps) {
    for (bool grown = true; grown;) {
      grown = false;
      for (size_t i = 0; i < merges_.size();) {
        if (Intersects(merges_[i], block)) {
          block = Union(block, merges_[i]);
          merges_.erase(merges_.begin() + static_cast<std::ptrdiff_t>(i));
          grown = true;
        } else {
          ++i;
        }
      }
    }
  }
  for (int32_t row = block.first_row; row <= block.last_row; ++row) {
    for (StoredCell& cell : store_->Touch(row, block.first_col, block.last_col)) {
      cell.flags |= StoredCell::kInMerge;
      if (row != block.first_row || cell.col != block.first_col) {
        cell.kind = static_cast<uint8_t>(CellKind::kEmpty);
        cell.value.number = 0;
      }
    }
  }
  merges_.push_back(block);
  WidthsChanged(block);
}

void Worksheet::AutoFitColumns(const CellRange& columns) {
  CheckBounds(columns);
  if (columns.WholeColumns()) {
    FitWholeColumns(columns.first_col, columns.last_col);
  } else {
    FitRows(columns);
  }
  while (!widths_.empty() && widths_.back() == 0) widths_.pop_back();
}

void Worksheet::FitWholeColumns(int32_t first_col, int32_t last_col) {
  if (fits_.size() < static_cast<size_t>(last_col)) fits_.resize(static_cast<size_t>(last_col));
  int32_t last_row = store_->LastRow();
  int32_t from = last_row;
  for (int32_t col = first_col; col <= last_col; ++col) {
    from = std::min(from, fits_[col - 1].rows_measured);
  }
  CellMeasurer measurer(parts_->styles, parts_->strings);
  for (int32_t row = from + 1; row <= last_row; ++row) {
    for (const StoredCell& cell : store_->RowCells(row)) {
      if (cell.col < first_col) continue;
      if (cell.col > last_col) break;
      ColumnFit& fit = fits_[cell.col - 1];
      if (row <= fit.rows_measured || (cell.flags & StoredCell::kInMerge) != 0) continue;
      fit.max_pixels = std::max(fit.max_pixels, measurer.Pixels(cell));
    }
  }
  if (widths_.size() < static_cast<size_t>(last_col)) widths_.resize(static_cast<size_t>(last_col));
  for (int32_t col = first_col; col <= last_col; ++col) {
    ColumnFit& fit = fits_[col - 1];
    fit.rows_measured = std::max(fit.rows_measured, last_row);
    widths_[col - 1] = ColumnWidthForPixels(fit.max_pixels);
  }
}

void Worksheet::FitRows(const CellRange& range) {
  std::vector<int32_t> widest(static_cast<size_t>(range.last_col - range.first_col + 1), 0);
  CellMeasurer measurer(parts_->styles, parts_->strings);
  int32_t last_row = std::min(range.last_row, store_->LastRow());
  for (int32_t row = range.first_row; row <= last_row; ++row) {
    for (const StoredCell& cell : store_->RowCells(row)) {
      if (cell.col < range.first_col) continue;
      if (cell.col > range.last_col) break;
      if ((cell.flags & StoredCell::kInMerge) != 0) continue;
      int32_t& w = widest[static_cast<size_t>(cell.col - range.first_col)];
      w = std::max(w, measurer.Pixels(cell));
    }
  }
  if (widths_.size() < static_cast<size_t>(range.last_col)) {
    widths_.resize(static_cast<size_t>(range.last_col));
  }
  for (int32_t col = range.first_col; col <= range.last_col; ++col) {
    widths_[col - 1] = ColumnWidthForPixels(widest[static_cast<size_t>(col - range.first_col)]);
  }
}

void Worksheet::SetColumnWidth(Column column, double width) {
  CheckBounds(CellRange::Cell(Row(1), column));
  if (!(width >= 0 && width <= 255)) Refuse("a column width of " + std::to_string(width));
  const auto col = static_cast<size_t>(column.number());
  if (widths_.size() < col) widths_.resize(col);
  widths_[col - 1] = width;
  while (!widths_.empty() && widths_.back() == 0) widths_.pop_back();
}

void Worksheet::Select(const CellRange& cell) {
  CheckBounds(cell);
  selection_ = cell;
}

void Worksheet::FreezeRows(int32_t rows) {
  if (rows < 0 || rows >= kMaxRows) Refuse(std::to_string(rows) + " rows cannot be frozen");
  frozen_rows_ = rows;
}

void Worksheet::SetAutoFilter(const CellRange& table) {
  CheckCells(table);
  auto_filter_ = table;
}

void Worksheet::SetPageSetup(const PageSetup& setup) {
  if (setup.title_rows < 0 || setup.title_rows >= kMaxRows) {
    Refuse(std::to_string(setup.title_rows) + " rows cannot be repeated on every page");
  }
  page_setup_ = setup;
}

void Worksheet::KeepRowsTogether(RowSpan rows) {
  CheckBounds(CellRange(rows.first, Column(1), rows.last, Column(1)));
  if (!kept_together_.empty() && kept_together_.back().last >= rows.first) {
    Refuse("rows " + std::to_string(rows.first.number()) + " to " +
           std::to_string(rows.last.number()) +
           " are not below the rows kept together before them");
  }
  kept_together_.push_back(rows);
}

void Worksheet::KeepWithNext(RowSpan rows) {
  CheckBounds(CellRange(rows.first, Column(1), rows.last, Column(1)));
  if (!kept_with_next_.empty() && kept_with_next_.back().last >= rows.first) {
    Refuse("rows " + std::to_string(rows.first.number()) + " to " +
           std::to_string(rows.last.number()) +
           " are not below the rows kept with the next before them");
  }
  kept_with_next_.push_back(rows);
}

void Worksheet::SetRowBreaks(std::vector<Row> first_rows) {
  for (size_t i = 0; i < first_rows.size(); ++i) {
    if (first_rows[i] < Row(2) || first_rows[i] > Row(kMaxRows) ||
        (i > 0 && first_rows[i] <= first_rows[i - 1])) {
      Refuse("a page cannot begin at row " + std::to_string(first_rows[i].number()) +
             " (breaks go in rising order below the first row)");
    }
  }
  row_breaks_ = std::move(first_rows);
}

void Worksheet::SetLink(Row row, Column col, std::string_view sheet, Row target_row,
                        Column target_col) {
  CheckCells(CellRange::Cell(row, col));
  CheckBounds(CellRange::Cell(target_row, target_col));
  if (sheet.empty()) Refuse("a link needs the name of the sheet it leads to");
  links_.push_back(CellLink{row.number(), col.number(), std::string(sheet), target_row.number(),
                            target_col.number()});
}

CellView Worksheet::Cell(Row row, Column col) const {
  const StoredCell* cell = store_->Find(row.number(), col.number());
  if (cell == nullptr) {
    CellView view;
    view.style = &parts_->styles.Get(StyleTable::kDefaultStyle);
    return view;
  }
  return View(*cell);
}

Row Worksheet::LastRow() const { return Row(store_->LastRow()); }

double Worksheet::ColumnWidth(Column column) const {
  const int32_t col = column.number();
  if (col < 1 || static_cast<size_t>(col) > widths_.size()) return 0;
  return widths_[static_cast<size_t>(col) - 1];
}

int64_t Worksheet::CellCount() const { return store_->CellCount(); }

size_t Worksheet::MemoryBytes() const {
  return sizeof(Worksheet) + store_->MemoryBytes() + merges_.capacity() * sizeof(CellRange) +
         widths_.capacity() * sizeof(double) + fits_.capacity() * sizeof(ColumnFit) +
         kept_together_.capacity() * sizeof(RowSpan) +
         kept_with_next_.capacity() * sizeof(RowSpan) + row_breaks_.capacity() * sizeof(Row) +
         links_.capacity() * sizeof(CellLink);
}

// ---------------------------------------------------------------------------
// Workbook

Workbook::Workbook() : parts_(std::make_shared<WorkbookParts>()) {}

Workbook::~Workbook() = default;

size_t Workbook::IndexOf(const Worksheet& sheet) const {
  for (size_t i = 0; i < sheets_.size(); ++i) {
    if (sheets_[i].get() == &sheet) return i;
  }
  throw StatCraneError("the sheet \"" + sheet.name() + "\" is not one of this workbook");
}

Worksheet* Workbook::FindSheet(std::string_view name) {
  for (const auto& sheet : sheets_) {
    if (SameSheetName(sheet->name(), name)) return sheet.get();
  }
  return nullptr;
}

const Worksheet* Workbook::FindSheet(std::string_view name) const {
  return const_cast<Workbook*>(this)->FindSheet(name);
}

Worksheet& Workbook::AddSheet(std::string name) {
  const std::string quoted = "\"" + name + "\"";
  if (name.empty()) Refuse("a sheet name cannot be empty");
  if (CharacterCount(name) > 31)
    Refuse("the sheet name " + quoted + " is longer than 31 characters");
  if (name.find_first_of(":\\/?*[]") != std::string::npos) {
    Refuse("the sheet name " + quoted + " contains one of the characters : \\ / ? * [ ]");
  }
  if (name.front() == '\'' || name.back() == '\'') {
    Refuse("the sheet name " + quoted + " begins or ends with an apostrophe");
  }
  if (SameSheetName(name, "History")) Refuse("\"History\" is a reserved sheet name");
  if (FindSheet(name) != nullptr) Refuse("the workbook already has a sheet named " + quoted);
  sheets_.push_back(std::unique_ptr<Worksheet>(new Worksheet(std::move(name), parts_)));
  return *sheets_.back();
}

void Workbook::RemoveSheet(const Worksheet& sheet) {
  const size_t index = IndexOf(sheet);
  sheets_.erase(sheets_.begin() + static_cast<std::ptrdiff_t>(index));
  // The right-hand neighbour now sits at the same index.
  if (index < opening_ || (opening_ == sheets_.size() && opening_ > 0)) --opening_;
}

void Workbook::SetOpeningSheet(const Worksheet& sheet) { opening_ = IndexOf(sheet); }

std::vector<std::string> Workbook::SheetNames() const {
  std::vector<std::string> names;
  names.reserve(sheets_.size());
  for (const auto& sheet : sheets_) names.push_back(sheet->name());
  return names;
}

size_t Workbook::MemoryBytes() const {
  size_t bytes = parts_->styles.MemoryBytes() + parts_->strings.MemoryBytes();
  for (const auto& sheet : sheets_) bytes += sheet->MemoryBytes();
  return bytes;
}

}  // namespace statcrane
