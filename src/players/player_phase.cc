#include "players/player_phase.h"

namespace statcrane {

PlayerPhaseResult RunPlayerPhase(const EncyclopediaFolder&, const TeamAbbrevTable&, Workbook&,
                                 ProgressObserver&, SkipReporter&) {
  return {};
}

}  // namespace statcrane
