#include "players/player_phase.h"

#include "encyclopedia/player_stats_file.h"
#include "encyclopedia/player_table.h"
#include "players/player_walk.h"

namespace statcrane {

PlayerPhaseResult RunPlayerPhase(const EncyclopediaFolder& folder,
                                 const TeamAbbrevTable& TeamAbbrev, const PlayerSheets& sheets,
                                 ProgressObserver& progress, SkipReporter& reporter) {
  PlayerPhaseResult result;
  StepClock clock;
  const PlayerBirthDateTable PlayerBirthDate = LoadPlayerTable(folder, reporter);
  CheckStop(progress);
  const PlayerStatsFile stats = PlayerStatsFile::Load(folder, reporter);
  const PlayerWorkList lstPlayers = BuildPlayerWorkList(stats);
  CheckStop(progress);
  result.reading = clock.Lap();

  PlayerWalk walk;
  RunPlayerWalk(PlayerWalkInput{stats, lstPlayers, TeamAbbrev, PlayerBirthDate}, sheets, walk,
                progress, reporter);

  result.walk = clock.Lap();
  result.last_letter_sheet = walk.CurrentLetter;
  result.players_written = walk.players_written;
  return result;
}

}  // namespace statcrane
