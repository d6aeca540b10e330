#include "players/player_phase.h"

#include "encyclopedia/player_stats_file.h"
#include "encyclopedia/birth_dates.h"
#include "players/player_walk.h"

namespace statcrane {

PlayerPhaseResult RunPlayerPhase(const EncyclopediaFolder& folder,
                                 const TeamAbbreviations& team_abbreviations, Workbook& workbook,
                                 ProgressObserver& progress, SkipReporter& reporter) {
  PlayerPhaseResult result;
  StepClock clock;
  const BirthDates birth_dates = LoadBirthDates(folder, reporter);
  CheckStop(progress);
  const PlayerStatsFile stats = PlayerStatsFile::Load(folder, reporter);
  const PlayerOrder player_order = BuildPlayerOrder(stats);
  CheckStop(progress);
  result.reading = clock.Lap();

  PlayerWalk walk;
  RunPlayerWalk(PlayerWalkInput{stats, player_order, team_abbreviations, birth_dates}, workbook,
                walk, progress, reporter);

  result.walk = clock.Lap();
  result.SummaryRow = walk.SummaryRow;
  result.players_written = walk.players_written;
  return result;
}

}  // namespace statcrane
