#include "tools/encyclopedia_generator.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "encyclopedia/encyclopedia_folder.h"
#include "encyclopedia/record_layouts.h"
#include "testing/record_files.h"
#include "testing/temp_dir.h"
#include "util/dates.h"
#include "util/error.h"

namespace statcrane {
namespace {

using testing::ReadBytes;
using testing::ReadRecords;
using testing::TempDir;

const std::string_view kAllFiles[] = {kTeamFile,   kPlayerFile,     kPlayerStatsFile,
                                      kLeagueFile, kLeagueYearFile, kTeamYearFile};

TEST(EncyclopediaGeneratorTest, SameSeedGivesSameBytes) {
  TempDir a, b, c;
  GeneratorOptions options;
  options.players = 400;
  options.seed = 77;
  GenerateEncyclopedia(options, a.path());
  GenerateEncyclopedia(options, b.path());
  options.seed = 78;
  GenerateEncyclopedia(options, c.path());
  for (std::string_view name : kAllFiles) {
    SCOPED_TRACE(name);
    const auto bytes = ReadBytes(a / name);
    EXPECT_FALSE(bytes.empty());
    EXPECT_EQ(bytes, ReadBytes(b / name));
  }
  EXPECT_NE(ReadBytes(a / kPlayerStatsFile), ReadBytes(c / kPlayerStatsFile));
}

// One encyclopedia of a couple of thousand players, decoded and checked for
// the consistency the readers rely on.
class GeneratedEncyclopediaTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new TempDir();
    GeneratorOptions options;
    options.players = 2500;
    options.seed = 5;
    summary_ = GenerateEncyclopedia(options, dir_->path());
    teams_ = ReadRecords<TeamRecord>(dir_->path() / kTeamFile);
    players_ = ReadRecords<PlayerRecord>(dir_->path() / kPlayerFile);
    stats_ = ReadRecords<PlayerStatsRecord>(dir_->path() / kPlayerStatsFile);
    leagues_ = ReadRecords<LeagueRecord>(dir_->path() / kLeagueFile);
    league_years_ = ReadRecords<LeagueYearRecord>(dir_->path() / kLeagueYearFile);
    team_years_ = ReadRecords<TeamYearRecord>(dir_->path() / kTeamYearFile);
  }
  static void TearDownTestSuite() { delete dir_; }

  static inline TempDir* dir_ = nullptr;
  static inline GeneratorSummary summary_;
  static inline std::vector<TeamRecord> teams_;
  static inline std::vector<PlayerRecord> players_;
  static inline std::vector<PlayerStatsRecord> stats_;
  static inline std::vector<LeagueRecord> leagues_;
  static inline std::vector<LeagueYearRecord> league_years_;
  static inline std::vector<TeamYearRecord> team_years_;
};

TEST_F(GeneratedEncyclopediaTest, FilesHoldWholeRecordsAndMatchTheSummary) {
  const std::pair<std::string_view, size_t> sizes[] = {
      {kTeamFile, 56},   {kPlayerFile, 48},       {kPlayerStatsFile, 336},
      {kLeagueFile, 50}, {kLeagueYearFile, 1000}, {kTeamYearFile, 368}};
  for (const auto& [name, size] : sizes) {
    EXPECT_EQ(std::filesystem::file_size(dir_->path() / name) % size, 0u) << name;
  }
  EXPECT_EQ(summary_.teams, static_cast<int64_t>(teams_.size()));
  EXPECT_EQ(summary_.players, 2500);
  EXPECT_EQ(static_cast<int64_t>(players_.size()), 2500);
  EXPECT_EQ(summary_.stats_records, static_cast<int64_t>(stats_.size()));
  EXPECT_EQ(summary_.leagues, 3);
  EXPECT_EQ(summary_.league_years, static_cast<int64_t>(league_years_.size()));
  EXPECT_EQ(summary_.team_seasons, static_cast<int64_t>(team_years_.size()));
  // About 15 statistics records a player once careers fit the span; rosters
  // of a reasonable size.
  EXPECT_GT(stats_.size(), 2500u * 8);
  EXPECT_LT(stats_.size(), 2500u * 20);
  EXPECT_GT(team_years_.size(), 150u);
  EXPECT_LT(team_years_.size(), 350u);
}

TEST_F(GeneratedEncyclopediaTest, TeamsAndLeagues) {
  std::set<int> ids;
  std::set<std::string> abbrevs;
  for (const auto& t : teams_) {
    EXPECT_EQ(t.RecordStatus, 0);
    EXPECT_GE(t.GateA, 1);
    EXPECT_GE(t.GateB, 1);
    ASSERT_EQ(t.Abbrev.size(), 3u);
    for (char c : t.Abbrev) EXPECT_TRUE(c >= 'A' && c <= 'Z') << t.Abbrev;
    EXPECT_FALSE(t.City.empty());
    EXPECT_FALSE(t.Nickname.empty());
    EXPECT_TRUE(ids.insert(t.TeamId).second);
    EXPECT_TRUE(abbrevs.insert(t.Abbrev).second);
  }
  std::map<std::pair<int, int>, const TeamYearRecord*> seasons;  // (team, year)
  for (const auto& s : team_years_) {
    EXPECT_TRUE(ids.count(s.TeamId)) << s.TeamId;
    EXPECT_FALSE(s.TeamName1.empty());
    EXPECT_FALSE(s.TeamName2.empty());
    EXPECT_TRUE(seasons.emplace(std::pair(int{s.TeamId}, int{s.Year}), &s).second);
  }
  ASSERT_EQ(leagues_.size(), 3u);
  for (const auto& l : leagues_) {
    EXPECT_TRUE(l.LeagueNamePresent);
    EXPECT_GT(l.UseMark, 0);
  }

  bool without_divisions = false, with_divisions = false, three_divisions = false;
  std::map<std::pair<int, int>, std::pair<int, int>> league_games;  // (league, year) -> W, L
  for (const auto& ly : league_years_) {
    EXPECT_FALSE(ly.LeagueName.empty());
    const bool named = ly.DivisionNamePresent[0] && ly.DivisionNamePresent[1];
    without_divisions |= !ly.DivisionNamePresent[0];
    with_divisions |= named;
    three_divisions |= ly.DivisionNamePresent[2];
    for (int d = 0; d < 4; ++d) {
      for (int team : ly.DivisionTeams[d]) {
        if (team < 0) continue;
        EXPECT_TRUE(named || d == 0);
        const auto season = seasons.find(std::pair(team, int{ly.Year}));
        ASSERT_NE(season, seasons.end()) << team << " " << ly.Year;
        EXPECT_EQ(season->second->LeagueId, ly.LeagueId);
        auto& [won, lost] = league_games[std::pair(int{ly.LeagueId}, int{ly.Year})];
        won += season->second->Reg.Won;
        lost += season->second->Reg.Lost;
      }
    }
  }
  EXPECT_TRUE(without_divisions);
  EXPECT_TRUE(with_divisions);
  EXPECT_TRUE(three_divisions);
  for (const auto& [key, games] : league_games) EXPECT_EQ(games.first, games.second);
  for (const auto& s : team_years_) {
    const int games = s.Reg.Won + s.Reg.Lost;
    EXPECT_TRUE(games == 140 || games == 154 || games == 162) << games;
  }
}

TEST_F(GeneratedEncyclopediaTest, PlayersAndTheirLines) {
  std::map<int, const PlayerRecord*> players;
  for (const auto& p : players_) {
    EXPECT_TRUE(IsCalendarDate(p.BirthYear, p.BirthMonth, p.BirthDay));
    players[p.PlayerId] = &p;
  }
  ASSERT_EQ(players.size(), 2500u);
  EXPECT_EQ(players.begin()->first, 1);
  EXPECT_EQ(players.rbegin()->first, 2500);

  std::set<int> team_ids;
  for (const auto& t : teams_) team_ids.insert(t.TeamId);
  std::map<std::tuple<int, int, int>, int> post_games;  // (team, year, type) -> games
  for (const auto& s : team_years_) {
    post_games[{s.TeamId, s.Year, 5}] = s.DCS.Won + s.DCS.Lost;
    post_games[{s.TeamId, s.Year, 6}] = s.LCS.Won + s.LCS.Lost;
    post_games[{s.TeamId, s.Year, 7}] = s.WS.Won + s.WS.Lost;
  }

  std::map<int, int> types;
  std::map<std::tuple<int, int, int>, std::set<int>> regular_teams;  // (player, year, kind)
  bool accented = false, lower_case = false;
  for (const auto& r : stats_) {
    ++types[r.SeasonType];
    ASSERT_TRUE(players.count(r.PlayerId));
    EXPECT_EQ(r.FirstName, players[r.PlayerId]->FirstName);
    EXPECT_EQ(r.LastName, players[r.PlayerId]->LastName);
    EXPECT_TRUE(team_ids.count(r.TeamId)) << r.TeamId;
    if (r.SeasonType >= 5) {
      EXPECT_GT((post_games[{r.TeamId, r.Year, r.SeasonType}]), 0)
          << "type " << int{r.SeasonType} << " line of team " << r.TeamId << " in " << r.Year;
    }
    if (r.SeasonType == 2) regular_teams[{r.PlayerId, r.Year, r.LineKind}].insert(r.TeamId);
    accented |= static_cast<unsigned char>(r.LastName[0]) >= 0x80 ||
                r.LastName.find_first_of("\xC3") != std::string::npos;
    lower_case |= r.LastName[0] >= 'a' && r.LastName[0] <= 'z';
    ASSERT_TRUE(r.LineKind == 1 || r.LineKind == 2);
    if (r.LineKind == 1) {
      EXPECT_GT(r.AtBats, 0);
      EXPECT_LE(r.Hits, r.AtBats);
      EXPECT_LE(r.Doubles + r.Triples + r.HomeRuns, r.Hits);
      EXPECT_GE(r.Runs, r.HomeRuns);
      EXPECT_GE(r.RBI, r.HomeRuns);
    } else {
      EXPECT_GT(r.OutsPitched, 0);
      EXPECT_GE(r.OppAtBats, r.HitsAllowed);
      EXPECT_LE(r.EarnedRuns, r.RunsAllowed);
      EXPECT_LE(r.HRAllowed, r.HitsAllowed);
      EXPECT_LE(r.GamesStarted, r.GamesPitched);
      EXPECT_LE(r.Wins + r.Losses, r.GamesPitched);
      EXPECT_LE(r.Shutouts, r.CompleteGames);
      EXPECT_LE(r.CompleteGames, r.GamesStarted);
    }
  }
  EXPECT_EQ(types.size(), 5u);  // 1, 2, 5, 6 and 7
  EXPECT_GT(types[2], types[1] * 10);
  int traded = 0;
  for (const auto& [key, teams] : regular_teams) traded += teams.size() > 1;
  EXPECT_GT(traded, 10);
  EXPECT_TRUE(accented);
  EXPECT_TRUE(lower_case);
}

TEST(EncyclopediaGeneratorTest, FullScaleCounts) {
  TempDir dir;
  GeneratorOptions options;
  options.players = 32767;
  const GeneratorSummary s = GenerateEncyclopedia(options, dir.path());
  EXPECT_EQ(s.players, 32767);
  EXPECT_GT(s.stats_records, 440000);
  EXPECT_LT(s.stats_records, 540000);
  EXPECT_GT(s.team_seasons, 2700);
  EXPECT_LT(s.team_seasons, 3300);
  EXPECT_EQ(std::filesystem::file_size(dir / kPlayerStatsFile),
            static_cast<uintmax_t>(s.stats_records) * PlayerStatsRecord::kSize);
}

TEST(EncyclopediaGeneratorTest, RefusesBadOptionsAndUnwritableFolders) {
  TempDir dir;
  GeneratorOptions options;
  options.players = 0;
  EXPECT_THROW(GenerateEncyclopedia(options, dir.path()), std::invalid_argument);
  options.players = 32768;
  EXPECT_THROW(GenerateEncyclopedia(options, dir.path()), std::invalid_argument);
  options.players = 10;
  options.years = 50;
  options.last_year = 40;
  EXPECT_THROW(GenerateEncyclopedia(options, dir.path()), std::invalid_argument);

  dir.WriteFile("taken", {1});
  try {
    GenerateEncyclopedia(GeneratorOptions{}, dir / "taken");
    ADD_FAILURE() << "wrote into a file";
  } catch (const StatCraneError& e) {
    EXPECT_NE(e.message().find("taken"), std::string::npos);
  }
}

}  // namespace
}  // namespace statcrane
