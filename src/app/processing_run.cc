#include "app/processing_run.h"

#include <chrono>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/index_writer.h"
#include "app/sheet_layout.h"
#include "encyclopedia/encyclopedia_folder.h"
#include "encyclopedia/team_abbreviations.h"
#include "players/player_phase.h"
#include "teams/team_phase.h"
#include "util/dates.h"
#include "util/platform_files.h"
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

// Where the workbook of a failed run goes: "NAME (incomplete).xlsx" beside
// the requested file, or "NAME (incomplete 2).xlsx", ... when that is taken.
std::filesystem::path IncompletePath(const std::filesystem::path& target) {
  std::filesystem::path path;
  for (int n = 1; n <= 1000; ++n) {
    const std::string mark = n == 1 ? " (incomplete)" : " (incomplete " + std::to_string(n) + ")";
    std::filesystem::path name = target.stem();
    name += mark;
    name += target.extension();
    path = target.parent_path() / name;
    if (!PathEntryExists(path)) break;
  }
  return path;
}

}  // namespace

std::string WorkbookTitle(const std::filesystem::path& encyclopedia_folder) {
  // "/games/league/", "/games/league/." and "." in that folder all name it
  // "league"; the root names itself.
  std::filesystem::path folder = std::filesystem::absolute(encyclopedia_folder).lexically_normal();
  if (!folder.has_filename()) folder = folder.parent_path();
  const std::string name = folder.filename().string();
  return "Statistics of " + (name.empty() ? folder.string() : name);
}

void RecordRunException(RunResult& result) {
  try {
    throw;
  } catch (const RunStopped&) {
    result.stopped = true;
  } catch (const StatCraneError& error) {
    result.error = error;
  } catch (const std::bad_alloc&) {
    result.error = StatCraneError("the computer ran out of memory");
  } catch (const std::exception& error) {
    result.error = StatCraneError(error.what());
  }
}

RunResult RunProcessing(const RunOptions& options, RunObserver& observer,
                        RememberedFolder* remembered) {
  RunResult result;
  RunReport& report = result.report;
  observer.StartTime(Stamp());
  Workbook workbook;
  PhaseClock clock(result);
  std::optional<SheetLayout> layout;
  PlayerPhaseResult players;
  bool writing = false;  // the error, if any, came from writing the workbook
  try {
    const EncyclopediaFolder folder(options.encyclopedia_folder);
    observer.PhaseProgress("reading", 0, 0);
    layout.emplace(workbook, options.sheets, options.index);
    workbook.SetTitle(WorkbookTitle(options.encyclopedia_folder));
    std::optional<IndexWriter> index;
    PlayerBlockPlaced player_placed;
    TeamBlockPlaced team_placed;
    if (Worksheet* sheet = layout->index_sheet()) {
      index.emplace(*sheet);
      player_placed = [&index](const PlacedPlayerBlock& placed) { index->AddPlayer(placed); };
      team_placed = [&index](const PlacedTeamBlock& placed) { index->AddTeam(placed); };
    }
    if (options.viewing == ViewingChoice::kViewWhileProcessing) observer.ViewingTookEffect();

    const TeamAbbreviations team_abbreviations = LoadTeamAbbreviations(folder, report);
    observer.ProgressText("TEAMS COMPLETED");
    clock.Finish("reading");

    if (PlayersWanted(options.sheets)) {
      players = RunPlayerPhase(folder, team_abbreviations, layout->player_sheets(), observer,
                               report, player_placed);
      // The phase tells its reading apart; the rest is the walk.
      StepTime walk = clock.Lap();
      walk.elapsed -= players.reading.elapsed;
      walk.processor -= players.reading.processor;
      clock.Add("reading", players.reading);
      clock.Add("player walk", walk);
      report.players_written = players.players_written;
    }
    if (TeamsWanted(options.sheets)) {
      const TeamPhaseResult teams = RunTeamPhase(folder, team_abbreviations, layout->team_sheets(),
                                                 observer, report, team_placed);
      report.teams_written = teams.teams_written;
      clock.Finish("team phase");
    }
    if (options.viewing == ViewingChoice::kViewAfterCompleted) observer.ViewingTookEffect();
    layout->Finish(report, players.last_letter_sheet);
    layout.reset();
    clock.Finish("finishing sheets");

    CheckStop(observer);
    observer.WorkbookComplete(workbook);
    XlsxWriteOptions write_options;
    write_options.threads = options.threads;
    write_options.compression_level = options.compression_level;
    write_options.stats = &result.write_stats;
    writing = true;
    result.cells_written =
        WriteXlsx(workbook, options.output, options.overwrite, &observer, write_options);
    clock.Finish("writing");
    result.saved = true;
    result.saved_path = options.output;
    report.output_path = options.output.string();
    observer.EndTime(Stamp());
    if (remembered != nullptr) remembered->Save(options.encyclopedia_folder);
    observer.ProgressText("Processing Completed");
    result.completed = true;
  } catch (...) {
    RecordRunException(result);
  }
  if (result.error && !result.saved && !writing) {
    // Keep what the run had built, beside the requested file and marked
    // incomplete; a file the user has under the requested name stays as it is.
    const std::filesystem::path incomplete = IncompletePath(options.output);
    try {
      if (layout) layout->Finish(report, players.last_letter_sheet);
      XlsxWriteOptions write_options;
      write_options.threads = options.threads;
      write_options.compression_level = options.compression_level;
      result.cells_written = WriteXlsx(workbook, incomplete, false, nullptr, write_options);
      result.saved = true;
      result.saved_path = incomplete;
      report.incomplete = true;
      report.output_path = incomplete.string();
    } catch (const std::exception&) {
      // The error that stopped the run is the one to tell; nothing was saved.
    }
  }
  return result;
}

}  // namespace statcrane
