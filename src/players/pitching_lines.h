// Pitching rows: entry lines, section totals lines and summary lines, the
// innings notation and the reset of the section totals.
#pragma once

#include <cstdint>

#include "encyclopedia/record_layouts.h"
#include "players/line_state.h"
#include "workbook/workbook.h"

namespace statcrane {

// Zeroes HittingTotals and PitchingTotals; rates, LastYear and innings stay.
void Reset_Totals(LineState& line);
// InningsPitched from OutsForInnings: whole innings plus the remaining outs
// as the tenths digit (7 outs give 2.1, 9 give 3.0).
void CALC_INNINGS(LineState& line);
// OBA, ERA and PCT of one pitching record into rates.OBA/ERA/PCT: OBA and ERA
// rounded to three decimals, ERA 999.99 with earned runs but no outs, PCT
// rounded to three decimals; 0 when there is nothing to divide.
void Pitcher_Averages(const PlayerStatsRecord& record, LineRates& rates);
// One pitching line at line.CurrentRow; expects InningsPitched computed from
// the record's outs. Sets LastYear and adds the record to PitchingTotals.
void Pitcher_EntryLine(Worksheet& sheet, const PlayerStatsRecord& record, LineState& line);
// OBA, ERA and PCT recomputed from the summed counts into rates.
void Pitcher_Totals(const PitchingSums& totals, LineRates& rates);
// The section's totals line at line.CurrentRow; expects InningsPitched
// computed from the section's total outs.
void Pitcher_TotalLine(Worksheet& sheet, LineState& line);
// The player's line at `row` of a pitching summary sheet, from the totals,
// rates and innings the last Pitcher_TotalLine used.
void PitchSumTotals(Worksheet& sheet, const LineState& line, int32_t row);

}  // namespace statcrane
