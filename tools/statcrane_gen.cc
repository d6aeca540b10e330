// statcrane-gen: writes a synthetic encyclopedia folder.
#include <charconv>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "tools/encyclopedia_generator.h"
#include "util/error.h"
#include "util/platform_console.h"
#include "util/utf8_path.h"

namespace {

constexpr const char* kUsage =
    "usage: statcrane-gen OUTDIR [--players N] [--seed S] [--years Y] [--last-year Y]\n"
    "                     [--no-third-league]\n"
    "Writes the six files of a synthetic encyclopedia into OUTDIR.\n"
    "  --players N        players with ids 1 to N, at most 32767 (default 300)\n"
    "  --seed S           random seed; the same seed gives the same files (default 1)\n"
    "  --years Y          seasons covered (default: chosen from the number of players)\n"
    "  --last-year Y      the last season (default 2023)\n"
    "  --no-third-league  leave out the short-lived third league\n";

template <typename T>
bool ParseNumber(std::string_view text, T& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

}  // namespace

int main(int argc, char** argv) {
  // UTF-8, also on Windows.
  const std::vector<std::string> args = statcrane::CommandLineArguments(argc, argv);
  statcrane::GeneratorOptions options;
  std::string out;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    auto value = [&](auto& target) {
      if (i + 1 >= args.size() || !ParseNumber(std::string_view(args[i + 1]), target)) {
        std::fprintf(stderr, "statcrane-gen: %s needs a number\n%s", args[i].c_str(), kUsage);
        return false;
      }
      ++i;
      return true;
    };
    if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (arg == "--players") {
      if (!value(options.players)) return 2;
    } else if (arg == "--seed") {
      if (!value(options.seed)) return 2;
    } else if (arg == "--years") {
      if (!value(options.years)) return 2;
    } else if (arg == "--last-year") {
      if (!value(options.last_year)) return 2;
    } else if (arg == "--no-third-league") {
      options.third_league = false;
    } else if (!arg.empty() && arg[0] == '-') {
      std::fprintf(stderr, "statcrane-gen: unknown option %s\n%s", args[i].c_str(), kUsage);
      return 2;
    } else if (out.empty()) {
      out = arg;
    } else {
      std::fprintf(stderr, "statcrane-gen: more than one output folder given\n%s", kUsage);
      return 2;
    }
  }
  if (out.empty()) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  try {
    const statcrane::GeneratorSummary s =
        statcrane::GenerateEncyclopedia(options, statcrane::PathFromUtf8(out));
    std::printf(
        "%s: seasons %d to %d, %lld teams, %lld team seasons, %lld leagues, %lld league seasons, "
        "%lld players, %lld statistics records\n",
        out.c_str(), s.first_year, s.last_year, static_cast<long long>(s.teams),
        static_cast<long long>(s.team_seasons), static_cast<long long>(s.leagues),
        static_cast<long long>(s.league_years), static_cast<long long>(s.players),
        static_cast<long long>(s.stats_records));
    const statcrane::PlantedPlayers& p = s.planted;
    std::printf(
        "planted players: pitching then hitting %d, hitting then pitching %d, both kinds the "
        "same year %d, a post-season series of both kinds %d, lines of another kind first %d, "
        "in the middle %d, last %d, only %d\n",
        p.pitching_then_hitting, p.hitting_then_pitching, p.both_kinds_same_year,
        p.post_season_both_kinds, p.other_kind_first, p.other_kind_middle, p.other_kind_last,
        p.only_other_kinds);
    return 0;
  } catch (const std::invalid_argument& e) {
    std::fprintf(stderr, "statcrane-gen: %s\n", e.what());
    return 2;
  } catch (const statcrane::StatCraneError& e) {
    std::fprintf(stderr, "statcrane-gen: %s\n", e.what());
    return 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "statcrane-gen: %s\n", e.what());
    return 1;
  }
}
