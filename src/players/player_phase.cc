#include "players/player_phase.h"

#include "encyclopedia/birth_dates.h"
#include "encyclopedia/player_stats_file.h"
#include "players/player_walk.h"

namespace statcrane {

PlayerPhaseResult RunPlayerPhase(const EncyclopediaFolder& folder,
                                 const TeamAbbreviations& team_abbrevs, const PlayerSheets& sheets,
                                 ProgressObserver& progress, SkipReporter& reporter,
                                 const PlayerBlockPlaced& placed) {
  PlayerPhaseResult result;
  StepClock clock;
  const BirthDates birth_dates = LoadBirthDates(folder, reporter);
  CheckStop(progress);
  const PlayerStatsFile stats = LoadPlayerStats(folder, reporter);
  const PlayerOrder players = BuildPlayerOrder(stats);
  CheckStop(progress);
  result.reading = clock.Lap();

  PlayerSheetWriters writers(sheets);
  const PlayerWalkResult walk = WritePlayerBlocks(
      PlayerWalkInput{stats, players, team_abbrevs, birth_dates}, writers, progress, placed);
  result.last_letter_sheet = walk.last_letter_sheet;
  result.players_written = walk.players_written;
  result.unknown_season_types = walk.unknown_season_types;
  return result;
}

}  // namespace statcrane
