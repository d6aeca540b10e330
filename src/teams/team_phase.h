// The team half of a run: the league and team-year files read, the seasons
// ranked, "Team Records", "TeamRegTotals" and the post-season team summary
// sheets written.
#pragma once

#include <cstdint>

#include "encyclopedia/encyclopedia_folder.h"
#include "encyclopedia/league_files.h"
#include "encyclopedia/team_abbreviations.h"
#include "encyclopedia/team_year_file.h"
#include "util/progress.h"
#include "util/run_report.h"
#include "workbook/workbook.h"

namespace statcrane {

struct TeamPhaseResult {
  // Row counters of "TeamDCSTotals", "TeamLCSTotals" and "TeamWSTotals":
  // still 1 when the sheet received no line.
  int32_t DcsTotalsRow = 1;
  int32_t LcsTotalsRow = 1;
  int32_t WsTotalsRow = 1;
  int64_t teams_written = 0;
};

// Expects the workbook to hold "Team Records", "TeamRegTotals",
// "TeamDCSTotals", "TeamLCSTotals" and "TeamWSTotals". Reads encleag.dat,
// enclgyr.dat and enctmyr.dat of the folder, then writes as below.
TeamPhaseResult Do_Teams(const EncyclopediaFolder& folder,
                         const TeamAbbreviations& team_abbreviations, Workbook& workbook,
                         ProgressObserver& progress, SkipReporter& reporter);

// Ranks the used seasons of the team-year file and writes one block per team
// id on "Team Records" (grouped by abbreviation, then team id as text;
// seasons in year order; a second record of the same team and year is one
// more season row), with the block's post-season rows, and one line per
// block on "TeamRegTotals" and on the summary sheet of each series the team
// played in. A file with no used record writes nothing. Reports progress once
// per block and stops (RunStopped) when asked to. Errors are not caught: the
// sheets keep what was written before.
TeamPhaseResult Do_Teams(const LeagueFiles& leagues, const TeamYearFile& team_years,
                         const TeamAbbreviations& team_abbreviations, Workbook& workbook,
                         ProgressObserver& progress);

}  // namespace statcrane
