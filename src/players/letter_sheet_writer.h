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
//    bold, size 12, framed in medium lines (the sheet's selected cell);
//  - the regular season: a heading row of the kind of its first record
//    (column headings framed on the kind's fill, which also colours the two
//    merged cells of the name row), the lines of both kinds in order, and
//    the totals line of the kind of its last record;
//  - each post-season series the player played: a title row ("- - L D S - -"
//    and so on, A:C merged, on the fill of its first record's kind), the
//    lines, the totals line as in the regular season.
// A line has Year, Team and Age, then its figures, between medium side
// lines; a totals line has "Totals" and the figures of the section's totals
// of its kind under a medium line, framed in red from B to U. A section
// whose first record is of another kind gets no heading or title, one whose
// last record is gets no totals line, and the title of the next section
// then goes over the last row written.
class LetterSheetWriter {
 public:
  // The first block starts at `first_row`.
  explicit LetterSheetWriter(Worksheet& sheet, int32_t first_row = 1);

  // Writes the block at the next row. A failed write throws a
  // SheetWriteError naming the sheet.
  void WriteBlock(const PlayerBlock& block);

  const Worksheet& sheet() const { return *sheet_; }
  // The row the next block starts at.
  int32_t next_row() const { return next_row_; }

 private:
  Worksheet* sheet_;
  int32_t next_row_;
};

}  // namespace statcrane
