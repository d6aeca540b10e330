// enctmyr.dat: the input is the whole file.
#include <cstddef>
#include <cstdint>

#include "encyclopedia/league_files.h"
#include "encyclopedia/record_layouts.h"
#include "encyclopedia/team_year_file.h"
#include "fuzz/fuzz_support.h"

using namespace statcrane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  const fuzz::NamedBytes files[] = {{kTeamYearFile, bytes}};
  const EncyclopediaFolder folder(fuzz::WriteFolder("teamyear", files));
  SkipReport report;
  const TeamYearFile team_years = LoadTeamYears(folder, report);
  fuzz::CheckFileReport(report, kTeamYearFile, size, TeamYearRecord::kSize);

  int64_t previous = 0;
  for (const TeamSeason& season : team_years.Seasons()) {
    if (season.record_number <= previous || season.record_number > team_years.record_count()) {
      fuzz::Finding("a season's record number out of order");
    }
    previous = season.record_number;
    if (season.team_id < 0 || season.team_id > kMaxTeamId || season.league_id < 0 ||
        season.league_id > kMaxLeagueId || season.year < 1) {
      fuzz::Finding("a used season with an id or year out of range");
    }
    if (!fuzz::IsUtf8(season.display_name)) fuzz::Finding("a team name is not UTF-8");
    if (season.post_season_record_number != 0) {
      if (season.post_season_record_number != season.record_number) {
        fuzz::Finding("a post-season record number that is not the season's own");
      }
      if (!HasPostSeasonGames(team_years.Record(season.post_season_record_number))) {
        fuzz::Finding("a post-season record number for a season without post-season games");
      }
    }
    if (team_years.team_names()[season.team_id].empty() && !season.display_name.empty()) {
      fuzz::Finding("a used team without a name");
    }
  }
  return 0;
}
