// The heading rows of a player's block on a letter sheet (name row, hitting
// and pitching column headings, post-season title borders) and of the
// summary sheets.
#pragma once

#include <cstdint>

#include "players/line_state.h"
#include "workbook/cell_style.h"
#include "workbook/workbook.h"

namespace statcrane {

// The fills of hitting and pitching blocks.
inline constexpr Rgb kHittingFill = 0xFFFFCC;
inline constexpr Rgb kPitchingFill = 0xCCFFFF;

// The name row at line.CurrentRow: the merged name A:E, the merged player id
// R:U, bold, size 12, framed by HEADER_BORDER. Leaves CurrentRow unchanged;
// the heading row that follows fills the name row.
void Name_Header(Worksheet& sheet, const LineState& line, int32_t player_id);
// The medium frame of the name row: the tops and sides of A:E and R:U and the
// bottom of A:U.
void HEADER_BORDER(Worksheet& sheet, int32_t row);
// The 21 hitting column headings at line.CurrentRow, framed, on the hitting
// fill; fills the name row above alike; advances CurrentRow by one.
void Hitting_Header(Worksheet& sheet, LineState& line);
// As Hitting_Header, with the pitching headings and fill.
void Pitching_Header(Worksheet& sheet, LineState& line);
// The medium borders of a post-season title row: the top and sides of A:C
// and the bottom of A:U.
void postseason_border(Worksheet& sheet, int32_t row);
// The borders of a section's totals line: a medium line above A:U and a
// medium red frame around every cell of B:U.
void TotalsLineBorders(Worksheet& sheet, int32_t row);
// The 20 right-aligned headings of a hitting or pitching summary sheet.
void HitSumHeader(Worksheet& sheet, int32_t row);
void PitchSumHeader(Worksheet& sheet, int32_t row);

}  // namespace statcrane
