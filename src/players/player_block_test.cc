#include "players/player_block.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <vector>

#include "testing/record_files.h"

namespace statcrane {
namespace {

using Kinds = std::vector<LineKind>;
constexpr LineKind kHitting = LineKind::kHitting;
constexpr LineKind kPitching = LineKind::kPitching;

PlayerStatsRecord Line(int16_t id, int season_type, int16_t year, int kind, int16_t team = 1) {
  PlayerStatsRecord r;
  r.player_id = id;
  r.last_name = "Baker";
  r.first_name = "Jo";
  r.season_type = static_cast<uint8_t>(season_type);
  r.year = year;
  r.team_id = team;
  r.line_kind = static_cast<uint8_t>(kind);
  return r;
}

PlayerStatsRecord Hit(int16_t id, int season_type, int16_t year, int16_t at_bats) {
  PlayerStatsRecord r = Line(id, season_type, year, 1);
  r.at_bats = at_bats;
  r.hits = 1;
  return r;
}

PlayerStatsRecord Pitch(int16_t id, int season_type, int16_t year, int16_t outs) {
  PlayerStatsRecord r = Line(id, season_type, year, 2);
  r.outs_pitched = outs;
  return r;
}

PlayerStatsRecord Filler() {
  PlayerStatsRecord r;
  r.record_status = 1;
  return r;
}

class PlayerBlockBuilderTest : public ::testing::Test {
 protected:
  // Builds the player's block from `records`; false when he gets none.
  bool Build(int32_t player_id) {
    stats_.emplace(LoadPlayerStats(
        RecordFile::FromBytes(testing::EncodeRecords(records), PlayerStatsRecord::kSize), report));
    PlayerBlockBuilder builder(*stats_, teams, births);
    const bool built = builder.Build(player_id, block);
    unknown_season_types = builder.unknown_season_types();
    return built;
  }
  const SectionLines& Of(Series s) { return block.section(s); }

  std::vector<PlayerStatsRecord> records;
  TeamAbbreviations teams;
  BirthDates births;
  SkipReport report;
  std::map<int, int64_t> unknown_season_types;
  PlayerBlock block;
  std::optional<PlayerStatsFile> stats_;
};

std::vector<int64_t> AtBats(const HittingGroup& group) {
  std::vector<int64_t> at_bats;
  for (const HittingLine& line : group.lines) at_bats.push_back(line.figures.counts.at_bats);
  return at_bats;
}

TEST_F(PlayerBlockBuilderTest, LinesFollowTheYearThenTheRecordNumberComparedAsText) {
  records.assign(1500, Filler());
  records[199] = Hit(3, 2, 1990, 200);   // record 200
  records[1499] = Hit(3, 2, 1990, 150);  // record 1500
  records[999] = Hit(3, 2, 1989, 100);   // record 1000
  records[4] = Hit(3, 2, 1991, 50);      // record 5
  records[5] = Hit(3, 7, 1989, 7);       // world series
  records[6] = Hit(3, 1, 1989, 1);       // season type 1: left out silently
  records[7] = Hit(3, 4, 1989, 1);       // an unplaced type: reported
  ASSERT_TRUE(Build(3));
  EXPECT_EQ(block.player_id, 3);
  EXPECT_EQ(AtBats(Of(Series::kRegularSeason).hitting), (std::vector<int64_t>{100, 150, 200, 50}));
  EXPECT_EQ(AtBats(Of(Series::kWorldSeries).hitting), (std::vector<int64_t>{7}));
  EXPECT_TRUE(Of(Series::kDivisionSeries).kinds.empty());
  EXPECT_TRUE(Of(Series::kLeagueChampionshipSeries).kinds.empty());
  EXPECT_EQ(unknown_season_types, (std::map<int, int64_t>{{4, 1}}));
}

TEST_F(PlayerBlockBuilderTest, EachKindHasItsOwnLinesAndTotalsInTheOrderOfItsFirstLine) {
  auto odd = [](int season_type, int16_t year) {
    PlayerStatsRecord r = Line(4, season_type, year, 3);
    r.at_bats = 99;
    r.outs_pitched = 99;
    return r;
  };
  // Regular season, in order: another kind, hitting 1990, pitching and
  // hitting 1991 (records 5 and 6), another kind, pitching 1992, another
  // kind. The division series holds only records of another kind.
  records = {odd(2, 1989),       Pitch(4, 2, 1992, 20), Hit(4, 2, 1990, 10),
             odd(2, 1993),       Pitch(4, 2, 1991, 7),  Hit(4, 2, 1991, 4),
             Hit(4, 6, 1991, 3), odd(2, 1991),          odd(5, 1991)};
  ASSERT_TRUE(Build(4));
  const SectionLines& regular = Of(Series::kRegularSeason);
  EXPECT_EQ(regular.kinds, (Kinds{kHitting, kPitching}));
  EXPECT_EQ(AtBats(regular.hitting), (std::vector<int64_t>{10, 4}));
  EXPECT_EQ(regular.hitting.totals.counts.at_bats, 14);
  EXPECT_EQ(regular.hitting.totals.rates.batting_average, 0.143);  // 2 / 14
  ASSERT_EQ(regular.pitching.lines.size(), 2u);
  EXPECT_EQ(regular.pitching.lines[0].year, 1991);
  EXPECT_EQ(regular.pitching.lines[0].figures.innings, 2.1);
  EXPECT_EQ(regular.pitching.totals.counts.outs, 27);
  EXPECT_EQ(regular.pitching.totals.innings, 9.0);
  const SectionLines& series = Of(Series::kLeagueChampionshipSeries);
  EXPECT_EQ(series.kinds, Kinds{kHitting});
  EXPECT_EQ(series.hitting.totals.counts.at_bats, 3);  // only this section's
  EXPECT_TRUE(Of(Series::kDivisionSeries).kinds.empty());

  // Pitching first, then hitting; the same player built again.
  records = {Hit(4, 2, 1991, 4), Pitch(4, 2, 1990, 7), Hit(4, 2, 1990, 5)};
  ASSERT_TRUE(Build(4));
  EXPECT_EQ(Of(Series::kRegularSeason).kinds, (Kinds{kPitching, kHitting}));
  EXPECT_EQ(AtBats(Of(Series::kRegularSeason).hitting), (std::vector<int64_t>{5, 4}));
  EXPECT_TRUE(Of(Series::kLeagueChampionshipSeries).kinds.empty());
}

TEST_F(PlayerBlockBuilderTest, NamesClubsAndAges) {
  teams.Set(1, "NY");
  teams.Set(2, "BOS");
  births.Set(12, CivilDate{1970, 12, 15});
  PlayerStatsRecord first = Line(12, 2, 1990, 1, 2);
  first.last_name = "O\\Neil";
  PlayerStatsRecord last = Line(12, 2, 1991, 2);
  last.last_name = "ONeil";
  PlayerStatsRecord post = Line(12, 5, 1991, 1);
  post.last_name = "O'Neil";
  records = {last, post, first};
  ASSERT_TRUE(Build(12));
  EXPECT_EQ(block.name, "O\\Neil,Jo");
  EXPECT_EQ(block.summary_name, "ONeil,Jo");
  const SectionLines& regular = Of(Series::kRegularSeason);
  EXPECT_EQ(regular.hitting.lines[0].club, "BOS");
  EXPECT_EQ(regular.hitting.lines[0].age, 20);
  EXPECT_EQ(regular.pitching.lines[0].club, "NY");
  EXPECT_EQ(regular.pitching.lines[0].age, 21);

  // Without a stored birth date: the year less 1899.
  records = {Line(13, 2, 1998, 1)};
  ASSERT_TRUE(Build(13));
  EXPECT_EQ(Of(Series::kRegularSeason).hitting.lines[0].age, 99);
  EXPECT_EQ(Of(Series::kRegularSeason).hitting.lines[0].club, "NY");
}

TEST_F(PlayerBlockBuilderTest, APlayerWithoutARegularSeasonGetsNoBlock) {
  records = {Hit(1, 5, 1990, 4), Hit(1, 7, 1990, 4), Hit(1, 1, 1990, 4), Hit(2, 2, 1990, 4)};
  EXPECT_FALSE(Build(1));
  EXPECT_FALSE(Build(99));  // no records at all
  EXPECT_TRUE(Build(2));
}

}  // namespace
}  // namespace statcrane
