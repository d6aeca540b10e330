#include "encyclopedia/record_layouts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

namespace statcrane {
namespace {

using Bytes = std::vector<uint8_t>;

// What the layout table says about one field.
struct Extent {
  std::string name;
  size_t offset;
  size_t width;
  bool text;
};

// The fields of the record's table; a block's fields are listed one by one
// ("regular_season.won").
template <typename Record>
std::vector<Extent> Extents() {
  std::vector<Extent> extents;
  auto add = [&](const auto& field) {
    using Member = std::remove_cvref_t<decltype(std::declval<Record&>().*field.member)>;
    if constexpr (HasLayout<Member>) {
      for (const Extent& inner : Extents<Member>()) {
        extents.push_back(Extent{std::string(field.name) + "." + inner.name,
                                 field.offset + inner.offset, inner.width, inner.text});
      }
    } else {
      extents.push_back(
          Extent{std::string(field.name), field.offset, FieldWidth(field), field.text_width > 0});
    }
  };
  std::apply([&](const auto&... field) { (add(field), ...); }, RecordLayout<Record>::kFields);
  return extents;
}

template <typename Record>
Extent FieldNamed(const std::string& name) {
  for (const Extent& e : Extents<Record>()) {
    if (e.name == name) return e;
  }
  ADD_FAILURE() << "no field " << name;
  return Extent{name, 0, 0, false};
}

template <typename Record>
Bytes EncodeOf(const Record& record) {
  Bytes out(Record::kSize, 0xEE);  // Encode must clear what no field names
  record.Encode(MutableRecordBytes(out));
  return out;
}

void PutText(Bytes& b, size_t offset, const std::string& text) {
  ASSERT_LE(offset + text.size(), b.size());
  std::memcpy(b.data() + offset, text.data(), text.size());
}

template <typename Record>
class RecordLayoutTest : public ::testing::Test {};
using RecordTypes = ::testing::Types<TeamRecord, PlayerRecord, PlayerStatsRecord, LeagueRecord,
                                     LeagueYearRecord, TeamStatBlock, TeamYearRecord>;
TYPED_TEST_SUITE(RecordLayoutTest, RecordTypes);

TYPED_TEST(RecordLayoutTest, FieldsLieInsideTheRecordWithoutOverlapping) {
  std::vector<Extent> extents = Extents<TypeParam>();
  ASSERT_FALSE(extents.empty());
  std::sort(extents.begin(), extents.end(),
            [](const Extent& a, const Extent& b) { return a.offset < b.offset; });
  size_t end = 0;
  for (const Extent& e : extents) {
    SCOPED_TRACE(e.name);
    EXPECT_GT(e.width, 0u);
    EXPECT_GE(e.offset, end) << "overlaps the field before it";
    end = e.offset + e.width;
    EXPECT_LE(end, TypeParam::kSize);
  }
}

// Each field on its own: bytes in its extent only are decoded into some
// member (the record differs from an empty one) and encoded back into the
// same bytes, and nowhere else.
TYPED_TEST(RecordLayoutTest, EveryFieldIsReadFromAndWrittenToItsOwnBytes) {
  EXPECT_EQ(TypeParam::Decode(Bytes(TypeParam::kSize, 0)), TypeParam{});
  EXPECT_EQ(EncodeOf(TypeParam{}), Bytes(TypeParam::kSize, 0));
  for (const Extent& e : Extents<TypeParam>()) {
    SCOPED_TRACE(e.name);
    Bytes b(TypeParam::kSize, 0);
    for (size_t i = 0; i < e.width; ++i) {
      // Letters and Windows-1252 letters for texts (no NUL, so the whole
      // field is taken); every bit pattern's kind for numbers.
      b[e.offset + i] = e.text ? static_cast<uint8_t>(i % 3 == 2 ? 0xE9 : 'A' + i % 26)
                               : static_cast<uint8_t>(0x81 + 37 * i);
    }
    const TypeParam decoded = TypeParam::Decode(b);
    EXPECT_NE(decoded, TypeParam{});
    EXPECT_EQ(EncodeOf(decoded), b);
  }
}

TYPED_TEST(RecordLayoutTest, BytesThatNoFieldNamesAreNotRead) {
  Bytes b(TypeParam::kSize, 0xAB);
  for (const Extent& e : Extents<TypeParam>()) {
    std::fill_n(b.begin() + static_cast<ptrdiff_t>(e.offset), e.width, uint8_t{0});
  }
  EXPECT_EQ(TypeParam::Decode(b), TypeParam{});
  EXPECT_EQ(EncodeOf(TypeParam::Decode(b)), Bytes(TypeParam::kSize, 0));
}

TYPED_TEST(RecordLayoutTest, AnySpanButOneRecordLongIsRefused) {
  EXPECT_THROW(TypeParam::Decode(Bytes(TypeParam::kSize - 1)), std::invalid_argument);
  EXPECT_THROW(TypeParam::Decode(Bytes(TypeParam::kSize + 1)), std::invalid_argument);
  Bytes out(TypeParam::kSize + 1);
  EXPECT_THROW(TypeParam{}.Encode(MutableRecordBytes(out)), std::invalid_argument);
}

TEST(RecordLayoutsTest, NumbersAreLittleEndianSigned16AndUnsignedBytes) {
  Bytes b(PlayerRecord::kSize);
  const size_t id = FieldNamed<PlayerRecord>("player_id").offset;
  const size_t year = FieldNamed<PlayerRecord>("birth_year").offset;
  const size_t month = FieldNamed<PlayerRecord>("birth_month").offset;
  b[id] = 0x34;
  b[id + 1] = 0x12;
  b[year] = 0xFE;
  b[year + 1] = 0xFF;
  b[month] = 0xFF;
  const PlayerRecord r = PlayerRecord::Decode(b);
  EXPECT_EQ(r.player_id, 0x1234);
  EXPECT_EQ(r.birth_year, -2);
  EXPECT_EQ(r.birth_month, 255);
  b[id] = 0x00;
  b[id + 1] = 0x80;
  EXPECT_EQ(PlayerRecord::Decode(b).player_id, -32768);
}

TEST(RecordLayoutsTest, TextsAreCutAtTheirFirstNulAndDecodedFromWindows1252) {
  const size_t at = FieldNamed<TeamRecord>("abbreviation").offset;
  auto abbreviation = [&](std::string field) {
    Bytes b(TeamRecord::kSize);
    PutText(b, at, field);
    return TeamRecord::Decode(b).abbreviation;
  };
  EXPECT_EQ(abbreviation(std::string("NY\0", 3)), "NY");
  EXPECT_EQ(abbreviation(std::string("\0\0\0", 3)), "");
  EXPECT_EQ(abbreviation(std::string("\0YX", 3)), "");
  EXPECT_EQ(abbreviation("LA "), "LA ");
  EXPECT_EQ(abbreviation("BOS"), "BOS");
  EXPECT_EQ(abbreviation("\xC1VA"), "ÁVA");
  EXPECT_EQ(abbreviation("\x80\x9F\xFF"), "€Ÿÿ");

  Bytes b(PlayerStatsRecord::kSize);
  PutText(b, FieldNamed<PlayerStatsRecord>("last_name").offset, std::string("Smith\0leftover", 14));
  PutText(b, FieldNamed<PlayerStatsRecord>("first_name").offset, "Sixteen-Letters!");
  const PlayerStatsRecord r = PlayerStatsRecord::Decode(b);
  EXPECT_EQ(r.last_name, "Smith");
  EXPECT_EQ(r.first_name, "Sixteen-Letters!");  // no NUL: the whole field
}

TEST(RecordLayoutsTest, EncodeWritesWindows1252AndCutsLongTexts) {
  TeamRecord t;
  t.abbreviation = "ÁBCD";
  t.city = "Montréal";
  const Bytes b = EncodeOf(t);
  const size_t at = FieldNamed<TeamRecord>("abbreviation").offset;
  EXPECT_EQ(b[at], 0xC1);
  EXPECT_EQ(b[at + 1], 'B');
  EXPECT_EQ(b[at + 2], 'C');
  EXPECT_EQ(TeamRecord::Decode(b).abbreviation, "ÁBC");  // "D" did not spill over
  EXPECT_EQ(b[FieldNamed<TeamRecord>("city").offset + 5], 0xE9);
  EXPECT_EQ(TeamRecord::Decode(b).city, "Montréal");
}

TEST(RecordLayoutsTest, ANameIsPresentWhenItsFirstByteIsABlankOrAbove) {
  const size_t at = FieldNamed<LeagueRecord>("league_name").offset;
  Bytes b(LeagueRecord::kSize);
  PutText(b, at, std::string(40, 'L'));
  EXPECT_TRUE(LeagueRecord::Decode(b).league_name_present());
  EXPECT_EQ(LeagueRecord::Decode(b).league_name, std::string(40, 'L'));
  b[at] = ' ';
  EXPECT_TRUE(LeagueRecord::Decode(b).league_name_present());
  b[at] = 0xC1;  // above 127
  EXPECT_TRUE(LeagueRecord::Decode(b).league_name_present());
  b[at] = 31;
  EXPECT_FALSE(LeagueRecord::Decode(b).league_name_present());
  b[at] = 0;
  EXPECT_FALSE(LeagueRecord::Decode(b).league_name_present());
  EXPECT_EQ(LeagueRecord::Decode(b).league_name, "");
}

TEST(RecordLayoutsTest, DivisionNamesAndSlotsFollowOneAnother) {
  Bytes b(LeagueYearRecord::kSize);
  const size_t names = FieldNamed<LeagueYearRecord>("division_names").offset;
  const size_t teams = FieldNamed<LeagueYearRecord>("division_teams").offset;
  PutText(b, names, "East");
  PutText(b, names + 20, std::string(20, 'C'));  // no NUL: taken whole
  PutText(b, names + 60, "West");                // division 2 absent
  for (int d = 0; d < 4; ++d) {
    for (int k = 0; k < 16; ++k) {
      const auto id = static_cast<uint16_t>(d * 100 + k - 1);
      b[teams + 32 * d + 2 * k] = id & 0xFF;
      b[teams + 32 * d + 2 * k + 1] = id >> 8;
    }
  }
  const LeagueYearRecord r = LeagueYearRecord::Decode(b);
  EXPECT_EQ(r.division_names,
            (std::array<std::string, 4>{"East", std::string(20, 'C'), "", "West"}));
  EXPECT_TRUE(r.division_name_present(1));
  EXPECT_FALSE(r.division_name_present(2));
  for (int d = 0; d < 4; ++d) {
    for (int k = 0; k < 16; ++k) EXPECT_EQ(r.division_teams[d][k], d * 100 + k - 1);
  }
}

TEST(RecordLayoutsTest, TheBlocksOfATeamSeasonAreReadAtTheirOffsets) {
  Bytes b(TeamYearRecord::kSize);
  b[FieldNamed<TeamYearRecord>("league_championship_series.won").offset] = 4;
  b[FieldNamed<TeamYearRecord>("regular_season.lost").offset] = 70;
  const TeamYearRecord r = TeamYearRecord::Decode(b);
  EXPECT_EQ(r.league_championship_series.won, 4);
  EXPECT_EQ(r.regular_season.lost, 70);
  EXPECT_EQ(r.regular_season.won, 0);
  EXPECT_EQ(r.division_series, TeamStatBlock{});
  EXPECT_EQ(r.world_series, TeamStatBlock{});
}

TEST(RecordLayoutsTest, OneFieldReadAloneMatchesTheWholeRecord) {
  Bytes b(PlayerStatsRecord::kSize);
  for (size_t i = 0; i < b.size(); ++i) b[i] = static_cast<uint8_t>(i * 131 + 7);
  const PlayerStatsRecord r = PlayerStatsRecord::Decode(b);
  EXPECT_EQ(DecodeField<&PlayerStatsRecord::record_status>(b), r.record_status);
  EXPECT_EQ(DecodeField<&PlayerStatsRecord::player_id>(b), r.player_id);
  EXPECT_EQ(DecodeField<&PlayerStatsRecord::season_type>(b), r.season_type);
  EXPECT_EQ(DecodeField<&PlayerStatsRecord::year>(b), r.year);
  EXPECT_EQ(DecodeField<&PlayerStatsRecord::team_id>(b), r.team_id);
  EXPECT_EQ(DecodeField<&PlayerStatsRecord::games_started>(b), r.games_started);
}

}  // namespace
}  // namespace statcrane
