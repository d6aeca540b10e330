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
// hitting or pitching lines by season type, some traded within a season, a
// rare few who change role, and a few planted for tests (PlantedPlayers).
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

// The ids of players planted for tests, each with one shape of season lines
// (0 when the encyclopedia is too small to hold one). Every other player
// has one kind of line (hitting or pitching) per season, type and team, and
// well under 1 % change role (a hitter becomes a pitcher, or the reverse).
struct PlantedPlayers {
  // Regular season: pitching lines, then from a middle season on hitting
  // lines.
  int32_t pitching_then_hitting = 0;
  // Regular season: hitting lines, then pitching lines.
  int32_t hitting_then_pitching = 0;
  // A hitter traded in a middle season who pitches for his second team: a
  // hitting and a pitching line the same year.
  int32_t both_kinds_same_year = 0;
  // A hitter who also pitches in the first post-season series of the
  // encyclopedia: that series' section holds both kinds.
  int32_t post_season_both_kinds = 0;
  // Regular-season lines of a kind that is neither hitting nor pitching (0
  // or 3) in the first, a middle or the last season of a career of three or
  // more.
  int32_t other_kind_first = 0;
  int32_t other_kind_middle = 0;
  int32_t other_kind_last = 0;
  // Every regular-season line of kind 0 or 3.
  int32_t only_other_kinds = 0;
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
  PlantedPlayers planted;
};

// Writes ENCTEAM.DAT, ENCPLYR.DAT, ENCPLSTATS.DAT, encleag.dat, enclgyr.dat
// and enctmyr.dat into `out`, creating the folder when needed and replacing
// files of those names. Throws std::invalid_argument for options out of
// range and StatCraneError when a file cannot be written.
GeneratorSummary GenerateEncyclopedia(const GeneratorOptions& options,
                                      const std::filesystem::path& out);

}  // namespace statcrane
