#include "app/processing_run.h"

#include <chrono>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/index_writer.h"
#include "app/leaders_phase.h"
#include "app/output_check.h"
#include "app/sheet_layout.h"
#include "encyclopedia/encyclopedia_folder.h"
#include "encyclopedia/team_abbreviations.h"
#include "players/player_phase.h"
#include "teams/team_phase.h"
#include "util/dates.h"
#include "util/error.h"
#include "util/platform_files.h"
#include "util/utf8_path.h"
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

// `stem` + `mark` + `extension`, with `stem` cut (never inside a
// character) until the name fits the system's longest name.
std::filesystem::path FittedName(std::string stem, const std::string& mark,
                                 const std::string& extension, size_t longest) {
  for (;;) {
    std::filesystem::path name = PathFromUtf8(stem + mark + extension);
    if (FileNameLength(name) <= longest || stem.empty()) return name;
    do {
      stem.pop_back();
    } while (!stem.empty() && (static_cast<unsigned char>(stem.back()) & 0xC0) == 0x80);
    if (!stem.empty() && static_cast<unsigned char>(stem.back()) >= 0xC0) stem.pop_back();
  }
}

// Where the workbook of a failed run goes: "NAME (incomplete).xlsx" beside
// the requested file, or "NAME (incomplete 2).xlsx", ... when that is taken;
// NAME shortened when the whole is too long a name.
std::filesystem::path IncompletePath(const std::filesystem::path& target) {
  const std::filesystem::path folder = target.parent_path();
  const size_t longest = LongestFileName(folder.empty() ? std::filesystem::path(".") : folder);
  const std::string stem = Utf8FromPath(target.stem());
  const std::string extension = Utf8FromPath(target.extension());
  std::filesystem::path path;
  for (int n = 1; n <= 1000; ++n) {
    const std::string mark = n == 1 ? " (incomplete)" : " (incomplete " + std::to_string(n) + ")";
    path = folder / FittedName(stem, mark, extension, longest);
    if (!PathEntryExists(path)) break;
  }
  return path;
}

// Why the run has nothing to write, for "nothing to write: ...".
std::string NothingToWrite(SheetChoice sheets, const RunReport& report) {
  std::string text = "nothing to write: ";
  if (sheets == SheetChoice::kPlayersOnly) {
    text += "no player of the encyclopedia has a statistics line";
  } else if (sheets == SheetChoice::kTeamsOnly) {
    text += "no team of the encyclopedia has a season";
  } else {
    text += "no player of the encyclopedia has a statistics line and no team has a season";
  }
  if (!report.missing_files.empty()) {
    std::string names;
    for (const std::string& name : report.missing_files) {
      if (!names.empty()) names += ", ";
      names += name;
    }
    text += " (" + CountText(static_cast<int64_t>(report.missing_files.size()), "file", "files") +
            " missing: " + names + ")";
  }
  return text + "; no workbook was written";
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
    result.outcome = RunOutcome::kStopped;
    return;
  } catch (const StatCraneError& error) {
    result.error = error.message();
  } catch (const std::bad_alloc&) {
    result.error = "the computer ran out of memory";
  } catch (const std::exception& error) {
    result.error = error.what();
  }
  result.outcome = RunOutcome::kFailed;
}

std::string ReportText(const RunResult& result) {
  std::string text = result.report.Format();
  if (!result.output.empty()) {
    text += result.outcome == RunOutcome::kFailedIncompleteSaved ? "Incomplete workbook saved: "
                                                                 : "Workbook: ";
    text += Utf8FromPath(result.output) + "\n";
  }
  return text;
}

RunResult RunProcessing(const RunOptions& options, RunObserver& observer,
                        RememberedFolder* remembered) {
  RunResult result;
  RunReport& report = result.report;
  if (std::string problem =
          CheckBeforeReading(options.encyclopedia_folder, options.output, options.overwrite);
      !problem.empty()) {
    result.error = problem;
    return result;
  }
  observer.StartTime(Stamp());
  Workbook workbook;
  PhaseClock clock(result);
  std::optional<SheetLayout> layout;
  PlayerPhaseResult players;
  bool built = false;    // the workbook has its sheets
  bool writing = false;  // the error, if any, came from writing the workbook
  try {
    const EncyclopediaFolder folder(options.encyclopedia_folder);
    observer.PhaseProgress("reading", 0, 0);
    layout.emplace(workbook, options.sheets, options.index, options.leaders);
    built = true;
    workbook.SetTitle(WorkbookTitle(options.encyclopedia_folder));
    std::optional<IndexWriter> index;
    PlayerBlockPlaced player_placed;
    TeamBlockPlaced team_placed;
    if (Worksheet* sheet = layout->index_sheet()) {
      index.emplace(*sheet);
      player_placed = [&index](const PlacedPlayerBlock& placed) { index->AddPlayer(placed); };
      team_placed = [&index](const PlacedTeamBlock& placed) { index->AddTeam(placed); };
    }
    std::optional<LeadersPhase> leaders;
    if (layout->leaders_sheets().career != nullptr) {
      leaders.emplace(folder, layout->leaders_sheets());
      player_placed = [&index, &leaders](const PlacedPlayerBlock& placed) {
        if (index) index->AddPlayer(placed);
        leaders->Add(placed);
      };
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
      report.unknown_season_types = players.unknown_season_types;
    }
    if (TeamsWanted(options.sheets)) {
      const TeamPhaseResult teams = RunTeamPhase(folder, team_abbreviations, layout->team_sheets(),
                                                 observer, report, team_placed);
      report.teams_written = teams.teams_written;
      clock.Finish("team phase");
    }
    if (leaders) {
      leaders->Write();
      clock.Finish("leaders");
    }
    if (report.players_written == 0 && report.teams_written == 0) {
      result.error = NothingToWrite(options.sheets, report);
      result.outcome = RunOutcome::kNothingToWrite;
      return result;
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
    result.output = options.output;
    observer.EndTime(Stamp());
    if (remembered != nullptr) remembered->Save(options.encyclopedia_folder);
    observer.ProgressText("Processing Completed");
    result.outcome = RunOutcome::kCompleted;
  } catch (...) {
    RecordRunException(result);
  }
  if (result.outcome == RunOutcome::kFailed && result.output.empty() && !writing && built) {
    // Keep what the run had built, beside the requested file and marked
    // incomplete; a file the user has under the requested name stays as it is.
    const std::filesystem::path incomplete = IncompletePath(options.output);
    try {
      if (layout) layout->Finish(report, players.last_letter_sheet);
      XlsxWriteOptions write_options;
      write_options.threads = options.threads;
      write_options.compression_level = options.compression_level;
      result.cells_written = WriteXlsx(workbook, incomplete, false, nullptr, write_options);
      result.output = incomplete;
      result.outcome = RunOutcome::kFailedIncompleteSaved;
    } catch (...) {
      // The error that stopped the run comes first; this one says why
      // nothing was saved.
      RunResult failed;
      RecordRunException(failed);
      result.not_saved = failed.outcome == RunOutcome::kStopped ? "it was stopped" : failed.error;
      result.outcome = RunOutcome::kFailedIncompleteNotSaved;
    }
  }
  return result;
}

}  // namespace statcrane
