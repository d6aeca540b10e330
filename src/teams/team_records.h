// "Team Records": one block per team, with a title row and a heading row in
// the colour of the league of the team's first season, one row per season, a
// medium outline around the season rows and a totals row below them.
#pragma once

#include "encyclopedia/league_files.h"
#include "teams/standings.h"
#include "teams/team_phase_state.h"
#include "workbook/workbook.h"

namespace statcrane {

// Writes the season into row TeamRecordsRow: league name, division, team
// name, year, Won, Lost, Pct ("#.000"), games behind, finish, Scored,
// Allowed, SHO, GDP, LOB in A to N. A season with post-season games adds its
// record number to PostSeasonRecordList.
void WriteSeasonRow(Worksheet& sheet, TeamPhaseState& state, const StandingsLine& season,
                    const LeagueDisplayNames& league_names);

// The block's title row (BlockTitle merged over A:C, bold, 12 points) and its
// heading row (A:N, bold). The first block's title goes on row 1, a later
// block's on the row after TeamRecordsRow. Leaves TeamRecordsRow on the
// heading row.
void Do_Team_Rec_Headers(Worksheet& sheet, TeamPhaseState& state,
                         const ColouredLeagues& league_colours);

// The medium outline of the block's season rows BlockFirstRow..BlockLastRow
// (a block of one season: its first row only), with the lines between the
// columns.
void Do_Team_Borders(Worksheet& sheet, TeamPhaseState& state);

// The totals row below the last season row: BlockTotals in E, F, J to N and
// their Pct in G, framed in medium lines with red sides and bottoms.
// Won, Lost, Pct ("#.000"), Scored, Allowed, SHO, GDP and LOB into E, F, G
// and J to N of row r, in that order.
void WriteRecordFigures(Worksheet& sheet, int32_t r, const TeamTotals& figures);
void Do_Team_Totals(Worksheet& sheet, TeamPhaseState& state);

}  // namespace statcrane
