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
    EXPECT_EQ(t.record_status, 0);
    EXPECT_GE(t.gate_a, 1);
    EXPECT_GE(t.gate_b, 1);
    ASSERT_EQ(t.abbreviation.size(), 3u);
    for (char c : t.abbreviation) EXPECT_TRUE(c >= 'A' && c <= 'Z') << t.abbreviation;
    EXPECT_FALSE(t.city.empty());
    EXPECT_FALSE(t.nickname.empty());
    EXPECT_TRUE(ids.insert(t.team_id).second);
    EXPECT_TRUE(abbrevs.insert(t.abbreviation).second);
  }
  std::map<std::pair<int, int>, const TeamYearRecord*> seasons;  // (team, year)
  for (const auto& s : team_years_) {
    EXPECT_TRUE(ids.count(s.team_id)) << s.team_id;
    EXPECT_FALSE(s.name_part_1.empty());
    EXPECT_FALSE(s.name_part_2.empty());
    EXPECT_TRUE(seasons.emplace(std::pair(int{s.team_id}, int{s.year}), &s).second);
  }
  ASSERT_EQ(leagues_.size(), 3u);
  for (const auto& l : leagues_) {
    EXPECT_TRUE(l.league_name_present());
    EXPECT_GT(l.use_mark, 0);
  }

  bool without_divisions = false, with_divisions = false, three_divisions = false;
  std::map<std::pair<int, int>, std::pair<int, int>> league_games;  // (league, year) -> W, L
  for (const auto& ly : league_years_) {
    EXPECT_FALSE(ly.league_name.empty());
    const bool named = ly.division_name_present(0) && ly.division_name_present(1);
    without_divisions |= !ly.division_name_present(0);
    with_divisions |= named;
    three_divisions |= ly.division_name_present(2);
    for (int d = 0; d < 4; ++d) {
      for (int team : ly.division_teams[d]) {
        if (team < 0) continue;
        EXPECT_TRUE(named || d == 0);
        const auto season = seasons.find(std::pair(team, int{ly.year}));
        ASSERT_NE(season, seasons.end()) << team << " " << ly.year;
        EXPECT_EQ(season->second->league_id, ly.league_id);
        auto& [won, lost] = league_games[std::pair(int{ly.league_id}, int{ly.year})];
        won += season->second->regular_season.won;
        lost += season->second->regular_season.lost;
      }
    }
  }
  EXPECT_TRUE(without_divisions);
  EXPECT_TRUE(with_divisions);
  EXPECT_TRUE(three_divisions);
  for (const auto& [key, games] : league_games) EXPECT_EQ(games.first, games.second);
  for (const auto& s : team_years_) {
    const int games = s.regular_season.won + s.regular_season.lost;
    EXPECT_TRUE(games == 140 || games == 154 || games == 162) << games;
  }
}

TEST_F(GeneratedEncyclopediaTest, PlayersAndTheirLines) {
  std::map<int, const PlayerRecord*> players;
  for (const auto& p : players_) {
    EXPECT_TRUE(IsCalendarDate(p.birth_year, p.birth_month, p.birth_day));
    players[p.player_id] = &p;
  }
  ASSERT_EQ(players.size(), 2500u);
  EXPECT_EQ(players.begin()->first, 1);
  EXPECT_EQ(players.rbegin()->first, 2500);

  std::set<int> team_ids;
  for (const auto& t : teams_) team_ids.insert(t.team_id);
  std::map<std::tuple<int, int, int>, int> post_games;  // (team, year, type) -> games
  for (const auto& s : team_years_) {
    post_games[{s.team_id, s.year, 5}] = s.division_series.won + s.division_series.lost;
    post_games[{s.team_id, s.year, 6}] =
        s.league_championship_series.won + s.league_championship_series.lost;
    post_games[{s.team_id, s.year, 7}] = s.world_series.won + s.world_series.lost;
  }

  std::map<int, int> types;
  std::map<std::tuple<int, int, int>, std::set<int>> regular_teams;  // (player, year, kind)
  bool accented = false, lower_case = false;
  for (const auto& r : stats_) {
    ++types[r.season_type];
    ASSERT_TRUE(players.count(r.player_id));
    EXPECT_EQ(r.first_name, players[r.player_id]->first_name);
    EXPECT_EQ(r.last_name, players[r.player_id]->last_name);
    EXPECT_TRUE(team_ids.count(r.team_id)) << r.team_id;
    if (r.season_type >= 5) {
      EXPECT_GT((post_games[{r.team_id, r.year, r.season_type}]), 0)
          << "type " << int{r.season_type} << " line of team " << r.team_id << " in " << r.year;
    }
    if (r.season_type == 2) regular_teams[{r.player_id, r.year, r.line_kind}].insert(r.team_id);
    accented |= static_cast<unsigned char>(r.last_name[0]) >= 0x80 ||
                r.last_name.find_first_of("\xC3") != std::string::npos;
    lower_case |= r.last_name[0] >= 'a' && r.last_name[0] <= 'z';
    ASSERT_TRUE(r.line_kind == 1 || r.line_kind == 2);
    if (r.line_kind == 1) {
      EXPECT_GT(r.at_bats, 0);
      EXPECT_LE(r.hits, r.at_bats);
      EXPECT_LE(r.doubles + r.triples + r.home_runs, r.hits);
      EXPECT_GE(r.runs, r.home_runs);
      EXPECT_GE(r.runs_batted_in, r.home_runs);
    } else {
      EXPECT_GT(r.outs_pitched, 0);
      EXPECT_GE(r.opponent_at_bats, r.hits_allowed);
      EXPECT_LE(r.earned_runs, r.runs_allowed);
      EXPECT_LE(r.home_runs_allowed, r.hits_allowed);
      EXPECT_LE(r.games_started, r.games_pitched);
      EXPECT_LE(r.wins + r.losses, r.games_pitched);
      EXPECT_LE(r.shutouts, r.complete_games);
      EXPECT_LE(r.complete_games, r.games_started);
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
