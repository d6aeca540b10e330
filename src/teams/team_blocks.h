// Team blocks: what the team sheets show of one team, as plain values. A
// block holds the team's regular seasons and their totals, and for each
// post-season series the team played in its seasons in that series and their
// totals. The summary lines of the team summary sheets come from it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "encyclopedia/league_files.h"
#include "encyclopedia/record_layouts.h"
#include "encyclopedia/series.h"
#include "encyclopedia/team_year_file.h"
#include "teams/standings.h"
#include "teams/team_figures.h"

namespace statcrane {

// A regular season as its row shows it.
struct RegularSeasonRow {
  std::string league_name;  // the league's name in the league table
  std::string division;
  std::string team_name;  // the season's display name
  int year = 0;
  TeamFigures figures;
  double games_behind = 0;
  int place = 0;
};

struct SeriesSeasonRow {
  int year = 0;
  TeamFigures figures;
};

// The seasons of a team that won or lost a game in one series.
struct SeriesRecord {
  Series series = Series::kDivisionSeries;
  // The colour of the league of the first of those seasons.
  LeagueColour first_season_colour = LeagueColour::kNone;
  std::vector<SeriesSeasonRow> seasons;  // in the order of the block's seasons
  TeamFigures totals;
};

struct TeamBlock {
  int team_id = 0;
  // The team's display name: its name in the last used record of the
  // team-year file.
  std::string team_name;
  // The colour of the league of the block's first season.
  LeagueColour colour = LeagueColour::kNone;
  std::vector<RegularSeasonRow> seasons;  // at least one
  TeamFigures totals;
  // Only the series the team played in, in kPostSeasonSeries order.
  std::vector<SeriesRecord> series;
  // The colour of the league of the block's last season with post-season
  // games (whatever series it played in); none without such a season.
  LeagueColour post_season_colour = LeagueColour::kNone;
};

// A line of a team summary sheet.
struct TeamSummaryLine {
  std::string team_name;
  TeamFigures figures;
  LeagueColour colour = LeagueColour::kNone;
};

// The runs of seasons of one team id in the standings (team order), in
// order.
std::vector<std::span<const SeasonStanding>> SeasonsByTeam(
    const std::vector<SeasonStanding>& standings);

// The block of one team's seasons (not empty). The post-season figures are
// read from the team-year file by record number; a record that is not there
// is an error naming the team and the record.
TeamBlock MakeTeamBlock(std::span<const SeasonStanding> seasons, const TeamYearFile& team_years,
                        const LeagueFiles& leagues);

// The team's line on "TeamRegTotals": its regular-season totals in the
// block's colour.
TeamSummaryLine SeasonTotalsLine(const TeamBlock& block);

// The team's line on the series' summary sheet: the series totals in the
// colour of the block's last season with post-season games.
TeamSummaryLine SeriesTotalsLine(const TeamBlock& block, const SeriesRecord& series);

}  // namespace statcrane
