// team_phase_bench: times the team phase (league and team-year files read,
// standings, "Team Records", the team summary sheets) on a generated
// encyclopedia, full capacity by default.
//
//   team_phase_bench [--players N] [--seed S] [--runs R] [--keep DIR]
//
// Prints the size of the encyclopedia, the time of each run of the team phase on a
// fresh workbook, the fastest and the median.
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "app/sheet_layout.h"
#include "encyclopedia/team_abbreviations.h"
#include "teams/team_phase.h"
#include "teams/team_sheets.h"
#include "tools/encyclopedia_generator.h"
#include "util/skip_report.h"
#include "workbook/workbook.h"

namespace {

using statcrane::Workbook;

constexpr const char* kUsage =
    "usage: team_phase_bench [--players N] [--seed S] [--runs R] [--keep DIR]\n"
    "  --players N  players of the generated encyclopedia (default 32767, full capacity)\n"
    "  --seed S     generator seed (default 1)\n"
    "  --runs R     timed runs of the team phase (default 5)\n"
    "  --keep DIR   generate into DIR and keep it (default: a temporary folder)\n";

template <typename T>
bool ParseNumber(std::string_view text, T& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

double Seconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

}  // namespace

int main(int argc, char** argv) {
  statcrane::GeneratorOptions options;
  options.players = 32767;
  int runs = 5;
  std::filesystem::path keep;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    const bool has_value = i + 1 < argc;
    bool ok = has_value;
    if (arg == "--players" && has_value) {
      ok = ParseNumber(std::string_view(argv[++i]), options.players);
    } else if (arg == "--seed" && has_value) {
      ok = ParseNumber(std::string_view(argv[++i]), options.seed);
    } else if (arg == "--runs" && has_value) {
      ok = ParseNumber(std::string_view(argv[++i]), runs) && runs > 0;
    } else if (arg == "--keep" && has_value) {
      keep = argv[++i];
    } else {
      ok = false;
    }
    if (!ok) {
      std::fprintf(stderr, "team_phase_bench: bad argument %s\n%s", argv[i], kUsage);
      return 2;
    }
  }

  const bool temporary = keep.empty();
  const std::filesystem::path folder = temporary
                                           ? std::filesystem::temp_directory_path() /
                                                 ("team_phase_bench_" + std::to_string(::getpid()))
                                           : keep;
  try {
    const auto generate_start = std::chrono::steady_clock::now();
    const statcrane::GeneratorSummary summary = statcrane::GenerateEncyclopedia(options, folder);
    std::printf(
        "encyclopedia: %d players, %lld team seasons, %lld league-years, years %d-%d "
        "(generated in %.2f s)\n",
        options.players, static_cast<long long>(summary.team_seasons),
        static_cast<long long>(summary.league_years), summary.first_year, summary.last_year,
        Seconds(std::chrono::steady_clock::now() - generate_start));

    statcrane::NullReporter reporter;
    const statcrane::EncyclopediaFolder encyclopedia(folder);
    const statcrane::TeamAbbreviations abbreviations =
        statcrane::LoadTeamAbbreviations(encyclopedia, reporter);
    statcrane::ProgressObserver progress;
    std::vector<double> times;
    int64_t teams = 0;
    int64_t rows = 0;
    for (int run = 0; run < runs; ++run) {
      Workbook workbook;
      const statcrane::SheetLayout layout(workbook, statcrane::SheetChoice::kTeamsOnly);
      const auto start = std::chrono::steady_clock::now();
      const statcrane::TeamPhaseResult result = statcrane::RunTeamPhase(
          encyclopedia, abbreviations, layout.team_sheets(), progress, reporter);
      times.push_back(Seconds(std::chrono::steady_clock::now() - start));
      teams = result.teams_written;
      rows = layout.team_sheets().records->LastRow().number();
      std::printf("run %d: %.1f ms\n", run + 1, times.back() * 1000);
    }
    std::sort(times.begin(), times.end());
    std::printf(
        "team phase: %lld team blocks, %lld rows on \"Team Records\"; fastest %.1f ms, "
        "median %.1f ms\n",
        static_cast<long long>(teams), static_cast<long long>(rows), times.front() * 1000,
        times[times.size() / 2] * 1000);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "team_phase_bench: %s\n", error.what());
    if (temporary) std::filesystem::remove_all(folder);
    return 1;
  }
  if (temporary) std::filesystem::remove_all(folder);
  return 0;
}
