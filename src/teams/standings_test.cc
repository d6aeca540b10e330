#include "teams/standings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "teams/finish_names.h"
#include "util/sorted_work_list.h"

namespace statcrane {
namespace {

SeasonStanding Line(int team, int won, int lost, std::string division = "East", int league = 1,
                    int year = 1990) {
  SeasonStanding line;
  line.year = year;
  line.league_id = league;
  line.division = std::move(division);
  line.figures.won = won;
  line.figures.lost = lost;
  line.team_id = team;
  line.abbreviation = "T" + std::to_string(team);
  line.team_name = "Team " + std::to_string(team);
  return line;
}

// The standings as TeamStandings makes them from lines in this order.
std::vector<SeasonStanding> Rank(std::vector<SeasonStanding> lines) {
  SortIntoDivisions(lines);
  RankWithinDivisions(lines);
  SortByTeamAndYear(lines);
  return lines;
}

std::map<int, SeasonStanding> ByTeam(const std::vector<SeasonStanding>& lines) {
  std::map<int, SeasonStanding> out;
  for (const SeasonStanding& s : Rank(lines)) out[s.team_id] = s;
  return out;
}

TEST(StandingsTest, GamesBehindAndPlaceWithinADivision) {
  // Added in no particular order.
  auto s = ByTeam({Line(3, 80, 82), Line(1, 90, 72), Line(2, 85, 77)});
  EXPECT_EQ(s[1].place, 1);
  EXPECT_EQ(s[1].games_behind, 0);
  EXPECT_EQ(s[2].place, 2);
  EXPECT_EQ(s[2].games_behind, 5);
  EXPECT_EQ(s[3].place, 3);
  EXPECT_EQ(s[3].games_behind, 10);

  // Equal wins: the team with more losses leads.
  s = ByTeam({Line(2, 90, 70), Line(1, 90, 72)});
  EXPECT_EQ(s[1].place, 1);
  EXPECT_EQ(s[2].place, 2);
  EXPECT_EQ(s[2].games_behind, -1);

  // Half games.
  s = ByTeam({Line(1, 90, 72), Line(2, 89, 72)});
  EXPECT_EQ(s[2].games_behind, 0.5);
  EXPECT_EQ(s[2].place, 2);
}

TEST(StandingsTest, EqualGamesBehindAboveZeroSharePlaces) {
  auto s = ByTeam({Line(1, 90, 72), Line(2, 85, 77), Line(3, 84, 76), Line(4, 83, 79)});
  EXPECT_EQ(s[1].place, 1);
  EXPECT_EQ(s[2].place, 2);
  EXPECT_EQ(s[3].place, 2);
  EXPECT_EQ(s[3].games_behind, 5);
  EXPECT_EQ(s[4].place, 4);
  EXPECT_EQ(s[4].games_behind, 7);

  s = ByTeam({Line(1, 90, 72), Line(2, 85, 77), Line(3, 86, 78), Line(4, 87, 79)});
  EXPECT_EQ(s[2].place, 2);
  EXPECT_EQ(s[3].place, 2);
  EXPECT_EQ(s[4].place, 2);

  // Tied for first: nothing is shared at 0 behind.
  s = ByTeam({Line(1, 90, 72), Line(2, 90, 72)});
  EXPECT_EQ(s[1].games_behind, 0);
  EXPECT_EQ(s[2].games_behind, 0);
  EXPECT_EQ(s[1].place == 1 ? s[2].place : s[1].place, 2);
}

TEST(StandingsTest, GroupsAreYearLeagueAndDivision) {
  auto s =
      ByTeam({Line(1, 90, 72, "East"), Line(2, 85, 77, "East"), Line(3, 70, 92, "West"),
              Line(4, 60, 102, "West"), Line(5, 50, 112, "East", 1, 1991),
              Line(6, 40, 122, "East", 2), Line(7, 95, 67, "East", 10), Line(8, 91, 71, "East", 10),
              Line(9, 99, 63, std::string(20, ' '), 3), Line(10, 98, 64, std::string(20, ' '), 3)});
  EXPECT_EQ(s[3].place, 1);
  EXPECT_EQ(s[4].place, 2);
  EXPECT_EQ(s[4].games_behind, 10);
  EXPECT_EQ(s[5].place, 1);
  EXPECT_EQ(s[6].place, 1);
  EXPECT_EQ(s[7].place, 1);
  EXPECT_EQ(s[8].place, 2);
  EXPECT_EQ(s[8].games_behind, 4);
  EXPECT_EQ(s[10].place, 2);

  // League 10 comes before league 2 (compared as text) in the division order.
  std::vector<SeasonStanding> lines = {Line(6, 40, 122, "East", 2), Line(7, 95, 67, "East", 10)};
  SortIntoDivisions(lines);
  EXPECT_EQ(lines[0].league_id, 10);
}

TEST(StandingsTest, MoreThanTwelveTeamsGoOnAsOrdinals) {
  std::vector<SeasonStanding> lines;
  for (int team = 1; team <= 23; ++team) lines.push_back(Line(team, 120 - team, 40 + team));
  auto s = ByTeam(lines);
  EXPECT_EQ(s[12].place, 12);
  EXPECT_EQ(s[23].place, 23);
  EXPECT_EQ(FinishName(1), "1st");
  EXPECT_EQ(FinishName(2), "2nd");
  EXPECT_EQ(FinishName(3), "3rd");
  EXPECT_EQ(FinishName(4), "4th");
  EXPECT_EQ(FinishName(11), "11th");
  EXPECT_EQ(FinishName(12), "12th");
  EXPECT_EQ(FinishName(13), "13th");
  EXPECT_EQ(FinishName(21), "21st");
  EXPECT_EQ(FinishName(22), "22nd");
  EXPECT_EQ(FinishName(23), "23rd");
  EXPECT_EQ(FinishName(111), "111th");
  EXPECT_EQ(FinishName(112), "112th");
  EXPECT_EQ(FinishName(101), "101st");
}

TEST(StandingsTest, NoValueMovesATeamOutOfItsGroup) {
  // A division "East,2" does not sort between the East teams.
  auto s = ByTeam({Line(1, 120, 42, "East"), Line(2, 90, 72, "East"), Line(3, 50, 112, "East,2"),
                   Line(4, 45, 117, "East,2")});
  EXPECT_EQ(s[1].place, 1);
  EXPECT_EQ(s[2].place, 2);
  EXPECT_EQ(s[2].games_behind, 30);
  EXPECT_EQ(s[3].place, 1);
  EXPECT_EQ(s[3].division, "East,2");
  EXPECT_EQ(s[4].games_behind, 5);

  // Wins above 200 still rank first.
  s = ByTeam({Line(1, 200, 0), Line(2, 255, 3), Line(3, 100, 0)});
  EXPECT_EQ(s[2].place, 1);
  EXPECT_EQ(s[1].place, 2);
  EXPECT_EQ(s[1].games_behind, 26);
  EXPECT_EQ(s[3].place, 3);
}

TEST(StandingsTest, TeamOrderIsAbbreviationThenTeamIdAsTextThenYear) {
  std::vector<SeasonStanding> lines = {
      Line(5, 80, 82, "East", 1, 1991), Line(12, 80, 82, "East", 1, 1990),
      Line(5, 80, 82, "East", 1, 1990), Line(1, 80, 82, "West", 1, 1992),
      Line(7, 80, 82, "West", 2, 1990), Line(5, 70, 92, "East", 1, 1989)};
  lines[0].abbreviation = lines[1].abbreviation = lines[2].abbreviation = lines[5].abbreviation =
      "NY";
  lines[3].abbreviation = "ny";  // case does not matter
  lines[4].abbreviation = "";    // no abbreviation: before all others
  std::vector<std::pair<int, int>> order;
  for (const SeasonStanding& s : Rank(lines)) order.emplace_back(s.team_id, s.year);
  const std::vector<std::pair<int, int>> expected = {{7, 1990}, {1, 1992}, {12, 1990},
                                                     {5, 1989}, {5, 1990}, {5, 1991}};
  EXPECT_EQ(order, expected);

  // A year past 9999 still follows the others.
  const std::vector<SeasonStanding> late = Rank(
      {Line(5, 80, 82, "E", 1, 10000), Line(5, 80, 82, "E", 1, 9999), Line(5, 80, 82, "E", 1, 2)});
  ASSERT_EQ(late.size(), 3u);
  EXPECT_EQ(late[0].year, 2);
  EXPECT_EQ(late[1].year, 9999);
  EXPECT_EQ(late[2].year, 10000);
}

// ---------------------------------------------------------------------------
// The orders against the texts they were once defined by: every season as
// one comma-joined line, sorted by the list collation, equal lines in the
// order they were added.

void AppendEscaped(std::string& key, const std::string& text) {
  for (char c : text) {
    if (c == ',') {
      key += "\x1F+";
    } else if (c == '\x1F') {
      key += "\x1F\x1F";
    } else {
      key += c;
    }
  }
}

void AppendYear(std::string& key, int year) {
  char text[16];
  if (year <= 9999) {
    std::snprintf(text, sizeof text, "%04d", year);
  } else {
    std::snprintf(text, sizeof text, "9999~%05d", year);
  }
  key += text;
}

void AppendCountKey(std::string& key, int64_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "%03lld", static_cast<long long>(300 - value));
  key += text;
}

template <typename Number>
void AppendField(std::string& key, Number value) {
  key += ',';
  key += std::to_string(value);
}

void AppendField(std::string& key, const std::string& text) {
  key += ',';
  key += text;
}

std::string GamesBehindText(double games_behind) {
  char text[32];
  if (games_behind == std::floor(games_behind)) {
    std::snprintf(text, sizeof text, "%.0f", games_behind);
  } else {
    std::snprintf(text, sizeof text, "%.1f", games_behind);
  }
  return text;
}

std::string DivisionOrderKey(const SeasonStanding& line) {
  std::string key;
  AppendYear(key, line.year);
  AppendField(key, line.league_id);
  key += ',';
  AppendEscaped(key, line.division);
  key += ',';
  AppendCountKey(key, line.figures.won);
  key += ',';
  AppendCountKey(key, line.figures.lost);
  AppendField(key, line.figures.scored);
  AppendField(key, line.figures.allowed);
  AppendField(key, line.figures.sho);
  AppendField(key, line.figures.gdp);
  AppendField(key, line.figures.lob);
  AppendField(key, line.team_id);
  AppendField(key, line.post_season_record);
  AppendField(key, line.abbreviation);
  AppendField(key, line.team_name);
  return key;
}

std::string TeamOrderKey(const SeasonStanding& line) {
  std::string key;
  AppendEscaped(key, line.abbreviation);
  AppendField(key, line.team_id);
  key += ',';
  AppendYear(key, line.year);
  AppendField(key, line.league_id);
  AppendField(key, line.division);
  AppendField(key, line.figures.won);
  AppendField(key, line.figures.lost);
  AppendField(key, GamesBehindText(line.games_behind));
  AppendField(key, FinishName(line.place));
  AppendField(key, line.figures.scored);
  AppendField(key, line.figures.allowed);
  AppendField(key, line.figures.sho);
  AppendField(key, line.figures.gdp);
  AppendField(key, line.figures.lob);
  AppendField(key, line.post_season_record);
  AppendField(key, line.team_name);
  return key;
}

TEST(StandingsOracleTest, TheKeysAreTheCommaJoinedLinesForOrdinaryValues) {
  SeasonStanding line = Line(5, 90, 72);
  line.figures = {90, 72, 700, 650, 10, 100, 1100};
  line.post_season_record = 17;
  line.abbreviation = "NY";
  line.team_name = "New York, Blues";
  EXPECT_EQ(DivisionOrderKey(line),
            "1990,1,East,210,228,700,650,10,100,1100,5,17,NY,New York, Blues");
  line.year = 876;
  line.figures.won = 0;
  line.figures.lost = 200;
  EXPECT_EQ(DivisionOrderKey(line).substr(0, 20), "0876,1,East,300,100,");

  line = Line(5, 85, 76);
  line.figures = {85, 76, 700, 650, 10, 100, 1100};
  line.abbreviation = "NY";
  line.games_behind = 4.5;
  line.place = 2;
  line.team_name = "New York Blues";
  EXPECT_EQ(TeamOrderKey(line),
            "NY,5,1990,1,East,85,76,4.5,2nd,700,650,10,100,1100,0,New York Blues");
  EXPECT_EQ(GamesBehindText(0), "0");
  EXPECT_EQ(GamesBehindText(12), "12");
  EXPECT_EQ(GamesBehindText(-1), "-1");
  EXPECT_EQ(GamesBehindText(-0.5), "-0.5");
}

// The lines in the order of the oracle's keys.
template <typename KeyOf>
std::vector<SeasonStanding> OracleSorted(const std::vector<SeasonStanding>& lines, KeyOf key_of) {
  SortedWorkList<SeasonStanding> list;
  for (const SeasonStanding& line : lines) list.Add(key_of(line), line);
  std::vector<SeasonStanding> sorted;
  for (size_t i = 0; i < list.Count(); ++i) sorted.push_back(list.At(i));
  return sorted;
}

// The keys of the lines, one per text line, to show where two orders part.
template <typename KeyOf>
std::string Keys(const std::vector<SeasonStanding>& lines, KeyOf key_of) {
  std::string out;
  for (const SeasonStanding& line : lines) out += key_of(line) + "\n";
  return out;
}

// Random seasons over a few teams, years and texts chosen to collide:
// texts that differ in case, accents, commas, spaces, the escape byte and
// prefixes; numbers that compare differently as text; many equal lines.
class RandomSeasons {
 public:
  explicit RandomSeasons(uint32_t seed) : random_(seed) {
    const std::vector<std::string> abbreviations = {"NY", "ny", "N,Y", "N Y", "",    "Ñy", "A\x1F",
                                                    "a,", "A",  "AB",  "A-B", "a b", "Ä",  "a!"};
    for (int team : kTeams) abbreviation_[team] = Pick(abbreviations);
  }

  // Fresh lines, and copies of earlier lines with one field drawn again (or
  // a name that folds the same), so that lines part at every field.
  std::vector<SeasonStanding> Make(size_t count) {
    std::vector<SeasonStanding> lines;
    for (size_t i = 0; i < count; ++i) {
      SeasonStanding line;
      if (lines.empty() || Pick({0, 1}) == 0) {
        for (int field = 0; field < kFields; ++field) Draw(line, field);
      } else {
        line = lines[std::uniform_int_distribution<size_t>(0, lines.size() - 1)(random_)];
        Draw(line, static_cast<int>(Pick({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14})));
      }
      lines.push_back(line);
    }
    return lines;
  }

 private:
  static constexpr int kTeams[] = {1, 2, 9, 10, 12, 100, 9999};
  static constexpr int kFields = 15;

  // Draws field `field` of the line; the team id and year also set the
  // abbreviation and the division, which follow from them.
  void Draw(SeasonStanding& line, int field) {
    static const std::vector<std::string> kDivisions = {
        "East", "EAST",        "East,2", "East 2", "",   std::string(20, ' '), "Öst", "East\x1F",
        "Eas",  "West, Upper", "West",   "east,",  "Ost"};
    static const std::vector<std::string> kNames = {
        "Boston Reds", "boston reds",    "Boston, Reds", "Boston",
        "Bóston Reds", "Boston Reds, A", "Boston  Reds", "",
        "Boston Red",  "BOSTON REDS"};
    FigureField(line, field);
    switch (field) {
      case 0:
        line.team_id = Pick(kTeams);
        break;
      case 1:
        line.year = static_cast<int>(Pick({1, 876, 1990, 1991, 9999, 10000, 32767}));
        break;
      case 2:
        line.league_id = static_cast<int>(Pick({1, 2, 10, 0, 9999}));
        break;
      case 3:
        line.team_name = Pick(kNames);
        break;
      case 4:
        line.post_season_record = Pick({0, 0, 1, 9, 10, 123456789012});
        break;
      case 5:
        line.games_behind =
            static_cast<double>(Pick({0, 1, 2, 9, 10, 19, 20, -1, -2, -19, 21})) / 2;
        break;
      case 6:
        line.place = static_cast<int>(Pick({1, 2, 3, 10, 11, 12, 13, 21, 22, 111}));
        break;
      default:
        break;
    }
    const int key = line.team_id * 100000 + line.year;
    if (!division_.count(key)) division_[key] = Pick(kDivisions);
    line.division = division_[key];
    line.abbreviation = abbreviation_[line.team_id];
  }

  void FigureField(SeasonStanding& line, int field) {
    TeamFigures& f = line.figures;
    switch (field) {
      case 7:
        f.won = Pick({0, 1, 9, 10, 81, 90, 99, 100, 199, 200, 201, 255});
        break;
      case 8:
        f.lost = Pick({0, 9, 10, 72, 81, 255});
        break;
      case 9:
        f.scored = Pick({-5, -10, 0, 5, 10, 700, 32767, -32768});
        break;
      case 10:
        f.allowed = Pick({5, 10, 600, -1});
        break;
      case 11:
        f.sho = Pick({0, 9, 10, 255});
        break;
      case 12:
        f.gdp = Pick({1, 10, 100, -7});
        break;
      case 13:
        f.lob = Pick({-1, 2, 1100});
        break;
      default:
        break;
    }
  }

  template <typename T, size_t N>
  T Pick(const T (&values)[N]) {
    return values[std::uniform_int_distribution<size_t>(0, N - 1)(random_)];
  }
  template <typename T>
  T Pick(const std::vector<T>& values) {
    return values[std::uniform_int_distribution<size_t>(0, values.size() - 1)(random_)];
  }
  int64_t Pick(std::initializer_list<int64_t> values) { return Pick(std::vector<int64_t>(values)); }

  std::mt19937 random_;
  std::map<int, std::string> abbreviation_;
  std::map<int, std::string> division_;
};

TEST(StandingsOracleTest, BothOrdersAreTheKeyTextOrders) {
  // Lines equal in every field may change places unseen; lines with equal
  // keys but other texts ("NY", "ny") must keep the order they came in.
  // Neighbours with equal keys that differ elsewhere.
  int ranking_ties = 0;
  int team_order_ties = 0;
  for (uint32_t seed = 1; seed <= 500; ++seed) {
    RandomSeasons random(seed);
    const std::vector<SeasonStanding> lines = random.Make(1 + seed % 80);

    std::vector<SeasonStanding> ranked = lines;
    SortIntoDivisions(ranked);
    const std::vector<SeasonStanding> ranked_by_keys = OracleSorted(lines, DivisionOrderKey);
    ASSERT_TRUE(ranked == ranked_by_keys) << "seed " << seed << "\n"
                                          << Keys(ranked, DivisionOrderKey) << "oracle:\n"
                                          << Keys(ranked_by_keys, DivisionOrderKey);

    std::vector<SeasonStanding> by_team = lines;
    SortByTeamAndYear(by_team);
    const std::vector<SeasonStanding> by_team_keys = OracleSorted(lines, TeamOrderKey);
    ASSERT_TRUE(by_team == by_team_keys) << "seed " << seed << "\n"
                                         << Keys(by_team, TeamOrderKey) << "oracle:\n"
                                         << Keys(by_team_keys, TeamOrderKey);
    for (size_t i = 1; i < ranked.size(); ++i) {
      ranking_ties +=
          !(ranked[i] == ranked[i - 1]) &&
          CompareListText(DivisionOrderKey(ranked[i]), DivisionOrderKey(ranked[i - 1])) == 0;
      team_order_ties +=
          !(by_team[i] == by_team[i - 1]) &&
          CompareListText(TeamOrderKey(by_team[i]), TeamOrderKey(by_team[i - 1])) == 0;
    }
  }
  EXPECT_GT(ranking_ties, 50);
  EXPECT_GT(team_order_ties, 50);
}

}  // namespace
}  // namespace statcrane
