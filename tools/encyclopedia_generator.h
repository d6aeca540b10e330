// Synthetic encyclopedias for tests, demos and benchmarks.
//
// GenerateEncyclopedia writes the six data files of an encyclopedia folder
// through the same record layout code the readers use. The content is made
// up but hangs together: two major leagues (one with named divisions from
// the start, one without divisions in its early seasons) and, optionally, a
// short-lived third league without divisions; franchises that expand and
// relocate; regular seasons whose won and lost games add up to the season
// length; division series, league championship series and world series for
// a few teams a year; players whose careers span several seasons with
// hitting and pitching lines by season type, some traded within a season.
// The same options give the same bytes.
#pragma once

#include <cstdint>
#include <filesystem>

namespace statcrane {

struct GeneratorOptions {
  // Players, with ids 1 to `players`; at most 32767, the largest 16-bit id.
  int players = 300;
  uint64_t seed = 1;
  // Seasons covered; 0 picks a number that suits `players` (3 to 150).
  int years = 0;
  // The last season; the first is last_year - years + 1 and must be 1 or later.
  int last_year = 2023;
  // A third league that plays a few early seasons and then folds.
  bool third_league = true;
};

struct GeneratorSummary {
  int first_year = 0;
  int last_year = 0;
  int64_t teams = 0;          // ENCTEAM.DAT records
  int64_t players = 0;        // ENCPLYR.DAT records
  int64_t stats_records = 0;  // ENCPLSTATS.DAT records
  int64_t leagues = 0;        // encleag.dat records
  int64_t league_years = 0;   // enclgyr.dat records
  int64_t team_seasons = 0;   // enctmyr.dat records
};

// Writes ENCTEAM.DAT, ENCPLYR.DAT, ENCPLSTATS.DAT, encleag.dat, enclgyr.dat
// and enctmyr.dat into `out`, creating the folder when needed and replacing
// files of those names. Throws std::invalid_argument for options out of
// range and StatCraneError when a file cannot be written.
GeneratorSummary GenerateEncyclopedia(const GeneratorOptions& options,
                                      const std::filesystem::path& out);

}  // namespace statcrane
