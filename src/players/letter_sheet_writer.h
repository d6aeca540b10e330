// The letter sheets "A" to "Z" and "#": one block per player, one after the
// other with an empty row between them.
#pragma once

#include <cstdint>

#include "players/player_block.h"
#include "workbook/cell_style.h"
#include "workbook/workbook.h"

namespace statcrane {

// The fills of hitting and pitching headings.
inline constexpr Rgb kHittingFill = 0xFFFFCC;
inline constexpr Rgb kPitchingFill = 0xCCFFFF;

// Writes the blocks of one letter sheet. A block:
//  - the name row: the name merged over A:E, the player id merged over R:U,
//    bold, size 12, framed in medium lines;
//  - the regular season: for each kind of line it holds, in the order of
//    their first lines, a sub-section: a heading row (the kind's column
//    headings framed on the kind's fill; the first heading also colours the
//    two merged cells of the name row), the lines, the totals line;
//  - each post-season series: for each kind of line it holds, a title row
//    ("- - L D S - -" and so on, A:C merged, on the kind's fill), the lines,
//    the totals line.
// A line has Year, Team and Age, then its figures, between medium side
// lines; a totals line has "Totals" and the figures of its group's totals
// under a medium line, framed in red from B to U. A section without lines
// writes nothing. One empty row follows each block. The sheet keeps each
// block's rows together when printed (Worksheet::KeepRowsTogether).
class LetterSheetWriter {
 public:
  // The first block starts at `first_row`.
  explicit LetterSheetWriter(Worksheet& sheet, int32_t first_row = 1);

  // Writes the block at the next row and returns its rows (the name row
  // first). A failed write throws a SheetWriteError naming the sheet.
  RowSpan WriteBlock(const PlayerBlock& block);

  const Worksheet& sheet() const { return *sheet_; }
  // The row the next block starts at.
  int32_t next_row() const { return next_row_; }

 private:
  Worksheet* sheet_;
  int32_t next_row_;
};

}  // namespace statcrane
