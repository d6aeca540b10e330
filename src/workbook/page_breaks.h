// Row breaks: on a printed sheet of blocks, a block that the page would cut
// starts on a new page where it fits on one; a block taller than a page
// starts on a new page too and its pages end where no title or heading is
// left at a page's foot.
//
// Where the application breaks pages is not in the file: it depends on the
// paper (the user's printer: Letter or A4; the file names none), the scale
// that fits the sheet to the page's width, and the rows' heights. The
// estimate takes, of Letter and A4, the page that holds fewer rows; the
// scale from the columns' widths as the applications lay them out in the
// workbook's font (Calibri, or a font of the same widths); and the row
// heights of that font. Printed by LibreOffice (Letter, landscape, one page
// wide) the sample's sheets hold 33 rows of 15 points a page at 100 %; the
// estimate fills 32 of them (A4's shorter page), so the application never
// breaks a page before the workbook does.
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

// Of the page height the estimate finds, the share it fills: 1 % for what
// a printer rounds differently (a row height or the scale rounded to its
// dots).
inline constexpr double kPageSafety = 0.99;

// The most row breaks one sheet may have; the spreadsheet applications
// accept no more. Further pages are left to the application's breaks.
inline constexpr size_t kMaxRowBreaks = 1023;

// The height of row `row` in points (1/72 inch) as the applications show a
// row without a height of its own: 15 points, more for a font larger than 11
// points (16.2 for 12 points, as LibreOffice shows it).
double EstimatedRowHeight(const Worksheet& sheet, Row row);

// The scale (at most 1, in whole percent) that fits the sheet's columns, from
// the first to the last that holds a cell, to the printable width of `paper`
// held sideways when the sheet prints landscape: the larger of the scales
// the applications work out (columns of whole pixels with padding, or of
// digit widths), so that the page holds no more rows than either prints.
double FitToWidthScale(const Worksheet& sheet, PaperSize paper);

// The height, in points of the sheet's rows at their own size, that one
// printed page holds below the title rows: the smaller of Letter and A4 at
// the sheet's scale (1 when it is not fitted to the width), before the
// safety margin.
double PageHeightInRowPoints(const Worksheet& sheet);

// The rows before which pages must break so that no block the sheet keeps
// together (Worksheet::kept_together) is cut where it fits on one page:
// - a block that fits in what is left of the page stays there;
// - else it starts a new page;
// - a block taller than a page runs over as many pages as it needs, each
//   filled as far as it holds rows, but never ending on rows kept with the
//   next (Worksheet::kept_with_next): the page breaks above them instead.
// At most kMaxRowBreaks breaks.
std::vector<Row> RowBreaksBeforeBlocks(const Worksheet& sheet);

// Sets the sheet's row breaks to RowBreaksBeforeBlocks. Call once the
// columns are fitted and the page set up.
void PlaceRowBreaks(Worksheet& sheet);

}  // namespace statcrane
