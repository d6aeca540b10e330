#include "players/leaders.h"

#include <algorithm>
#include <variant>

namespace statcrane {
namespace {

// A leaders array index's statistic and the figure column it shows.
template <typename Figures>
constexpr auto StatsOf() {
  if constexpr (std::is_same_v<Figures, HittingFigures>) {
    return std::span<const LeaderStat>(kHittingLeaderStats);
  } else {
    return std::span<const LeaderStat>(kPitchingLeaderStats);
  }
}

template <typename Figures>
constexpr auto kStatColumns = [] {
  constexpr auto stats = StatsOf<Figures>();
  std::array<size_t, stats.size()> columns{};
  for (size_t i = 0; i < stats.size(); ++i) {
    columns[i] = FigureColumnIndex<Figures>(stats[i].heading);
  }
  return columns;
}();
static_assert(std::ranges::none_of(kStatColumns<HittingFigures>,
                                   [](size_t c) { return c == kHittingColumns.size(); }));
static_assert(std::ranges::none_of(kStatColumns<PitchingFigures>,
                                   [](size_t c) { return c == kPitchingColumns.size(); }));

// The minimums of a season (team_games > 0) or of a career (team_games 0).
bool Qualifies(Qualifier qualifier, const HittingCounts& c, int64_t team_games) {
  if (qualifier != Qualifier::kPlateAppearances) return true;
  const int64_t least =
      team_games == 0 ? kCareerPlateAppearances : SeasonPlateAppearances(team_games);
  return PlateAppearances(c) >= least;
}
bool Qualifies(Qualifier qualifier, const PitchingCounts& c, int64_t team_games) {
  switch (qualifier) {
    case Qualifier::kInnings:
      return c.outs >= (team_games == 0 ? kCareerOuts : SeasonOuts(team_games));
    case Qualifier::kDecisions:
      return c.wins + c.losses >= (team_games == 0 ? kCareerDecisions : kSeasonDecisions);
    default:
      return true;
  }
}

template <typename Figures>
constexpr size_t FirstStat() {
  return std::is_same_v<Figures, HittingFigures> ? 0 : kHittingLeaderStats.size();
}

template <typename Figures>
Figures FiguresOf(const decltype(Figures::counts)& counts) {
  if constexpr (std::is_same_v<Figures, HittingFigures>) {
    return HittingFiguresOf(counts);
  } else {
    return PitchingFiguresOf(counts);
  }
}

}  // namespace

const LeaderStat& LeaderStatAt(size_t i) {
  return IsHittingStat(i) ? kHittingLeaderStats[i]
                          : kPitchingLeaderStats[i - kHittingLeaderStats.size()];
}

TeamSeasonFacts::TeamSeasonFacts(const std::vector<TeamSeason>& seasons,
                                 const LeagueDisplayNames& leagues) {
  for (const TeamSeason& season : seasons) {
    Fact& fact = facts_[Key(season.team_id, season.year)];
    fact.games = season.regular_season.won + season.regular_season.lost;
    fact.league = season.league_id;
    if (!league_names_.contains(season.league_id)) {
      league_names_[season.league_id] = leagues[season.league_id];
    }
  }
}

TeamSeasonFacts::Fact TeamSeasonFacts::Of(int32_t team_id, int32_t year) const {
  const auto it = facts_.find(Key(team_id, year));
  return it == facts_.end() ? Fact{} : it->second;
}

std::string TeamSeasonFacts::LeagueName(int32_t league_id) const {
  const auto it = league_names_.find(league_id);
  if (it != league_names_.end() && !it->second.empty()) return it->second;
  return "League " + std::to_string(league_id);
}

void TopEntries::Prune() {
  if (items_.size() > listed_) {
    auto nth = items_.begin() + static_cast<std::ptrdiff_t>(listed_ - 1);
    std::nth_element(items_.begin(), nth, items_.end(),
                     [](const Item& a, const Item& b) { return a.key > b.key; });
    floor_ = nth->key;
    std::erase_if(items_, [this](const Item& item) { return item.key < floor_; });
  }
  limit_ = std::max(limit_, 2 * items_.size());
}

LeaderList TopEntries::Ranked() {
  std::stable_sort(items_.begin(), items_.end(), [](const Item& a, const Item& b) {
    if (a.key != b.key) return a.key > b.key;
    if (a.entry.player != b.entry.player) return a.entry.player < b.entry.player;
    return a.entry.year < b.entry.year;
  });
  LeaderList list;
  for (size_t i = 0; i < items_.size(); ++i) {
    LeaderEntry entry = items_[i].entry;
    const bool same_as_before = i > 0 && items_[i - 1].key == items_[i].key;
    entry.rank = same_as_before ? list.back().rank : static_cast<int32_t>(i + 1);
    if (entry.rank > static_cast<int32_t>(listed_)) break;
    entry.tied = same_as_before || (i + 1 < items_.size() && items_[i + 1].key == items_[i].key);
    list.push_back(entry);
  }
  return list;
}

LeadersCollector::LeadersCollector(TeamSeasonFacts teams) : teams_(std::move(teams)) {}

template <typename Figures>
void LeadersCollector::AddFigures(const Figures& figures, int32_t player, int32_t year,
                                  int64_t team_games, size_t first_stat,
                                  std::array<TopEntries, kLeaderStatCount>& lists,
                                  std::array<TopEntries, kLeaderStatCount>* also) {
  constexpr auto stats = StatsOf<Figures>();
  const auto columns = FigureColumns<Figures>();
  for (size_t i = 0; i < stats.size(); ++i) {
    const LeaderStat& stat = stats[i];
    if (stat.qualifier != Qualifier::kNone &&
        !Qualifies(stat.qualifier, figures.counts, team_games)) {
      continue;
    }
    const double value = std::get<double>(columns[kStatColumns<Figures>[i]].value(figures));
    if (stat.qualifier == Qualifier::kNone && value <= 0) continue;
    const double key = stat.lower_first ? -value : value;
    const LeaderEntry entry{player, year, value, 0, false};
    lists[first_stat + i].Add(key, entry);
    if (also != nullptr) (*also)[first_stat + i].Add(key, entry);
  }
}

template <typename Figures>
void LeadersCollector::AddCareer(const LineGroup<Figures>& group, int32_t player,
                                 size_t first_stat) {
  if (group.lines.empty()) return;
  AddFigures(group.totals, player, 0, 0, first_stat, career_);
}

std::array<TopEntries, kLeaderStatCount>& LeadersCollector::LeagueLists(int32_t year,
                                                                        int32_t league) {
  std::vector<std::pair<int32_t, size_t>>& of_year = league_index_[year];
  for (const auto& [id, index] : of_year) {
    if (id == league) return league_seasons_[index].lists;
  }
  of_year.emplace_back(league, league_seasons_.size());
  {
    LeagueSeason season;
    season.year = year;
    season.league = league;
    season.lists.fill(TopEntries(1));
    league_seasons_.push_back(std::move(season));
  }
  return league_seasons_.back().lists;
}

template <typename Figures>
void LeadersCollector::AddSeasons(const LineGroup<Figures>& group, int32_t player,
                                  size_t first_stat) {
  using Counts = decltype(Figures::counts);
  const auto& lines = group.lines;
  // A block's lines are in year order: each year's lines follow each other.
  for (size_t first = 0; first < lines.size();) {
    const int32_t year = lines[first].year;
    size_t end = first;
    Counts counts;
    int32_t games = 0;
    bool one_league = true;
    facts_.clear();
    while (end < lines.size() && lines[end].year == year) {
      const TeamSeasonFacts::Fact fact = teams_.Of(lines[end].team_id, year);
      facts_.push_back(fact);
      one_league = one_league && fact.league == facts_.front().league;
      counts += lines[end].figures.counts;
      games = std::max(games, fact.games);
      ++end;
    }
    const Figures figures = end - first == 1 ? lines[first].figures : FiguresOf<Figures>(counts);
    const int64_t team_games = games > 0 ? games : kUnknownTeamGames;
    if (one_league) {
      // The season is the season in its league (none when its teams are not
      // in the team-year file).
      const int32_t league = facts_.front().league;
      AddFigures(figures, player, year, team_games, first_stat, season_,
                 league < 0 ? nullptr : &LeagueLists(year, league));
      first = end;
      continue;
    }
    AddFigures(figures, player, year, team_games, first_stat, season_);
    // The year in each league: the lines with the league's teams.
    for (size_t i = 0; i < facts_.size(); ++i) {
      const int32_t league = facts_[i].league;
      if (league < 0) continue;
      bool seen = false;
      for (size_t j = 0; j < i && !seen; ++j) seen = facts_[j].league == league;
      if (seen) continue;
      Counts league_counts;
      int32_t league_games = 0;
      for (size_t j = i; j < facts_.size(); ++j) {
        if (facts_[j].league != league) continue;
        league_counts += lines[first + j].figures.counts;
        league_games = std::max(league_games, facts_[j].games);
      }
      AddFigures(FiguresOf<Figures>(league_counts), player, year,
                 league_games > 0 ? league_games : kUnknownTeamGames, first_stat,
                 LeagueLists(year, league));
    }
    first = end;
  }
}

void LeadersCollector::Add(const PlayerBlock& block, std::string_view sheet, Row row) {
  const SectionLines& regular = block.section(Series::kRegularSeason);
  LeaderPlayer player;
  player.name = block.name;
  player.player_id = block.player_id;
  player.sheet = std::string(sheet);
  player.row = row;
  if (!regular.hitting.lines.empty()) {
    player.hitting_first = regular.hitting.lines.front().year;
    player.hitting_last = regular.hitting.lines.back().year;
  }
  if (!regular.pitching.lines.empty()) {
    player.pitching_first = regular.pitching.lines.front().year;
    player.pitching_last = regular.pitching.lines.back().year;
  }
  const int32_t index = static_cast<int32_t>(leaders_.players.size());
  leaders_.players.push_back(std::move(player));
  AddCareer(regular.hitting, index, FirstStat<HittingFigures>());
  AddCareer(regular.pitching, index, FirstStat<PitchingFigures>());
  AddSeasons(regular.hitting, index, FirstStat<HittingFigures>());
  AddSeasons(regular.pitching, index, FirstStat<PitchingFigures>());
}

Leaders LeadersCollector::Finish() {
  for (size_t i = 0; i < kLeaderStatCount; ++i) {
    leaders_.career[i] = career_[i].Ranked();
    leaders_.season[i] = season_[i].Ranked();
  }
  std::vector<LeagueSeasonLeaders> leagues;
  leagues.reserve(league_seasons_.size());
  for (LeagueSeason& season : league_seasons_) {
    LeagueSeasonLeaders out;
    out.year = season.year;
    out.league_id = season.league;
    out.league_name = teams_.LeagueName(season.league);
    for (size_t i = 0; i < kLeaderStatCount; ++i) out.leaders[i] = season.lists[i].Ranked();
    leagues.push_back(std::move(out));
  }
  std::sort(leagues.begin(), leagues.end(),
            [](const LeagueSeasonLeaders& a, const LeagueSeasonLeaders& b) {
              if (a.year != b.year) return a.year < b.year;
              if (a.league_name != b.league_name) return a.league_name < b.league_name;
              return a.league_id < b.league_id;
            });
  leaders_.leagues = std::move(leagues);
  return std::move(leaders_);
}

}  // namespace statcrane
