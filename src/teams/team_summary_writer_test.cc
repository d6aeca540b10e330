#include "teams/team_summary_writer.h"

#include <gtest/gtest.h>

#include <vector>

#include "teams/team_test_support.h"
#include "util/error.h"

namespace statcrane {
namespace {

using namespace team_testing;

class TeamSummaryTest : public ::testing::Test {
 protected:
  std::unique_ptr<TeamBook> workbook = TeamWorkbook();
};

TEST_F(TeamSummaryTest, TeamRegTotalsRowsColoursAndFinalFrame) {
  RunTeams(*workbook,
           {TeamYear(30, 1990, 3, "Detroit", "Tigers", Stats(70, 92, 600, 700, 5, 130, 1200)),
            TeamYear(10, 1990, 1, "Boston", "Pilgrims", Stats(81, 81, 700, 690, 9, 120, 1100)),
            TeamYear(10, 1991, 2, "Boston", "Reds", Stats(0, 0, 810, 600, 15, 100, 1000))});
  const Worksheet& s = workbook->season_totals();
  // The table once as the user reads it; the other sheets read the table.
  EXPECT_EQ(RowValues(s, 'A', 'K', 1), "||Team|Won|Lost|Pct|Scored|Allowed|SHO|GDP|LOB");
  EXPECT_EQ(RowValues(s, 'C', 'K', 1), JoinedHeadings(kTeamSummaryColumns));
  EXPECT_EQ(Fill(s, "C1"), kSummaryHeaderFill);
  EXPECT_EQ(Fill(s, "K1"), kSummaryHeaderFill);
  // The block's colour is that of its first season's league.
  EXPECT_EQ(RowValues(s, 'A', 'K', 2), "||Boston Reds|81|81|0.5|1510|1290|24|220|2100");
  EXPECT_EQ(Format(s, "F2"), "#.000");
  EXPECT_EQ(Fill(s, "C2"), kFirstLeagueFill);
  EXPECT_EQ(Fill(s, "K2"), kFirstLeagueFill);
  EXPECT_EQ(RowValues(s, 'C', 'F', 3), "Detroit Tigers|70|92|0.432");
  EXPECT_EQ(Fill(s, "C3"), std::nullopt);
  for (const char* cell : {"C1", "K1", "C2", "F2", "K3"}) {
    EXPECT_EQ(Sides(s, cell), "m m m m") << cell;
  }
  for (const char* cell : {"B2", "L2", "C4"}) EXPECT_EQ(Sides(s, cell), "- - - -") << cell;
  EXPECT_EQ(s.LastRow().number(), 3);

  // A season of 0 wins and 0 losses shows Pct 0.
  EXPECT_EQ(Value(workbook->records(), "G4"), "0");
}

TEST_F(TeamSummaryTest, SeriesSheetsLinesAndBorders) {
  RunTeams(*workbook, PostSeasonExample());
  EXPECT_EQ(workbook->series_totals(0).LastRow().number(), 2);
  EXPECT_EQ(workbook->series_totals(1).LastRow().number(), 3);
  EXPECT_EQ(workbook->series_totals(2).LastRow().number(), 3);
  const Worksheet& dcs = workbook->series_totals(0);
  EXPECT_EQ(RowValues(dcs, 'A', 'M', 1), "|||" + JoinedHeadings(kSeriesSummaryColumns) + "|");
  EXPECT_EQ(Fill(dcs, "D1"), kSummaryHeaderFill);
  EXPECT_EQ(Sides(dcs, "D1"), "- m m m");
  EXPECT_EQ(Sides(dcs, "L1"), "- m m m");
  EXPECT_EQ(RowValues(dcs, 'A', 'M', 2), "|||Boston Reds|5|4|0.556|35|28|1|3|42|");
  EXPECT_EQ(Format(dcs, "G2"), "#.000");
  EXPECT_EQ(Sides(dcs, "H2"), "- m m m");
  EXPECT_EQ(dcs.LastRow().number(), 2);
  // Every line takes the colour of the block's last post-season season:
  // Boston's 1992 season in league 2, also on the championship line that its
  // 1990 season (league 1) earned.
  EXPECT_EQ(Fill(dcs, "D2"), kSecondLeagueFill);
  const Worksheet& lcs = workbook->series_totals(1);
  EXPECT_EQ(RowValues(lcs, 'D', 'G', 2), "Boston Reds|4|3|0.571");
  EXPECT_EQ(Fill(lcs, "L2"), kSecondLeagueFill);
  EXPECT_EQ(RowValues(lcs, 'D', 'G', 3), "Chicago Greys|1|2|0.333");
  const Worksheet& ws = workbook->series_totals(2);
  EXPECT_EQ(RowValues(ws, 'D', 'L', 3), "Chicago Greys|0|4|0|6|19|0|2|28");
}

TEST_F(TeamSummaryTest, NoPostSeasonAnywhereLeavesTheSeriesSheetsEmpty) {
  RunTeams(*workbook, {TeamYear(10, 1990, 1, "A", "B", Stats(1, 2))});
  EXPECT_EQ(workbook->season_totals().LastRow().number(), 2);
  EXPECT_EQ(workbook->series_totals(0).LastRow().number(), 0);
  EXPECT_EQ(workbook->series_totals(1).LastRow().number(), 0);
  EXPECT_EQ(workbook->series_totals(2).LastRow().number(), 0);
}

TEST(TeamSummaryWriterTest, AnErrorNamesTheSheet) {
  Worksheet sheet("TeamLCSTotals");
  TeamSummaryWriter writer(sheet, kSeriesTotalsLayout);
  const std::string name(40000, 'x');  // longer than a cell holds
  try {
    writer.Write(TeamSummaryLine{name, TeamFigures{1, 2}, LeagueColour::kNone});
    FAIL() << "no error";
  } catch (const SheetError& error) {
    EXPECT_EQ(error.sheet(), "TeamLCSTotals");
  }
}

}  // namespace
}  // namespace statcrane
