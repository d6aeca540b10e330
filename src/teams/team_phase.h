// The team half of a run: the league and team-year files read, the seasons
// ranked, "Team Records", "TeamRegTotals" and the post-season team summary
// sheets written.
#pragma once

#include <cstdint>
#include <functional>

#include "encyclopedia/encyclopedia_folder.h"
#include "encyclopedia/league_files.h"
#include "encyclopedia/team_abbreviations.h"
#include "encyclopedia/team_year_file.h"
#include "teams/team_blocks.h"
#include "teams/team_sheets.h"
#include "util/progress.h"
#include "util/skip_report.h"
#include "workbook/workbook.h"

namespace statcrane {

// Where a team's block went on "Team Records" (for an index of the
// workbook).
struct PlacedTeamBlock {
  const TeamBlock& block;
  const Worksheet& sheet;
  RowSpan rows;
};
using TeamBlockPlaced = std::function<void(const PlacedTeamBlock&)>;

struct TeamPhaseResult {
  int64_t teams_written = 0;
};

// Reads encleag.dat, enclgyr.dat and enctmyr.dat of the folder, then writes
// as below.
TeamPhaseResult RunTeamPhase(const EncyclopediaFolder& folder,
                             const TeamAbbreviations& abbreviations, const TeamSheets& sheets,
                             ProgressObserver& progress, SkipReporter& reporter,
                             const TeamBlockPlaced& placed = {});

// Ranks the used seasons of the team-year file (standings.h) and writes one
// block per team id (team_blocks.h) on the team records sheet, with one line
// per block on the season totals sheet and on the summary sheet of each
// series the team played in. Blocks come in team order: by abbreviation,
// then team id as text; seasons in year order (a second record of the same
// team and year is one more season row). A file with no used record writes
// nothing. Reports progress once per block and stops (RunStopped) between
// blocks when asked to. An error stops the phase and names the sheet, team
// or record; the sheets keep what was written before. `placed` (when given)
// hears where each block went.
TeamPhaseResult RunTeamPhase(const LeagueFiles& leagues, const TeamYearFile& team_years,
                             const TeamAbbreviations& abbreviations, const TeamSheets& sheets,
                             ProgressObserver& progress, const TeamBlockPlaced& placed = {});

}  // namespace statcrane
