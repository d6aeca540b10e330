// The styles part of a workbook (xl/styles.xml) from the model's style
// table: number formats, fonts, fills and borders each written once, and one
// cell format (xf) per style id, so that a cell's "s" attribute is its style
// id.
//
// What a CellStyle looks like in SpreadsheetML is decided in one place,
// TranslateStyle (xlsx_styles.cc); the rest only interns and numbers the
// pieces it returns.
#pragma once

#include <string>

#include "workbook/cell_style.h"
#include "workbook/style_table.h"

namespace statcrane {

// The SpreadsheetML pieces of one cell style.
struct XlsxStylePieces {
  std::string number_format;  // the format code; "" for General
  std::string font;           // a <font> element
  std::string fill;           // a <fill> element; "" for no fill
  std::string border;         // a <border> element
  std::string alignment;      // an <alignment> element; "" for the default
};

XlsxStylePieces TranslateStyle(const CellStyle& style);

// The whole xl/styles.xml part.
std::string StylesPart(const StyleTable& styles);

}  // namespace statcrane
