// The post-season records of a team block: for the division series, the
// league championship series and the world series in turn, one row per
// season that played in the series and a series totals row on "Team
// Records", and one line for the team on the series' summary sheet.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "encyclopedia/league_files.h"
#include "encyclopedia/record_layouts.h"
#include "encyclopedia/team_year_file.h"
#include "teams/team_phase_state.h"
#include "workbook/workbook.h"

namespace statcrane {

struct PostSeasonSeries {
  std::string_view code;   // "DCS", "LCS", "WS"
  std::string_view title;  // column A of the series' first row
  TeamStatBlock TeamYearRecord::*block;
  std::string_view summary_sheet;    // "TeamDCSTotals" ...
  int32_t TeamPhaseState::*counter;  // DcsTotalsRow ...
  // The division series draws the top of D on every season row; the other
  // two on their totals row.
  bool top_of_year_on_season_rows;
};

inline constexpr PostSeasonSeries kDivisionSeries = {
    "DCS",           "Divisional Championship",     &TeamYearRecord::division_series,
    "TeamDCSTotals", &TeamPhaseState::DcsTotalsRow, true};
inline constexpr PostSeasonSeries kLeagueChampionshipSeries = {
    "LCS",           "League Championship",         &TeamYearRecord::league_championship_series,
    "TeamLCSTotals", &TeamPhaseState::LcsTotalsRow, false};
inline constexpr PostSeasonSeries kWorldSeries = {"WS",
                                                  "World Series",
                                                  &TeamYearRecord::world_series,
                                                  "TeamWSTotals",
                                                  &TeamPhaseState::WsTotalsRow,
                                                  false};

// The series title on row TeamRecordsRow: merged over A:C in `colour` (none
// for a league without one), framed in medium lines (the top reaching over
// D), bold, 10 points.
void Do_Team_PS_Headers(Worksheet& sheet, const TeamPhaseState& state,
                        const PostSeasonSeries& series, std::optional<int> colour);

// Writes the rows of the three series below TeamRecordsRow, reading the
// seasons of PostSeasonRecordList from the team-year file; a series without a
// season that won or lost a game in it adds nothing. Each series title goes
// on the row of the block's first season that played in that series, in the
// colour of that season's league. A series with rows also adds the team's
// line (BlockTitle and the series totals) on its summary sheet, writing the
// header row first when the sheet is still empty, filled with the colour of
// the league of the list's last season. Leaves "Team Records" active and
// TeamRecordsRow on the last row written; a summary sheet that received a
// line has its columns D:L fitted.
void Do_Post_Seasons(Workbook& workbook, TeamPhaseState& state, const TeamYearFile& team_years,
                     const ColouredLeagues& league_colours);

}  // namespace statcrane
