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
// A row's height grows with its largest font: 15.75 points for 12 points.
constexpr double kRowHeightPerFontPoint = 15.75 / 12;
// The width of a column left at the default, in pixels (8.43 characters).
constexpr int kDefaultColumnPixels = 64;
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

// The sum of the row heights from row 1, read forward only.
class RowHeights {
 public:
  explicit RowHeights(const Worksheet& sheet) : sheet_(sheet) {
    fonts_.reserve(sheet.styles().size());
    for (uint32_t style = 0; style < sheet.styles().size(); ++style) {
      fonts_.push_back(sheet.styles().Get(style).font_size);
    }
  }
  // Heights of rows 1 to `row`; `row` never goes back.
  double Through(int32_t row) {
    const int32_t stored = std::min(row, sheet_.LastRow());
    while (row_ < stored) {
      double largest_font = 0;
      for (const StoredCell& cell : sheet_.store().RowCells(++row_)) {
        largest_font = std::max(largest_font, fonts_[cell.style]);
      }
      total_ += RowHeightForFont(largest_font);
    }
    if (row_ < row) {
      total_ += (row - row_) * kDefaultRowHeight;  // below the last row
      row_ = row;
    }
    return total_;
  }

 private:
  const Worksheet& sheet_;
  std::vector<double> fonts_;  // by style
  int32_t row_ = 0;
  double total_ = 0;
};

// The width in points of the columns from the first to the last that holds
// a cell; 0 for an empty sheet.
double ContentWidth(const Worksheet& sheet) {
  int32_t first_col = 0, last_col = 0;
  for (int32_t row = 1; row <= sheet.LastRow(); ++row) {
    const std::span<const StoredCell> cells = sheet.store().RowCells(row);
    if (cells.empty()) continue;
    const int32_t first = cells.front().col, last = cells.back().col;
    first_col = first_col == 0 ? first : std::min(first_col, first);
    last_col = std::max(last_col, last);
  }
  if (last_col == 0) return 0;
  int64_t pixels = 0;
  for (int32_t col = first_col; col <= last_col; ++col) {
    pixels += ColumnPixels(sheet.ColumnWidth(col));
  }
  return static_cast<double>(pixels) * kPointsPerPixel;
}

double ScaleForWidth(double content, PaperSize paper, PageOrientation orientation) {
  const double page_width = orientation == PageOrientation::kLandscape ? paper.height : paper.width;
  const double printable = (page_width - 2 * kLeftRightMargin) * kPointsPerInch;
  if (content <= printable) return 1;
  // The applications scale in whole percent, rounded down.
  return std::max(kSmallestScale, std::floor(printable / content * 100) / 100);
}

}  // namespace

double EstimatedRowHeight(const Worksheet& sheet, int32_t row) {
  double largest_font = 0;
  if (row <= sheet.LastRow()) {
    for (const StoredCell& cell : sheet.store().RowCells(row)) {
      largest_font = std::max(largest_font, sheet.styles().Get(cell.style).font_size);
    }
  }
  return RowHeightForFont(largest_font);
}

double FitToWidthScale(const Worksheet& sheet, PaperSize paper) {
  return ScaleForWidth(ContentWidth(sheet), paper, sheet.page_setup().orientation);
}

double PageHeightInRowPoints(const Worksheet& sheet) {
  const PageOrientation orientation = sheet.page_setup().orientation;
  const double content = sheet.page_setup().fit_to_width ? ContentWidth(sheet) : 0;
  double height = 0;
  for (const PaperSize& paper : {kLetterPaper, kA4Paper}) {
    const double page_height =
        orientation == PageOrientation::kLandscape ? paper.width : paper.height;
    const double printable = (page_height - 2 * kTopBottomMargin) * kPointsPerInch;
    const double scale = ScaleForWidth(content, paper, orientation);
    const double rows = printable / scale;
    height = height == 0 ? rows : std::min(height, rows);
  }
  RowHeights heights(sheet);
  return height - heights.Through(sheet.page_setup().title_rows);
}

std::vector<int32_t> RowBreaksBeforeBlocks(const Worksheet& sheet) {
  std::vector<int32_t> breaks;
  const std::vector<RowSpan>& blocks = sheet.kept_together();
  if (blocks.empty()) return breaks;
  const double page = PageHeightInRowPoints(sheet) * kPageSafety;
  RowHeights heights(sheet);
  // Where the current page begins, as the height of the rows above it; not
  // known inside or after a block taller than a page.
  double page_top = 0;
  bool page_top_known = true;
  for (const RowSpan& block : blocks) {
    const double above = heights.Through(block.first - 1);
    const double through = heights.Through(block.last);
    if (page_top_known && through - page_top <= page) continue;  // fits on this page
    if (through - above > page) {
      page_top_known = false;  // taller than a page: the application breaks it
      continue;
    }
    if (block.first > 1 && (!page_top_known || above > page_top)) {
      if (breaks.size() == kMaxRowBreaks) break;
      breaks.push_back(block.first);
    }
    page_top = above;
    page_top_known = true;
  }
  return breaks;
}

void PlaceRowBreaks(Worksheet& sheet) { sheet.SetRowBreaks(RowBreaksBeforeBlocks(sheet)); }

}  // namespace statcrane
