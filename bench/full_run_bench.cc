// full_run_bench: the whole program ("Players and Teams", through
// RunProcessing) on a generated encyclopedia, full capacity by default
// (32,767 players, about 490,000 statistics records, about 3,000 team
// seasons), against the floor for the same number of cells: those cells
// straight through libxlsxwriter (bench_support.h), measured side by side.
//
//   full_run_bench [--scale LIST] [--repeat K] [--seed S] [--dir FOLDER] [--threads N]
//                  [--level L] [--index]
//
//   --scale LIST  fractions of full capacity, comma-separated (1/8,1/4,1/2,1),
//                 or "all" for exactly those four; default 1
//   --repeat K    runs and floors per scale, side by side in the order run,
//                 floor, floor, run, ... (default 3); times are the fastest
//                 of each, the ratio the median of the pairs' ratios
//   --dir FOLDER  where encyclopedias and workbooks go (default: the system's
//                 temporary folder); removed afterwards
//   --threads N   threads of the package writer (default 0: as many as the
//                 machine has)
//   --level L     the package writer's compression level (default: the
//                 writer's own)
//   --index       runs with the "Index" sheet
//
// Every run and every floor is a child process of its own, so its peak
// resident memory (ru_maxrss) and processor time (user and system, from
// wait4) are its own. Prints, per scale, the time of each phase (reading,
// player walk, team phase, finishing sheets, writing) elapsed and processor,
// the whole run, the floor, their ratio and the peak memory of each; the
// writing split into surveying the cells, making the sheet XML, compressing
// it and putting it in the file, with how busy each writer thread was and
// the file's size; then how time and memory grow with the number of
// statistics records.
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "app/processing_run.h"
#include "bench_support.h"
#include "tools/encyclopedia_generator.h"

namespace {

namespace fs = std::filesystem;
using namespace statcrane;
using bench::ChildResult;
using bench::Times;

constexpr const char* kUsage =
    "usage: full_run_bench [--scale 1/8,1/4,1/2,1|all] [--repeat K] [--seed S] [--dir FOLDER] "
    "[--threads N] [--level L] [--index]\n";

// What today's writer's predecessor (libxlsxwriter at zlib level 6, which
// writes every cell with its reference) makes for the full-capacity
// encyclopedia: the file may be at most 1.1 times this.
constexpr double kPreviousFullCapacityBytes = 67482929;

constexpr int kFullCapacity = 32767;

// The phases as RunResult::timings names them, in the order printed.
constexpr std::string_view kPhases[] = {"reading", "player walk", "team phase", "finishing sheets",
                                        "writing"};
constexpr int kPhaseCount = 5;

struct Scale {
  std::string name;  // "1/8"
  int players = 0;
};

template <typename T>
bool ParseNumber(std::string_view text, T& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

bool ParseScales(std::string_view text, std::vector<Scale>& scales) {
  if (text == "all") text = "1/8,1/4,1/2,1";
  while (!text.empty()) {
    const size_t comma = text.find(',');
    const std::string_view item = text.substr(0, comma);
    text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    int denominator = 1;
    if (item != "1") {
      if (item.substr(0, 2) != "1/" || !ParseNumber(item.substr(2), denominator) ||
          denominator < 1 || denominator > 1024) {
        return false;
      }
    }
    scales.push_back({std::string(item), (kFullCapacity + denominator / 2) / denominator});
  }
  return !scales.empty();
}

// One run's figures as the child reports them.
struct RunFigures {
  Times phases[kPhaseCount];
  int64_t cells = 0;
  XlsxWriteStats write;
  ChildResult child;
};

// The figures of several runs: each time its own minimum; the ratio the
// median of the side-by-side pairs.
struct Best {
  Times phases[kPhaseCount] = {};
  Times run{1e300, 1e300};
  Times floor{1e300, 1e300};
  double run_mib = 0;
  double floor_mib = 0;
  int64_t cells = 0;
  bool first = true;
  std::vector<Times> ratios;  // run / floor of each side-by-side pair
  Times ratio;                // their medians
  XlsxWriteStats write;       // of the run with the fastest writing
};

// The median of each of the two ratios.
Times MedianRatio(std::vector<Times> ratios) {
  auto median = [&](double Times::*field) {
    std::vector<double> v;
    for (const Times& r : ratios) v.push_back(r.*field);
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 == 1 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
  };
  return {median(&Times::elapsed), median(&Times::processor)};
}

Times Min(const Times& a, const Times& b) {
  return {std::min(a.elapsed, b.elapsed), std::min(a.processor, b.processor)};
}

// Where the writer's figures go among the values a child reports.
constexpr size_t kWriteAt = 2 * kPhaseCount + 1;
constexpr size_t kMaxThreads = 32;

RunFigures RunWholeProgram(const fs::path& folder, const fs::path& out, int threads, int level,
                           IndexChoice index) {
  RunFigures figures;
  figures.child = bench::MeasureInChild([&](std::vector<double>& values) {
    RunOptions options;
    options.encyclopedia_folder = folder;
    options.sheets = SheetChoice::kPlayersAndTeams;
    options.output = out;
    options.overwrite = true;
    options.threads = threads;
    options.compression_level = level;
    options.index = index;
    RunObserver observer;
    const RunResult result = RunProcessing(options, observer, nullptr);
    if (result.outcome != statcrane::RunOutcome::kCompleted) {
      std::fprintf(stderr, "run: %s\n",
                   result.error.empty() ? "not completed" : result.error.c_str());
      return false;
    }
    values.assign(2 * kPhaseCount + 1, 0);
    for (const auto& [phase, time] : result.timings) {
      for (int p = 0; p < kPhaseCount; ++p) {
        if (phase == kPhases[p]) {
          values[static_cast<size_t>(2 * p)] = time.elapsed;
          values[static_cast<size_t>(2 * p + 1)] = time.processor;
        }
      }
    }
    values[2 * kPhaseCount] = static_cast<double>(result.cells_written);
    const XlsxWriteStats& w = result.write_stats;
    values.insert(values.end(),
                  {w.elapsed, w.survey_seconds, w.xml_seconds, w.compress_seconds, w.write_seconds,
                   static_cast<double>(w.xml_bytes), static_cast<double>(w.file_bytes),
                   static_cast<double>(std::min(w.thread_busy.size(), kMaxThreads))});
    for (size_t t = 0; t < w.thread_busy.size() && t < kMaxThreads; ++t) {
      values.push_back(w.thread_busy[t]);
    }
    return true;
  });
  if (figures.child.ok) {
    const std::vector<double>& v = figures.child.values;
    for (int p = 0; p < kPhaseCount; ++p) {
      figures.phases[p] = {v[static_cast<size_t>(2 * p)], v[static_cast<size_t>(2 * p + 1)]};
    }
    figures.cells = static_cast<int64_t>(v[2 * kPhaseCount]);
    XlsxWriteStats& w = figures.write;
    w.elapsed = v[kWriteAt];
    w.survey_seconds = v[kWriteAt + 1];
    w.xml_seconds = v[kWriteAt + 2];
    w.compress_seconds = v[kWriteAt + 3];
    w.write_seconds = v[kWriteAt + 4];
    w.xml_bytes = static_cast<int64_t>(v[kWriteAt + 5]);
    w.file_bytes = static_cast<int64_t>(v[kWriteAt + 6]);
    const size_t busy = static_cast<size_t>(v[kWriteAt + 7]);
    for (size_t t = 0; t < busy; ++t) w.thread_busy.push_back(v[kWriteAt + 8 + t]);
  }
  std::error_code ignored;
  fs::remove(out, ignored);
  return figures;
}

ChildResult RunFloor(int64_t cells, const fs::path& out) {
  const int64_t rows = (cells + bench::kFloorColumns - 1) / bench::kFloorColumns;
  ChildResult floor = bench::MeasureInChild([&](std::vector<double>&) {
    bench::WriteFloorWorkbook(rows, out);
    return true;
  });
  std::error_code ignored;
  fs::remove(out, ignored);
  return floor;
}

void PrintTimes(const char* what, const Times& t) {
  std::printf("  %-18s %8.3f s elapsed %8.3f s processor\n", what, t.elapsed, t.processor);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<Scale> scales;
  int repeat = 3;
  int threads = 0;
  int level = kDefaultCompressionLevel;
  IndexChoice index = IndexChoice::kNone;
  uint64_t seed = 1;
  fs::path dir = fs::temp_directory_path();
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    const bool has_value = i + 1 < argc;
    bool ok = has_value;
    if (arg == "--index") {
      index = IndexChoice::kIndex;
      ok = true;
    } else if (arg == "--scale" && has_value) {
      ok = ParseScales(argv[++i], scales);
    } else if (arg == "--repeat" && has_value) {
      ok = ParseNumber(std::string_view(argv[++i]), repeat) && repeat >= 1;
    } else if (arg == "--seed" && has_value) {
      ok = ParseNumber(std::string_view(argv[++i]), seed);
    } else if (arg == "--threads" && has_value) {
      ok = ParseNumber(std::string_view(argv[++i]), threads) && threads >= 0;
    } else if (arg == "--level" && has_value) {
      ok = ParseNumber(std::string_view(argv[++i]), level) && level >= 1;
    } else if (arg == "--dir" && has_value) {
      dir = argv[++i];
    } else {
      ok = false;
    }
    if (!ok) {
      std::fprintf(stderr, "full_run_bench: bad argument %s\n%s", argv[i], kUsage);
      return 2;
    }
  }
  if (scales.empty()) scales.push_back({"1", kFullCapacity});

  const fs::path work = dir / ("full_run_bench_" + std::to_string(::getpid()));
  struct Row {
    Scale scale;
    GeneratorSummary summary;
    Best best;
  };
  std::vector<Row> rows;
  int status = 0;
  try {
    fs::create_directories(work);
    const fs::path folder = work / "encyclopedia";
    const fs::path run_out = work / "run.xlsx";
    const fs::path floor_out = work / "floor.xlsx";
    for (const Scale& scale : scales) {
      GeneratorOptions options;
      options.players = scale.players;
      options.seed = seed;
      fs::remove_all(folder);
      Row row{scale, GenerateEncyclopedia(options, folder), {}};
      std::printf("scale %s: %d players, %lld statistics records, %lld team seasons\n",
                  scale.name.c_str(), scale.players,
                  static_cast<long long>(row.summary.stats_records),
                  static_cast<long long>(row.summary.team_seasons));
      Best& best = row.best;
      for (int k = 1; k <= repeat; ++k) {
        // Side by side, in the order run, floor, floor, run, ...: a load that
        // comes and goes on a shared machine weighs on both alike.
        ChildResult floor;
        const bool floor_first = k % 2 == 0;
        if (floor_first) floor = RunFloor(best.cells, floor_out);
        const RunFigures run = RunWholeProgram(folder, run_out, threads, level, index);
        if (!run.child.ok) throw std::runtime_error("the run failed");
        if (!floor_first) floor = RunFloor(run.cells, floor_out);
        if (!floor.ok) throw std::runtime_error("the floor failed");
        const Times ratio{run.child.times.elapsed / floor.times.elapsed,
                          run.child.times.processor / floor.times.processor};
        std::printf(
            " %d: run %6.2f s elapsed %6.2f s processor %6.1f MiB | floor %6.2f s elapsed "
            "%6.2f s processor %6.1f MiB | ratio %.3f elapsed %.3f processor\n",
            k, run.child.times.elapsed, run.child.times.processor, run.child.peak_mib,
            floor.times.elapsed, floor.times.processor, floor.peak_mib, ratio.elapsed,
            ratio.processor);
        std::fflush(stdout);
        for (int p = 0; p < kPhaseCount; ++p) {
          best.phases[p] = best.first ? run.phases[p] : Min(best.phases[p], run.phases[p]);
        }
        best.run = Min(best.run, run.child.times);
        best.floor = Min(best.floor, floor.times);
        best.run_mib = best.first ? run.child.peak_mib : std::min(best.run_mib, run.child.peak_mib);
        best.floor_mib = best.first ? floor.peak_mib : std::min(best.floor_mib, floor.peak_mib);
        best.cells = run.cells;
        if (best.first || run.write.elapsed < best.write.elapsed) best.write = run.write;
        best.ratios.push_back(ratio);
        best.first = false;
      }
      best.ratio = MedianRatio(best.ratios);
      std::printf(" fastest of %d, %lld cells:\n", repeat, static_cast<long long>(best.cells));
      for (int p = 0; p < kPhaseCount; ++p) {
        PrintTimes(std::string(kPhases[p]).c_str(), best.phases[p]);
      }
      PrintTimes("whole run", best.run);
      PrintTimes("floor", best.floor);
      std::printf(
          "  run / floor, median of the %d pairs: %.3f elapsed, %.3f processor "
          "(target at most 0.3, stretch 0.2); fastest run / fastest floor: %.3f, %.3f\n",
          repeat, best.ratio.elapsed, best.ratio.processor, best.run.elapsed / best.floor.elapsed,
          best.run.processor / best.floor.processor);
      std::printf("  peak memory: run %.1f MiB (target at most 1024), floor %.1f MiB\n",
                  best.run_mib, best.floor_mib);
      const XlsxWriteStats& w = best.write;
      std::printf(
          "  writing (the fastest): %.3f s elapsed; processor seconds: survey %.3f, sheet XML "
          "%.3f, "
          "compression %.3f; writing thread (small parts, file) %.3f\n",
          w.elapsed, w.survey_seconds, w.xml_seconds, w.compress_seconds, w.write_seconds);
      std::printf(
          "  writer threads busy (processor seconds, share of the writing's elapsed time):");
      for (size_t t = 0; t < w.thread_busy.size(); ++t) {
        std::printf(" #%zu %.3f s (%.0f%%)", t + 1, w.thread_busy[t],
                    100 * w.thread_busy[t] / std::max(w.elapsed, 1e-9));
      }
      std::printf("\n  file %lld bytes (%.2f MB) from %.1f MB of XML, compression level %d",
                  static_cast<long long>(w.file_bytes), w.file_bytes / 1e6, w.xml_bytes / 1e6,
                  level);
      if (scale.players == kFullCapacity) {
        std::printf("; %.3f times the previous writer's %.0f bytes (target at most 1.1)",
                    w.file_bytes / kPreviousFullCapacityBytes, kPreviousFullCapacityBytes);
      }
      std::printf("\n");
      rows.push_back(row);
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "full_run_bench: %s\n", error.what());
    status = 1;
  }
  std::error_code ignored;
  fs::remove_all(work, ignored);
  if (status != 0) return status;

  // Growth: per million statistics records, and against the largest scale.
  std::printf(
      "\nscale  players  records    cells    | reading  walk     teams    finish   writing  "
      "| run (el/proc)     | floor (el/proc)   | ratio (el/proc) | peak MiB run/floor\n");
  for (const Row& r : rows) {
    const Best& b = r.best;
    std::printf("%-6s %7d %8lld %9lld |", r.scale.name.c_str(), r.scale.players,
                static_cast<long long>(r.summary.stats_records), static_cast<long long>(b.cells));
    for (int p = 0; p < kPhaseCount; ++p) std::printf(" %7.3f ", b.phases[p].processor);
    std::printf("| %7.2f /%7.2f | %7.2f /%7.2f | %6.3f /%6.3f | %6.1f / %6.1f\n", b.run.elapsed,
                b.run.processor, b.floor.elapsed, b.floor.processor, b.ratio.elapsed,
                b.ratio.processor, b.run_mib, b.floor_mib);
  }
  std::printf(
      "(phases: processor seconds of the fastest run; run and floor: the fastest of each; ratio: "
      "the median of the side-by-side pairs)\n");
  if (rows.size() > 1) {
    // Linear growth shows as the same figure down each column.
    std::printf(
        "\ngrowth: processor seconds per million cells (run, floor), the run's peak MiB per "
        "million cells and per 100,000 statistics records\n"
        "scale  records    cells     run s/M  floor s/M  MiB/M cells  MiB/100k records\n");
    for (const Row& r : rows) {
      const double million_cells = static_cast<double>(r.best.cells) / 1e6;
      std::printf("%-6s %7lld %9lld %10.3f %10.3f %12.1f %17.1f\n", r.scale.name.c_str(),
                  static_cast<long long>(r.summary.stats_records),
                  static_cast<long long>(r.best.cells), r.best.run.processor / million_cells,
                  r.best.floor.processor / million_cells, r.best.run_mib / million_cells,
                  r.best.run_mib / (static_cast<double>(r.summary.stats_records) / 1e5));
    }
  }
  return 0;
}
