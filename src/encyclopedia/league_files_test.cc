#include "encyclopedia/league_files.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testing/record_files.h"
#include "testing/temp_dir.h"
#include "util/skip_report.h"

namespace statcrane {
namespace {

using testing::TempDir;
using testing::WriteRecords;

LeagueRecord League(int id, std::string name, int use_mark = 1, int status = 0) {
  LeagueRecord l;
  l.record_status = static_cast<int16_t>(status);
  l.league_id = static_cast<int16_t>(id);
  l.league_name = std::move(name);
  l.use_mark = static_cast<int16_t>(use_mark);
  return l;
}

// A league-year with every slot empty; the caller places teams.
LeagueYearRecord LeagueYear(int league, int year, std::string name,
                            std::array<std::string, 4> divisions, int status = 0) {
  LeagueYearRecord r;
  r.record_status = static_cast<int16_t>(status);
  r.league_id = static_cast<int16_t>(league);
  r.year = static_cast<int16_t>(year);
  r.league_name = std::move(name);
  r.division_names = std::move(divisions);
  for (auto& division : r.division_teams) division.fill(-1);
  return r;
}

LeagueFiles Load(const std::vector<LeagueRecord>& leagues,
                 const std::vector<LeagueYearRecord>& years, SkipReport& report) {
  TempDir dir;
  WriteRecords(dir / "ENCLEAG.DAT", leagues);
  WriteRecords(dir / "enclgyr.dat", years);
  return LoadLeagueFiles(EncyclopediaFolder(dir.path()), report);
}

LeagueFiles Load(const std::vector<LeagueRecord>& leagues,
                 const std::vector<LeagueYearRecord>& years) {
  SkipReport report;
  return Load(leagues, years, report);
}

TEST(DivisionTableTest, NamedDivisionsGiveTheirTeamsTheirNames) {
  LeagueYearRecord east_west = LeagueYear(1, 1990, "American", {"East", "West", "", ""});
  east_west.division_teams[0][0] = 0;  // team id 0 is a team
  east_west.division_teams[0][1] = -1;
  east_west.division_teams[0][2] = 7;
  east_west.division_teams[1][15] = 12;
  east_west.division_teams[2][0] = 30;  // division 2 has no name: no entry
  const LeagueFiles tables = Load({}, {east_west});
  EXPECT_EQ(tables.divisions(0, 1990), "East");
  EXPECT_EQ(tables.divisions(7, 1990), "East");
  EXPECT_EQ(tables.divisions(12, 1990), "West");
  EXPECT_EQ(tables.divisions(30, 1990), "");
  EXPECT_EQ(tables.divisions(7, 1991), "");
  EXPECT_EQ(tables.divisions(-1, 1990), "");
  EXPECT_EQ(tables.divisions(7, 0), "");
}

TEST(DivisionTableTest, OnlyDivisionZeroNamedMeansNoDivisions) {
  LeagueYearRecord one_division = LeagueYear(2, 1950, "National", {"Only", "", "Third", ""});
  one_division.division_teams[0][3] = 4;
  one_division.division_teams[1][0] = 5;
  one_division.division_teams[3][9] = 6;
  const LeagueFiles tables = Load({}, {one_division});
  const std::string blanks(20, ' ');
  EXPECT_EQ(tables.divisions(4, 1950), blanks);
  EXPECT_EQ(tables.divisions(5, 1950), blanks);
  EXPECT_EQ(tables.divisions(6, 1950), blanks);
}

TEST(DivisionTableTest, TwentyCharacterNamesAreTakenWholeAndLaterRecordsOverwrite) {
  LeagueYearRecord first = LeagueYear(1, 2001, "A", {"Central Division 123", "West", "", ""});
  first.division_teams[0][0] = 9;
  LeagueYearRecord second = LeagueYear(3, 2001, "B", {"North", "South", "", ""});
  second.division_teams[1][4] = 9;
  EXPECT_EQ(Load({}, {first}).divisions(9, 2001), "Central Division 123");
  EXPECT_EQ(Load({}, {first, second}).divisions(9, 2001), "South");
}

TEST(DivisionTableTest, BoundsSpanTheUsedRecordsSeededByTheFirstSlot) {
  LeagueYearRecord a = LeagueYear(1, 1980, "A", {"E", "W", "", ""});
  a.division_teams[0][0] = 50;
  a.division_teams[3][15] = 20;
  LeagueYearRecord skipped = LeagueYear(1, 1900, "A", {"E", "W", "", ""}, /*status=*/1);
  skipped.division_teams[0][0] = 1;
  LeagueYearRecord b = LeagueYear(1, 1985, "A", {"E", "W", "", ""});
  b.division_teams[2][1] = 80;
  const LeagueFiles tables = Load({}, {a, skipped, b});
  EXPECT_EQ(tables.divisions.lowest_team(), 20);
  EXPECT_EQ(tables.divisions.highest_team(), 80);
  EXPECT_EQ(tables.divisions.lowest_year(), 1980);
  EXPECT_EQ(tables.divisions.highest_year(), 1985);
  EXPECT_EQ(tables.divisions(1, 1900), "");

  // An empty first slot seeds the lowest team id below every team.
  LeagueYearRecord c = LeagueYear(1, 1980, "A", {"E", "W", "", ""});
  c.division_teams[1][0] = 3;
  const LeagueFiles seeded = Load({}, {c});
  EXPECT_EQ(seeded.divisions.lowest_team(), -1);
  EXPECT_EQ(seeded.divisions.highest_team(), 3);
  EXPECT_EQ(seeded.divisions(3, 1980), "W");
}

TEST(DivisionTableTest, NoUsedRecordLeavesEveryLookupEmpty) {
  const LeagueFiles tables = Load({}, {LeagueYear(1, 0, "A", {"E", "W", "", ""})});
  EXPECT_FALSE(tables.divisions.created());
  EXPECT_EQ(tables.divisions(0, 1), "");
  EXPECT_EQ(tables.names[1], "");
}

TEST(LeagueFilesTest, TheFirstTwoAcceptedLeaguesGetColoursInFileOrder) {
  const LeagueFiles tables = Load(
      {League(900, "Unused", 0), League(7, "First"), League(901, "", 1),
       League(902, "Deleted", 1, 1), League(3, "Second"), League(8, "Third"), League(1, "Fourth")},
      {});
  EXPECT_EQ(tables.colours[7], LeagueColour::kFirstLeague);
  EXPECT_EQ(tables.colours[3], LeagueColour::kSecondLeague);
  EXPECT_EQ(tables.colours[8], LeagueColour::kNone);
  EXPECT_EQ(tables.colours[1], LeagueColour::kNone);
  EXPECT_EQ(tables.colours[900], LeagueColour::kNone);
  EXPECT_EQ(tables.colours[901], LeagueColour::kNone);
  EXPECT_EQ(tables.colours[902], LeagueColour::kNone);
  EXPECT_EQ(tables.colours[-1], LeagueColour::kNone);
  EXPECT_EQ(tables.colours[10000], LeagueColour::kNone);
}

TEST(LeagueFilesTest, TheLastLeagueYearRecordNamesTheLeague) {
  const LeagueFiles tables =
      Load({}, {LeagueYear(4, 1990, "Old Name", {"", "", "", ""}),
                LeagueYear(4, 1970, "Newest Name", {"", "", "", ""}),
                LeagueYear(4, 1995, "Deleted", {"", "", "", ""}, 1),
                LeagueYear(5, 1990, "Forty characters long league name, whole", {"", "", "", ""})});
  EXPECT_EQ(tables.names[4], "Newest Name");
  EXPECT_EQ(tables.names[5], "Forty characters long league name, whole");
  EXPECT_EQ(tables.names[6], "");
}

TEST(LeagueFilesTest, IdsOutsideTheTablesSkipTheRecordAndAreReported) {
  LeagueYearRecord big_team = LeagueYear(1, 1990, "Big", {"E", "W", "", ""});
  big_team.division_teams[0][0] = 3;
  big_team.division_teams[1][0] = 10000;
  LeagueYearRecord big_league = LeagueYear(10000, 1990, "Huge", {"E", "W", "", ""});
  big_league.division_teams[0][0] = 4;
  LeagueYearRecord good = LeagueYear(2, 1990, "Good", {"E", "W", "", ""});
  good.division_teams[0][0] = 5;
  SkipReport report;
  const LeagueFiles tables =
      Load({League(-5, "Negative"), League(11, "First")}, {big_team, big_league, good}, report);
  EXPECT_EQ(tables.colours[11], LeagueColour::kFirstLeague);
  EXPECT_EQ(tables.divisions(3, 1990), "");
  EXPECT_EQ(tables.divisions(4, 1990), "");
  EXPECT_EQ(tables.divisions(5, 1990), "E");
  EXPECT_EQ(tables.names[1], "");
  EXPECT_EQ(tables.divisions.lowest_team(), 5);
  EXPECT_EQ(report.files["encleag.dat"].skipped["records with a league id outside 0 to 9999"], 1);
  EXPECT_EQ(report.files["enclgyr.dat"].skipped["records with a team id outside 0 to 9999"], 1);
  EXPECT_EQ(report.files["enclgyr.dat"].skipped["records with a league id outside 0 to 9999"], 1);
}

TEST(LeagueFilesTest, MissingFilesGiveEmptyTables) {
  TempDir dir;
  SkipReport report;
  const LeagueFiles tables = LoadLeagueFiles(EncyclopediaFolder(dir.path()), report);
  EXPECT_FALSE(tables.divisions.created());
  EXPECT_EQ(tables.colours[0], LeagueColour::kNone);
}

}  // namespace
}  // namespace statcrane
