// Column fitting: the width of the text a cell shows, and the column width
// that fits it.
//
// Widths approximate the default font, Calibri 11, on a 96-dpi screen, as
// spreadsheet applications measure it for AutoFit:
// - each character's advance width comes from a table of Calibri advance
//   widths (in font units of 1/2048 em), scaled to the cell's font size and
//   rounded to whole pixels per character, as a hinted screen font draws them;
//   at 11 points every digit is 7 pixels wide, the "maximum digit width" that
//   column widths are counted in;
// - bold text is taken 5% wider except digits, which keep their width;
// - characters beyond ASCII are measured as their unaccented letter when they
//   are Latin-1 letters, as a full em when they are CJK, and as an "n" else;
// - a fitted column is the widest text plus kAutoFitPaddingPixels (cell margins
//   and grid line), stored in character units: (pixels - 5) / 7, the 5 being
//   the padding the file format adds back (pixels / 12 below 12 pixels);
// - numbers are measured as their number format shows them: "#.000" gives
//   ".333" and "1.000", "##0.00" gives "3.00", "0.0" gives "66.7", and General
//   shows at most 11 characters, as in a cell of a spreadsheet application
//   ("0.333333333", "1.23457E+11").
// The figures are an approximation; a spreadsheet application fitting the
// same column may come out a pixel or two different.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "workbook/cell_store.h"
#include "workbook/string_pool.h"
#include "workbook/style_table.h"

namespace statcrane {

constexpr int kAutoFitPaddingPixels = 7;
constexpr double kMaxColumnWidth = 255;

// Width in pixels of UTF-8 text in Calibri of the given size.
int TextPixels(std::string_view utf8, double font_size = 11, bool bold = false);

// The text a number shows in a number format: General ("" or "General") or
// a fixed format of the palette ("#.000", "##0.00", "0.0").
std::string FormatForDisplay(double value, std::string_view number_format);

// The column width, in character units, that fits text of `text_pixels`;
// 0 (the default width) for no text.
double ColumnWidthForPixels(int text_pixels);

// Measures cells of one workbook, remembering what it worked out per style.
class CellMeasurer {
 public:
  CellMeasurer(const StyleTable& styles, const StringPool& strings);
  ~CellMeasurer();
  // Pixels of the text the cell shows; 0 for an empty cell.
  int Pixels(const StoredCell& cell);

  struct NumberFormat;  // a parsed number format

 private:
  struct StyleInfo;
  const StyleInfo& Info(uint32_t style);

  const StyleTable& styles_;
  const StringPool& strings_;
  std::vector<std::unique_ptr<StyleInfo>> info_;
};

}  // namespace statcrane
