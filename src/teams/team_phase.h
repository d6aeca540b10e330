// The team half of a run: the league and team-year files read, the seasons
// ranked, "Team Records", "TeamRegTotals" and the post-season team summary
// sheets written.
#pragma once

#include <cstdint>

#include "encyclopedia/encyclopedia_folder.h"
#include "encyclopedia/team_table.h"
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
// "TeamDCSTotals", "TeamLCSTotals" and "TeamWSTotals".
TeamPhaseResult Do_Teams(const EncyclopediaFolder& folder, const TeamAbbrevTable& TeamAbbrev,
                         Workbook& workbook, ProgressObserver& progress, SkipReporter& reporter);

}  // namespace statcrane
