#include "teams/team_blocks.h"

#include "util/error.h"

namespace statcrane {
namespace {

const TeamStatBlock& SeriesFigures(const TeamYearRecord& record, Series series) {
  switch (series) {
    case Series::kRegularSeason:
      return record.regular_season;
    case Series::kDivisionSeries:
      return record.division_series;
    case Series::kLeagueChampionshipSeries:
      return record.league_championship_series;
    case Series::kWorldSeries:
      return record.world_series;
  }
  return record.world_series;
}

// The records of the block's seasons with post-season games, in order.
std::vector<TeamYearRecord> PostSeasonRecords(std::span<const SeasonStanding> seasons,
                                              const TeamYearFile& team_years,
                                              const std::string& team_name) {
  std::vector<TeamYearRecord> records;
  for (const SeasonStanding& season : seasons) {
    if (season.post_season_record <= 0) continue;
    try {
      records.push_back(team_years.Record(season.post_season_record));
    } catch (const StatCraneError& error) {
      throw StatCraneError("reading the post-season games of the team \"" + team_name +
                           "\" (team id " + std::to_string(season.team_id) +
                           "): " + error.message());
    }
  }
  return records;
}

}  // namespace

std::vector<std::span<const SeasonStanding>> SeasonsByTeam(
    const std::vector<SeasonStanding>& standings) {
  std::vector<std::span<const SeasonStanding>> teams;
  size_t first = 0;
  for (size_t i = 1; i <= standings.size(); ++i) {
    if (i == standings.size() || standings[i].team_id != standings[first].team_id) {
      teams.emplace_back(standings.data() + first, i - first);
      first = i;
    }
  }
  return teams;
}

TeamBlock MakeTeamBlock(std::span<const SeasonStanding> seasons, const TeamYearFile& team_years,
                        const LeagueFiles& leagues) {
  TeamBlock block;
  block.team_id = seasons.front().team_id;
  block.team_name = team_years.team_names()[block.team_id];
  block.colour = leagues.colours[seasons.front().league_id];
  block.seasons.reserve(seasons.size());
  for (const SeasonStanding& season : seasons) {
    block.seasons.push_back(RegularSeasonRow{leagues.names[season.league_id], season.division,
                                             season.team_name, season.year, season.figures,
                                             season.games_behind, season.place});
    block.totals.Add(season.figures);
  }

  const std::vector<TeamYearRecord> records =
      PostSeasonRecords(seasons, team_years, block.team_name);
  if (records.empty()) return block;
  block.post_season_colour = leagues.colours[records.back().league_id];
  for (Series series : kPostSeasonSeries) {
    SeriesRecord record{series, LeagueColour::kNone, {}, {}};
    for (const TeamYearRecord& season : records) {
      const TeamFigures figures = TeamFigures::Of(SeriesFigures(season, series));
      if (!figures.HasGames()) continue;
      if (record.seasons.empty()) {
        record.first_season_colour = leagues.colours[season.league_id];
      }
      record.seasons.push_back(SeriesSeasonRow{season.year, figures});
      record.totals.Add(figures);
    }
    if (!record.seasons.empty()) block.series.push_back(std::move(record));
  }
  return block;
}

TeamSummaryLine SeasonTotalsLine(const TeamBlock& block) {
  return TeamSummaryLine{block.team_name, block.totals, block.colour};
}

TeamSummaryLine SeriesTotalsLine(const TeamBlock& block, const SeriesRecord& series) {
  return TeamSummaryLine{block.team_name, series.totals, block.post_season_colour};
}

}  // namespace statcrane
