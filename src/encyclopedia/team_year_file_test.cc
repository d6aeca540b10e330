#include "encyclopedia/team_year_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testing/record_files.h"
#include "testing/temp_dir.h"
#include "util/error.h"
#include "util/run_report.h"

namespace statcrane {
namespace {

using testing::TempDir;
using testing::WriteRecords;

TeamYearRecord Season(int team, int year, std::string name1, std::string name2, int status = 0) {
  TeamYearRecord r;
  r.RecordStatus = static_cast<int16_t>(status);
  r.TeamId = static_cast<int16_t>(team);
  r.Year = static_cast<int16_t>(year);
  r.TeamName1 = std::move(name1);
  r.TeamName2 = std::move(name2);
  r.LeagueId = 1;
  r.Reg.Won = 90;
  r.Reg.Lost = 72;
  return r;
}

TeamYearFile Read(const std::vector<TeamYearRecord>& records, RunReport& report) {
  TempDir dir;
  WriteRecords(dir / "EncTmYr.dat", records);
  return TeamYearFile::Read(EncyclopediaFolder(dir.path()), report);
}

TEST(TeamYearFileTest, RecordNumbersCountSkippedRecords) {
  TeamYearRecord first = Season(1, 1990, "Boston", "Reds");
  TeamYearRecord deleted = Season(2, 1990, "Gone", "Team", /*status=*/1);
  TeamYearRecord yearless = Season(3, 0, "No", "Year");
  TeamYearRecord third = Season(4, 1990, "New York", "Blues");
  third.LCS.Lost = 3;  // losses alone make a post-season
  TeamYearRecord fourth = Season(5, 1991, "Chicago", "Greys");
  fourth.WS.Won = 1;
  RunReport report;
  const TeamYearFile file = Read({first, deleted, yearless, third, fourth}, report);
  ASSERT_EQ(file.Seasons().size(), 3u);
  EXPECT_EQ(file.Seasons()[0].RecordNumber, 1);
  EXPECT_EQ(file.Seasons()[0].PostSeasonRecordNo, 0);
  EXPECT_EQ(file.Seasons()[1].RecordNumber, 4);
  EXPECT_EQ(file.Seasons()[1].PostSeasonRecordNo, 4);
  EXPECT_EQ(file.Seasons()[2].PostSeasonRecordNo, 5);
  EXPECT_EQ(file.Seasons()[1].DisplayName, "New York Blues");
  EXPECT_EQ(file.Seasons()[1].Reg.Won, 90);
  EXPECT_EQ(report.files["enctmyr.dat"].skipped["record status not 0"], 1);
  EXPECT_EQ(report.files["enctmyr.dat"].skipped["year below 1"], 1);

  // Reading by number reaches every record, skipped or not.
  EXPECT_EQ(file.RecordCount(), 5);
  EXPECT_EQ(file.Record(2).TeamName1, "Gone");
  EXPECT_EQ(file.Record(4).LCS.Lost, 3);
  EXPECT_THROW(file.Record(0), StatCraneError);
  EXPECT_THROW(file.Record(6), StatCraneError);
}

TEST(TeamYearFileTest, TeamNamesComeFromTheLastUsedRecordOfATeam) {
  RunReport report;
  const TeamYearFile file =
      Read({Season(7, 1990, "Old", "Name"), Season(7, 1985, "Twenty characters ab", "X"),
            Season(7, 1999, "Deleted", "Name", 1), Season(8, 1990, "", "")},
           report);
  EXPECT_EQ(file.TeamNames()[7], "Twenty characters ab X");
  EXPECT_EQ(file.TeamNames()[8], " ");
  EXPECT_EQ(file.TeamNames()[9], "");
}

TEST(TeamYearFileTest, IdsOutsideTheTablesAreSkippedAndReported) {
  TeamYearRecord big_team = Season(10000, 1990, "Big", "Team");
  TeamYearRecord negative_team = Season(-2, 1990, "Neg", "Team");
  TeamYearRecord big_league = Season(3, 1990, "Big", "League");
  big_league.LeagueId = 10000;
  TeamYearRecord good = Season(4, 1990, "Good", "Team");
  RunReport report;
  const TeamYearFile file = Read({big_team, negative_team, big_league, good}, report);
  ASSERT_EQ(file.Seasons().size(), 1u);
  EXPECT_EQ(file.Seasons()[0].RecordNumber, 4);
  EXPECT_EQ(report.files["enctmyr.dat"].skipped["team id outside 0 to 9999"], 2);
  EXPECT_EQ(report.files["enctmyr.dat"].skipped["league id outside 0 to 9999"], 1);
}

}  // namespace
}  // namespace statcrane
