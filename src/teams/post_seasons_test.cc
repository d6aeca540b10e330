#include "teams/post_seasons.h"

#include <gtest/gtest.h>

#include <vector>

#include "teams/team_phase.h"
#include "teams/team_test_support.h"

namespace statcrane {
namespace {

using namespace team_testing;

TeamYearRecord WithPostSeason(TeamYearRecord r, TeamStatBlock dcs, TeamStatBlock lcs,
                              TeamStatBlock ws) {
  r.division_series = dcs;
  r.league_championship_series = lcs;
  r.world_series = ws;
  return r;
}

class PostSeasonsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RunReport report;
    const LeagueFiles leagues =
        LoadLeagueFiles(Records(std::vector<LeagueRecord>{League(1, "AL"), League(2, "NL")}),
                        Records(std::vector<LeagueYearRecord>{}), report);
    const TeamYearFile team_years(
        Records(std::vector<TeamYearRecord>{
            WithPostSeason(TeamYear(10, 1990, 1, "Boston", "Reds", Stats(90, 72)),
                           Stats(3, 1, 20, 10, 1, 2, 30), Stats(4, 3, 30, 25, 0, 3, 50),
                           Stats(0, 0)),
            TeamYear(10, 1991, 1, "Boston", "Reds", Stats(80, 82)),
            WithPostSeason(TeamYear(10, 1992, 2, "Boston", "Reds", Stats(95, 67)),
                           Stats(2, 3, 15, 18, 0, 1, 12), Stats(0, 0),
                           Stats(4, 2, 25, 20, 2, 4, 33)),
            WithPostSeason(TeamYear(20, 1990, 2, "Chicago", "Greys", Stats(85, 77)), Stats(0, 0),
                           Stats(1, 2, 8, 9, 0, 1, 14), Stats(0, 4, 6, 19, 0, 2, 28)),
            TeamYear(30, 1990, 1, "Detroit", "Tigers", Stats(70, 92)),
        }),
        report);
    TeamAbbreviations team_abbreviations;
    team_abbreviations.Set(10, "BOS");
    team_abbreviations.Set(20, "CHI");
    team_abbreviations.Set(30, "DET");
    ProgressObserver progress;
    result = Do_Teams(leagues, team_years, team_abbreviations, *workbook, progress);
  }
  const Worksheet& records() const { return workbook->Sheet(kTeamRecords); }

  std::unique_ptr<Workbook> workbook = TeamWorkbook();
  TeamPhaseResult result;
};

TEST_F(PostSeasonsTest, SeriesRowsFollowTheRegularSeasonTotals) {
  const Worksheet& s = records();
  // Regular season: rows 3 to 5, totals on 6. Division series from row 7.
  EXPECT_EQ(Value(s, "E6"), "265");
  EXPECT_EQ(RowValues(s, 'A', 'N', 7), "Divisional Championship|||1990|3|1|0.75|||20|10|1|2|30");
  EXPECT_EQ(Format(s, "G7"), "#.000");
  EXPECT_TRUE(HasMerge(s, "A7:C7"));
  EXPECT_EQ(Fill(s, "A7"), 38);  // the league of the season on the title's row
  EXPECT_EQ(Fill(s, "C7"), 38);
  EXPECT_EQ(Fill(s, "D7"), kNoFill);
  EXPECT_TRUE(At(s, "A7").style->bold);
  EXPECT_EQ(At(s, "A7").style->font_size, 10);
  EXPECT_EQ(RowValues(s, 'A', 'N', 8), "|||1992|2|3|0.400000006|||15|18|0|1|12");
  EXPECT_EQ(RowValues(s, 'A', 'N', 9), "||||5|4|0.5559999943|||35|28|1|3|42");
  EXPECT_EQ(Format(s, "G9"), "#.000");
  // League championship: only the 1990 season played.
  EXPECT_EQ(RowValues(s, 'A', 'N', 10), "League Championship|||1990|4|3|0.57099998|||30|25|0|3|50");
  EXPECT_EQ(RowValues(s, 'A', 'N', 11), "||||4|3|0.57099998|||30|25|0|3|50");
  // World series: only 1992, whose row carries the title in its league's colour.
  EXPECT_EQ(RowValues(s, 'A', 'G', 12), "World Series|||1992|4|2|0.6669999957");
  EXPECT_EQ(Fill(s, "A12"), 37);
  EXPECT_EQ(RowValues(s, 'A', 'G', 13), "||||4|2|0.6669999957");
  // One blank row, then the next team.
  EXPECT_EQ(RowValues(s, 'A', 'N', 14), "|||||||||||||");
  EXPECT_EQ(Value(s, "A15"), "Chicago Greys");
  EXPECT_EQ(RowValues(s, 'A', 'G', 19), "League Championship|||1990|1|2|0.3330000043");
  EXPECT_EQ(Number(s, "G19"), Single(0.333));
  EXPECT_EQ(RowValues(s, 'A', 'G', 21), "World Series|||1990|0|4|0");
  EXPECT_EQ(RowValues(s, 'A', 'G', 22), "||||0|4|0");
  // A team without post-season games has none of these rows.
  EXPECT_EQ(Value(s, "A24"), "Detroit Tigers");
  EXPECT_EQ(RowValues(s, 'D', 'F', 26), "1990|70|92");
  EXPECT_EQ(s.LastRow(), 27);
}

TEST_F(PostSeasonsTest, SeriesBorders) {
  const Worksheet& s = records();
  // Division series rows: the top of D on every season row.
  for (const char* cell : {"A7", "B7", "C7", "D7", "D8"}) {
    EXPECT_EQ(Sides(s, cell), "m m m m") << cell;
  }
  for (const char* cell : {"E7", "G7", "J7", "N7", "E8", "G8", "N8"}) {
    EXPECT_EQ(Sides(s, cell), "- m m m") << cell;
  }
  for (const char* cell : {"A8", "H7", "I7", "H8"}) EXPECT_EQ(Sides(s, cell), "- - - -") << cell;
  // Division series totals: red sides and bottoms, no top.
  for (const char* cell : {"E9", "G9", "J9", "N9"}) {
    EXPECT_EQ(Sides(s, cell), "- mr mr mr") << cell;
  }
  for (const char* cell : {"D9", "H9"}) EXPECT_EQ(Sides(s, cell), "- - - -") << cell;
  // League championship: the title's top reaches over D; the totals row
  // draws the top of D.
  EXPECT_EQ(Sides(s, "D10"), "m m m m");
  EXPECT_EQ(Sides(s, "E10"), "- m m m");
  EXPECT_EQ(Sides(s, "D11"), "m - - -");
  EXPECT_EQ(Sides(s, "E11"), "- mr mr mr");
  EXPECT_EQ(Sides(s, "D13"), "m - - -");
  EXPECT_EQ(Sides(s, "M13"), "- mr mr mr");
}

TEST_F(PostSeasonsTest, SummarySheetLinesAndCounters) {
  EXPECT_EQ(result.DcsTotalsRow, 2);
  EXPECT_EQ(result.LcsTotalsRow, 3);
  EXPECT_EQ(result.WsTotalsRow, 3);
  const Worksheet& dcs = workbook->Sheet(kTeamDCSTotals);
  EXPECT_EQ(RowValues(dcs, 'A', 'M', 1), "|||Team|Won|Lost|PCT|Scored|Allowed|SHO|GDP|LOB|");
  EXPECT_EQ(Fill(dcs, "D1"), kFillSummaryHeader);
  EXPECT_EQ(Sides(dcs, "D1"), "- m m m");
  EXPECT_EQ(Sides(dcs, "L1"), "- m m m");
  EXPECT_EQ(RowValues(dcs, 'A', 'M', 2), "|||Boston Reds|5|4|0.5559999943|35|28|1|3|42|");
  EXPECT_EQ(Format(dcs, "G2"), "#.000");
  EXPECT_EQ(Sides(dcs, "H2"), "- m m m");
  EXPECT_EQ(dcs.LastRow(), 2);
  // Every line takes the colour of the block's last post-season season:
  // Boston's 1992 season in league 2, also on the championship line that its
  // 1990 season (league 1) earned.
  EXPECT_EQ(Fill(dcs, "D2"), 37);
  const Worksheet& lcs = workbook->Sheet(kTeamLCSTotals);
  EXPECT_EQ(RowValues(lcs, 'D', 'G', 2), "Boston Reds|4|3|0.57099998");
  EXPECT_EQ(Fill(lcs, "L2"), 37);
  EXPECT_EQ(RowValues(lcs, 'D', 'G', 3), "Chicago Greys|1|2|0.3330000043");
  const Worksheet& ws = workbook->Sheet(kTeamWSTotals);
  EXPECT_EQ(RowValues(ws, 'D', 'L', 3), "Chicago Greys|0|4|0|6|19|0|2|28");
  EXPECT_GT(ws.ColumnWidth(ColumnNumber("D")), 0);
  EXPECT_EQ(ws.ColumnWidth(ColumnNumber("C")), 0);
  EXPECT_EQ(workbook->ActiveSheet().name(), kTeamRegTotals);
}

TEST(PostSeasonsAloneTest, NoPostSeasonAnywhereLeavesTheCountersAtOne) {
  RunReport report;
  const LeagueFiles leagues;
  const TeamYearFile team_years(
      Records(std::vector<TeamYearRecord>{TeamYear(1, 1990, 1, "A", "B", Stats(1, 2))}), report);
  auto workbook = TeamWorkbook();
  ProgressObserver progress;
  const TeamPhaseResult result =
      Do_Teams(leagues, team_years, TeamAbbreviations(), *workbook, progress);
  EXPECT_EQ(result.DcsTotalsRow, 1);
  EXPECT_EQ(result.LcsTotalsRow, 1);
  EXPECT_EQ(result.WsTotalsRow, 1);
  EXPECT_EQ(workbook->Sheet(kTeamWSTotals).LastRow(), 0);
}

}  // namespace
}  // namespace statcrane
