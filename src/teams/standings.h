// Standings: every used team season ranked inside its year, league and
// division (games behind the leader, finishing place), then handed out
// grouped by team and ordered by year.
//
// Two orders do the work, both stable (seasons that compare equal keep the
// order they came in):
//  - the division order puts each division's teams together, from most to
//    fewest wins, more losses first among equal wins (SortIntoDivisions);
//  - the team order puts each team's seasons together in year order, teams
//    by abbreviation, then team id (SortByTeamAndYear).
// Both compare fields in turn, and give the order of the seasons' fields
// joined by commas into one text each and sorted by the list collation
// (util/sorted_work_list.h: case and accents folded; space and comma before
// digits before letters; a text before its continuations). So a text field
// ends as a comma would, and some numbers compare by their decimal text
// ("10" before "9", "-5" before "5"): the league id, the team id, the figures
// other than won and lost, and the post-season record number. The year and
// the win and loss counts compare as numbers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "encyclopedia/league_files.h"
#include "encyclopedia/team_abbreviations.h"
#include "encyclopedia/team_year_file.h"
#include "teams/team_figures.h"

namespace statcrane {

// One used season of the team-year file and its place in its division.
struct SeasonStanding {
  int team_id = 0;
  int year = 0;  // 1 to 99999
  int league_id = 0;
  // The team's division that year (the same for every season of a team and
  // year), and the team's abbreviation (the same for every season of a team).
  std::string division;
  std::string abbreviation;
  std::string team_name;  // the season's display name
  TeamFigures figures;    // regular season; won and lost 0 to 300
  // The season's record number when it has post-season games, else 0.
  int64_t post_season_record = 0;
  // Set by RankWithinDivisions.
  double games_behind = 0;
  int place = 0;  // from 1

  bool operator==(const SeasonStanding&) const = default;
};

// The season as the standings start it: not yet ranked.
SeasonStanding UnrankedStanding(const TeamSeason& season, const TeamAbbreviations& abbreviations,
                                const Divisions& divisions);

// The standings of the seasons (in file order): ranked, then in team order.
std::vector<SeasonStanding> TeamStandings(const std::vector<TeamSeason>& seasons,
                                          const TeamAbbreviations& abbreviations,
                                          const Divisions& divisions);

// Stable sort into the division order: year, league id, division, most
// wins, most losses, scored, allowed, SHO, GDP, LOB, team id, post-season
// record number, abbreviation, team name.
void SortIntoDivisions(std::vector<SeasonStanding>& standings);

// Stable sort into the team order: abbreviation, team id, year, league id,
// division, won, lost, games behind ("0.5", "-1"), finish ("12th" before
// "2nd"), scored, allowed, SHO, GDP, LOB, post-season record number, team
// name.
void SortByTeamAndYear(std::vector<SeasonStanding>& standings);

// Walks standings in division order. A new group starts wherever the year,
// league id or division (exact text) changes, with its first season as
// leader; each season is ((leader won - won) + (lost - leader lost)) / 2
// games behind; a season shares the place of the season above it when both
// are the same number of games above 0 behind, and otherwise takes its
// count in the group.
void RankWithinDivisions(std::vector<SeasonStanding>& standings);

}  // namespace statcrane
