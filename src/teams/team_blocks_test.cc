#include "teams/team_blocks.h"

#include <gtest/gtest.h>

#include <vector>

#include "teams/team_test_support.h"
#include "util/error.h"

namespace statcrane {
namespace {

using namespace team_testing;

class TeamBlocksTest : public ::testing::Test {
 protected:
  TeamBlocksTest()
      : leagues(LoadLeagueFiles(
            Records(std::vector<LeagueRecord>{League(1, "AL"), League(2, "NL"), League(3, "FL")}),
            Records(std::vector<LeagueYearRecord>{LeagueYear(1, 1990, "American", {10}, {30}),
                                                  LeagueYear(2, 1990, "National", {20}, {}),
                                                  LeagueYear(2, 1992, "National", {10}, {})}),
            report)),
        team_years(LoadTeamYears(Records(PostSeasonExample()), report)),
        standings(TeamStandings(team_years.Seasons(), TeamAbbreviations(), leagues.divisions)) {}

  std::vector<TeamBlock> Blocks() const {
    std::vector<TeamBlock> blocks;
    for (std::span<const SeasonStanding> seasons : SeasonsByTeam(standings)) {
      blocks.push_back(MakeTeamBlock(seasons, team_years, leagues));
    }
    return blocks;
  }

  SkipReport report;
  LeagueFiles leagues;
  TeamYearFile team_years;
  std::vector<SeasonStanding> standings;
};

TEST_F(TeamBlocksTest, SeasonsTotalsAndTheSeriesPlayed) {
  const std::vector<TeamBlock> blocks = Blocks();
  ASSERT_EQ(blocks.size(), 3u);
  const TeamBlock& boston = blocks[0];
  EXPECT_EQ(boston.team_id, 10);
  EXPECT_EQ(boston.team_name, "Boston Reds");
  EXPECT_EQ(boston.colour, LeagueColour::kFirstLeague);
  ASSERT_EQ(boston.seasons.size(), 3u);
  EXPECT_EQ(boston.seasons[0].league_name, "American");
  EXPECT_EQ(boston.seasons[0].division, "East");
  EXPECT_EQ(boston.seasons[1].year, 1991);
  EXPECT_EQ(boston.seasons[1].division, "");
  EXPECT_EQ(boston.seasons[2].league_name, "National");
  EXPECT_EQ(boston.totals, (TeamFigures{265, 221}));

  // Division series in 1990 and 1992, championship in 1990, world series in
  // 1992; each titled in the colour of its first season's league.
  ASSERT_EQ(boston.series.size(), 3u);
  const SeriesRecord& division = boston.series[0];
  EXPECT_EQ(division.series, Series::kDivisionSeries);
  EXPECT_EQ(division.first_season_colour, LeagueColour::kFirstLeague);
  ASSERT_EQ(division.seasons.size(), 2u);
  EXPECT_EQ(division.seasons[1].year, 1992);
  EXPECT_EQ(division.totals, (TeamFigures{5, 4, 35, 28, 1, 3, 42}));
  EXPECT_EQ(boston.series[1].seasons.size(), 1u);
  EXPECT_EQ(boston.series[2].series, Series::kWorldSeries);
  EXPECT_EQ(boston.series[2].first_season_colour, LeagueColour::kSecondLeague);

  // Summary lines: the regular season in the block's colour, every series in
  // the colour of the league of the last season with post-season games.
  EXPECT_EQ(SeasonTotalsLine(boston).colour, LeagueColour::kFirstLeague);
  EXPECT_EQ(SeasonTotalsLine(boston).figures.won, 265);
  const TeamSummaryLine championship = SeriesTotalsLine(boston, boston.series[1]);
  EXPECT_EQ(championship.team_name, "Boston Reds");
  EXPECT_EQ(championship.figures, (TeamFigures{4, 3, 30, 25, 0, 3, 50}));
  EXPECT_EQ(championship.colour, LeagueColour::kSecondLeague);

  // A series lost without a win is played; no post-season games: no series.
  ASSERT_EQ(blocks[1].series.size(), 2u);
  EXPECT_EQ(blocks[1].series[1].totals.lost, 4);
  EXPECT_TRUE(blocks[2].series.empty());
  EXPECT_EQ(blocks[2].post_season_colour, LeagueColour::kNone);
}

TEST_F(TeamBlocksTest, AMissingPostSeasonRecordNamesTheTeamAndTheRecord) {
  standings[0].post_season_record = 99;
  try {
    Blocks();
    FAIL() << "no error";
  } catch (const StatCraneError& error) {
    EXPECT_EQ(error.message(),
              "reading the post-season games of the team \"Boston Reds\" (team id 10): Record 99 "
              "of enctmyr.dat does not exist (the file has 5 records)");
  }
}

}  // namespace
}  // namespace statcrane
