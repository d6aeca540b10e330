#include "teams/team_phase_state.h"

#include "teams/standings.h"

namespace statcrane {

void TeamTotals::Add(const StandingsLine& season) {
  Won += season.Won;
  Lost += season.Lost;
  Scored += season.Scored;
  Allowed += season.Allowed;
  SHO += season.SHO;
  GDP += season.GDP;
  LOB += season.LOB;
}

}  // namespace statcrane
