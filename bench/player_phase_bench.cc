// player_phase_bench: the "Players Only" half of a run on a generated
// encyclopedia, full capacity by default (32,767 players, about 490,000
// statistics records).
//
//   player_phase_bench [--players N] [--seed S] [--dir FOLDER] [--keep DIR]
//                      [--mode phases|walk|run|both] [--floor PATH]
//
//   --dir FOLDER  use an existing encyclopedia folder instead of generating one
//   --keep DIR    generate into DIR and keep it (default: a temporary folder)
//   --mode        phases: time each step through the player phase's parts;
//                 walk: the same steps without writing the file, for a steady
//                 figure of the walk (also under perf stat);
//                 run: one whole "Players Only" processing run (team table,
//                 player phase, finishing the sheets, writing the file);
//                 both (default). For a clean peak-memory figure use "run".
//   --floor PATH  the workbook floor benchmark to run for the same number of
//                 cells (default: workbook_floor_bench beside this program;
//                 "none" skips it)
//
// Prints the time of each step, the cells written, the whole run's time,
// the floor's time for the same cells and their ratio, and the peak resident
// memory.
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <charconv>
#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "app/processing_run.h"
#include "app/run_report.h"
#include "app/sheet_layout.h"
#include "encyclopedia/birth_dates.h"
#include "encyclopedia/player_stats_file.h"
#include "encyclopedia/team_abbreviations.h"
#include "players/player_walk.h"
#include "tools/encyclopedia_generator.h"
#include "util/skip_report.h"
#include "workbook/workbook.h"
#include "workbook/xlsx_writer.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using namespace statcrane;

constexpr const char* kUsage =
    "usage: player_phase_bench [--players N] [--seed S] [--dir FOLDER] [--keep DIR]\n"
    "                          [--mode phases|walk|run|both] [--floor PATH|none]\n";

template <typename T>
bool ParseNumber(std::string_view text, T& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

double Since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Processor time of the whole process: on a shared machine it says more than
// the elapsed time.
double CpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

struct Times {
  double elapsed = 0;
  double processor = 0;
};

class Stopwatch {
 public:
  Times Lap() {
    const Times lap{Since(start_), CpuSeconds() - cpu_};
    start_ = Clock::now();
    cpu_ = CpuSeconds();
    return lap;
  }

 private:
  Clock::time_point start_ = Clock::now();
  double cpu_ = CpuSeconds();
};

void PrintStep(const char* what, const Times& t) {
  std::printf("%-52s %7.3f s elapsed, %7.3f s processor\n", what, t.elapsed, t.processor);
}

double PeakMiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

int64_t CountCells(const Workbook& workbook) {
  int64_t cells = 0;
  for (size_t i = 0; i < workbook.SheetCount(); ++i) cells += workbook.SheetAt(i).CellCount();
  return cells;
}

// The player half step by step, writing the file or not; returns the cells
// of the finished workbook.
int64_t TimePhases(const fs::path& folder, const fs::path& out, bool write) {
  NullReporter reporter;
  ProgressObserver progress;
  const EncyclopediaFolder encyclopedia(folder);
  const TeamAbbreviations team_abbrevs = LoadTeamAbbreviations(encyclopedia, reporter);
  Workbook workbook;
  SheetLayout layout(workbook, SheetChoice::kPlayersOnly);

  Stopwatch watch;
  Times total;
  auto step = [&](const char* what) {
    const Times t = watch.Lap();
    total.elapsed += t.elapsed;
    total.processor += t.processor;
    PrintStep(what, t);
  };
  const BirthDates birth_dates = LoadBirthDates(encyclopedia, reporter);
  step("ENCPLYR.DAT loaded");
  const PlayerStatsFile stats = LoadPlayerStats(encyclopedia, reporter);
  step("ENCPLSTATS.DAT loaded and indexed");
  const PlayerOrder players = BuildPlayerOrder(stats);
  step("player work list built");
  PlayerSheetWriters writers(layout.player_sheets());
  const PlayerWalkResult walk = WritePlayerBlocks(
      PlayerWalkInput{stats, players, team_abbrevs, birth_dates}, writers, progress);
  step("walk");
  RunReport finish_report;
  layout.Finish(finish_report, walk.last_letter_sheet);
  step("finishing the sheets (fit, remove empty summaries)");
  const int64_t cells = CountCells(workbook);
  const size_t held = workbook.MemoryBytes();
  watch.Lap();
  if (write) {
    WriteXlsx(workbook, out, true);
    step("WriteXlsx");
  }
  PrintStep("player half", total);

  std::printf("%lld statistics records (%.1f MB), %zu players in the work list, %lld written\n",
              static_cast<long long>(stats.record_count()),
              static_cast<double>(stats.record_count()) * PlayerStatsRecord::kSize / 1e6,
              players.Count(), static_cast<long long>(walk.players_written));
  std::printf("cells: %lld (%.0f rows of 21 cells); workbook holds %.1f MB\n",
              static_cast<long long>(cells), static_cast<double>(cells) / 21.0,
              static_cast<double>(held) / 1e6);
  if (write) {
    std::printf("file %.1f MB\n", static_cast<double>(fs::file_size(out)) / 1e6);
    fs::remove(out);
  }
  return cells;
}

// One whole "Players Only" run as the command line starts it.
Times TimeRun(const fs::path& folder, const fs::path& out) {
  RunOptions options;
  options.encyclopedia_folder = folder;
  options.sheets = SheetChoice::kPlayersOnly;
  options.output = out;
  options.overwrite = true;
  RunObserver observer;
  Stopwatch watch;
  const RunResult result = RunProcessing(options, observer, nullptr);
  const Times t = watch.Lap();
  if (result.outcome != RunOutcome::kCompleted) {
    throw std::runtime_error(result.error.empty() ? "run not completed" : result.error);
  }
  PrintStep("whole \"Players Only\" run", t);
  std::printf("  phases (elapsed):");
  for (const auto& [phase, time] : result.timings) {
    std::printf(" %s %.2f s;", phase.c_str(), time.elapsed);
  }
  std::printf("\n");
  fs::remove(out);
  return t;
}

// Runs the floor benchmark for `rows` rows of 21 cells and returns its best
// floor times, or nullopt.
std::optional<Times> RunFloor(const fs::path& program, int64_t rows) {
  const std::string command = "'" + program.string() + "' --rows " + std::to_string(rows);
  std::printf("floor: %s\n", command.c_str());
  std::fflush(stdout);
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return std::nullopt;
  Times floor{-1, -1};
  char line[512];
  while (std::fgets(line, sizeof line, pipe) != nullptr) {
    std::printf("  | %s", line);
    double value = 0;
    if (std::sscanf(line, " best elapsed: floor %lf s", &value) == 1) floor.elapsed = value;
    if (std::sscanf(line, " best processor: floor %lf s", &value) == 1) floor.processor = value;
  }
  ::pclose(pipe);
  if (floor.elapsed < 0 || floor.processor < 0) return std::nullopt;
  return floor;
}

}  // namespace

int main(int argc, char** argv) {
  GeneratorOptions options;
  options.players = 32767;
  fs::path dir;
  fs::path keep;
  std::string mode = "both";
  fs::path floor_program = fs::canonical("/proc/self/exe").parent_path() / "workbook_floor_bench";
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    const bool has_value = i + 1 < argc;
    bool ok = has_value;
    if (arg == "--players" && has_value) {
      ok = ParseNumber(std::string_view(argv[++i]), options.players);
    } else if (arg == "--seed" && has_value) {
      ok = ParseNumber(std::string_view(argv[++i]), options.seed);
    } else if (arg == "--dir" && has_value) {
      dir = argv[++i];
    } else if (arg == "--keep" && has_value) {
      keep = argv[++i];
    } else if (arg == "--mode" && has_value) {
      mode = argv[++i];
      ok = mode == "phases" || mode == "walk" || mode == "run" || mode == "both";
    } else if (arg == "--floor" && has_value) {
      floor_program = std::string_view(argv[++i]) == "none" ? fs::path() : fs::path(argv[i]);
    } else {
      ok = false;
    }
    if (!ok) {
      std::fprintf(stderr, "player_phase_bench: bad argument %s\n%s", argv[i], kUsage);
      return 2;
    }
  }

  const bool temporary = dir.empty() && keep.empty();
  const fs::path folder =
      !dir.empty() ? dir
      : !keep.empty()
          ? keep
          : fs::temp_directory_path() / ("player_phase_bench_" + std::to_string(::getpid()));
  const fs::path out =
      fs::temp_directory_path() / ("player_phase_bench_" + std::to_string(::getpid()) + ".xlsx");
  int status = 0;
  try {
    if (dir.empty()) {
      const Clock::time_point start = Clock::now();
      const GeneratorSummary summary = GenerateEncyclopedia(options, folder);
      std::printf(
          "encyclopedia: %d players, %lld statistics records, years %d-%d "
          "(generated in %.1f s)\n",
          options.players, static_cast<long long>(summary.stats_records), summary.first_year,
          summary.last_year, Since(start));
    } else {
      std::printf("encyclopedia: %s\n", folder.c_str());
    }
    int64_t cells = 0;
    if (mode != "run") cells = TimePhases(folder, out, mode != "walk");
    std::optional<Times> run;
    if (mode == "run" || mode == "both") run = TimeRun(folder, out);
    std::printf("peak resident memory: %.1f MiB (target at most 1024)\n", PeakMiB());
    if (cells > 0 && run && !floor_program.empty()) {
      if (const std::optional<Times> floor = RunFloor(floor_program, (cells + 20) / 21)) {
        std::printf(
            "whole run / floor for the same cells: elapsed %.2f s / %.2f s = %.3f, "
            "processor %.2f s / %.2f s = %.3f (target at most 1.3)\n",
            run->elapsed, floor->elapsed, run->elapsed / floor->elapsed, run->processor,
            floor->processor, run->processor / floor->processor);
      } else {
        std::printf("floor benchmark gave no figure\n");
      }
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "player_phase_bench: %s\n", error.what());
    status = 1;
  }
  if (temporary) fs::remove_all(folder);
  fs::remove(out);
  return status;
}
