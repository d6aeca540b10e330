// The six record types of an encyclopedia, decoded from and encoded to the
// bytes of their files.
//
// Every file is a plain sequence of fixed-length records, little-endian;
// 16-bit fields are signed, single bytes unsigned, texts are fixed-width
// Windows-1252 fields (held here as UTF-8, cut at the first NUL byte; a field
// without a NUL is taken whole). Encode(Decode(bytes)) gives the same bytes in
// every field listed here; bytes that no field names are written as 0.
//
// Decode and Encode take a span of exactly kSize bytes and throw
// std::invalid_argument for any other length. The *Present flags are set by
// Decode from the first byte of the field; Encode writes the name text and
// ignores the flag (an empty name gives an absent field).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace statcrane {

using RecordBytes = std::span<const uint8_t>;
using MutableRecordBytes = std::span<uint8_t>;

// ENCTEAM.DAT, 56 bytes.
struct TeamRecord {
  static constexpr size_t kSize = 56;
  int16_t record_status = 0;  // 0
  int16_t team_id = 0;        // 2
  std::string abbreviation;   // 4, 3 characters
  std::string short_name;     // 7, 3 characters (not read by the program)
  std::string city;           // 10, 20 characters (not read by the program)
  std::string nickname;       // 30, 20 characters (not read by the program)
  int16_t gate_a = 0;         // 50
  int16_t gate_b = 0;         // 52
  int16_t spare = 0;          // 54 (not read by the program)

  static TeamRecord Decode(RecordBytes bytes);
  void Encode(MutableRecordBytes bytes) const;
};

// ENCPLYR.DAT, 48 bytes.
struct PlayerRecord {
  static constexpr size_t kSize = 48;
  int16_t record_status = 0;  // 0
  int16_t player_id = 0;      // 2
  std::string first_name;     // 4, 16 characters (not read by the program)
  std::string last_name;      // 20, 16 characters (not read by the program)
  int16_t birth_year = 0;     // 36
  uint8_t birth_month = 0;    // 38
  uint8_t birth_day = 0;      // 39

  static PlayerRecord Decode(RecordBytes bytes);
  void Encode(MutableRecordBytes bytes) const;
};

// ENCPLSTATS.DAT, 336 bytes: one hitting or pitching line of one player,
// season, season type and team.
struct PlayerStatsRecord {
  static constexpr size_t kSize = 336;
  int16_t record_status = 0;  // 0
  int16_t player_id = 0;      // 4
  uint8_t season_type =
      0;             // 6: 1 ignored, 2 regular, 5 division, 6 league championship, 7 world series
  int16_t year = 0;  // 8
  int16_t team_id = 0;     // 10
  std::string first_name;  // 14, 16 characters
  std::string last_name;   // 30, 16 characters
  uint8_t line_kind = 0;   // 46: 1 hitting, 2 pitching
  // Hitting.
  int16_t at_bats = 0;          // 58
  int16_t runs = 0;             // 60
  int16_t runs_batted_in = 0;   // 62
  int16_t hits = 0;             // 64
  uint8_t doubles = 0;          // 66
  uint8_t triples = 0;          // 67
  uint8_t home_runs = 0;        // 68
  uint8_t hit_by_pitch = 0;     // 69
  int16_t strikeouts = 0;       // 70
  int16_t walks = 0;            // 72
  uint8_t stolen_bases = 0;     // 75
  uint8_t caught_stealing = 0;  // 76
  uint8_t sacrifice_hits = 0;   // 78
  uint8_t sacrifice_flies = 0;  // 79
  // Pitching.
  int16_t outs_pitched = 0;          // 120
  int16_t opponent_at_bats = 0;      // 122
  int16_t hits_allowed = 0;          // 124
  int16_t strikeouts_pitched = 0;    // 126
  int16_t walks_allowed = 0;         // 128
  int16_t runs_allowed = 0;          // 132
  int16_t earned_runs = 0;           // 134
  uint8_t home_runs_allowed = 0;     // 138
  uint8_t double_plays_induced = 0;  // 144
  uint8_t wins = 0;                  // 145
  uint8_t losses = 0;                // 146
  uint8_t saves = 0;                 // 147
  uint8_t shutouts = 0;              // 158
  uint8_t complete_games = 0;        // 159
  uint8_t games_pitched = 0;         // 160
  uint8_t games_started = 0;         // 162

  static PlayerStatsRecord Decode(RecordBytes bytes);
  void Encode(MutableRecordBytes bytes) const;
};

// encleag.dat, 50 bytes.
struct LeagueRecord {
  static constexpr size_t kSize = 50;
  int16_t record_status = 0;  // 0
  int16_t league_id = 0;      // 2
  std::string league_name;    // 4, 40 characters
  // True when the name field counts as present: its first byte is 32 or more.
  bool league_name_present = false;
  int16_t use_mark = 0;  // 44

  static LeagueRecord Decode(RecordBytes bytes);
  void Encode(MutableRecordBytes bytes) const;
};

// enclgyr.dat, 1000-byte slots whose first 870 bytes hold these fields.
struct LeagueYearRecord {
  static constexpr size_t kSize = 1000;
  static constexpr int kDivisions = 4;
  static constexpr int kSlots = 16;
  int16_t record_status = 0;                           // 0
  int16_t league_id = 0;                               // 4
  int16_t year = 0;                                    // 6
  std::string league_name;                             // 12, 40 characters
  std::array<std::string, kDivisions> division_names;  // 52 + 20 d, 20 characters
  // True when division d's name field is present: its first byte is 32 or more.
  std::array<bool, kDivisions> division_name_present{};
  // 132 + 32 d + 2 k; a negative id is an empty slot.
  std::array<std::array<int16_t, kSlots>, kDivisions> division_teams{};

  static LeagueYearRecord Decode(RecordBytes bytes);
  void Encode(MutableRecordBytes bytes) const;
};

// One of the four statistics blocks of a team season, 16 bytes.
struct TeamStatBlock {
  static constexpr size_t kSize = 16;
  int16_t left_on_base = 0;                // 0
  int16_t grounded_into_double_plays = 0;  // 2
  int16_t runs_scored = 0;                 // 6
  int16_t runs_allowed = 0;                // 8
  uint8_t won = 0;                         // 10
  uint8_t lost = 0;                        // 11
  uint8_t shutouts = 0;                    // 14

  static TeamStatBlock Decode(RecordBytes bytes);
  void Encode(MutableRecordBytes bytes) const;
};

// enctmyr.dat, 368 bytes.
struct TeamYearRecord {
  static constexpr size_t kSize = 368;
  int16_t record_status = 0;                 // 0
  int16_t team_id = 0;                       // 2
  int16_t year = 0;                          // 4
  std::string name_part_1;                   // 6, 20 characters
  std::string name_part_2;                   // 26, 20 characters
  std::string season_abbreviation;           // 116, 3 characters
  int16_t league_id = 0;                     // 120
  TeamStatBlock regular_season;              // 304
  TeamStatBlock division_series;             // 320
  TeamStatBlock league_championship_series;  // 336
  TeamStatBlock world_series;                // 352

  static TeamYearRecord Decode(RecordBytes bytes);
  void Encode(MutableRecordBytes bytes) const;
};

}  // namespace statcrane
