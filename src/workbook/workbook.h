// The in-memory workbook: the sheets of a run and the operations the sheet
// writers use on them, serialized once at the end (xlsx_writer.h).
//
// Sheet operations behave as in a spreadsheet application: a new sheet is
// inserted before the active sheet and becomes active; deleting the active
// sheet activates its right-hand neighbour (its left-hand one when it was the
// last tab); naming a sheet that does not exist is an error (StatCraneError).
//
// Cell operations take a CellRange and apply to every cell of it, except the
// block-edge border index kEdgeTop, which draws only the top of the first row.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "workbook/cell_range.h"
#include "workbook/cell_style.h"

namespace statcrane {

class CellStore;

enum class CellKind : uint8_t { kEmpty, kNumber, kText };

// A cell as the writers left it.
struct CellView {
  CellKind kind = CellKind::kEmpty;
  double number = 0;
  std::string_view text;
  const CellStyle* style = nullptr;  // never null; the default style for an untouched cell
};

class Worksheet {
 public:
  explicit Worksheet(std::string name);
  ~Worksheet();
  Worksheet(Worksheet&&) noexcept;
  Worksheet& operator=(Worksheet&&) noexcept;

  const std::string& name() const { return name_; }

  // Values. An empty text leaves the cell empty.
  void SetNumber(const CellRange& range, double value);
  void SetText(const CellRange& range, std::string_view text);
  void Clear(const CellRange& range);

  // Formats.
  void SetNumberFormat(const CellRange& range, std::string_view format);
  void SetHorizontalAlignment(const CellRange& range, int alignment);
  // Fill by palette index (kFill...); kNoFill removes the fill.
  void SetFillColorIndex(const CellRange& range, int palette_index);
  void SetBold(const CellRange& range, bool bold);
  void SetFontSize(const CellRange& range, double points);
  void SetBorderLineStyle(const CellRange& range, BorderIndex index, int line_style);
  void SetBorderWeight(const CellRange& range, BorderIndex index, int weight);
  void SetBorderColor(const CellRange& range, BorderIndex index, int rgb);

  // Merges the block into one cell whose content is its top-left cell.
  void Merge(const CellRange& range);
  // Sets each column of the range to the width of its widest displayed text
  // now (merged cells ignored); a column with no content keeps the default.
  void AutoFitColumns(const CellRange& columns);
  // Remembers the selected cell (the cell the sheet opens on).
  void Select(const CellRange& cell);

  // Reading back, for the writer and for tests.
  CellView Cell(int32_t row, int32_t col) const;
  int32_t LastRow() const;  // 0 for an empty sheet
  const std::vector<CellRange>& merges() const { return merges_; }
  // Column widths set by AutoFitColumns, in character units; 0 = default.
  double ColumnWidth(int32_t col) const;
  int32_t LastWidthColumn() const { return static_cast<int32_t>(widths_.size()); }
  const CellRange& selection() const { return selection_; }
  // Visits the cells of row `row` that hold a value or a style, in column order.
  template <typename Fn>
  void ForEachCellInRow(int32_t row, Fn&& fn) const;
  const CellStore& store() const { return *store_; }

 private:
  std::string name_;
  std::unique_ptr<CellStore> store_;
  std::vector<CellRange> merges_;
  std::vector<double> widths_;
  CellRange selection_ = CellRange::Cell(1, 1);
  friend class Workbook;
};

class Workbook {
 public:
  // A new workbook comes with one sheet, "Sheet1", which is active.
  Workbook();
  ~Workbook();

  // Inserts a new sheet before the active sheet, names it and activates it.
  Worksheet& AddSheet(std::string name);
  // Inserts a new sheet directly after the named one; the active sheet stays.
  Worksheet& InsertSheetAfter(std::string_view after, std::string name);
  // Makes the named sheet active (also what selecting a sheet does).
  void Activate(std::string_view name);
  // Deletes the named sheet.
  void Delete(std::string_view name);

  Worksheet& ActiveSheet();
  const Worksheet& ActiveSheet() const;
  Worksheet& Sheet(std::string_view name);
  const Worksheet& Sheet(std::string_view name) const;
  bool HasSheet(std::string_view name) const;

  // Tab order.
  std::vector<std::string> SheetNames() const;
  size_t SheetCount() const { return sheets_.size(); }
  const Worksheet& SheetAt(size_t i) const { return *sheets_[i]; }
  size_t ActiveIndex() const { return active_; }

  // Styles shared by all sheets.
  const StyleTable& styles() const { return *styles_; }

 private:
  size_t IndexOf(std::string_view name) const;  // throws for an unknown name
  std::vector<std::unique_ptr<Worksheet>> sheets_;
  size_t active_ = 0;
  std::unique_ptr<StyleTable> styles_;
};

}  // namespace statcrane
