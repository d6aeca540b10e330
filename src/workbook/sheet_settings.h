// How a sheet is viewed and printed, in plain terms: frozen heading rows,
// a filter over a table, the page (orientation, scaling, footer, rows
// repeated on every page), the rows that should not be split across pages,
// row breaks, and links to cells of other sheets.
#pragma once

#include <cstdint>
#include <string>

#include "workbook/cell_range.h"

namespace statcrane {

enum class PageOrientation : uint8_t { kPortrait, kLandscape };

// The three parts of a page footer. In each, "&[Sheet]" stands for the
// sheet's name, "&[Page]" for the page's number and "&[Pages]" for the number
// of pages; everything else is printed as it is.
struct PageFooter {
  std::string left;
  std::string center;
  std::string right;
  bool empty() const { return left.empty() && center.empty() && right.empty(); }
  friend bool operator==(const PageFooter&, const PageFooter&) = default;
};

inline constexpr std::string_view kFooterSheetName = "&[Sheet]";
inline constexpr std::string_view kFooterPageNumber = "&[Page]";
inline constexpr std::string_view kFooterPageCount = "&[Pages]";

struct PageSetup {
  PageOrientation orientation = PageOrientation::kPortrait;
  // Scaled down to one page wide when wider, as many pages tall as needed.
  bool fit_to_width = false;
  PageFooter footer;
  // Rows 1 to title_rows are printed at the top of every page; 0 for none.
  int32_t title_rows = 0;
  friend bool operator==(const PageSetup&, const PageSetup&) = default;
};

// Rows first to last, both included.
struct RowSpan {
  Row first;
  Row last;
  int32_t count() const { return last - first + 1; }
  friend bool operator==(const RowSpan&, const RowSpan&) = default;
};

// A cell that leads to a cell of a sheet of the same workbook.
struct CellLink {
  int32_t row = 0;
  int32_t col = 0;
  std::string sheet;  // the target sheet's name
  int32_t target_row = 0;
  int32_t target_col = 0;
  friend bool operator==(const CellLink&, const CellLink&) = default;
};

}  // namespace statcrane
