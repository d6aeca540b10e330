// The player half of a run: ENCPLYR.DAT and ENCPLSTATS.DAT read, one block
// per player on the letter sheets, one line per player, section and line kind
// on the player summary sheets.
#pragma once

#include <cstdint>
#include <map>

#include "encyclopedia/encyclopedia_folder.h"
#include "encyclopedia/team_abbreviations.h"
#include "players/letter_sheets.h"
#include "players/player_walk.h"
#include "util/progress.h"
#include "util/skip_report.h"
#include "util/step_clock.h"

namespace statcrane {

struct PlayerPhaseResult {
  int64_t players_written = 0;
  // The letter sheet of the last player written; null when none was.
  const Worksheet* last_letter_sheet = nullptr;
  // Records of season types the program does not know, left out: type ->
  // records.
  std::map<int, int64_t> unknown_season_types;
  // Reading ENCPLYR.DAT and ENCPLSTATS.DAT and building the work list.
  StepTime reading;
};

// `placed` (when given) hears where each player's block went.
PlayerPhaseResult RunPlayerPhase(const EncyclopediaFolder& folder,
                                 const TeamAbbreviations& team_abbrevs, const PlayerSheets& sheets,
                                 ProgressObserver& progress, SkipReporter& reporter,
                                 const PlayerBlockPlaced& placed = {});

}  // namespace statcrane
