#include "app/processing_run.h"

#include <chrono>
#include <new>
#include <string>
#include <string_view>

#include "app/workbook_layout.h"
#include "encyclopedia/encyclopedia_folder.h"
#include "encyclopedia/team_abbreviations.h"
#include "players/player_phase.h"
#include "teams/team_phase.h"
#include "util/dates.h"
#include "workbook/workbook.h"
#include "workbook/xlsx_writer.h"

namespace statcrane {
namespace {

std::string Stamp() { return GeneralDateStamp(std::chrono::system_clock::now()); }

// Records how long each phase took; a phase in several pieces adds them up.
class PhaseClock {
 public:
  explicit PhaseClock(RunResult& result) : result_(result) {}
  // The time since the last call goes to `phase`.
  void Finish(std::string_view phase) { Add(phase, clock_.Lap()); }
  // The time since the last call.
  StepTime Lap() { return clock_.Lap(); }
  void Add(std::string_view phase, const StepTime& time) {
    for (auto& [name, total] : result_.timings) {
      if (name == phase) {
        total += time;
        return;
      }
    }
    result_.timings.emplace_back(std::string(phase), time);
  }

 private:
  RunResult& result_;
  StepClock clock_;
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

    const TeamAbbreviations team_abbreviations = LoadTeamAbbreviations(folder, report);
    observer.ProgressText("TEAMS COMPLETED");
    clock.Finish("reading");

    if (PlayersWanted(options.sheets)) {
      const PlayerPhaseResult players =
          RunPlayerPhase(folder, team_abbreviations, workbook, observer, report);
      // The phase tells its reading apart; the rest is the walk.
      StepTime walk = clock.Lap();
      walk.elapsed -= players.reading.elapsed;
      walk.processor -= players.reading.processor;
      clock.Add("reading", players.reading);
      clock.Add("player walk", walk);
      report.players_written = players.players_written;
      FinishPlayerSheets(workbook, players, report);
      clock.Finish("finishing sheets");
    }
    TeamPhaseResult teams;
    if (TeamsWanted(options.sheets)) {
      teams = Do_Teams(folder, team_abbreviations, workbook, observer, report);
      report.teams_written = teams.teams_written;
      clock.Finish("team phase");
    }
    if (options.viewing == ViewingChoice::kViewAfterCompleted) observer.ViewingTookEffect();
    if (TeamsWanted(options.sheets)) FinishTeamSheets(workbook, teams, report);
    clock.Finish("finishing sheets");

    CheckStop(observer);
    result.cells_written = WriteXlsx(workbook, options.output, options.overwrite, &observer);
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
    result.error = StatCraneError("Out of memory");
  } catch (const std::exception& error) {
    result.error = StatCraneError(error.what());
  }
  if (result.error && !result.saved) {
    // Keep what the run had built: save it, marked incomplete.
    try {
      result.cells_written = WriteXlsx(workbook, options.output, options.overwrite);
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
