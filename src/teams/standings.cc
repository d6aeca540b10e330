#include "teams/standings.h"

#include <cmath>
#include <cstdio>
#include <utility>

#include "teams/finish_names.h"

namespace statcrane {
namespace {

constexpr char kEscape = '\x1F';

// The text with its commas written as kEscape '+' (and kEscape doubled), so
// that it holds no comma and two different texts stay different.
void AppendEscaped(std::string& key, const std::string& text) {
  for (char c : text) {
    if (c == ',') {
      key += kEscape;
      key += '+';
    } else if (c == kEscape) {
      key += kEscape;
      key += kEscape;
    } else {
      key += c;
    }
  }
}

// "0000" for the years 1 to 9999; later years after 9999, in their order.
void AppendYear(std::string& key, int year) {
  char text[16];
  if (year <= 9999) {
    std::snprintf(text, sizeof text, "%04d", year);
  } else {
    std::snprintf(text, sizeof text, "9999~%05d", year);
  }
  key += text;
}

// 300 - value in three digits: 100 to 300 for 0 to 200, 045 for 255.
void AppendCountKey(std::string& key, int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%03d", 300 - value);
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

}  // namespace

RankingLine MakeRankingLine(const TeamSeason& season, const TeamAbbreviations& team_abbreviations,
                            const Divisions& divisions) {
  RankingLine line;
  line.Year = season.year;
  line.LeagueId = season.league_id;
  line.Division = divisions(season.team_id, season.year);
  line.Won = season.regular_season.won;
  line.Lost = season.regular_season.lost;
  line.Scored = season.regular_season.runs_scored;
  line.Allowed = season.regular_season.runs_allowed;
  line.SHO = season.regular_season.shutouts;
  line.GDP = season.regular_season.grounded_into_double_plays;
  line.LOB = season.regular_season.left_on_base;
  line.TeamId = season.team_id;
  line.PostSeasonRecordNo = season.post_season_record_number;
  line.Abbrev = team_abbreviations[season.team_id];
  line.DisplayName = season.display_name;
  return line;
}

std::string RankingKey(const RankingLine& line) {
  std::string key;
  key.reserve(64 + line.Division.size() + line.DisplayName.size());
  AppendYear(key, line.Year);
  AppendField(key, line.LeagueId);
  key += ',';
  AppendEscaped(key, line.Division);
  key += ',';
  AppendCountKey(key, line.Won);
  key += ',';
  AppendCountKey(key, line.Lost);
  AppendField(key, line.Scored);
  AppendField(key, line.Allowed);
  AppendField(key, line.SHO);
  AppendField(key, line.GDP);
  AppendField(key, line.LOB);
  AppendField(key, line.TeamId);
  AppendField(key, line.PostSeasonRecordNo);
  AppendField(key, line.Abbrev);
  AppendField(key, line.DisplayName);
  return key;
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

std::string StandingsKey(const StandingsLine& line) {
  std::string key;
  key.reserve(80 + line.Division.size() + line.DisplayName.size());
  AppendEscaped(key, line.Abbrev);
  AppendField(key, line.TeamId);
  key += ',';
  AppendYear(key, line.Year);
  AppendField(key, line.LeagueId);
  AppendField(key, line.Division);
  AppendField(key, line.Won);
  AppendField(key, line.Lost);
  AppendField(key, GamesBehindText(line.GamesBehind));
  AppendField(key, line.Finish);
  AppendField(key, line.Scored);
  AppendField(key, line.Allowed);
  AppendField(key, line.SHO);
  AppendField(key, line.GDP);
  AppendField(key, line.LOB);
  AppendField(key, line.PostSeasonRecordNo);
  AppendField(key, line.DisplayName);
  return key;
}

void AddRankingLine(RankingList& lstx, RankingLine line) {
  std::string key = RankingKey(line);
  lstx.Add(std::move(key), std::move(line));
}

void Unravel_lstx(const RankingList& lstx, StandingsList& lstStandings) {
  // The group being ranked and its leader.
  int group_year = 0;
  int group_league = 0;
  std::string group_division;
  int leader_won = 0;
  int leader_lost = 0;
  int teams_seen = 0;
  double GamesBehind = 0;
  double last_gb = 0;
  int position = 1;
  for (size_t i = 0; i < lstx.Count(); ++i) {
    const RankingLine& line = lstx.At(i);
    if (i == 0) {
      group_year = line.Year;
      group_league = line.LeagueId;
      group_division = line.Division;
      leader_won = line.Won;
      leader_lost = line.Lost;
      teams_seen = 0;
      GamesBehind = 0;
      last_gb = 0;
      position = 1;
    }
    if (line.Year == group_year && line.LeagueId == group_league &&
        line.Division == group_division) {
      ++teams_seen;
      GamesBehind = ((leader_won - line.Won) + (line.Lost - leader_lost)) / 2.0;
      // Equal games behind above 0 share the place of the team above.
      if (!(GamesBehind == last_gb && GamesBehind > 0)) position = teams_seen;
      last_gb = GamesBehind;
    } else {
      group_year = line.Year;
      group_league = line.LeagueId;
      group_division = line.Division;
      leader_won = line.Won;
      leader_lost = line.Lost;
      teams_seen = 1;
      GamesBehind = 0;
      last_gb = 0;
      position = 1;
    }
    StandingsLine standing;
    standing.Abbrev = line.Abbrev;
    standing.TeamId = line.TeamId;
    standing.Year = line.Year;
    standing.LeagueId = line.LeagueId;
    standing.Division = line.Division;
    standing.Won = line.Won;
    standing.Lost = line.Lost;
    standing.GamesBehind = GamesBehind;
    standing.Finish = FinishName(position);
    standing.Scored = line.Scored;
    standing.Allowed = line.Allowed;
    standing.SHO = line.SHO;
    standing.GDP = line.GDP;
    standing.LOB = line.LOB;
    standing.PostSeasonRecordNo = line.PostSeasonRecordNo;
    standing.DisplayName = line.DisplayName;
    std::string key = StandingsKey(standing);
    lstStandings.Add(std::move(key), std::move(standing));
  }
}

}  // namespace statcrane
