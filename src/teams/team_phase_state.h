// The state of the team phase: the rows of "Team Records" and the summary
// sheets, the team block being written and its totals.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace statcrane {

struct StandingsLine;

// Sums over a block's season rows.
struct TeamTotals {
  int64_t Won = 0;
  int64_t Lost = 0;
  int64_t Scored = 0;
  int64_t Allowed = 0;
  int64_t SHO = 0;
  int64_t GDP = 0;
  int64_t LOB = 0;

  void Add(const StandingsLine& season);
};

struct TeamPhaseState {
  // The last row used on "Team Records".
  int32_t TeamRecordsRow = 1;
  // The first season row of the block, and the row of its last season
  // written after the first (a block's first season row leaves it as it was).
  int32_t BlockFirstRow = 0;
  int32_t BlockLastRow = 0;
  // The team of the block, its display name and the league of its first
  // season (the block's colour).
  int BlockTeamId = 0;
  std::string BlockTitle;
  int BlockLeague = 0;
  TeamTotals BlockTotals;
  // Record numbers of the block's seasons with post-season games, in
  // season order.
  std::vector<int64_t> PostSeasonRecordList;
  // The last row used on "TeamRegTotals" (0 while it is empty).
  int32_t RegTotalsRow = 0;
  // The last row used on "TeamDCSTotals", "TeamLCSTotals", "TeamWSTotals";
  // 1 while the sheet holds nothing or only its header row.
  int32_t DcsTotalsRow = 1;
  int32_t LcsTotalsRow = 1;
  int32_t WsTotalsRow = 1;
};

}  // namespace statcrane
