// "TeamRegTotals": one line per team block with the team's regular-season
// totals, under a header row, framed in medium lines once the last line is in.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "teams/team_phase_state.h"
#include "workbook/workbook.h"

namespace statcrane {

// The header row r: "Team", "Won", "Lost", "Pct", "Scored", "Allowed", "SHO",
// "GDP", "LOB" in C to K, filled with the summary header colour.
void TeamSumHeaders(Worksheet& sheet, int32_t r);

// The line r of a team: its display name in C, then the totals with their Pct
// ("#.000") in D to K, filled with `colour` (the colour of the league of the
// block's first season; none for a league without one).
void TeamSumTotals(Worksheet& sheet, int32_t r, const std::string& team_name,
                   const TeamTotals& totals, std::optional<int> colour);

// Medium lines on every side of every cell of C1:Kr.
void TeamSumBorders(Worksheet& sheet, int32_t r);

}  // namespace statcrane
