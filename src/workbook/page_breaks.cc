#include "workbook/page_breaks.h"

#include <algorithm>
#include <cmath>
#include <span>

namespace statcrane {
namespace {

constexpr double kPointsPerInch = 72;
// A screen pixel of the column widths, in points (96 pixels an inch).
constexpr double kPointsPerPixel = 0.75;
constexpr double kDefaultRowHeight = 15;  // points, for 11-point text
// A row's height grows with its largest font: 16.2 points for 12 points in
// LibreOffice (15.75 in the other applications).
constexpr double kRowHeightPerFontPoint = 16.2 / 12;
// The width of a column left at the default, in pixels (8.43 characters).
constexpr int kDefaultColumnPixels = 64;
constexpr double kDefaultColumnCharacters = 8.43;
// The advance of a digit of the workbook's 11-point font (Calibri's 1038 of
// 2048 units), in points: LibreOffice makes a column `width` of them wide.
constexpr double kDigitPoints = 11.0 * 1038 / 2048;
// The smallest scale the applications print at.
constexpr double kSmallestScale = 0.1;

// Pixels a column of `width` characters takes in the default font: 7 a
// character and 5 of padding (12 a character below one character), as the
// package writer gives the width to the file.
int ColumnPixels(double width) {
  if (width <= 0) return kDefaultColumnPixels;
  if (width < 1) return static_cast<int>(width * 12 + 0.5);
  return static_cast<int>(width * 7 + 0.5) + 5;
}

double RowHeightForFont(double points) {
  return std::max(kDefaultRowHeight, points * kRowHeightPerFontPoint);
}

// The sums of the row heights from row 1: Through(r) for rows 1 to r.
class RowHeights {
 public:
  explicit RowHeights(const Worksheet& sheet) {
    std::vector<double> fonts;  // by style
    fonts.reserve(sheet.styles().size());
    for (uint32_t style = 0; style < sheet.styles().size(); ++style) {
      fonts.push_back(sheet.styles().Get(style).font_size);
    }
    sums_.reserve(static_cast<size_t>(sheet.LastRow().number()) + 1);
    sums_.push_back(0);
    for (int32_t row = 1; row <= sheet.LastRow().number(); ++row) {
      double largest_font = 0;
      for (const StoredCell& cell : sheet.store().RowCells(row)) {
        largest_font = std::max(largest_font, fonts[cell.style]);
      }
      sums_.push_back(sums_.back() + RowHeightForFont(largest_font));
    }
  }
  double Through(Row through) const {
    const int32_t row = through.number();
    if (row <= 0) return 0;
    const auto stored = static_cast<int32_t>(sums_.size()) - 1;
    if (row <= stored) return sums_[static_cast<size_t>(row)];
    return sums_.back() + (row - stored) * kDefaultRowHeight;  // below the last row
  }
  // Rows first to last.
  double Of(Row first, Row last) const { return Through(last) - Through(first - 1); }

 private:
  std::vector<double> sums_;
};

// The widths in points of the columns from the first to the last that holds
// a cell, as whole pixels with padding and as digit widths; 0 for an empty
// sheet.
struct ContentWidths {
  double in_pixels = 0;
  double in_digits = 0;
};

ContentWidths ContentWidth(const Worksheet& sheet) {
  int32_t first_col = 0, last_col = 0;
  for (int32_t row = 1; row <= sheet.LastRow().number(); ++row) {
    const std::span<const StoredCell> cells = sheet.store().RowCells(row);
    if (cells.empty()) continue;
    const int32_t first = cells.front().col, last = cells.back().col;
    first_col = first_col == 0 ? first : std::min(first_col, first);
    last_col = std::max(last_col, last);
  }
  ContentWidths widths;
  if (last_col == 0) return widths;
  int64_t pixels = 0;
  double characters = 0;
  for (int32_t col = first_col; col <= last_col; ++col) {
    const double width = sheet.ColumnWidth(Column(col));
    pixels += ColumnPixels(width);
    characters += width > 0 ? width : kDefaultColumnCharacters;
  }
  widths.in_pixels = static_cast<double>(pixels) * kPointsPerPixel;
  widths.in_digits = characters * kDigitPoints;
  return widths;
}

double ScaleForWidth(double content, double printable) {
  if (content <= printable) return 1;
  // The applications scale in whole percent, rounded down.
  return std::max(kSmallestScale, std::floor(printable / content * 100) / 100);
}

double ScaleForWidths(const ContentWidths& content, PaperSize paper, PageOrientation orientation) {
  const double page_width = orientation == PageOrientation::kLandscape ? paper.height : paper.width;
  const double printable = (page_width - 2 * kLeftRightMargin) * kPointsPerInch;
  return std::max(ScaleForWidth(content.in_pixels, printable),
                  ScaleForWidth(content.in_digits, printable));
}

}  // namespace

double EstimatedRowHeight(const Worksheet& sheet, Row row) {
  double largest_font = 0;
  if (row <= sheet.LastRow()) {
    for (const StoredCell& cell : sheet.store().RowCells(row.number())) {
      largest_font = std::max(largest_font, sheet.styles().Get(cell.style).font_size);
    }
  }
  return RowHeightForFont(largest_font);
}

double FitToWidthScale(const Worksheet& sheet, PaperSize paper) {
  return ScaleForWidths(ContentWidth(sheet), paper, sheet.page_setup().orientation);
}

double PageHeightInRowPoints(const Worksheet& sheet) {
  const PageOrientation orientation = sheet.page_setup().orientation;
  const ContentWidths content =
      sheet.page_setup().fit_to_width ? ContentWidth(sheet) : ContentWidths{};
  double height = 0;
  for (const PaperSize& paper : {kLetterPaper, kA4Paper}) {
    const double page_height =
        orientation == PageOrientation::kLandscape ? paper.width : paper.height;
    const double printable = (page_height - 2 * kTopBottomMargin) * kPointsPerInch;
    const double rows = printable / ScaleForWidths(content, paper, orientation);
    height = height == 0 ? rows : std::min(height, rows);
  }
  return height - RowHeights(sheet).Through(Row(sheet.page_setup().title_rows));
}

std::vector<Row> RowBreaksBeforeBlocks(const Worksheet& sheet) {
  std::vector<Row> breaks;
  const std::vector<RowSpan>& blocks = sheet.kept_together();
  if (blocks.empty()) return breaks;
  const double page = PageHeightInRowPoints(sheet) * kPageSafety;
  const RowHeights heights(sheet);
  const std::vector<RowSpan>& leads = sheet.kept_with_next();
  auto lead = leads.begin();
  // Whether a page may end on `row`: not on a row kept with the next one.
  // Rows are asked about top to bottom, within a block at least.
  auto may_end_page_on = [&](Row row) {
    while (lead != leads.begin() && (lead - 1)->last >= row) --lead;
    while (lead != leads.end() && lead->last < row) ++lead;
    return lead == leads.end() || lead->first > row;
  };
  Row page_top(1);  // the first row of the current page
  auto break_before = [&](Row row) {
    if (breaks.size() == kMaxRowBreaks) return false;
    breaks.push_back(row);
    page_top = row;
    return true;
  };
  for (const RowSpan& block : blocks) {
    if (heights.Of(page_top, block.last) <= page) continue;  // fits on this page
    if (block.first > page_top && !break_before(block.first)) break;
    // Taller than a page: each page as full as it can be, ended on a row
    // that may end it.
    while (heights.Of(page_top, block.last) > page) {
      Row last = page_top;  // the last row that fits; at least one a page
      while (last < block.last && heights.Of(page_top, last + 1) <= page) ++last;
      Row end = last;
      while (end > page_top && !may_end_page_on(end)) --end;
      if (end == page_top) end = last;  // nowhere better: as full as it holds
      if (!break_before(end + 1)) return breaks;
    }
  }
  return breaks;
}

void PlaceRowBreaks(Worksheet& sheet) { sheet.SetRowBreaks(RowBreaksBeforeBlocks(sheet)); }

}  // namespace statcrane
