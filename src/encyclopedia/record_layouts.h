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
  int16_t RecordStatus = 0;  // 0
  int16_t TeamId = 0;        // 2
  std::string Abbrev;        // 4, 3 characters
  std::string ShortName;     // 7, 3 characters (not read by the program)
  std::string City;          // 10, 20 characters (not read by the program)
  std::string Nickname;      // 30, 20 characters (not read by the program)
  int16_t GateA = 0;         // 50
  int16_t GateB = 0;         // 52
  int16_t Spare = 0;         // 54 (not read by the program)

  static TeamRecord Decode(RecordBytes bytes);
  void Encode(MutableRecordBytes bytes) const;
};

// ENCPLYR.DAT, 48 bytes.
struct PlayerRecord {
  static constexpr size_t kSize = 48;
  int16_t RecordStatus = 0;  // 0
  int16_t PlayerId = 0;      // 2
  std::string FirstName;     // 4, 16 characters (not read by the program)
  std::string LastName;      // 20, 16 characters (not read by the program)
  int16_t BirthYear = 0;     // 36
  uint8_t BirthMonth = 0;    // 38
  uint8_t BirthDay = 0;      // 39

  static PlayerRecord Decode(RecordBytes bytes);
  void Encode(MutableRecordBytes bytes) const;
};

// ENCPLSTATS.DAT, 336 bytes: one hitting or pitching line of one player,
// season, season type and team.
struct PlayerStatsRecord {
  static constexpr size_t kSize = 336;
  int16_t RecordStatus = 0;  // 0
  int16_t PlayerId = 0;      // 4
  uint8_t SeasonType =
      0;               // 6: 1 ignored, 2 regular, 5 division, 6 league championship, 7 world series
  int16_t Year = 0;    // 8
  int16_t TeamId = 0;  // 10
  std::string FirstName;  // 14, 16 characters
  std::string LastName;   // 30, 16 characters
  uint8_t LineKind = 0;   // 46: 1 hitting, 2 pitching
  // Hitting.
  int16_t AtBats = 0;          // 58
  int16_t Runs = 0;            // 60
  int16_t RBI = 0;             // 62
  int16_t Hits = 0;            // 64
  uint8_t Doubles = 0;         // 66
  uint8_t Triples = 0;         // 67
  uint8_t HomeRuns = 0;        // 68
  uint8_t HitByPitch = 0;      // 69
  int16_t Strikeouts = 0;      // 70
  int16_t Walks = 0;           // 72
  uint8_t StolenBases = 0;     // 75
  uint8_t CaughtStealing = 0;  // 76
  uint8_t SacHits = 0;         // 78
  uint8_t SacFlies = 0;        // 79
  // Pitching.
  int16_t OutsPitched = 0;        // 120
  int16_t OppAtBats = 0;          // 122
  int16_t HitsAllowed = 0;        // 124
  int16_t StrikeoutsPitched = 0;  // 126
  int16_t WalksAllowed = 0;       // 128
  int16_t RunsAllowed = 0;        // 132
  int16_t EarnedRuns = 0;         // 134
  uint8_t HRAllowed = 0;          // 138
  uint8_t GDPInduced = 0;         // 144
  uint8_t Wins = 0;               // 145
  uint8_t Losses = 0;             // 146
  uint8_t Saves = 0;              // 147
  uint8_t Shutouts = 0;           // 158
  uint8_t CompleteGames = 0;      // 159
  uint8_t GamesPitched = 0;       // 160
  uint8_t GamesStarted = 0;       // 162

  static PlayerStatsRecord Decode(RecordBytes bytes);
  void Encode(MutableRecordBytes bytes) const;
};

// encleag.dat, 50 bytes.
struct LeagueRecord {
  static constexpr size_t kSize = 50;
  int16_t RecordStatus = 0;  // 0
  int16_t LeagueId = 0;      // 2
  std::string LeagueName;    // 4, 40 characters
  // True when the name field counts as present: its first byte is 32 or more.
  bool LeagueNamePresent = false;
  int16_t UseMark = 0;  // 44

  static LeagueRecord Decode(RecordBytes bytes);
  void Encode(MutableRecordBytes bytes) const;
};

// enclgyr.dat, 1000-byte slots whose first 870 bytes hold these fields.
struct LeagueYearRecord {
  static constexpr size_t kSize = 1000;
  static constexpr int kDivisions = 4;
  static constexpr int kSlots = 16;
  int16_t RecordStatus = 0;                          // 0
  int16_t LeagueId = 0;                              // 4
  int16_t Year = 0;                                  // 6
  std::string LeagueName;                            // 12, 40 characters
  std::array<std::string, kDivisions> DivisionName;  // 52 + 20 d, 20 characters
  // True when division d's name field is present: its first byte is 32 or more.
  std::array<bool, kDivisions> DivisionNamePresent{};
  // 132 + 32 d + 2 k; a negative id is an empty slot.
  std::array<std::array<int16_t, kSlots>, kDivisions> DivisionTeams{};

  static LeagueYearRecord Decode(RecordBytes bytes);
  void Encode(MutableRecordBytes bytes) const;
};

// One of the four statistics blocks of a team season, 16 bytes.
struct TeamStatBlock {
  static constexpr size_t kSize = 16;
  int16_t LOB = 0;      // 0
  int16_t GDP = 0;      // 2
  int16_t Scored = 0;   // 6
  int16_t Allowed = 0;  // 8
  uint8_t Won = 0;      // 10
  uint8_t Lost = 0;     // 11
  uint8_t SHO = 0;      // 14

  static TeamStatBlock Decode(RecordBytes bytes);
  void Encode(MutableRecordBytes bytes) const;
};

// enctmyr.dat, 368 bytes.
struct TeamYearRecord {
  static constexpr size_t kSize = 368;
  int16_t RecordStatus = 0;  // 0
  int16_t TeamId = 0;        // 2
  int16_t Year = 0;          // 4
  std::string TeamName1;     // 6, 20 characters
  std::string TeamName2;     // 26, 20 characters
  std::string SeasonAbbrev;  // 116, 3 characters
  int16_t LeagueId = 0;      // 120
  TeamStatBlock Reg;         // 304
  TeamStatBlock DCS;         // 320
  TeamStatBlock LCS;         // 336
  TeamStatBlock WS;          // 352

  static TeamYearRecord Decode(RecordBytes bytes);
  void Encode(MutableRecordBytes bytes) const;
};

}  // namespace statcrane
