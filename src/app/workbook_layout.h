// The run's sheets: created in their fixed order at the start, the empty
// summary sheets removed at the end of each half.
#pragma once

#include "app/processing_run.h"
#include "players/player_phase.h"
#include "teams/team_phase.h"
#include "util/run_report.h"
#include "workbook/workbook.h"

namespace statcrane {

// Creates the letter sheets "Z" down to "A" and the player summary sheets
// when players are wanted, the team sheets unless "Players Only", then
// deletes the sheets the workbook came with. The tab order that results:
// "Team Records", "TeamRegTotals", "TeamDCSTotals", "TeamLCSTotals",
// "TeamWSTotals", "PitchRegTotals" ... "PitchWSTotals", "HitRegTotals" ...
// "HitWSTotals", "A" ... "Z".
void LayOutWorkbook(Workbook& workbook, SheetChoice choice);

// Fits the columns of the player sheets and deletes the player summary
// sheets that received no line (noted in the report).
void FinishPlayerSheets(Workbook& workbook, const PlayerPhaseResult& players, RunReport& report);

// Deletes the post-season team summary sheets that received no line (noted in
// the report), then activates "Team Records" and fits its columns.
void FinishTeamSheets(Workbook& workbook, const TeamPhaseResult& teams, RunReport& report);

}  // namespace statcrane
