// Standings: every used team season ranked inside its year, league and
// division (games behind the leader, finishing place), then handed out
// grouped by team and ordered by year.
//
// Two sorted work lists do the ordering. `lstx` holds one RankingLine per
// season; its order puts each division's teams together from most to fewest
// wins (more losses first among equal wins). `lstStandings` holds one
// StandingsLine per season, ordered by team abbreviation, then team id as
// text, then year. Items carry their fields as data; the texts they are
// sorted by are the comma-joined lines the ordering is defined on, with the
// few changes that keep any value from moving a team out of its group (see
// RankingKey and StandingsKey).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "encyclopedia/league_files.h"
#include "encyclopedia/team_abbreviations.h"
#include "encyclopedia/team_year_file.h"
#include "util/sorted_work_list.h"

namespace statcrane {

struct RankingLine {
  int Year = 0;
  int LeagueId = 0;
  std::string Division;  // Divisions[TeamId, Year]
  int Won = 0;
  int Lost = 0;
  int Scored = 0;
  int Allowed = 0;
  int SHO = 0;
  int GDP = 0;
  int LOB = 0;
  int TeamId = 0;
  int64_t PostSeasonRecordNo = 0;
  std::string Abbrev;  // team_abbreviations[TeamId]
  std::string DisplayName;
};

// The current season fields the Team Records writer reads.
struct StandingsLine {
  std::string Abbrev;
  int TeamId = 0;
  int Year = 0;
  int LeagueId = 0;
  std::string Division;
  int Won = 0;
  int Lost = 0;
  double GamesBehind = 0;
  std::string Finish;
  int Scored = 0;
  int Allowed = 0;
  int SHO = 0;
  int GDP = 0;
  int LOB = 0;
  int64_t PostSeasonRecordNo = 0;
  std::string DisplayName;
};

using RankingList = SortedWorkList<RankingLine>;
using StandingsList = SortedWorkList<StandingsLine>;

RankingLine MakeRankingLine(const TeamSeason& season, const TeamAbbreviations& team_abbreviations,
                            const Divisions& divisions);

// The text a ranking line sorts by: year "0000", league id, division,
// 300 - Won, 300 - Lost, Scored, Allowed, SHO, GDP, LOB, team id, post-season
// record number, abbreviation, name, joined by commas. So that the order keeps
// every group together whatever the values: commas inside the division are
// escaped, the win and loss keys always have three digits (Won or Lost above
// 200), and a year above 9999 sorts after 9999. For divisions without commas,
// Won and Lost up to 200 and years up to 9999 the text is exactly the
// comma-joined line.
std::string RankingKey(const RankingLine& line);

// The text a standings line sorts by: abbreviation (commas escaped), team id,
// year as in RankingKey, then league id, division, Won, Lost, games behind,
// finish, Scored, Allowed, SHO, GDP, LOB, post-season record number and name.
std::string StandingsKey(const StandingsLine& line);

// Games behind as the standings line writes it: "0", "0.5", "-1", "12".
std::string GamesBehindText(double games_behind);

void AddRankingLine(RankingList& lstx, RankingLine line);

// Walks `lstx` in order: a new (year, league, division) group starts with its
// leader; each team's GamesBehind is ((leader Won - Won) + (Lost - leader
// Lost)) / 2; a team shares the place of the team above it when both are the
// same number of games above 0 behind, and otherwise takes the place of its
// count in the group. Adds one standings line per ranking line.
void Unravel_lstx(const RankingList& lstx, StandingsList& lstStandings);

// The season at `index` of the sorted standings.
inline const StandingsLine& Unravel_Standings(const StandingsList& lstStandings, size_t index) {
  return lstStandings.At(index);
}

}  // namespace statcrane
