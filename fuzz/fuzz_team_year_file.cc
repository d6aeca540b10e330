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
  RunReport report;
  const TeamYearFile team_years = TeamYearFile::Read(folder, report);
  fuzz::CheckFileReport(report, kTeamYearFile, size, TeamYearRecord::kSize);

  int64_t previous = 0;
  for (const TeamSeason& season : team_years.Seasons()) {
    if (season.RecordNumber <= previous || season.RecordNumber > team_years.RecordCount()) {
      fuzz::Finding("a season's record number out of order");
    }
    previous = season.RecordNumber;
    if (season.TeamId < 0 || season.TeamId > kMaxTeamId || season.LeagueId < 0 ||
        season.LeagueId > kMaxLeagueId || season.Year < 1) {
      fuzz::Finding("a used season with an id or year out of range");
    }
    if (!fuzz::IsUtf8(season.DisplayName)) fuzz::Finding("a team name is not UTF-8");
    if (season.PostSeasonRecordNo != 0) {
      if (season.PostSeasonRecordNo != season.RecordNumber) {
        fuzz::Finding("a post-season record number that is not the season's own");
      }
      if (!HasPostSeasonGames(team_years.Record(season.PostSeasonRecordNo))) {
        fuzz::Finding("a post-season record number for a season without post-season games");
      }
    }
    if (team_years.TeamNames()[season.TeamId].empty() && !season.DisplayName.empty()) {
      fuzz::Finding("a used team without a name");
    }
  }
  return 0;
}
