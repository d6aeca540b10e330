#include "teams/team_records.h"

#include <gtest/gtest.h>

#include <vector>

#include "teams/team_phase.h"
#include "teams/team_test_support.h"
#include "util/error.h"

namespace statcrane {
namespace {

using namespace team_testing;

class TeamRecordsTest : public ::testing::Test {
 protected:
  TeamPhaseResult Run(const std::vector<TeamYearRecord>& seasons) {
    RunReport report;
    const LeagueFiles leagues = LoadLeagueFiles(
        Records(std::vector<LeagueRecord>{League(1, "AL"), League(2, "NL"), League(3, "FL")}),
        Records(std::vector<LeagueYearRecord>{LeagueYear(1, 1990, "Old American", {10, 20}, {}),
                                              LeagueYear(3, 1990, "Federal", {30}, {}),
                                              LeagueYear(1, 1991, "American League", {10}, {20})}),
        report);
    const TeamYearFile team_years(Records(seasons), report);
    team_abbreviations.Set(10, "BOS");
    team_abbreviations.Set(20, "CHI");
    team_abbreviations.Set(30, "DET");
    return Do_Teams(leagues, team_years, team_abbreviations, *workbook, progress);
  }
  const Worksheet& records() const { return workbook->Sheet(kTeamRecords); }
  const Worksheet& reg_totals() const { return workbook->Sheet(kTeamRegTotals); }

  TeamAbbreviations team_abbreviations;
  std::unique_ptr<Workbook> workbook = TeamWorkbook();
  ProgressObserver progress;
};

TEST_F(TeamRecordsTest, BlocksCellByCell) {
  const TeamPhaseResult result = Run({
      TeamYear(10, 1990, 1, "Boston", "Pilgrims", Stats(81, 81, 700, 690, 9, 120, 1100)),
      TeamYear(20, 1990, 1, "Chicago", "Greys", Stats(85, 77, 720, 650, 12, 110, 1050)),
      TeamYear(10, 1991, 1, "Boston", "Reds", Stats(95, 67, 810, 600, 15, 100, 1000)),
      TeamYear(30, 1990, 3, "Detroit", "Tigers", Stats(70, 92, 600, 700, 5, 130, 1200)),
      TeamYear(20, 1991, 1, "Chicago", "Greys", Stats(90, 72, 750, 640, 11, 105, 1010)),
  });
  EXPECT_EQ(result.teams_written, 3);
  const Worksheet& s = records();

  // First block from row 1: the title carries the team's last name.
  EXPECT_EQ(RowValues(s, 'A', 'N', 1), "Boston Reds|||||||||||||");
  EXPECT_TRUE(HasMerge(s, "A1:C1"));
  EXPECT_TRUE(At(s, "A1").style->bold);
  EXPECT_EQ(At(s, "A1").style->font_size, 12);
  for (const char* cell : {"A1", "B1", "C1"}) {
    EXPECT_EQ(Fill(s, cell), 38) << cell;
    EXPECT_EQ(Sides(s, cell), "m m m m") << cell;
  }
  EXPECT_EQ(Sides(s, "D1"), "- - - -");
  EXPECT_EQ(RowValues(s, 'A', 'N', 2),
            "League|Division||Year|Won|Lost|Pct|GB|Finish|Scored|Allowed|SHO|GDP|LOB");
  for (char c = 'A'; c <= 'N'; ++c) {
    const std::string cell = std::string(1, c) + "2";
    EXPECT_EQ(Fill(s, cell), 38) << cell;
    EXPECT_EQ(Sides(s, cell), "m m m m") << cell;
    EXPECT_TRUE(At(s, cell).style->bold) << cell;
  }

  // Season rows in year order; the league name is the league's last one.
  EXPECT_EQ(RowValues(s, 'A', 'N', 3),
            "American League|East|Boston Pilgrims|1990|81|81|0.5|4|2nd|700|690|9|120|1100");
  EXPECT_EQ(RowValues(s, 'A', 'F', 4), "American League|East|Boston Reds|1991|95|67");
  EXPECT_EQ(Number(s, "G4"), Single(0.586));
  EXPECT_EQ(RowValues(s, 'H', 'N', 4), "0|1st|810|600|15|100|1000");
  EXPECT_EQ(Format(s, "G3"), "#.000");
  EXPECT_EQ(Fill(s, "A3"), kNoFill);
  EXPECT_EQ(Sides(s, "A3"), "m m m -");
  EXPECT_EQ(Sides(s, "G3"), "m m m -");
  EXPECT_EQ(Sides(s, "N4"), "- m m m");

  // Totals row.
  EXPECT_EQ(RowValues(s, 'A', 'F', 5), "||||176|148");
  EXPECT_EQ(Number(s, "G5"), Single(0.543));
  EXPECT_EQ(Format(s, "G5"), "#.000");
  EXPECT_EQ(RowValues(s, 'H', 'N', 5), "||1510|1290|24|220|2100");
  for (const char* cell : {"E5", "F5", "G5", "J5", "K5", "L5", "M5", "N5"}) {
    EXPECT_EQ(Sides(s, cell), "m mr mr mr") << cell;
  }
  for (const char* cell : {"A5", "D5", "H5", "I5"}) EXPECT_EQ(Sides(s, cell), "- - - -") << cell;

  // One blank row, then the next block.
  EXPECT_EQ(RowValues(s, 'A', 'N', 6), "|||||||||||||");
  EXPECT_EQ(Value(s, "A7"), "Chicago Greys");
  EXPECT_TRUE(HasMerge(s, "A7:C7"));
  EXPECT_EQ(Value(s, "A8"), "League");
  EXPECT_EQ(RowValues(s, 'B', 'I', 9), "East|Chicago Greys|1990|85|77|0.5249999762|0|1st");
  EXPECT_EQ(RowValues(s, 'B', 'I', 10), "West|Chicago Greys|1991|90|72|0.5559999943|0|1st");
  EXPECT_EQ(Value(s, "E11"), "175");

  // A league without a colour: no fill. A single season: framed alone.
  EXPECT_EQ(Value(s, "A13"), "Detroit Tigers");
  EXPECT_EQ(Fill(s, "A13"), kNoFill);
  EXPECT_EQ(Fill(s, "N14"), kNoFill);
  EXPECT_EQ(Sides(s, "A14"), "m m m m");
  EXPECT_EQ(RowValues(s, 'A', 'I', 15),
            "Federal|East|Detroit Tigers|1990|70|92|0.4320000112|0|1st");
  for (const char* cell : {"A15", "H15", "N15"}) EXPECT_EQ(Sides(s, cell), "m m m m") << cell;
  EXPECT_EQ(RowValues(s, 'E', 'N', 16), "70|92|0.4320000112|||600|700|5|130|1200");
  EXPECT_EQ(s.LastRow(), 16);
  EXPECT_GT(s.ColumnWidth(ColumnNumber("C")), 0);
  EXPECT_EQ(result.DcsTotalsRow, 1);
}

TEST_F(TeamRecordsTest, TeamRegTotalsRowsColoursAndFinalBorders) {
  Run({TeamYear(30, 1990, 3, "Detroit", "Tigers", Stats(70, 92, 600, 700, 5, 130, 1200)),
       TeamYear(10, 1990, 1, "Boston", "Pilgrims", Stats(81, 81, 700, 690, 9, 120, 1100)),
       TeamYear(10, 1991, 2, "Boston", "Reds", Stats(0, 0, 810, 600, 15, 100, 1000))});
  const Worksheet& s = reg_totals();
  EXPECT_EQ(RowValues(s, 'A', 'K', 1), "||Team|Won|Lost|Pct|Scored|Allowed|SHO|GDP|LOB");
  EXPECT_EQ(Fill(s, "C1"), kFillSummaryHeader);
  EXPECT_EQ(Fill(s, "K1"), kFillSummaryHeader);
  // The block's colour is that of its first season's league.
  EXPECT_EQ(RowValues(s, 'A', 'K', 2), "||Boston Reds|81|81|0.5|1510|1290|24|220|2100");
  EXPECT_EQ(Format(s, "F2"), "#.000");
  EXPECT_EQ(Fill(s, "C2"), 38);
  EXPECT_EQ(Fill(s, "K2"), 38);
  EXPECT_EQ(RowValues(s, 'C', 'F', 3), "Detroit Tigers|70|92|0.4320000112");
  EXPECT_EQ(Fill(s, "C3"), kNoFill);
  for (const char* cell : {"C1", "K1", "C2", "F2", "K3"}) {
    EXPECT_EQ(Sides(s, cell), "m m m m") << cell;
  }
  for (const char* cell : {"B2", "L2", "C4"}) EXPECT_EQ(Sides(s, cell), "- - - -") << cell;
  EXPECT_EQ(s.LastRow(), 3);
  EXPECT_GT(s.ColumnWidth(ColumnNumber("C")), 0);
  EXPECT_EQ(s.ColumnWidth(ColumnNumber("A")), 0);

  // A season of 0 wins and 0 losses shows Pct 0.
  EXPECT_EQ(Value(records(), "G4"), "0");
}

TEST_F(TeamRecordsTest, SameTeamAndYearTwiceIsOneMoreSeasonRow) {
  Run({TeamYear(10, 1990, 1, "Boston", "Reds", Stats(81, 81)),
       TeamYear(10, 1990, 1, "Boston", "Reds", Stats(80, 82)),
       TeamYear(20, 1990, 1, "Chicago", "Greys", Stats(85, 77))});
  const Worksheet& s = records();
  EXPECT_EQ(Value(s, "A1"), "Boston Reds");
  // Ordered by the rest of their standings lines: 80 wins before 81.
  EXPECT_EQ(RowValues(s, 'D', 'I', 3), "1990|80|82|0.4939999878|5|3rd");
  EXPECT_EQ(RowValues(s, 'D', 'I', 4), "1990|81|81|0.5|4|2nd");
  EXPECT_EQ(RowValues(s, 'D', 'F', 5), "|161|163");
  EXPECT_EQ(Sides(s, "A4"), "- m m m");
  EXPECT_EQ(Value(s, "A7"), "Chicago Greys");
}

TEST_F(TeamRecordsTest, NoUsedSeasonLeavesTheSheetsEmpty) {
  TeamYearRecord deleted = TeamYear(10, 1990, 1, "Boston", "Reds", Stats(81, 81));
  deleted.record_status = 1;
  const TeamPhaseResult result = Run({deleted});
  EXPECT_EQ(result.teams_written, 0);
  EXPECT_EQ(records().LastRow(), 0);
  EXPECT_EQ(reg_totals().LastRow(), 0);
  EXPECT_EQ(result.LcsTotalsRow, 1);
}

// Counts progress reports and asks to stop after the first block.
class StoppingProgress : public ProgressObserver {
 public:
  void PhaseProgress(std::string_view phase, int64_t done, int64_t total) override {
    EXPECT_EQ(phase, "teams");
    last_done = done;
    last_total = total;
  }
  bool StopRequested() const override { return last_done >= stop_after; }
  int64_t stop_after = 1000;
  int64_t last_done = 0;
  int64_t last_total = 0;
};

TEST_F(TeamRecordsTest, ProgressOncePerBlockAndStopBetweenBlocks) {
  const std::vector<TeamYearRecord> seasons = {
      TeamYear(10, 1990, 1, "Boston", "Reds", Stats(81, 81)),
      TeamYear(20, 1990, 1, "Chicago", "Greys", Stats(85, 77)),
      TeamYear(20, 1991, 1, "Chicago", "Greys", Stats(85, 77))};
  RunReport report;
  const LeagueFiles leagues;
  const TeamYearFile team_years(Records(seasons), report);
  StoppingProgress counting;
  Do_Teams(leagues, team_years, team_abbreviations, *workbook, counting);
  EXPECT_EQ(counting.last_done, 2);
  EXPECT_EQ(counting.last_total, 2);

  auto again = TeamWorkbook();
  StoppingProgress stopping;
  stopping.stop_after = 1;
  EXPECT_THROW(Do_Teams(leagues, team_years, team_abbreviations, *again, stopping), RunStopped);
  EXPECT_EQ(Value(again->Sheet(kTeamRecords), "A1"), "Boston Reds");
  EXPECT_EQ(Value(again->Sheet(kTeamRecords), "A7"), "");
}

}  // namespace
}  // namespace statcrane
