#include "encyclopedia/team_year_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testing/record_files.h"
#include "testing/temp_dir.h"
#include "util/error.h"
#include "util/skip_report.h"

namespace statcrane {
namespace {

using testing::TempDir;
using testing::WriteRecords;

TeamYearRecord Season(int team, int year, std::string name1, std::string name2, int status = 0) {
  TeamYearRecord r;
  r.record_status = static_cast<int16_t>(status);
  r.team_id = static_cast<int16_t>(team);
  r.year = static_cast<int16_t>(year);
  r.name_part_1 = std::move(name1);
  r.name_part_2 = std::move(name2);
  r.league_id = 1;
  r.regular_season.won = 90;
  r.regular_season.lost = 72;
  return r;
}

TeamYearFile Read(const std::vector<TeamYearRecord>& records, SkipReport& report) {
  TempDir dir;
  WriteRecords(dir / "EncTmYr.dat", records);
  return LoadTeamYears(EncyclopediaFolder(dir.path()), report);
}

TEST(TeamYearFileTest, RecordNumbersCountSkippedRecords) {
  TeamYearRecord first = Season(1, 1990, "Boston", "Reds");
  TeamYearRecord deleted = Season(2, 1990, "Gone", "Team", /*status=*/1);
  TeamYearRecord yearless = Season(3, 0, "No", "Year");
  TeamYearRecord third = Season(4, 1990, "New York", "Blues");
  third.league_championship_series.lost = 3;  // losses alone make a post-season
  TeamYearRecord fourth = Season(5, 1991, "Chicago", "Greys");
  fourth.world_series.won = 1;
  SkipReport report;
  const TeamYearFile file = Read({first, deleted, yearless, third, fourth}, report);
  ASSERT_EQ(file.Seasons().size(), 3u);
  EXPECT_EQ(file.Seasons()[0].record_number, 1);
  EXPECT_EQ(file.Seasons()[0].post_season_record_number, 0);
  EXPECT_EQ(file.Seasons()[1].record_number, 4);
  EXPECT_EQ(file.Seasons()[1].post_season_record_number, 4);
  EXPECT_EQ(file.Seasons()[2].post_season_record_number, 5);
  EXPECT_EQ(file.Seasons()[1].display_name, "New York Blues");
  EXPECT_EQ(file.Seasons()[1].regular_season.won, 90);
  EXPECT_EQ(report.files["enctmyr.dat"].skipped["deleted records"], 1);
  EXPECT_EQ(report.files["enctmyr.dat"].skipped["records with a year before 1"], 1);

  // Reading by number reaches every record, skipped or not.
  EXPECT_EQ(file.record_count(), 5);
  EXPECT_EQ(file.Record(2).name_part_1, "Gone");
  EXPECT_EQ(file.Record(4).league_championship_series.lost, 3);
  EXPECT_THROW(file.Record(0), StatCraneError);
  EXPECT_THROW(file.Record(6), StatCraneError);
}

TEST(TeamYearFileTest, TeamNamesComeFromTheLastUsedRecordOfATeam) {
  SkipReport report;
  const TeamYearFile file =
      Read({Season(7, 1990, "Old", "Name"), Season(7, 1985, "Twenty characters ab", "X"),
            Season(7, 1999, "Deleted", "Name", 1), Season(8, 1990, "", "")},
           report);
  EXPECT_EQ(file.team_names()[7], "Twenty characters ab X");
  EXPECT_EQ(file.team_names()[8], " ");
  EXPECT_EQ(file.team_names()[9], "");
}

TEST(TeamYearFileTest, IdsOutsideTheTablesAreSkippedAndReported) {
  TeamYearRecord big_team = Season(10000, 1990, "Big", "Team");
  TeamYearRecord negative_team = Season(-2, 1990, "Neg", "Team");
  TeamYearRecord big_league = Season(3, 1990, "Big", "League");
  big_league.league_id = 10000;
  TeamYearRecord good = Season(4, 1990, "Good", "Team");
  SkipReport report;
  const TeamYearFile file = Read({big_team, negative_team, big_league, good}, report);
  ASSERT_EQ(file.Seasons().size(), 1u);
  EXPECT_EQ(file.Seasons()[0].record_number, 4);
  EXPECT_EQ(report.files["enctmyr.dat"].skipped["records with a team id outside 0 to 9999"], 2);
  EXPECT_EQ(report.files["enctmyr.dat"].skipped["records with a league id outside 0 to 9999"], 1);
}

}  // namespace
}  // namespace statcrane
