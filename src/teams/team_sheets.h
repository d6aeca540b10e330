// The sheets the team phase writes to.
#pragma once

#include <array>

namespace statcrane {

class Worksheet;

struct TeamSheets {
  // One block per team with its seasons, totals and post-season rows.
  Worksheet* records = nullptr;
  // One line per team with its regular-season totals.
  Worksheet* season_totals = nullptr;
  // One line per team that played in the series: division series, league
  // championship series, world series.
  std::array<Worksheet*, 3> series_totals{};
};

}  // namespace statcrane
