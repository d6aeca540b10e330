// The leaders of the regular season, as plain data: the top 25 of careers
// and of single seasons, and each year's leader in each league, for every
// statistic of kHittingLeaderStats and kPitchingLeaderStats.
//
// The values are those of the letter sheets: a career is a player's
// regular-season totals of the kind, a season the sum of his lines of the
// year (over every team he played for), a league's season the sum of his
// lines of the year with the teams of that league; each gets its rates from
// the summed counts, as a totals line does, and each statistic's value is the
// figure column of its heading (figure_columns.h).
//
// Rates count only qualified players: plate appearances (at-bats, walks,
// hit by pitch, sacrifice flies and hits) for BAVG, OBP and SPC, innings for
// ERA and OBA, decisions (wins and losses) for PCT. A season needs 3.1 plate
// appearances per team game (rounded to the nearest whole number: 502 for
// 162 games), 1 inning per team game and 10 decisions; a career 3,000 plate
// appearances, 1,000 innings and 100 decisions. The team games of a season
// are the won and lost games of the team-year file; for a player on several
// teams that year (of the league, for a league's leaders) the most games of
// any of them; where none is known, 162. Counting statistics leave out
// values of 0. Lower ERA and OBA rank first.
//
// Ties share a rank; a list holds every entry whose rank is 25 or better,
// so every player tied at 25th is in it. Tied entries are in the order of
// the players on the letter sheets, then by year.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "encyclopedia/league_files.h"
#include "encyclopedia/team_year_file.h"
#include "players/figure_columns.h"
#include "players/player_block.h"
#include "players/player_walk.h"

namespace statcrane {

// What a rate needs of a player to count.
enum class Qualifier : uint8_t { kNone, kPlateAppearances, kInnings, kDecisions };

struct LeaderStat {
  std::string_view heading;  // the heading of its figure column
  std::string_view title;    // what it is in words
  Qualifier qualifier = Qualifier::kNone;
  bool lower_first = false;
};

inline constexpr auto kHittingLeaderStats = std::to_array<LeaderStat>({
    {"H", "Hits"},
    {"HR", "Home Runs"},
    {"RBI", "Runs Batted In"},
    {"R", "Runs"},
    {"2B", "Doubles"},
    {"3B", "Triples"},
    {"SB", "Stolen Bases"},
    {"BB", "Walks"},
    {"TB", "Total Bases"},
    {"BAVG", "Batting Average", Qualifier::kPlateAppearances},
    {"OBP", "On-Base Percentage", Qualifier::kPlateAppearances},
    {"SPC", "Slugging Percentage", Qualifier::kPlateAppearances},
});
inline constexpr auto kPitchingLeaderStats = std::to_array<LeaderStat>({
    {"W", "Wins"},
    {"SV", "Saves"},
    {"K", "Strikeouts"},
    {"IP", "Innings Pitched"},
    {"G", "Games"},
    {"GS", "Games Started"},
    {"CG", "Complete Games"},
    {"SHO", "Shutouts"},
    {"ERA", "Earned Run Average", Qualifier::kInnings, true},
    {"PCT", "Winning Percentage", Qualifier::kDecisions},
    {"OBA", "Opponents' Batting Average", Qualifier::kInnings, true},
});
inline constexpr size_t kLeaderStatCount = kHittingLeaderStats.size() + kPitchingLeaderStats.size();

// Every statistic, hitting first; index i of a leaders array is the i-th.
const LeaderStat& LeaderStatAt(size_t i);
inline bool IsHittingStat(size_t i) { return i < kHittingLeaderStats.size(); }

// The figure column a statistic shows (its value and number format).
template <typename Figures>
constexpr size_t FigureColumnIndex(std::string_view heading) {
  const auto columns = FigureColumns<Figures>();
  for (size_t i = 0; i < columns.size(); ++i) {
    if (columns[i].heading == heading) return i;
  }
  return columns.size();
}

inline constexpr size_t kLeadersListed = 25;
inline constexpr int32_t kUnknownTeamGames = 162;

// The qualifying minimums.
inline constexpr int64_t kCareerPlateAppearances = 3000;
inline constexpr int64_t kCareerOuts = 3 * 1000;
inline constexpr int64_t kCareerDecisions = 100;
inline constexpr int64_t kSeasonDecisions = 10;
// 3.1 per team game, to the nearest whole number.
constexpr int64_t SeasonPlateAppearances(int64_t team_games) { return (31 * team_games + 5) / 10; }
constexpr int64_t SeasonOuts(int64_t team_games) { return 3 * team_games; }

inline int64_t PlateAppearances(const HittingCounts& c) {
  return c.at_bats + c.walks + c.hit_by_pitch + c.sacrifice_flies + c.sacrifice_hits;
}

// The games and the league of each team season of the team-year file.
class TeamSeasonFacts {
 public:
  TeamSeasonFacts() = default;
  TeamSeasonFacts(const std::vector<TeamSeason>& seasons, const LeagueDisplayNames& leagues);

  struct Fact {
    int32_t games = 0;    // won + lost in the regular season; 0 when unknown
    int32_t league = -1;  // -1 when the season is not in the file
  };
  Fact Of(int32_t team_id, int32_t year) const;
  int32_t Games(int32_t team_id, int32_t year) const { return Of(team_id, year).games; }
  int32_t League(int32_t team_id, int32_t year) const { return Of(team_id, year).league; }
  // The league's name, or "League N" when it has none.
  std::string LeagueName(int32_t league_id) const;

 private:
  static uint64_t Key(int32_t team_id, int32_t year) {
    return (static_cast<uint64_t>(static_cast<uint32_t>(team_id)) << 32) |
           static_cast<uint32_t>(year);
  }
  std::unordered_map<uint64_t, Fact> facts_;
  std::unordered_map<int32_t, std::string> league_names_;
};

// A player of the lists: his name as his block shows it and where the block
// is.
struct LeaderPlayer {
  std::string name;
  int32_t player_id = 0;
  std::string sheet;
  Row row;  // the name row of his block
  // First and last year of his regular-season lines of each kind.
  int32_t hitting_first = 0, hitting_last = 0;
  int32_t pitching_first = 0, pitching_last = 0;
};

struct LeaderEntry {
  int32_t player = 0;  // index into Leaders::players
  int32_t year = 0;    // 0 for a career
  double value = 0;    // the figure, as the letter sheets hold it
  int32_t rank = 0;
  bool tied = false;  // another entry of the list has the same value
};
using LeaderList = std::vector<LeaderEntry>;

struct LeagueSeasonLeaders {
  int32_t year = 0;
  int32_t league_id = 0;
  std::string league_name;
  // Each statistic's leaders: rank 1, ties included; empty when nobody
  // qualified (or every value was 0).
  std::array<LeaderList, kLeaderStatCount> leaders;
};

struct Leaders {
  std::vector<LeaderPlayer> players;  // in the order of the letter sheets
  std::array<LeaderList, kLeaderStatCount> career;
  std::array<LeaderList, kLeaderStatCount> season;
  std::vector<LeagueSeasonLeaders> leagues;  // by year, then league name and id
};

// The best entries of one statistic: keeps every entry that may still be in
// the top `listed` (with ties), dropping the rest as it goes.
class TopEntries {
 public:
  TopEntries() = default;
  explicit TopEntries(size_t listed) : listed_(listed), limit_(4 * listed + 4) {}
  // `key`: higher is better.
  void Add(double key, const LeaderEntry& entry) {
    if (key < floor_) return;
    items_.push_back({key, entry});
    if (items_.size() >= limit_) Prune();
  }
  // Ranked, best first.
  LeaderList Ranked();

 private:
  struct Item {
    double key;
    LeaderEntry entry;
  };
  void Prune();
  size_t listed_ = kLeadersListed;
  size_t limit_ = 4 * kLeadersListed;
  double floor_ = -1e300;
  std::vector<Item> items_;
};

// Takes the players' blocks as the walk writes them, then ranks.
class LeadersCollector {
 public:
  explicit LeadersCollector(TeamSeasonFacts teams);

  // A block and where it went; players without a place (no letter sheets)
  // get an empty sheet name.
  void Add(const PlayerBlock& block, std::string_view sheet, Row row);
  void Add(const PlacedPlayerBlock& placed) {
    Add(placed.block, placed.sheet.name(), placed.rows.first);
  }

  Leaders Finish();

 private:
  template <typename Figures>
  void AddCareer(const LineGroup<Figures>& group, int32_t player, size_t first_stat);
  template <typename Figures>
  void AddSeasons(const LineGroup<Figures>& group, int32_t player, size_t first_stat);
  // Adds the figures to `lists` and, when given, to `also`.
  template <typename Figures>
  void AddFigures(const Figures& figures, int32_t player, int32_t year, int64_t team_games,
                  size_t first_stat, std::array<TopEntries, kLeaderStatCount>& lists,
                  std::array<TopEntries, kLeaderStatCount>* also = nullptr);
  std::array<TopEntries, kLeaderStatCount>& LeagueLists(int32_t year, int32_t league);

  TeamSeasonFacts teams_;
  Leaders leaders_;
  std::array<TopEntries, kLeaderStatCount> career_;
  std::array<TopEntries, kLeaderStatCount> season_;
  struct LeagueSeason {
    int32_t year = 0;
    int32_t league = 0;
    std::array<TopEntries, kLeaderStatCount> lists;
  };
  std::vector<LeagueSeason> league_seasons_;
  // By year: each league's place in league_seasons_.
  std::unordered_map<int32_t, std::vector<std::pair<int32_t, size_t>>> league_index_;
  // The facts of the lines of one year of a block.
  std::vector<TeamSeasonFacts::Fact> facts_;
};

}  // namespace statcrane
