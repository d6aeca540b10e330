// encleag.dat and enclgyr.dat: a 16-bit little-endian length of encleag.dat,
// its bytes, then enclgyr.dat.
#include <cstddef>
#include <cstdint>

#include "encyclopedia/league_files.h"
#include "encyclopedia/record_layouts.h"
#include "fuzz/fuzz_support.h"

using namespace statcrane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto [leagues, league_years] = fuzz::SplitTwo(std::span<const uint8_t>(data, size));
  const fuzz::NamedBytes files[] = {{kLeagueFile, leagues}, {kLeagueYearFile, league_years}};
  const EncyclopediaFolder folder(fuzz::WriteFolder("league", files));
  SkipReport report;
  const LeagueFiles tables = LoadLeagueFiles(folder, report);
  fuzz::CheckFileReport(report, kLeagueFile, leagues.size(), LeagueRecord::kSize);
  fuzz::CheckFileReport(report, kLeagueYearFile, league_years.size(), LeagueYearRecord::kSize);

  int coloured = 0;
  for (int id = 0; id <= kMaxLeagueId; ++id) coloured += tables.colours[id] != LeagueColour::kNone;
  if (coloured > 2) fuzz::Finding("more than two leagues coloured");

  // Every used league-year record's teams lie inside the division table.
  for (size_t offset = 0; offset + LeagueYearRecord::kSize <= league_years.size();
       offset += LeagueYearRecord::kSize) {
    const LeagueYearRecord record = LeagueYearRecord::Decode(
        RecordBytes(league_years.data() + offset, LeagueYearRecord::kSize));
    if (!fuzz::IsUtf8(tables.names[record.league_id])) fuzz::Finding("league name not UTF-8");
    if (record.record_status != 0 || record.year < 1 || record.league_id < 0 ||
        record.league_id > kMaxLeagueId) {
      continue;
    }
    bool in_range = true;
    for (const auto& division : record.division_teams) {
      for (int16_t team : division) in_range &= team <= 9999;
    }
    if (!in_range) continue;
    for (const auto& division : record.division_teams) {
      for (int16_t team : division) {
        if (team >= 0 && !tables.divisions.Contains(team, record.year)) {
          fuzz::Finding("a used team lies outside the division table");
        }
        if (!fuzz::IsUtf8(tables.divisions(team, record.year))) {
          fuzz::Finding("a division name is not UTF-8");
        }
      }
    }
  }
  return 0;
}
