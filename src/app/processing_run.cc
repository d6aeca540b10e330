#include "app/processing_run.h"

#include <chrono>
#include <new>
#include <string>

#include "app/workbook_layout.h"
#include "encyclopedia/encyclopedia_folder.h"
#include "encyclopedia/team_table.h"
#include "players/player_phase.h"
#include "teams/team_phase.h"
#include "util/dates.h"
#include "workbook/workbook.h"
#include "workbook/xlsx_writer.h"

namespace statcrane {
namespace {

std::string Stamp() { return GeneralDateStamp(std::chrono::system_clock::now()); }

// Records how long each phase took.
class PhaseClock {
 public:
  explicit PhaseClock(RunResult& result) : result_(result) {}
  void Finish(std::string phase) {
    const auto now = std::chrono::steady_clock::now();
    result_.timings.emplace_back(std::move(phase),
                                 std::chrono::duration<double>(now - start_).count());
    start_ = now;
  }

 private:
  RunResult& result_;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

}  // namespace

RunResult RunProcessing(const RunOptions& options, RunObserver& observer,
                        RememberedFolder* remembered) {
  RunResult result;
  RunReport& report = result.report;
  observer.StartTime(Stamp());
  Workbook workbook;
  PhaseClock clock(result);
  try {
    const EncyclopediaFolder folder(options.EncyclopediaFolder);
    LayOutWorkbook(workbook, options.sheets);
    if (options.viewing == ViewingChoice::kViewWhileProcessing) observer.ViewingTookEffect();

    const TeamAbbrevTable TeamAbbrev = LoadTeamTable(folder, report);
    observer.ProgressText("TEAMS COMPLETED");
    clock.Finish("team table");

    if (PlayersWanted(options.sheets)) {
      const PlayerPhaseResult players =
          RunPlayerPhase(folder, TeamAbbrev, workbook, observer, report);
      report.players_written = players.players_written;
      FinishPlayerSheets(workbook, players, report);
      clock.Finish("players");
    }
    TeamPhaseResult teams;
    if (TeamsWanted(options.sheets)) {
      teams = Do_Teams(folder, TeamAbbrev, workbook, observer, report);
      report.teams_written = teams.teams_written;
      clock.Finish("teams");
    }
    if (options.viewing == ViewingChoice::kViewAfterCompleted) observer.ViewingTookEffect();
    if (TeamsWanted(options.sheets)) FinishTeamSheets(workbook, teams, report);

    CheckStop(observer);
    WriteXlsx(workbook, options.output, options.overwrite);
    clock.Finish("writing");
    result.saved = true;
    report.output_path = options.output.string();
    observer.EndTime(Stamp());
    if (remembered != nullptr) remembered->Save(options.EncyclopediaFolder);
    observer.ProgressText("Processing Completed");
    result.completed = true;
  } catch (const RunStopped&) {
    result.stopped = true;
  } catch (const StatCraneError& error) {
    result.error = error;
  } catch (const std::bad_alloc&) {
    result.error = StatCraneError(7, "Out of memory");
  } catch (const std::exception& error) {
    result.error = StatCraneError(kErrApplicationDefined, error.what());
  }
  if (result.error && !result.saved) {
    // Keep what the run had built: save it, marked incomplete.
    try {
      WriteXlsx(workbook, options.output, options.overwrite);
      result.saved = true;
      report.incomplete = true;
      report.output_path = options.output.string();
    } catch (const std::exception&) {
      // The error that stopped the run is the one to tell; nothing was saved.
    }
  }
  return result;
}

}  // namespace statcrane
