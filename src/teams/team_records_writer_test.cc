#include "teams/team_records_writer.h"

#include <gtest/gtest.h>

#include <vector>

#include "teams/team_test_support.h"
#include "util/error.h"

namespace statcrane {
namespace {

using namespace team_testing;

class TeamRecordsTest : public ::testing::Test {
 protected:
  TeamPhaseResult Run(const std::vector<TeamYearRecord>& seasons) {
    return RunTeams(*workbook, seasons);
  }
  const Worksheet& records() const { return workbook->records(); }

  std::unique_ptr<TeamBook> workbook = TeamWorkbook();
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
    EXPECT_EQ(Fill(s, cell), kFirstLeagueFill) << cell;
    EXPECT_EQ(Sides(s, cell), "m m m m") << cell;
  }
  EXPECT_EQ(Sides(s, "D1"), "- - - -");
  EXPECT_EQ(RowValues(s, 'A', 'N', 2),
            "League|Division||Year|Won|Lost|Pct|GB|Finish|Scored|Allowed|SHO|GDP|LOB");
  for (char c = 'A'; c <= 'N'; ++c) {
    const std::string cell = std::string(1, c) + "2";
    EXPECT_EQ(Fill(s, cell), kFirstLeagueFill) << cell;
    EXPECT_EQ(Sides(s, cell), "m m m m") << cell;
    EXPECT_TRUE(At(s, cell).style->bold) << cell;
  }

  // Season rows in year order; the league name is the league's last one.
  EXPECT_EQ(RowValues(s, 'A', 'N', 3),
            "American League|East|Boston Pilgrims|1990|81|81|0.5|4|2nd|700|690|9|120|1100");
  EXPECT_EQ(RowValues(s, 'A', 'F', 4), "American League|East|Boston Reds|1991|95|67");
  EXPECT_EQ(Number(s, "G4"), 0.586);
  EXPECT_EQ(RowValues(s, 'H', 'N', 4), "0|1st|810|600|15|100|1000");
  EXPECT_EQ(Format(s, "G3"), "#.000");
  EXPECT_EQ(Fill(s, "A3"), std::nullopt);
  EXPECT_EQ(Sides(s, "A3"), "m m m -");
  EXPECT_EQ(Sides(s, "G3"), "m m m -");
  EXPECT_EQ(Sides(s, "N4"), "- m m m");

  // Totals row.
  EXPECT_EQ(RowValues(s, 'A', 'F', 5), "||||176|148");
  EXPECT_EQ(Number(s, "G5"), 0.543);
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
  EXPECT_EQ(RowValues(s, 'B', 'I', 9), "East|Chicago Greys|1990|85|77|0.525|0|1st");
  EXPECT_EQ(RowValues(s, 'B', 'I', 10), "West|Chicago Greys|1991|90|72|0.556|0|1st");
  EXPECT_EQ(Value(s, "E11"), "175");

  // A league without a colour: no fill. A single season: framed alone.
  EXPECT_EQ(Value(s, "A13"), "Detroit Tigers");
  EXPECT_EQ(Fill(s, "A13"), std::nullopt);
  EXPECT_EQ(Fill(s, "N14"), std::nullopt);
  EXPECT_EQ(Sides(s, "A14"), "m m m m");
  EXPECT_EQ(RowValues(s, 'A', 'I', 15), "Federal|East|Detroit Tigers|1990|70|92|0.432|0|1st");
  for (const char* cell : {"A15", "H15", "N15"}) EXPECT_EQ(Sides(s, cell), "m m m m") << cell;
  EXPECT_EQ(RowValues(s, 'E', 'N', 16), "70|92|0.432|||600|700|5|130|1200");
  EXPECT_EQ(s.LastRow().number(), 16);
  EXPECT_EQ(workbook->series_totals(0).LastRow().number(), 0);
}

TEST_F(TeamRecordsTest, SameTeamAndYearTwiceIsOneMoreSeasonRow) {
  Run({TeamYear(10, 1990, 1, "Boston", "Reds", Stats(81, 81)),
       TeamYear(10, 1990, 1, "Boston", "Reds", Stats(80, 82)),
       TeamYear(20, 1990, 1, "Chicago", "Greys", Stats(85, 77))});
  const Worksheet& s = records();
  EXPECT_EQ(Value(s, "A1"), "Boston Reds");
  // Ordered by the rest of their standings lines: 80 wins before 81.
  EXPECT_EQ(RowValues(s, 'D', 'I', 3), "1990|80|82|0.494|5|3rd");
  EXPECT_EQ(RowValues(s, 'D', 'I', 4), "1990|81|81|0.5|4|2nd");
  EXPECT_EQ(RowValues(s, 'D', 'F', 5), "|161|163");
  EXPECT_EQ(Sides(s, "A4"), "- m m m");
  EXPECT_EQ(Value(s, "A7"), "Chicago Greys");
}

TEST_F(TeamRecordsTest, SeriesRowsFollowTheRegularSeasonTotals) {
  Run(PostSeasonExample());
  const Worksheet& s = records();
  // Regular season: rows 3 to 5, totals on 6. Division series from row 7.
  EXPECT_EQ(Value(s, "E6"), "265");
  EXPECT_EQ(RowValues(s, 'A', 'N', 7), "Divisional Championship|||1990|3|1|0.75|||20|10|1|2|30");
  EXPECT_EQ(Format(s, "G7"), "#.000");
  EXPECT_TRUE(HasMerge(s, "A7:C7"));
  EXPECT_EQ(Fill(s, "A7"), kFirstLeagueFill);  // the league of the season on the title's row
  EXPECT_EQ(Fill(s, "C7"), kFirstLeagueFill);
  EXPECT_EQ(Fill(s, "D7"), std::nullopt);
  EXPECT_TRUE(At(s, "A7").style->bold);
  EXPECT_EQ(At(s, "A7").style->font_size, 10);
  EXPECT_EQ(RowValues(s, 'A', 'N', 8), "|||1992|2|3|0.4|||15|18|0|1|12");
  EXPECT_EQ(RowValues(s, 'A', 'N', 9), "||||5|4|0.556|||35|28|1|3|42");
  EXPECT_EQ(Format(s, "G9"), "#.000");
  // League championship: only the 1990 season played.
  EXPECT_EQ(RowValues(s, 'A', 'N', 10), "League Championship|||1990|4|3|0.571|||30|25|0|3|50");
  EXPECT_EQ(RowValues(s, 'A', 'N', 11), "||||4|3|0.571|||30|25|0|3|50");
  // World series: only 1992, whose row carries the title in its league's colour.
  EXPECT_EQ(RowValues(s, 'A', 'G', 12), "World Series|||1992|4|2|0.667");
  EXPECT_EQ(Fill(s, "A12"), kSecondLeagueFill);
  EXPECT_EQ(RowValues(s, 'A', 'G', 13), "||||4|2|0.667");
  // One blank row, then the next team.
  EXPECT_EQ(RowValues(s, 'A', 'N', 14), "|||||||||||||");
  EXPECT_EQ(Value(s, "A15"), "Chicago Greys");
  EXPECT_EQ(RowValues(s, 'A', 'G', 19), "League Championship|||1990|1|2|0.333");
  EXPECT_EQ(Number(s, "G19"), 0.333);
  EXPECT_EQ(RowValues(s, 'A', 'G', 21), "World Series|||1990|0|4|0");
  EXPECT_EQ(RowValues(s, 'A', 'G', 22), "||||0|4|0");
  // A team without post-season games has none of these rows.
  EXPECT_EQ(Value(s, "A24"), "Detroit Tigers");
  EXPECT_EQ(RowValues(s, 'D', 'F', 26), "1990|70|92");
  EXPECT_EQ(s.LastRow().number(), 27);
}

TEST_F(TeamRecordsTest, SeriesBorders) {
  Run(PostSeasonExample());
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

TEST(TeamRecordsWriterTest, BlocksFollowEachOtherAndAnErrorNamesTheSheetAndTheTeam) {
  Worksheet sheet("Team Records");
  TeamRecordsWriter writer(sheet);
  TeamBlock block;
  block.team_id = 7;
  block.team_name = "Kansas City Blues";
  block.seasons.resize(2);
  EXPECT_EQ(writer.Write(block),
            (RowSpan{Row(1), Row(5)}));  // title, headings, two seasons, totals
  EXPECT_EQ(writer.last_row().number(), 5);
  EXPECT_EQ(writer.Write(block), (RowSpan{Row(7), Row(11)}));
  EXPECT_EQ(Value(sheet, "A7"), "Kansas City Blues");
  EXPECT_EQ(writer.last_row().number(), 11);
  // Each block's rows are kept together on a printed page.
  EXPECT_EQ(sheet.kept_together(), (std::vector<RowSpan>{{Row(1), Row(5)}, {Row(7), Row(11)}}));

  block.team_name = std::string(40000, 'x');  // longer than a cell holds
  try {
    writer.Write(block);
    FAIL() << "no error";
  } catch (const SheetError& error) {
    EXPECT_EQ(error.sheet(), "Team Records");
    EXPECT_EQ(error.cause(), "a cell can hold at most 32,767 characters (A13)");
  }
}

}  // namespace
}  // namespace statcrane
