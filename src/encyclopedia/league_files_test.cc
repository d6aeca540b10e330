#include "encyclopedia/league_files.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testing/record_files.h"
#include "testing/temp_dir.h"
#include "util/run_report.h"

namespace statcrane {
namespace {

using testing::TempDir;
using testing::WriteRecords;

LeagueRecord League(int id, std::string name, int use_mark = 1, int status = 0) {
  LeagueRecord l;
  l.RecordStatus = static_cast<int16_t>(status);
  l.LeagueId = static_cast<int16_t>(id);
  l.LeagueName = std::move(name);
  l.UseMark = static_cast<int16_t>(use_mark);
  return l;
}

// A league-year with every slot empty; the caller places teams.
LeagueYearRecord LeagueYear(int league, int year, std::string name,
                            std::array<std::string, 4> divisions, int status = 0) {
  LeagueYearRecord r;
  r.RecordStatus = static_cast<int16_t>(status);
  r.LeagueId = static_cast<int16_t>(league);
  r.Year = static_cast<int16_t>(year);
  r.LeagueName = std::move(name);
  r.DivisionName = std::move(divisions);
  for (auto& division : r.DivisionTeams) division.fill(-1);
  return r;
}

LeagueFiles Load(const std::vector<LeagueRecord>& leagues,
                 const std::vector<LeagueYearRecord>& years, RunReport& report) {
  TempDir dir;
  WriteRecords(dir / "ENCLEAG.DAT", leagues);
  WriteRecords(dir / "enclgyr.dat", years);
  return LoadLeagueFiles(EncyclopediaFolder(dir.path()), report);
}

LeagueFiles Load(const std::vector<LeagueRecord>& leagues,
                 const std::vector<LeagueYearRecord>& years) {
  RunReport report;
  return Load(leagues, years, report);
}

TEST(DivisionTableTest, NamedDivisionsGiveTheirTeamsTheirNames) {
  LeagueYearRecord east_west = LeagueYear(1, 1990, "American", {"East", "West", "", ""});
  east_west.DivisionTeams[0][0] = 0;  // team id 0 is a team
  east_west.DivisionTeams[0][1] = -1;
  east_west.DivisionTeams[0][2] = 7;
  east_west.DivisionTeams[1][15] = 12;
  east_west.DivisionTeams[2][0] = 30;  // division 2 has no name: no entry
  const LeagueFiles tables = Load({}, {east_west});
  EXPECT_EQ(tables.Divisions(0, 1990), "East");
  EXPECT_EQ(tables.Divisions(7, 1990), "East");
  EXPECT_EQ(tables.Divisions(12, 1990), "West");
  EXPECT_EQ(tables.Divisions(30, 1990), "");
  EXPECT_EQ(tables.Divisions(7, 1991), "");
  EXPECT_EQ(tables.Divisions(-1, 1990), "");
  EXPECT_EQ(tables.Divisions(7, 0), "");
}

TEST(DivisionTableTest, OnlyDivisionZeroNamedMeansNoDivisions) {
  LeagueYearRecord one_division = LeagueYear(2, 1950, "National", {"Only", "", "Third", ""});
  one_division.DivisionTeams[0][3] = 4;
  one_division.DivisionTeams[1][0] = 5;
  one_division.DivisionTeams[3][9] = 6;
  const LeagueFiles tables = Load({}, {one_division});
  const std::string blanks(20, ' ');
  EXPECT_EQ(tables.Divisions(4, 1950), blanks);
  EXPECT_EQ(tables.Divisions(5, 1950), blanks);
  EXPECT_EQ(tables.Divisions(6, 1950), blanks);
}

TEST(DivisionTableTest, TwentyCharacterNamesAreTakenWholeAndLaterRecordsOverwrite) {
  LeagueYearRecord first = LeagueYear(1, 2001, "A", {"Central Division 123", "West", "", ""});
  first.DivisionTeams[0][0] = 9;
  LeagueYearRecord second = LeagueYear(3, 2001, "B", {"North", "South", "", ""});
  second.DivisionTeams[1][4] = 9;
  EXPECT_EQ(Load({}, {first}).Divisions(9, 2001), "Central Division 123");
  EXPECT_EQ(Load({}, {first, second}).Divisions(9, 2001), "South");
}

TEST(DivisionTableTest, BoundsSpanTheUsedRecordsSeededByTheFirstSlot) {
  LeagueYearRecord a = LeagueYear(1, 1980, "A", {"E", "W", "", ""});
  a.DivisionTeams[0][0] = 50;
  a.DivisionTeams[3][15] = 20;
  LeagueYearRecord skipped = LeagueYear(1, 1900, "A", {"E", "W", "", ""}, /*status=*/1);
  skipped.DivisionTeams[0][0] = 1;
  LeagueYearRecord b = LeagueYear(1, 1985, "A", {"E", "W", "", ""});
  b.DivisionTeams[2][1] = 80;
  const LeagueFiles tables = Load({}, {a, skipped, b});
  EXPECT_EQ(tables.Divisions.lowest_team(), 20);
  EXPECT_EQ(tables.Divisions.highest_team(), 80);
  EXPECT_EQ(tables.Divisions.lowest_year(), 1980);
  EXPECT_EQ(tables.Divisions.highest_year(), 1985);
  EXPECT_EQ(tables.Divisions(1, 1900), "");

  // An empty first slot seeds the lowest team id below every team.
  LeagueYearRecord c = LeagueYear(1, 1980, "A", {"E", "W", "", ""});
  c.DivisionTeams[1][0] = 3;
  const LeagueFiles seeded = Load({}, {c});
  EXPECT_EQ(seeded.Divisions.lowest_team(), -1);
  EXPECT_EQ(seeded.Divisions.highest_team(), 3);
  EXPECT_EQ(seeded.Divisions(3, 1980), "W");
}

TEST(DivisionTableTest, NoUsedRecordLeavesEveryLookupEmpty) {
  const LeagueFiles tables = Load({}, {LeagueYear(1, 0, "A", {"E", "W", "", ""})});
  EXPECT_FALSE(tables.Divisions.created());
  EXPECT_EQ(tables.Divisions(0, 1), "");
  EXPECT_EQ(tables.LeagueNames[1], "");
}

TEST(LeagueFilesTest, TheFirstTwoAcceptedLeaguesGetColoursInFileOrder) {
  const LeagueFiles tables = Load(
      {League(900, "Unused", 0), League(7, "First"), League(901, "", 1),
       League(902, "Deleted", 1, 1), League(3, "Second"), League(8, "Third"), League(1, "Fourth")},
      {});
  EXPECT_EQ(tables.LeagueColours[7], std::optional<int>(38));
  EXPECT_EQ(tables.LeagueColours[3], std::optional<int>(37));
  EXPECT_EQ(tables.LeagueColours[8], std::nullopt);
  EXPECT_EQ(tables.LeagueColours[1], std::nullopt);
  EXPECT_EQ(tables.LeagueColours[900], std::nullopt);
  EXPECT_EQ(tables.LeagueColours[901], std::nullopt);
  EXPECT_EQ(tables.LeagueColours[902], std::nullopt);
  EXPECT_EQ(tables.LeagueColours[-1], std::nullopt);
  EXPECT_EQ(tables.LeagueColours[10000], std::nullopt);
}

TEST(LeagueFilesTest, TheLastLeagueYearRecordNamesTheLeague) {
  const LeagueFiles tables =
      Load({}, {LeagueYear(4, 1990, "Old Name", {"", "", "", ""}),
                LeagueYear(4, 1970, "Newest Name", {"", "", "", ""}),
                LeagueYear(4, 1995, "Deleted", {"", "", "", ""}, 1),
                LeagueYear(5, 1990, "Forty characters long league name, whole", {"", "", "", ""})});
  EXPECT_EQ(tables.LeagueNames[4], "Newest Name");
  EXPECT_EQ(tables.LeagueNames[5], "Forty characters long league name, whole");
  EXPECT_EQ(tables.LeagueNames[6], "");
}

TEST(LeagueFilesTest, IdsOutsideTheTablesSkipTheRecordAndAreReported) {
  LeagueYearRecord big_team = LeagueYear(1, 1990, "Big", {"E", "W", "", ""});
  big_team.DivisionTeams[0][0] = 3;
  big_team.DivisionTeams[1][0] = 10000;
  LeagueYearRecord big_league = LeagueYear(10000, 1990, "Huge", {"E", "W", "", ""});
  big_league.DivisionTeams[0][0] = 4;
  LeagueYearRecord good = LeagueYear(2, 1990, "Good", {"E", "W", "", ""});
  good.DivisionTeams[0][0] = 5;
  RunReport report;
  const LeagueFiles tables =
      Load({League(-5, "Negative"), League(11, "First")}, {big_team, big_league, good}, report);
  EXPECT_EQ(tables.LeagueColours[11], std::optional<int>(38));
  EXPECT_EQ(tables.Divisions(3, 1990), "");
  EXPECT_EQ(tables.Divisions(4, 1990), "");
  EXPECT_EQ(tables.Divisions(5, 1990), "E");
  EXPECT_EQ(tables.LeagueNames[1], "");
  EXPECT_EQ(tables.Divisions.lowest_team(), 5);
  EXPECT_EQ(report.files["encleag.dat"].skipped["league id outside 0 to 9999"], 1);
  EXPECT_EQ(report.files["enclgyr.dat"].skipped["team id outside 0 to 9999"], 1);
  EXPECT_EQ(report.files["enclgyr.dat"].skipped["league id outside 0 to 9999"], 1);
}

TEST(LeagueFilesTest, MissingFilesGiveEmptyTables) {
  TempDir dir;
  RunReport report;
  const LeagueFiles tables = LoadLeagueFiles(EncyclopediaFolder(dir.path()), report);
  EXPECT_FALSE(tables.Divisions.created());
  EXPECT_EQ(tables.LeagueColours[0], std::nullopt);
}

}  // namespace
}  // namespace statcrane
