#include "app/processing_run.h"

#include <array>
#include <chrono>
#include <string>
#include <vector>

#include "encyclopedia/encyclopedia_folder.h"
#include "encyclopedia/team_table.h"
#include "players/player_phase.h"
#include "teams/team_phase.h"
#include "util/dates.h"
#include "workbook/workbook.h"
#include "workbook/xlsx_writer.h"

namespace statcrane {
namespace {

// The player summary sheets in creation order (each goes before the last).
constexpr std::array<std::string_view, 8> kPlayerSummaryCreation = {
    "HitWSTotals",   "HitLCSTotals",   "HitDCSTotals",   "HitRegTotals",
    "PitchWSTotals", "PitchLCSTotals", "PitchDCSTotals", "PitchRegTotals"};
constexpr std::array<std::string_view, 5> kTeamSheetCreation = {
    "TeamWSTotals", "TeamLCSTotals", "TeamDCSTotals", "TeamRegTotals", kTeamRecordsSheet};

const CellRange kColumnsAToZ = CellRange::Columns(1, 26);

bool PlayersWanted(SheetChoice choice) { return choice != SheetChoice::kTeamsOnly; }
bool TeamsWanted(SheetChoice choice) { return choice != SheetChoice::kPlayersOnly; }

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

// Selects and deletes a sheet, noting it in the report.
void RemoveSheet(Workbook& workbook, std::string_view name, RunReport& report) {
  workbook.Delete(name);
  report.sheets_removed.emplace_back(name);
}

// Creates the run's sheets in their fixed order and removes the ones the
// workbook came with.
void LayOutWorkbook(Workbook& workbook, SheetChoice choice) {
  const std::vector<std::string> PriorSheetNames = workbook.SheetNames();
  if (PlayersWanted(choice)) {
    for (char letter = 'Z'; letter >= 'A'; --letter) workbook.AddSheet(std::string(1, letter));
    for (std::string_view name : kPlayerSummaryCreation) workbook.AddSheet(std::string(name));
  }
  if (choice != SheetChoice::kPlayersOnly) {
    for (std::string_view name : kTeamSheetCreation) workbook.AddSheet(std::string(name));
  }
  for (const std::string& name : PriorSheetNames) workbook.Delete(name);
}

// Fits the player sheets and removes the summary sheets that got no line.
void FinishPlayerSheets(Workbook& workbook, const PlayerPhaseResult& players, RunReport& report) {
  workbook.ActiveSheet().AutoFitColumns(kColumnsAToZ);
  for (size_t i = 0; i < kPlayerSummarySheets.size(); ++i) {
    const std::string_view name = kPlayerSummarySheets[i];
    if (players.SummaryRow[i] > 0) {
      workbook.Activate(name);
      workbook.ActiveSheet().AutoFitColumns(kColumnsAToZ);
    } else {
      RemoveSheet(workbook, name, report);
    }
  }
  workbook.ActiveSheet().AutoFitColumns(kColumnsAToZ);
}

// Removes the post-season team summary sheets that got no line, then shows
// "Team Records".
void FinishTeamSheets(Workbook& workbook, const TeamPhaseResult& teams, RunReport& report) {
  if (teams.DcsTotalsRow == 1) RemoveSheet(workbook, "TeamDCSTotals", report);
  if (teams.LcsTotalsRow == 1) RemoveSheet(workbook, "TeamLCSTotals", report);
  if (teams.WsTotalsRow == 1) RemoveSheet(workbook, "TeamWSTotals", report);
  workbook.Activate(kTeamRecordsSheet);
  workbook.ActiveSheet().AutoFitColumns(kColumnsAToZ);
}

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
