// Hitting rows: entry lines, section totals lines and summary lines.
#pragma once

#include <cstdint>

#include "encyclopedia/record_layouts.h"
#include "players/line_state.h"
#include "workbook/workbook.h"

namespace statcrane {

// BAVG, SPC and OBP of one hitting record into rates.BAVG/SPC/OBP: rounded to
// three decimals; 0 when the divisor is 0.
void Hitter_Averages(const PlayerStatsRecord& record, LineRates& rates);
// One hitting line at line.CurrentRow (Year, club, age, rates, counts, total
// bases), with the medium side borders of the block; sets LastYear and adds
// the record to HittingTotals.
void Hitter_EntryLine(Worksheet& sheet, const PlayerStatsRecord& record, LineState& line);
// BAVG, SPC and OBP recomputed from the summed counts into rates.
void Hitter_Totals(const HittingSums& totals, LineRates& rates);
// The section's totals line at line.CurrentRow, with a medium line above and
// a medium red frame from B to U.
void Hitter_TotalLine(Worksheet& sheet, LineState& line);
// The player's line at `row` of a hitting summary sheet, from the totals and
// rates the last Hitter_TotalLine left.
void HitSumTotals(Worksheet& sheet, const LineState& line, int32_t row);

}  // namespace statcrane
