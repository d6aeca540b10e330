#include "tools/encyclopedia_generator.h"

#include <gtest/gtest.h>

#include <algorithm>
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

  static std::vector<int32_t> PlantedIds() {
    const PlantedPlayers& p = summary_.planted;
    return {p.pitching_then_hitting,  p.hitting_then_pitching, p.both_kinds_same_year,
            p.post_season_both_kinds, p.other_kind_first,      p.other_kind_middle,
            p.other_kind_last,        p.only_other_kinds};
  }
  static bool Planted(int32_t id) {
    const std::vector<int32_t> ids = PlantedIds();
    return std::find(ids.begin(), ids.end(), id) != ids.end();
  }
  // The player's lines of one season type, by year and then file order.
  static std::vector<const PlayerStatsRecord*> LinesOf(int32_t id, int season_type) {
    std::vector<const PlayerStatsRecord*> lines;
    for (const auto& r : stats_) {
      if (r.player_id == id && r.season_type == season_type) lines.push_back(&r);
    }
    std::stable_sort(lines.begin(), lines.end(),
                     [](const auto* a, const auto* b) { return a->year < b->year; });
    return lines;
  }
  // The line kinds of the player's regular season, year by year.
  static std::vector<std::set<int>> KindsByYear(int32_t id) {
    std::map<int, std::set<int>> by_year;
    for (const auto* r : LinesOf(id, 2)) by_year[r->year].insert(r->line_kind);
    std::vector<std::set<int>> kinds;
    for (const auto& [year, set] : by_year) kinds.push_back(set);
    return kinds;
  }

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
  EXPECT_GT(stats_.size(), 2500u * 6);
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
    if (Planted(r.player_id)) continue;
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

// A real encyclopedia holds one kind of line per player, season, type and
// team; a role change is rare.
TEST_F(GeneratedEncyclopediaTest, OneKindPerSeasonTypeAndTeamAndFewRoleChanges) {
  std::map<std::tuple<int, int, int, int>, std::set<int>> kinds;  // player, year, type, team
  std::map<int, std::set<int>> regular_kinds;                     // player
  for (const auto& r : stats_) {
    if (Planted(r.player_id) || r.season_type == 1) continue;
    kinds[{r.player_id, r.year, r.season_type, r.team_id}].insert(r.line_kind);
    if (r.season_type == 2) regular_kinds[r.player_id].insert(r.line_kind);
  }
  for (const auto& [key, set] : kinds) {
    EXPECT_EQ(set.size(), 1u) << "player " << std::get<0>(key) << " in " << std::get<1>(key);
  }
  int changed = 0;
  for (const auto& [id, set] : regular_kinds) changed += set.size() > 1;
  EXPECT_GT(changed, 0);
  EXPECT_LT(changed, 25);  // 1 % of 2,500
}

TEST_F(GeneratedEncyclopediaTest, PlantedPlayersHaveTheirShapes) {
  const std::vector<int32_t> ids = PlantedIds();
  EXPECT_EQ(std::set<int32_t>(ids.begin(), ids.end()).size(), ids.size());
  for (int32_t id : ids) EXPECT_GT(id, 0);
  const PlantedPlayers& planted = summary_.planted;
  using Kinds = std::vector<std::set<int>>;

  // A role change: one kind, then from some season on the other.
  auto one_change = [](const Kinds& kinds, int before, int after) {
    size_t at = 0;
    while (at < kinds.size() && kinds[at] == std::set<int>{before}) ++at;
    if (at == 0 || at == kinds.size()) return false;
    for (; at < kinds.size(); ++at) {
      if (kinds[at] != std::set<int>{after}) return false;
    }
    return true;
  };
  EXPECT_TRUE(one_change(KindsByYear(planted.pitching_then_hitting), 2, 1));
  EXPECT_TRUE(one_change(KindsByYear(planted.hitting_then_pitching), 1, 2));

  std::map<int, std::set<std::pair<int, int>>> lines_by_year;  // year -> (team, kind)
  for (const auto* r : LinesOf(planted.both_kinds_same_year, 2)) {
    lines_by_year[r->year].insert({r->team_id, r->line_kind});
  }
  int both = 0;
  for (const auto& [year, lines] : lines_by_year) {
    if (lines.size() == 2 && lines.begin()->first != lines.rbegin()->first &&
        lines.begin()->second != lines.rbegin()->second) {
      ++both;
    }
  }
  EXPECT_EQ(both, 1);

  std::map<std::pair<int, int>, std::set<int>> post_kinds;  // (year, type) -> kinds
  for (int type : {5, 6, 7}) {
    for (const auto* r : LinesOf(planted.post_season_both_kinds, type)) {
      post_kinds[{r->year, type}].insert(r->line_kind);
    }
  }
  int mixed_series = 0;
  for (const auto& [key, set] : post_kinds) mixed_series += set == std::set<int>{1, 2};
  EXPECT_EQ(mixed_series, 1);

  // Lines of another kind (0 or 3) first, in a middle season, last.
  auto normal = [](const std::set<int>& kinds) {
    return kinds == std::set<int>{1} || kinds == std::set<int>{2};
  };
  const Kinds first = KindsByYear(planted.other_kind_first);
  ASSERT_GE(first.size(), 3u);
  EXPECT_EQ(first.front(), std::set<int>{0});
  EXPECT_TRUE(std::all_of(first.begin() + 1, first.end(), normal));
  const Kinds middle = KindsByYear(planted.other_kind_middle);
  ASSERT_GE(middle.size(), 3u);
  EXPECT_TRUE(normal(middle.front()));
  EXPECT_TRUE(normal(middle.back()));
  EXPECT_EQ(std::count(middle.begin(), middle.end(), std::set<int>{3}), 1);
  const Kinds last = KindsByYear(planted.other_kind_last);
  ASSERT_GE(last.size(), 3u);
  EXPECT_EQ(last.back(), std::set<int>{0});
  EXPECT_TRUE(std::all_of(last.begin(), last.end() - 1, normal));
  const Kinds only = KindsByYear(planted.only_other_kinds);
  ASSERT_FALSE(only.empty());
  for (const auto& kinds : only) {
    for (int kind : kinds) EXPECT_TRUE(kind == 0 || kind == 3) << kind;
  }
}

TEST(EncyclopediaGeneratorTest, TheSampleSizeHoldsEveryPlantedPlayer) {
  TempDir dir;
  GeneratorOptions options;
  options.players = 300;
  options.seed = 1;
  const PlantedPlayers p = GenerateEncyclopedia(options, dir.path()).planted;
  for (int32_t id : {p.pitching_then_hitting, p.hitting_then_pitching, p.both_kinds_same_year,
                     p.post_season_both_kinds, p.other_kind_first, p.other_kind_middle,
                     p.other_kind_last, p.only_other_kinds}) {
    EXPECT_GT(id, 0);
  }
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
