// Row breaks before blocks: on a printed sheet, a block of rows that the
// page would cut starts on a new page instead, where it fits on one page.
//
// Where the application breaks pages is not in the file: it depends on the
// paper (the user's printer: Letter or A4), the scale that fits the sheet to
// the page's width, and the rows' heights. The estimate here takes the
// paper that holds fewer rows, the scale the application computes from the
// fitted column widths, and row heights from the largest font of each row;
// then keeps a safety margin (kPageSafety) so that a page the estimate fills
// is never more than full.
#pragma once

#include <cstdint>
#include <vector>

#include "workbook/workbook.h"

namespace statcrane {

// A page of paper, in inches, held upright.
struct PaperSize {
  double width = 0;
  double height = 0;
};
inline constexpr PaperSize kLetterPaper = {8.5, 11};
inline constexpr PaperSize kA4Paper = {8.27, 11.69};

// The margins a sheet prints with (the defaults the package writer writes),
// in inches: the header and the footer sit inside the top and bottom margins.
inline constexpr double kLeftRightMargin = 0.7;
inline constexpr double kTopBottomMargin = 0.75;

// Of the page height the estimate finds, the share it fills. The row
// heights and the scale above are the applications' own figures (row
// heights at 96 pixels an inch, the scale in whole percent rounded down);
// 4 % are left for what they round differently on a printer (a row height
// or the scale rounded up to the printer's dots) and for a text font that
// renders taller than the default. LibreOffice shows rows lower than the
// estimate (13.6 points for 11-point text): rendered with it, no page of the
// sample breaks a block or anywhere but before one.
inline constexpr double kPageSafety = 0.96;

// The most row breaks one sheet may have; the spreadsheet applications
// accept no more. Further blocks are left to the application's breaks.
inline constexpr size_t kMaxRowBreaks = 1023;

// The height of row `row` in points (1/72 inch) as the applications show a
// row without a height of its own: 15 points, more for a font larger than 11
// points (15.75 for 12 points).
double EstimatedRowHeight(const Worksheet& sheet, int32_t row);

// The scale (at most 1, in whole percent) that fits the sheet's columns, from
// the first to the last that holds a cell, to the printable width of `paper`
// held sideways when the sheet prints landscape.
double FitToWidthScale(const Worksheet& sheet, PaperSize paper);

// The height, in points of the sheet's rows at their own size, that one
// printed page holds below the title rows: the smaller of Letter and A4 at
// the sheet's scale (1 when it is not fitted to the width), before the
// safety margin.
double PageHeightInRowPoints(const Worksheet& sheet);

// The rows before which pages must break so that no block the sheet keeps
// together (Worksheet::kept_together) is cut where it fits on one page:
// - a block that fits in what is left of the page stays there;
// - else a block that fits on one page starts a new page;
// - a block taller than a page runs over pages as the application breaks
//   them; the block after it starts a new page, since where the application
//   broke inside it is not known.
// At most kMaxRowBreaks breaks.
std::vector<int32_t> RowBreaksBeforeBlocks(const Worksheet& sheet);

// Sets the sheet's row breaks to RowBreaksBeforeBlocks. Call once the
// columns are fitted and the page set up.
void PlaceRowBreaks(Worksheet& sheet);

}  // namespace statcrane
