// The in-memory workbook: the sheets of a run and the operations the sheet
// writers use on them, serialized once at the end (xlsx_writer.h).
//
// Sheets are addressed by handle (a Worksheet reference, stable for the
// sheet's life); the workbook keeps them in tab order and knows which tab it
// opens on. Cell operations take a CellRange and apply to every cell of it.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "util/error.h"
#include "workbook/cell_range.h"
#include "workbook/cell_store.h"
#include "workbook/cell_style.h"
#include "workbook/sheet_settings.h"
#include "workbook/string_pool.h"
#include "workbook/style_table.h"

namespace statcrane {

// What a sheet refused, naming the sheet: "on the sheet "L": row 1,048,577
// is beyond the last row of a sheet (1,048,576)". The cause names the row or
// cell where one applies.
class SheetError : public StatCraneError {
 public:
  SheetError(const std::string& sheet, const std::string& cause)
      : StatCraneError("on the sheet \"" + sheet + "\": " + cause), sheet_(sheet), cause_(cause) {}
  const std::string& sheet() const { return sheet_; }
  const std::string& cause() const { return cause_; }

 private:
  std::string sheet_;
  std::string cause_;
};

// What the sheets of one workbook share: the interned styles and the pooled
// texts.
struct WorkbookParts {
  StyleTable styles;
  StringPool strings;
};

enum class CellKind : uint8_t { kEmpty, kNumber, kText };

// A cell as the writers left it.
struct CellView {
  CellKind kind = CellKind::kEmpty;
  double number = 0;
  std::string_view text;
  const CellStyle* style = nullptr;  // never null; the default style for an untouched cell
};

// Limits: a row beyond kMaxRows or a column beyond kMaxColumns, and values,
// formats and borders on whole columns ("A:Z"), are refused with a
// SheetError naming the sheet; whole columns serve AutoFitColumns and Clear.
class Worksheet {
 public:
  // A sheet on its own, with styles and texts of its own (workbook sheets
  // share their workbook's).
  explicit Worksheet(std::string name);
  ~Worksheet();
  Worksheet(Worksheet&&) noexcept;
  Worksheet& operator=(Worksheet&&) noexcept;

  const std::string& name() const { return name_; }

  // Values. An empty text leaves the cell empty. A number must be finite; a
  // text may have at most 32,767 characters. Texts are stored as given (a
  // caller that wants a number stores the number).
  void SetNumber(const CellRange& range, double value);
  void SetText(const CellRange& range, std::string_view text);
  // Removes values and formats; merges stay.
  void Clear(const CellRange& range);

  // Formats.
  void SetNumberFormat(const CellRange& range, std::string_view format);
  void SetAlignment(const CellRange& range, HorizontalAlignment alignment);
  // A solid fill; none removes the fill.
  void SetFill(const CellRange& range, std::optional<Rgb> color);
  void SetBold(const CellRange& range, bool bold);
  void SetFontSize(const CellRange& range, double points);
  // The text's colour; none: the automatic colour.
  void SetFontColor(const CellRange& range, std::optional<Rgb> color);
  void SetUnderline(const CellRange& range, bool underline);
  // Draws `side` of every cell of the range with the line style and colour
  // (none: automatic); LineStyle::kNone removes it.
  void SetBorder(const CellRange& range, BorderSide side, LineStyle style,
                 std::optional<Rgb> color = std::nullopt);

  // Merges the block into one cell whose content is its top-left cell: the
  // values of its other cells are dropped. Merged blocks that overlap the
  // block are absorbed into it (the result is their common bounding block).
  void Merge(const CellRange& range);
  // Sets each column of the range to the width of its widest displayed text
  // now (merged cells ignored); a column with no content keeps the default.
  // With whole columns every row counts, else only the rows of the range.
  // See column_fit.h for how text is measured. Repeated fits of a growing
  // sheet only measure the rows added since the last fit.
  void AutoFitColumns(const CellRange& columns);
  // Sets column `col` to `width` characters (as AutoFitColumns gives them);
  // a later fit of the column replaces it.
  void SetColumnWidth(Column col, double width);
  // Remembers the selected cell (the cell the sheet opens on; A1 until
  // set).
  void Select(const CellRange& cell);

  // View and print settings (sheet_settings.h).
  // Rows 1 to `rows` stay in view while the rest scrolls; 0 for none.
  void FreezeRows(int32_t rows);
  // A filter (with sort) over the table: its heading row is the range's
  // first row.
  void SetAutoFilter(const CellRange& table);
  void SetPageSetup(const PageSetup& setup);
  // Notes rows that belong together (a block) and should print on one page
  // where they fit on one; spans are noted top to bottom and do not overlap.
  void KeepRowsTogether(RowSpan rows);
  // Notes rows that lead into the row after them (a title, headings) and
  // should not end a page where that row is overleaf; spans are noted top
  // to bottom and do not overlap.
  void KeepWithNext(RowSpan rows);
  // Pages begin at these rows (ascending, each above the sheet's last row
  // limit) besides where the application breaks them.
  void SetRowBreaks(std::vector<Row> first_rows);
  // Makes the cell at (row, col) a link to a cell of the sheet named
  // `sheet` of the same workbook; a later link of the same cell replaces it.
  void SetLink(Row row, Column col, std::string_view sheet, Row target_row, Column target_col);

  // Reading back, for the writer and for tests.
  CellView Cell(Row row, Column col) const;
  Row LastRow() const;  // Row(0) for an empty sheet
  const std::vector<CellRange>& merges() const { return merges_; }
  // Column widths set by AutoFitColumns, in character units; 0 = default.
  double ColumnWidth(Column col) const;
  Column LastWidthColumn() const { return Column(static_cast<int32_t>(widths_.size())); }
  const CellRange& selection() const { return selection_; }
  int32_t frozen_rows() const { return frozen_rows_; }
  const std::optional<CellRange>& auto_filter() const { return auto_filter_; }
  const PageSetup& page_setup() const { return page_setup_; }
  const std::vector<RowSpan>& kept_together() const { return kept_together_; }
  const std::vector<RowSpan>& kept_with_next() const { return kept_with_next_; }
  const std::vector<Row>& row_breaks() const { return row_breaks_; }
  // In the order they were set.
  const std::vector<CellLink>& links() const { return links_; }
  // Visits the cells of row `row` that hold a value or a style, in column order.
  // fn(Column col, const CellView& cell).
  template <typename Fn>
  void ForEachCellInRow(Row row, Fn&& fn) const;
  const CellStore& store() const { return *store_; }
  // The styles and texts the sheet's cells refer to.
  const StyleTable& styles() const { return parts_->styles; }
  const StringPool& strings() const { return parts_->strings; }
  CellView View(const StoredCell& cell) const;

  // Cells held (with a value, a style, or in a merge) and the bytes they take.
  int64_t CellCount() const;
  size_t MemoryBytes() const;

 private:
  friend class Workbook;
  struct ColumnFit {
    int32_t rows_measured = 0;  // rows 1.. of the column whose widths are in max_pixels
    int32_t max_pixels = 0;
  };
  Worksheet(std::string name, std::shared_ptr<WorkbookParts> parts);
  // Throws a SheetError.
  [[noreturn]] void Refuse(const std::string& cause) const;
  // fn(), with what the styles or texts the sheets share refuse refused on
  // this sheet.
  template <typename Fn>
  auto OnThisSheet(Fn&& fn) const;
  // Checks that the range lies inside the sheet.
  void CheckBounds(const CellRange& range) const;
  // Checks a range for a cell operation (no whole columns, inside the sheet).
  void CheckCells(const CellRange& range) const;
  void ApplyStyle(const CellRange& range, const StyleChange& change);
  // Forgets measured widths of the range's columns from its first row on.
  void WidthsChanged(const CellRange& range);
  void FitWholeColumns(int32_t first_col, int32_t last_col);
  void FitRows(const CellRange& range);

  std::string name_;
  std::shared_ptr<WorkbookParts> parts_;
  std::unique_ptr<CellStore> store_;
  std::vector<CellRange> merges_;
  std::vector<double> widths_;
  std::vector<ColumnFit> fits_;
  CellRange selection_ = CellRange::Cell(Row(1), Column(1));
  int32_t frozen_rows_ = 0;
  std::optional<CellRange> auto_filter_;
  PageSetup page_setup_;
  std::vector<RowSpan> kept_together_;
  std::vector<RowSpan> kept_with_next_;
  std::vector<Row> row_breaks_;
  std::vector<CellLink> links_;
};

class Workbook {
 public:
  // A new workbook has no sheets.
  Workbook();
  ~Workbook();

  // Adds a sheet after the last tab. Throws for a name a sheet cannot have
  // or that another sheet has (names compare without regard to case).
  Worksheet& AddSheet(std::string name);
  // Removes the sheet; the handle is gone afterwards. The tab the workbook
  // opens on moves to the sheet's right-hand neighbour (its left-hand one
  // when it was the last tab) if it was that sheet.
  void RemoveSheet(const Worksheet& sheet);
  // The sheet the workbook opens on (the first one until set).
  void SetOpeningSheet(const Worksheet& sheet);

  // The document's title (its properties); "" for none.
  void SetTitle(std::string title) { title_ = std::move(title); }
  const std::string& title() const { return title_; }

  // The sheet of that name, or null.
  Worksheet* FindSheet(std::string_view name);
  const Worksheet* FindSheet(std::string_view name) const;

  // Tab order.
  std::vector<std::string> SheetNames() const;
  size_t SheetCount() const { return sheets_.size(); }
  Worksheet& SheetAt(size_t i) { return *sheets_[i]; }
  const Worksheet& SheetAt(size_t i) const { return *sheets_[i]; }
  size_t OpeningSheetIndex() const { return opening_; }

  // Styles shared by all sheets.
  const StyleTable& styles() const { return parts_->styles; }
  const StringPool& strings() const { return parts_->strings; }

  // Bytes held by the cells, styles and texts of all sheets.
  size_t MemoryBytes() const;

 private:
  size_t IndexOf(const Worksheet& sheet) const;  // throws for a sheet of another workbook
  std::shared_ptr<WorkbookParts> parts_;
  std::vector<std::unique_ptr<Worksheet>> sheets_;
  size_t opening_ = 0;
  std::string title_;
};

inline CellView Worksheet::View(const StoredCell& cell) const {
  CellView view;
  view.kind = static_cast<CellKind>(cell.kind);
  if (view.kind == CellKind::kNumber) view.number = cell.value.number;
  if (view.kind == CellKind::kText) view.text = parts_->strings.Get(cell.value.text);
  view.style = &parts_->styles.Get(cell.style);
  return view;
}

template <typename Fn>
void Worksheet::ForEachCellInRow(Row row, Fn&& fn) const {
  for (const StoredCell& cell : store_->RowCells(row.number())) {
    if (cell.kind == static_cast<uint8_t>(CellKind::kEmpty) && cell.style == 0) continue;
    fn(Column(static_cast<int32_t>(cell.col)), View(cell));
  }
}

}  // namespace statcrane
