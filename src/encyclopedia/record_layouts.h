// The six record types of an encyclopedia, and where each of their fields
// lies in a record's bytes.
//
// Every file is a plain sequence of fixed-length records, little-endian;
// 16-bit fields are signed, single bytes unsigned, texts are fixed-width
// Windows-1252 fields (held here as UTF-8, cut at the first NUL byte; a field
// without a NUL is taken whole). Each record type has one layout table,
// RecordLayout<Record>::kFields, listing every field it reads: its name, its
// offset in the record and the member that holds it (the member's type says
// how the bytes are read; a text also has its width). Decode, Encode and the
// tests all walk that table, so each offset is written once, there.
// Encode(Decode(bytes)) gives the same bytes in every listed field; bytes
// that no field names are written as 0.
//
// Decode and Encode take a span of exactly kSize bytes and throw
// std::invalid_argument for any other length.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <tuple>

#include "encyclopedia/record_codec.h"

namespace statcrane {

using RecordBytes = std::span<const uint8_t>;
using MutableRecordBytes = std::span<uint8_t>;

// A text field counts as present when its first byte is a blank or above; a
// field that starts with NUL or another control byte is absent. (Decoded
// bytes from 128 up start with a UTF-8 lead byte, also above a blank.)
inline bool IsPresentText(std::string_view text) {
  return !text.empty() && static_cast<unsigned char>(text.front()) >= 32;
}

// ENCTEAM.DAT, 56 bytes.
struct TeamRecord {
  static constexpr size_t kSize = 56;
  int16_t record_status = 0;
  int16_t team_id = 0;
  std::string abbreviation;
  std::string short_name;  // not read by the program
  std::string city;        // not read by the program
  std::string nickname;    // not read by the program
  // A team record is used only when both of these are 1 or more.
  int16_t gate_a = 0;
  int16_t gate_b = 0;
  int16_t spare = 0;  // not read by the program

  static TeamRecord Decode(RecordBytes bytes);
  void Encode(MutableRecordBytes bytes) const;
  bool operator==(const TeamRecord&) const = default;
};

// ENCPLYR.DAT, 48 bytes.
struct PlayerRecord {
  static constexpr size_t kSize = 48;
  int16_t record_status = 0;
  int16_t player_id = 0;
  std::string first_name;  // not read by the program
  std::string last_name;   // not read by the program
  int16_t birth_year = 0;
  uint8_t birth_month = 0;
  uint8_t birth_day = 0;

  static PlayerRecord Decode(RecordBytes bytes);
  void Encode(MutableRecordBytes bytes) const;
  bool operator==(const PlayerRecord&) const = default;
};

// ENCPLSTATS.DAT, 336 bytes: one hitting or pitching line of one player,
// season, season type and team.
struct PlayerStatsRecord {
  static constexpr size_t kSize = 336;
  int16_t record_status = 0;
  int16_t player_id = 0;
  // 1 ignored, 2 regular season, 5 division series, 6 league championship
  // series, 7 world series.
  uint8_t season_type = 0;
  int16_t year = 0;
  int16_t team_id = 0;
  std::string first_name;
  std::string last_name;
  uint8_t line_kind = 0;  // 1 hitting, 2 pitching; any other kind writes nothing
  // Hitting.
  int16_t at_bats = 0;
  int16_t runs = 0;
  int16_t runs_batted_in = 0;
  int16_t hits = 0;
  uint8_t doubles = 0;
  uint8_t triples = 0;
  uint8_t home_runs = 0;
  uint8_t hit_by_pitch = 0;
  int16_t strikeouts = 0;
  int16_t walks = 0;
  uint8_t stolen_bases = 0;
  uint8_t caught_stealing = 0;
  uint8_t sacrifice_hits = 0;
  uint8_t sacrifice_flies = 0;
  // Pitching.
  int16_t outs_pitched = 0;
  int16_t opponent_at_bats = 0;
  int16_t hits_allowed = 0;
  int16_t strikeouts_pitched = 0;
  int16_t walks_allowed = 0;
  int16_t runs_allowed = 0;
  int16_t earned_runs = 0;
  uint8_t home_runs_allowed = 0;
  uint8_t double_plays_induced = 0;
  uint8_t wins = 0;
  uint8_t losses = 0;
  uint8_t saves = 0;
  uint8_t shutouts = 0;
  uint8_t complete_games = 0;
  uint8_t games_pitched = 0;
  uint8_t games_started = 0;

  static PlayerStatsRecord Decode(RecordBytes bytes);
  void Encode(MutableRecordBytes bytes) const;
  bool operator==(const PlayerStatsRecord&) const = default;
};

// encleag.dat, 50 bytes.
struct LeagueRecord {
  static constexpr size_t kSize = 50;
  int16_t record_status = 0;
  int16_t league_id = 0;
  std::string league_name;
  int16_t use_mark = 0;  // a league is counted only when this is above 0

  bool league_name_present() const { return IsPresentText(league_name); }

  static LeagueRecord Decode(RecordBytes bytes);
  void Encode(MutableRecordBytes bytes) const;
  bool operator==(const LeagueRecord&) const = default;
};

// enclgyr.dat, 1000-byte slots whose first 260 bytes hold these fields.
struct LeagueYearRecord {
  static constexpr size_t kSize = 1000;
  static constexpr int kDivisions = 4;
  static constexpr int kSlots = 16;
  int16_t record_status = 0;
  int16_t league_id = 0;
  int16_t year = 0;
  std::string league_name;
  std::array<std::string, kDivisions> division_names;
  // Team ids of each division's slots; a negative id is an empty slot.
  std::array<std::array<int16_t, kSlots>, kDivisions> division_teams{};

  bool division_name_present(int division) const {
    return IsPresentText(division_names[static_cast<size_t>(division)]);
  }

  static LeagueYearRecord Decode(RecordBytes bytes);
  void Encode(MutableRecordBytes bytes) const;
  bool operator==(const LeagueYearRecord&) const = default;
};

// One of the four statistics blocks of a team season, 16 bytes.
struct TeamStatBlock {
  static constexpr size_t kSize = 16;
  int16_t left_on_base = 0;
  int16_t grounded_into_double_plays = 0;
  int16_t runs_scored = 0;
  int16_t runs_allowed = 0;
  uint8_t won = 0;
  uint8_t lost = 0;
  uint8_t shutouts = 0;

  static TeamStatBlock Decode(RecordBytes bytes);
  void Encode(MutableRecordBytes bytes) const;
  bool operator==(const TeamStatBlock&) const = default;
};

// enctmyr.dat, 368 bytes.
struct TeamYearRecord {
  static constexpr size_t kSize = 368;
  int16_t record_status = 0;
  int16_t team_id = 0;
  int16_t year = 0;
  // The team's display name is the two parts with a space between them.
  std::string name_part_1;
  std::string name_part_2;
  std::string season_abbreviation;
  int16_t league_id = 0;
  TeamStatBlock regular_season;
  TeamStatBlock division_series;
  TeamStatBlock league_championship_series;
  TeamStatBlock world_series;

  static TeamYearRecord Decode(RecordBytes bytes);
  void Encode(MutableRecordBytes bytes) const;
  bool operator==(const TeamYearRecord&) const = default;
};

// ---------------------------------------------------------------------------
// The layout tables (record_codec.h: how a field's member type is read).

// clang-format off
template <>
struct RecordLayout<TeamRecord> {
  using R = TeamRecord;
  static constexpr auto kFields = std::make_tuple(
      MakeField("record_status",              0,   &R::record_status),
      MakeField("team_id",                    2,   &R::team_id),
      MakeField("abbreviation",               4,   &R::abbreviation, 3),
      MakeField("short_name",                 7,   &R::short_name, 3),
      MakeField("city",                       10,  &R::city, 20),
      MakeField("nickname",                   30,  &R::nickname, 20),
      MakeField("gate_a",                     50,  &R::gate_a),
      MakeField("gate_b",                     52,  &R::gate_b),
      MakeField("spare",                      54,  &R::spare)
  );
};

template <>
struct RecordLayout<PlayerRecord> {
  using R = PlayerRecord;
  static constexpr auto kFields = std::make_tuple(
      MakeField("record_status",              0,   &R::record_status),
      MakeField("player_id",                  2,   &R::player_id),
      MakeField("first_name",                 4,   &R::first_name, 16),
      MakeField("last_name",                  20,  &R::last_name, 16),
      MakeField("birth_year",                 36,  &R::birth_year),
      MakeField("birth_month",                38,  &R::birth_month),
      MakeField("birth_day",                  39,  &R::birth_day)
  );
};

template <>
struct RecordLayout<PlayerStatsRecord> {
  using R = PlayerStatsRecord;
  static constexpr auto kFields = std::make_tuple(
      MakeField("record_status",              0,   &R::record_status),
      MakeField("player_id",                  4,   &R::player_id),
      MakeField("season_type",                6,   &R::season_type),
      MakeField("year",                       8,   &R::year),
      MakeField("team_id",                    10,  &R::team_id),
      MakeField("first_name",                 14,  &R::first_name, 16),
      MakeField("last_name",                  30,  &R::last_name, 16),
      MakeField("line_kind",                  46,  &R::line_kind),
      MakeField("at_bats",                    58,  &R::at_bats),
      MakeField("runs",                       60,  &R::runs),
      MakeField("runs_batted_in",             62,  &R::runs_batted_in),
      MakeField("hits",                       64,  &R::hits),
      MakeField("doubles",                    66,  &R::doubles),
      MakeField("triples",                    67,  &R::triples),
      MakeField("home_runs",                  68,  &R::home_runs),
      MakeField("hit_by_pitch",               69,  &R::hit_by_pitch),
      MakeField("strikeouts",                 70,  &R::strikeouts),
      MakeField("walks",                      72,  &R::walks),
      MakeField("stolen_bases",               75,  &R::stolen_bases),
      MakeField("caught_stealing",            76,  &R::caught_stealing),
      MakeField("sacrifice_hits",             78,  &R::sacrifice_hits),
      MakeField("sacrifice_flies",            79,  &R::sacrifice_flies),
      MakeField("outs_pitched",               120, &R::outs_pitched),
      MakeField("opponent_at_bats",           122, &R::opponent_at_bats),
      MakeField("hits_allowed",               124, &R::hits_allowed),
      MakeField("strikeouts_pitched",         126, &R::strikeouts_pitched),
      MakeField("walks_allowed",              128, &R::walks_allowed),
      MakeField("runs_allowed",               132, &R::runs_allowed),
      MakeField("earned_runs",                134, &R::earned_runs),
      MakeField("home_runs_allowed",          138, &R::home_runs_allowed),
      MakeField("double_plays_induced",       144, &R::double_plays_induced),
      MakeField("wins",                       145, &R::wins),
      MakeField("losses",                     146, &R::losses),
      MakeField("saves",                      147, &R::saves),
      MakeField("shutouts",                   158, &R::shutouts),
      MakeField("complete_games",             159, &R::complete_games),
      MakeField("games_pitched",              160, &R::games_pitched),
      MakeField("games_started",              162, &R::games_started)
  );
};

template <>
struct RecordLayout<LeagueRecord> {
  using R = LeagueRecord;
  static constexpr auto kFields = std::make_tuple(
      MakeField("record_status",              0,   &R::record_status),
      MakeField("league_id",                  2,   &R::league_id),
      MakeField("league_name",                4,   &R::league_name, 40),
      MakeField("use_mark",                   44,  &R::use_mark)
  );
};

template <>
struct RecordLayout<LeagueYearRecord> {
  using R = LeagueYearRecord;
  static constexpr auto kFields = std::make_tuple(
      MakeField("record_status",              0,   &R::record_status),
      MakeField("league_id",                  4,   &R::league_id),
      MakeField("year",                       6,   &R::year),
      MakeField("league_name",                12,  &R::league_name, 40),
      // Division d's name at 52 + 20 d; slot k of division d at 132 + 32 d + 2 k.
      MakeField("division_names",             52,  &R::division_names, 20),
      MakeField("division_teams",             132, &R::division_teams)
  );
};

template <>
struct RecordLayout<TeamStatBlock> {
  using R = TeamStatBlock;
  static constexpr auto kFields = std::make_tuple(
      MakeField("left_on_base",               0,   &R::left_on_base),
      MakeField("grounded_into_double_plays", 2,   &R::grounded_into_double_plays),
      MakeField("runs_scored",                6,   &R::runs_scored),
      MakeField("runs_allowed",               8,   &R::runs_allowed),
      MakeField("won",                        10,  &R::won),
      MakeField("lost",                       11,  &R::lost),
      MakeField("shutouts",                   14,  &R::shutouts)
  );
};

template <>
struct RecordLayout<TeamYearRecord> {
  using R = TeamYearRecord;
  static constexpr auto kFields = std::make_tuple(
      MakeField("record_status",              0,   &R::record_status),
      MakeField("team_id",                    2,   &R::team_id),
      MakeField("year",                       4,   &R::year),
      MakeField("name_part_1",                6,   &R::name_part_1, 20),
      MakeField("name_part_2",                26,  &R::name_part_2, 20),
      MakeField("season_abbreviation",        116, &R::season_abbreviation, 3),
      MakeField("league_id",                  120, &R::league_id),
      MakeField("regular_season",             304, &R::regular_season),
      MakeField("division_series",            320, &R::division_series),
      MakeField("league_championship_series", 336, &R::league_championship_series),
      MakeField("world_series",               352, &R::world_series)
  );
};
// clang-format on

}  // namespace statcrane
