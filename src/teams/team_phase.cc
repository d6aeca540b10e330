#include "teams/team_phase.h"

namespace statcrane {

TeamPhaseResult Do_Teams(const EncyclopediaFolder&, const TeamAbbrevTable&, Workbook&,
                         ProgressObserver&, SkipReporter&) {
  return {};
}

}  // namespace statcrane
