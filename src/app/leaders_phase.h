// The leaders sheets of a run: the players' blocks collected as the walk
// writes them, the sheets written once the walk is done.
#pragma once

#include "app/sheet_layout.h"
#include "encyclopedia/encyclopedia_folder.h"
#include "players/leaders.h"
#include "players/player_walk.h"

namespace statcrane {

class LeadersPhase {
 public:
  // Reads the team games and leagues of the team-year and league files
  // (their skipped records are the team phase's to report).
  LeadersPhase(const EncyclopediaFolder& folder, const LeadersSheets& sheets);

  void Add(const PlacedPlayerBlock& placed) { collector_.Add(placed); }

  // Writes the three sheets.
  void Write();

 private:
  LeadersSheets sheets_;
  LeadersCollector collector_;
};

}  // namespace statcrane
