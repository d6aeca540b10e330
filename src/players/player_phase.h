// The player half of a run: ENCPLYR.DAT and ENCPLSTATS.DAT read, one block
// per player on the letter sheets, one line per player and section on the
// player summary sheets.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "encyclopedia/encyclopedia_folder.h"
#include "encyclopedia/team_abbreviations.h"
#include "util/progress.h"
#include "util/run_report.h"
#include "util/step_clock.h"
#include "workbook/workbook.h"

namespace statcrane {

// The eight player summary sheets, in the order the run finishes them.
inline constexpr std::array<std::string_view, 8> kPlayerSummarySheets = {
    "PitchRegTotals", "PitchDCSTotals", "PitchLCSTotals", "PitchWSTotals",
    "HitRegTotals",   "HitDCSTotals",   "HitLCSTotals",   "HitWSTotals"};

struct PlayerPhaseResult {
  // SummaryRow of each sheet of kPlayerSummarySheets, same order: the last
  // row used there, 0 when the sheet received nothing.
  std::array<int32_t, 8> SummaryRow{};
  int64_t players_written = 0;
  // Reading ENCPLYR.DAT and ENCPLSTATS.DAT and building the work list; the walk.
  StepTime reading;
  StepTime walk;
};

// Expects the workbook to hold the letter sheets "A" to "Z" and the eight
// player summary sheets; may add a sheet "#" after "Z" for players whose
// name does not begin with a letter. Leaves the last letter sheet written as
// the active sheet.
PlayerPhaseResult RunPlayerPhase(const EncyclopediaFolder& folder,
                                 const TeamAbbreviations& team_abbreviations, Workbook& workbook,
                                 ProgressObserver& progress, SkipReporter& reporter);

}  // namespace statcrane
