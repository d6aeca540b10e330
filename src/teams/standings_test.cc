#include "teams/standings.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "teams/finish_names.h"

namespace statcrane {
namespace {

RankingLine Line(int team, int won, int lost, std::string division = "East", int league = 1,
                 int year = 1990) {
  RankingLine line;
  line.Year = year;
  line.LeagueId = league;
  line.Division = std::move(division);
  line.Won = won;
  line.Lost = lost;
  line.TeamId = team;
  line.Abbrev = "T" + std::to_string(team);
  line.DisplayName = "Team " + std::to_string(team);
  return line;
}

// Ranks the lines (added in the given order) and returns the standings lines
// in the order the standings list hands them out.
std::vector<StandingsLine> Rank(const std::vector<RankingLine>& lines) {
  RankingList lstx;
  for (const RankingLine& line : lines) AddRankingLine(lstx, line);
  StandingsList lstStandings;
  Unravel_lstx(lstx, lstStandings);
  std::vector<StandingsLine> out;
  for (size_t i = 0; i < lstStandings.Count(); ++i)
    out.push_back(Unravel_Standings(lstStandings, i));
  return out;
}

std::map<int, StandingsLine> ByTeam(const std::vector<RankingLine>& lines) {
  std::map<int, StandingsLine> out;
  for (const StandingsLine& s : Rank(lines)) out[s.TeamId] = s;
  return out;
}

TEST(StandingsTest, GamesBehindAndFinishWithinADivision) {
  // Added in no particular order.
  auto s = ByTeam({Line(3, 80, 82), Line(1, 90, 72), Line(2, 85, 77)});
  EXPECT_EQ(s[1].Finish, "1st");
  EXPECT_EQ(s[1].GamesBehind, 0);
  EXPECT_EQ(s[2].Finish, "2nd");
  EXPECT_EQ(s[2].GamesBehind, 5);
  EXPECT_EQ(s[3].Finish, "3rd");
  EXPECT_EQ(s[3].GamesBehind, 10);

  // Equal wins: the team with more losses leads.
  s = ByTeam({Line(2, 90, 70), Line(1, 90, 72)});
  EXPECT_EQ(s[1].Finish, "1st");
  EXPECT_EQ(s[2].Finish, "2nd");
  EXPECT_EQ(s[2].GamesBehind, -1);

  // Half games.
  s = ByTeam({Line(1, 90, 72), Line(2, 89, 72)});
  EXPECT_EQ(s[2].GamesBehind, 0.5);
  EXPECT_EQ(s[2].Finish, "2nd");
}

TEST(StandingsTest, EqualGamesBehindAboveZeroSharePlaces) {
  auto s = ByTeam({Line(1, 90, 72), Line(2, 85, 77), Line(3, 84, 76), Line(4, 83, 79)});
  EXPECT_EQ(s[1].Finish, "1st");
  EXPECT_EQ(s[2].Finish, "2nd");
  EXPECT_EQ(s[3].Finish, "2nd");
  EXPECT_EQ(s[3].GamesBehind, 5);
  EXPECT_EQ(s[4].Finish, "4th");
  EXPECT_EQ(s[4].GamesBehind, 7);

  s = ByTeam({Line(1, 90, 72), Line(2, 85, 77), Line(3, 86, 78), Line(4, 87, 79)});
  EXPECT_EQ(s[2].Finish, "2nd");
  EXPECT_EQ(s[3].Finish, "2nd");
  EXPECT_EQ(s[4].Finish, "2nd");

  // Tied for first: nothing is shared at 0 behind.
  s = ByTeam({Line(1, 90, 72), Line(2, 90, 72)});
  EXPECT_EQ(s[1].GamesBehind, 0);
  EXPECT_EQ(s[2].GamesBehind, 0);
  EXPECT_EQ(s[1].Finish == "1st" ? s[2].Finish : s[1].Finish, "2nd");
}

TEST(StandingsTest, GroupsAreYearLeagueAndDivision) {
  auto s =
      ByTeam({Line(1, 90, 72, "East"), Line(2, 85, 77, "East"), Line(3, 70, 92, "West"),
              Line(4, 60, 102, "West"), Line(5, 50, 112, "East", 1, 1991),
              Line(6, 40, 122, "East", 2), Line(7, 95, 67, "East", 10), Line(8, 91, 71, "East", 10),
              Line(9, 99, 63, std::string(20, ' '), 3), Line(10, 98, 64, std::string(20, ' '), 3)});
  EXPECT_EQ(s[3].Finish, "1st");
  EXPECT_EQ(s[4].Finish, "2nd");
  EXPECT_EQ(s[4].GamesBehind, 10);
  EXPECT_EQ(s[5].Finish, "1st");
  EXPECT_EQ(s[6].Finish, "1st");
  EXPECT_EQ(s[7].Finish, "1st");
  EXPECT_EQ(s[8].Finish, "2nd");
  EXPECT_EQ(s[8].GamesBehind, 4);
  EXPECT_EQ(s[10].Finish, "2nd");

  // League 10 sorts before league 2 (compared as text) in the ranking list.
  EXPECT_LT(CompareListText(RankingKey(Line(7, 95, 67, "East", 10)),
                            RankingKey(Line(6, 40, 122, "East", 2))),
            0);
}

TEST(StandingsTest, MoreThanTwelveTeamsGoOnAsOrdinals) {
  std::vector<RankingLine> lines;
  for (int team = 1; team <= 23; ++team) lines.push_back(Line(team, 120 - team, 40 + team));
  auto s = ByTeam(lines);
  EXPECT_EQ(s[12].Finish, "12th");
  EXPECT_EQ(s[13].Finish, "13th");
  EXPECT_EQ(s[21].Finish, "21st");
  EXPECT_EQ(s[22].Finish, "22nd");
  EXPECT_EQ(s[23].Finish, "23rd");
  EXPECT_EQ(FinishName(1), "1st");
  EXPECT_EQ(FinishName(2), "2nd");
  EXPECT_EQ(FinishName(3), "3rd");
  EXPECT_EQ(FinishName(4), "4th");
  EXPECT_EQ(FinishName(11), "11th");
  EXPECT_EQ(FinishName(111), "111th");
  EXPECT_EQ(FinishName(112), "112th");
  EXPECT_EQ(FinishName(101), "101st");
}

TEST(StandingsTest, KeysAreTheCommaJoinedLinesForOrdinaryValues) {
  RankingLine line = Line(5, 90, 72);
  line.Scored = 700;
  line.Allowed = 650;
  line.SHO = 10;
  line.GDP = 100;
  line.LOB = 1100;
  line.PostSeasonRecordNo = 17;
  line.Abbrev = "NY";
  line.DisplayName = "New York, Blues";
  EXPECT_EQ(RankingKey(line), "1990,1,East,210,228,700,650,10,100,1100,5,17,NY,New York, Blues");
  line.Year = 876;
  line.Won = 0;
  line.Lost = 200;
  EXPECT_EQ(RankingKey(line).substr(0, 20), "0876,1,East,300,100,");

  StandingsLine standing;
  standing.Abbrev = "NY";
  standing.TeamId = 5;
  standing.Year = 1990;
  standing.LeagueId = 1;
  standing.Division = "East";
  standing.Won = 85;
  standing.Lost = 76;
  standing.GamesBehind = 4.5;
  standing.Finish = "2nd";
  standing.Scored = 700;
  standing.Allowed = 650;
  standing.SHO = 10;
  standing.GDP = 100;
  standing.LOB = 1100;
  standing.PostSeasonRecordNo = 0;
  standing.DisplayName = "New York Blues";
  EXPECT_EQ(StandingsKey(standing),
            "NY,5,1990,1,East,85,76,4.5,2nd,700,650,10,100,1100,0,New York Blues");
  EXPECT_EQ(GamesBehindText(0), "0");
  EXPECT_EQ(GamesBehindText(12), "12");
  EXPECT_EQ(GamesBehindText(-1), "-1");
  EXPECT_EQ(GamesBehindText(-0.5), "-0.5");
}

TEST(StandingsTest, NoValueMovesATeamOutOfItsGroup) {
  // Without care, the "East,2" division would sort between the East teams.
  auto s = ByTeam({Line(1, 120, 42, "East"), Line(2, 90, 72, "East"), Line(3, 50, 112, "East,2"),
                   Line(4, 45, 117, "East,2")});
  EXPECT_EQ(s[1].Finish, "1st");
  EXPECT_EQ(s[2].Finish, "2nd");
  EXPECT_EQ(s[2].GamesBehind, 30);
  EXPECT_EQ(s[3].Finish, "1st");
  EXPECT_EQ(s[3].Division, "East,2");
  EXPECT_EQ(s[4].GamesBehind, 5);

  // Wins above 200 still rank first.
  s = ByTeam({Line(1, 200, 0), Line(2, 255, 3), Line(3, 100, 0)});
  EXPECT_EQ(s[2].Finish, "1st");
  EXPECT_EQ(s[1].Finish, "2nd");
  EXPECT_EQ(s[1].GamesBehind, 26);
  EXPECT_EQ(s[3].Finish, "3rd");

  // Names with commas and abbreviations with commas keep every field.
  RankingLine odd = Line(9, 80, 82);
  odd.Abbrev = "A,B";
  odd.DisplayName = "One, Two, Three, Four, Five, Six";
  odd.Division = "North, Upper";
  odd.Scored = -5;
  const std::vector<StandingsLine> out = Rank({odd});
  ASSERT_EQ(out.size(), 1u);
  EXPECT_EQ(out[0].Abbrev, "A,B");
  EXPECT_EQ(out[0].DisplayName, "One, Two, Three, Four, Five, Six");
  EXPECT_EQ(out[0].Division, "North, Upper");
  EXPECT_EQ(out[0].Won, 80);
  EXPECT_EQ(out[0].Scored, -5);
}

TEST(StandingsTest, StandingsComeOutByAbbreviationThenTeamIdAsTextThenYear) {
  std::vector<RankingLine> lines = {
      Line(5, 80, 82, "East", 1, 1991), Line(12, 80, 82, "East", 1, 1990),
      Line(5, 80, 82, "East", 1, 1990), Line(1, 80, 82, "West", 1, 1992),
      Line(7, 80, 82, "West", 2, 1990), Line(5, 70, 92, "East", 1, 1989)};
  lines[0].Abbrev = lines[1].Abbrev = lines[2].Abbrev = lines[5].Abbrev = "NY";
  lines[3].Abbrev = "ny";  // case does not matter
  lines[4].Abbrev = "";    // no abbreviation: before all others
  std::vector<std::pair<int, int>> order;
  for (const StandingsLine& s : Rank(lines)) order.emplace_back(s.TeamId, s.Year);
  const std::vector<std::pair<int, int>> expected = {{7, 1990}, {1, 1992}, {12, 1990},
                                                     {5, 1989}, {5, 1990}, {5, 1991}};
  EXPECT_EQ(order, expected);

  // A year past 9999 still follows the others.
  const std::vector<StandingsLine> late = Rank(
      {Line(5, 80, 82, "E", 1, 10000), Line(5, 80, 82, "E", 1, 9999), Line(5, 80, 82, "E", 1, 2)});
  ASSERT_EQ(late.size(), 3u);
  EXPECT_EQ(late[0].Year, 2);
  EXPECT_EQ(late[1].Year, 9999);
  EXPECT_EQ(late[2].Year, 10000);
}

}  // namespace
}  // namespace statcrane
