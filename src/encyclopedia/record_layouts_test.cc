#include "encyclopedia/record_layouts.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

namespace statcrane {
namespace {

using Bytes = std::vector<uint8_t>;

// Hand-built record bytes: every value is placed at its offset here, not
// through the code under test.
void Put16(Bytes& b, size_t offset, int value) {
  const auto v = static_cast<uint16_t>(value);
  b.at(offset) = v & 0xFF;
  b.at(offset + 1) = v >> 8;
}

void PutText(Bytes& b, size_t offset, const std::string& text) {
  ASSERT_LE(offset + text.size(), b.size());
  std::memcpy(b.data() + offset, text.data(), text.size());
}

template <typename Record>
Bytes EncodeOf(const Record& record) {
  Bytes out(Record::kSize, 0xEE);  // Encode must clear what it does not name
  record.Encode(MutableRecordBytes(out));
  return out;
}

TEST(RecordLayoutsTest, NumbersAreLittleEndianSigned16AndUnsignedBytes) {
  Bytes b(PlayerRecord::kSize);
  b[2] = 0x34;
  b[3] = 0x12;
  b[36] = 0xFE;
  b[37] = 0xFF;
  b[38] = 0xFF;
  const PlayerRecord r = PlayerRecord::Decode(b);
  EXPECT_EQ(r.player_id, 0x1234);
  EXPECT_EQ(r.birth_year, -2);
  EXPECT_EQ(r.birth_month, 255);
}

TEST(RecordLayoutsTest, TeamRecordFieldsAtTheirOffsets) {
  Bytes b(TeamRecord::kSize);
  Put16(b, 0, 3);
  Put16(b, 2, 9876);
  PutText(b, 4, "BOS");
  PutText(b, 7, "BS");
  PutText(b, 10, "Boston");
  PutText(b, 30, "Harbor Hawks");
  Put16(b, 50, 1);
  Put16(b, 52, -5);
  Put16(b, 54, 777);
  const TeamRecord r = TeamRecord::Decode(b);
  EXPECT_EQ(r.record_status, 3);
  EXPECT_EQ(r.team_id, 9876);
  EXPECT_EQ(r.abbreviation, "BOS");
  EXPECT_EQ(r.short_name, "BS");
  EXPECT_EQ(r.city, "Boston");
  EXPECT_EQ(r.nickname, "Harbor Hawks");
  EXPECT_EQ(r.gate_a, 1);
  EXPECT_EQ(r.gate_b, -5);
  EXPECT_EQ(r.spare, 777);
  EXPECT_EQ(EncodeOf(r), b);
}

TEST(RecordLayoutsTest, PlayerRecordFieldsAtTheirOffsets) {
  Bytes b(PlayerRecord::kSize);
  Put16(b, 0, -1);
  Put16(b, 2, 32767);
  PutText(b, 4, "Sixteen-Letters!");  // fills the field, no NUL
  PutText(b, 20, "Smith");
  Put16(b, 36, 1925);
  b[38] = 7;
  b[39] = 4;
  const PlayerRecord r = PlayerRecord::Decode(b);
  EXPECT_EQ(r.record_status, -1);
  EXPECT_EQ(r.player_id, 32767);
  EXPECT_EQ(r.first_name, "Sixteen-Letters!");
  EXPECT_EQ(r.last_name, "Smith");
  EXPECT_EQ(r.birth_year, 1925);
  EXPECT_EQ(r.birth_month, 7);
  EXPECT_EQ(r.birth_day, 4);
  EXPECT_EQ(EncodeOf(r), b);
}

// Every numeric field of the statistics record gets a value of its own,
// derived from its offset, so a field read from a neighbour's bytes shows.
struct Stat16 {
  size_t offset;
  int16_t PlayerStatsRecord::*member;
};
struct Stat8 {
  size_t offset;
  uint8_t PlayerStatsRecord::*member;
};
using S = PlayerStatsRecord;
const Stat16 kStat16[] = {
    {0, &S::record_status},
    {4, &S::player_id},
    {8, &S::year},
    {10, &S::team_id},
    {58, &S::at_bats},
    {60, &S::runs},
    {62, &S::runs_batted_in},
    {64, &S::hits},
    {70, &S::strikeouts},
    {72, &S::walks},
    {120, &S::outs_pitched},
    {122, &S::opponent_at_bats},
    {124, &S::hits_allowed},
    {126, &S::strikeouts_pitched},
    {128, &S::walks_allowed},
    {132, &S::runs_allowed},
    {134, &S::earned_runs},
};
const Stat8 kStat8[] = {
    {6, &S::season_type},
    {46, &S::line_kind},
    {66, &S::doubles},
    {67, &S::triples},
    {68, &S::home_runs},
    {69, &S::hit_by_pitch},
    {75, &S::stolen_bases},
    {76, &S::caught_stealing},
    {78, &S::sacrifice_hits},
    {79, &S::sacrifice_flies},
    {138, &S::home_runs_allowed},
    {144, &S::double_plays_induced},
    {145, &S::wins},
    {146, &S::losses},
    {147, &S::saves},
    {158, &S::shutouts},
    {159, &S::complete_games},
    {160, &S::games_pitched},
    {162, &S::games_started},
};
int16_t Value16(size_t offset) { return static_cast<int16_t>(0x8001 + offset * 0x0101); }
uint8_t Value8(size_t offset) { return static_cast<uint8_t>(offset + 60); }

TEST(RecordLayoutsTest, PlayerStatsRecordFieldsAtTheirOffsets) {
  Bytes b(PlayerStatsRecord::kSize);
  for (const auto& f : kStat16) Put16(b, f.offset, Value16(f.offset));
  for (const auto& f : kStat8) b[f.offset] = Value8(f.offset);
  PutText(b, 14, "Jos\xE9");
  PutText(b, 30,
          "Pe\xF1"
          "a");
  const PlayerStatsRecord r = PlayerStatsRecord::Decode(b);
  for (const auto& f : kStat16) EXPECT_EQ(r.*f.member, Value16(f.offset)) << "offset " << f.offset;
  for (const auto& f : kStat8) EXPECT_EQ(r.*f.member, Value8(f.offset)) << "offset " << f.offset;
  EXPECT_EQ(r.first_name, "José");
  EXPECT_EQ(r.last_name, "Peña");
  EXPECT_EQ(EncodeOf(r), b);
}

TEST(RecordLayoutsTest, PlayerStatsReservedBytesAreNotRead) {
  Bytes b(PlayerStatsRecord::kSize, 0);
  for (size_t i :
       {2, 7, 12, 13, 47, 50, 54, 74, 77, 80, 118, 130, 136, 139, 148, 161, 163, 214, 335}) {
    b[i] = 0xAB;
  }
  const PlayerStatsRecord r = PlayerStatsRecord::Decode(b);
  EXPECT_EQ(EncodeOf(r), Bytes(PlayerStatsRecord::kSize, 0));
}

TEST(RecordLayoutsTest, LeagueRecordFieldsAndPresentName) {
  Bytes b(LeagueRecord::kSize);
  Put16(b, 0, 0);
  Put16(b, 2, 4321);
  PutText(b, 4, std::string(40, 'L'));  // a name filling the field is taken whole
  Put16(b, 44, 2);
  Put16(b, 46, 99);  // reserved
  LeagueRecord r = LeagueRecord::Decode(b);
  EXPECT_EQ(r.league_id, 4321);
  EXPECT_EQ(r.league_name, std::string(40, 'L'));
  EXPECT_TRUE(r.league_name_present);
  EXPECT_EQ(r.use_mark, 2);

  b[4] = ' ';
  EXPECT_TRUE(LeagueRecord::Decode(b).league_name_present);
  b[4] = 31;
  EXPECT_FALSE(LeagueRecord::Decode(b).league_name_present);
  b[4] = 0;
  r = LeagueRecord::Decode(b);
  EXPECT_FALSE(r.league_name_present);
  EXPECT_EQ(r.league_name, "");
  b[4] = 0xC1;  // above 127 counts as present
  EXPECT_TRUE(LeagueRecord::Decode(b).league_name_present);
}

TEST(RecordLayoutsTest, LeagueYearRecordFieldsAtTheirOffsets) {
  Bytes b(LeagueYearRecord::kSize);
  Put16(b, 0, 0);
  Put16(b, 2, 55);  // reserved
  Put16(b, 4, 12);
  Put16(b, 6, 1987);
  PutText(b, 12, "Meridian League");
  PutText(b, 52, "East");
  PutText(b, 72, std::string(20, 'C'));
  // division 2 absent (first byte NUL), division 3 present
  PutText(b, 112, "West");
  for (int d = 0; d < 4; ++d) {
    for (int k = 0; k < 16; ++k) Put16(b, 132 + 32 * d + 2 * k, d * 100 + k - 1);
  }
  b[870] = 0x7F;  // past the fields
  const LeagueYearRecord r = LeagueYearRecord::Decode(b);
  EXPECT_EQ(r.league_id, 12);
  EXPECT_EQ(r.year, 1987);
  EXPECT_EQ(r.league_name, "Meridian League");
  EXPECT_EQ(r.division_names[0], "East");
  EXPECT_EQ(r.division_names[1], std::string(20, 'C'));
  EXPECT_EQ(r.division_names[2], "");
  EXPECT_EQ(r.division_names[3], "West");
  EXPECT_EQ(r.division_name_present, (std::array<bool, 4>{true, true, false, true}));
  for (int d = 0; d < 4; ++d) {
    for (int k = 0; k < 16; ++k) EXPECT_EQ(r.division_teams[d][k], d * 100 + k - 1);
  }
  b[2] = b[3] = b[870] = 0;
  EXPECT_EQ(EncodeOf(r), b);
}

TEST(RecordLayoutsTest, TeamYearRecordAndItsFourBlocks) {
  Bytes b(TeamYearRecord::kSize);
  Put16(b, 0, 0);
  Put16(b, 2, 17);
  Put16(b, 4, 2001);
  PutText(b, 6, "Twenty Characters 20");
  PutText(b, 26, "Comets");
  PutText(b, 116, "TCX");
  Put16(b, 120, 2);
  const size_t blocks[] = {304, 320, 336, 352};
  for (int i = 0; i < 4; ++i) {
    const size_t o = blocks[i];
    Put16(b, o + 0, 1100 + i);  // LOB
    Put16(b, o + 2, 120 + i);   // GDP
    Put16(b, o + 6, 700 + i);   // Scored
    Put16(b, o + 8, -650 - i);  // Allowed
    b[o + 10] = 90 + i;         // Won
    b[o + 11] = 200 + i;        // Lost
    b[o + 14] = 12 + i;         // SHO
  }
  const TeamYearRecord r = TeamYearRecord::Decode(b);
  EXPECT_EQ(r.team_id, 17);
  EXPECT_EQ(r.year, 2001);
  EXPECT_EQ(r.name_part_1, "Twenty Characters 20");
  EXPECT_EQ(r.name_part_2, "Comets");
  EXPECT_EQ(r.season_abbreviation, "TCX");
  EXPECT_EQ(r.league_id, 2);
  const TeamStatBlock* decoded[] = {&r.regular_season, &r.division_series,
                                    &r.league_championship_series, &r.world_series};
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(decoded[i]->left_on_base, 1100 + i);
    EXPECT_EQ(decoded[i]->grounded_into_double_plays, 120 + i);
    EXPECT_EQ(decoded[i]->runs_scored, 700 + i);
    EXPECT_EQ(decoded[i]->runs_allowed, -650 - i);
    EXPECT_EQ(decoded[i]->won, 90 + i);
    EXPECT_EQ(decoded[i]->lost, 200 + i);
    EXPECT_EQ(decoded[i]->shutouts, 12 + i);
  }
  EXPECT_EQ(EncodeOf(r), b);
}

TEST(RecordLayoutsTest, TextFieldsCutAtFirstNulAndDecodeWindows1252) {
  auto abbrev = [](std::string field) {
    Bytes b(TeamRecord::kSize);
    PutText(b, 4, field);
    return TeamRecord::Decode(b).abbreviation;
  };
  EXPECT_EQ(abbrev(std::string("NY\0", 3)), "NY");
  EXPECT_EQ(abbrev(std::string("\0\0\0", 3)), "");
  EXPECT_EQ(abbrev(std::string("\0YX", 3)), "");
  EXPECT_EQ(abbrev("LA "), "LA ");
  EXPECT_EQ(abbrev("BOS"), "BOS");
  EXPECT_EQ(abbrev("\xC1VA"), "ÁVA");
  EXPECT_EQ(abbrev("\x80\x9F\xFF"), "€Ÿÿ");

  Bytes b(PlayerStatsRecord::kSize);
  PutText(b, 30, std::string("Smith\0leftover", 14));
  EXPECT_EQ(PlayerStatsRecord::Decode(b).last_name, "Smith");
}

TEST(RecordLayoutsTest, EncodeWritesWindows1252AndCutsLongTexts) {
  TeamRecord t;
  t.abbreviation = "ÁBCD";
  t.city = "Montréal";
  const Bytes b = EncodeOf(t);
  EXPECT_EQ(b[4], 0xC1);
  EXPECT_EQ(b[5], 'B');
  EXPECT_EQ(b[6], 'C');
  EXPECT_EQ(b[7], 0);  // "D" did not spill into the next field
  EXPECT_EQ(b[15], 0xE9);
  EXPECT_EQ(TeamRecord::Decode(b).city, "Montréal");
}

TEST(RecordLayoutsTest, WrongSpanLengthIsRefused) {
  Bytes short_bytes(TeamRecord::kSize - 1);
  EXPECT_THROW(TeamRecord::Decode(short_bytes), std::invalid_argument);
  Bytes long_bytes(PlayerStatsRecord::kSize + 1);
  EXPECT_THROW(PlayerStatsRecord::Decode(long_bytes), std::invalid_argument);
  Bytes out(LeagueYearRecord::kSize - 130);
  EXPECT_THROW(LeagueYearRecord{}.Encode(out), std::invalid_argument);
}

}  // namespace
}  // namespace statcrane
