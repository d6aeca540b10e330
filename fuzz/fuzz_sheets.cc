// The player and team phases of a run into an in-memory workbook, without
// writing the file: the same input as fuzz_run, many times faster.
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>

#include "app/processing_run.h"
#include "app/run_report.h"
#include "app/sheet_layout.h"
#include "encyclopedia/encyclopedia_folder.h"
#include "encyclopedia/player_stats_file.h"
#include "encyclopedia/team_year_file.h"
#include "fuzz/fuzz_support.h"
#include "players/player_phase.h"
#include "teams/team_phase.h"
#include "util/error.h"
#include "workbook/workbook.h"

using namespace statcrane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const fuzz::SplitInput input = fuzz::Split(std::span<const uint8_t>(data, size));
  fuzz::NamedBytes files[6];
  for (size_t i = 0; i < 6; ++i) files[i] = {fuzz::kFileNames[i], input.files[i]};
  const EncyclopediaFolder folder(fuzz::WriteFolder("sheets", files));
  const auto choice = static_cast<SheetChoice>(input.options % 3);

  RunReport report;
  ProgressObserver observer;
  Workbook workbook;
  try {
    SheetLayout layout(workbook, choice);
    const TeamAbbreviations team_abbreviations = LoadTeamAbbreviations(folder, report);
    if (PlayersWanted(choice)) {
      const PlayerPhaseResult players =
          RunPlayerPhase(folder, team_abbreviations, layout.player_sheets(), observer, report);
      // One block per player with a regular-season line, whatever the names.
      NullReporter quiet;
      const PlayerStatsFile stats = LoadPlayerStats(folder, quiet);
      int64_t expected = 0;
      for (int32_t id = 1; id <= stats.HighestPlayerId(); ++id) {
        if (stats.DisplayNameOf(id).empty()) continue;
        for (int64_t k : stats.PlayerRecords(id)) {
          if (stats.Key(k).season_type == 2) {
            ++expected;
            break;
          }
        }
      }
      if (players.players_written != expected) {
        fuzz::Finding("wrote " + std::to_string(players.players_written) + " player blocks for " +
                      std::to_string(expected) + " players with regular-season lines");
      }
    }
    if (TeamsWanted(choice)) {
      const TeamPhaseResult teams =
          RunTeamPhase(folder, team_abbreviations, layout.team_sheets(), observer, report);
      // One block per team id with a used season, whatever its names.
      NullReporter quiet;
      std::set<int> team_ids;
      const TeamYearFile team_years = LoadTeamYears(folder, quiet);
      for (const TeamSeason& season : team_years.Seasons()) {
        team_ids.insert(season.team_id);
      }
      if (teams.teams_written != static_cast<int64_t>(team_ids.size())) {
        fuzz::Finding("wrote " + std::to_string(teams.teams_written) + " team blocks for " +
                      std::to_string(team_ids.size()) + " teams");
      }
    }
    layout.Finish(report, nullptr);
  } catch (const StatCraneError& error) {
    // Small files reach no limit that stops a run.
    fuzz::Finding("the phases stopped: " + error.message());
  }
  return 0;
}
