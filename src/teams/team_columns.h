// The columns of the team sheets, one row each: heading, value, number
// format, group. "Team Records" shows a block's rows with the table
// kTeamRecordsColumns, the summary sheets their lines with
// kTeamSummaryColumns; the figures' values are shared.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "teams/finish_names.h"
#include "teams/team_blocks.h"
#include "teams/winning_pct.h"
#include "workbook/palette.h"
#include "workbook/sheet_columns.h"

namespace statcrane {

// What a row of a "Team Records" block shows: a regular season (the season
// rows), a season of a series (year and figures), or a totals row (figures
// only).
struct TeamRecordsLine {
  const RegularSeasonRow* season = nullptr;  // on the regular-season rows only
  int32_t year = 0;                          // 0 on totals rows
  TeamFigures figures;
};

// Which rows of a block show a column, and how its frames run.
enum class TeamColumnGroup {
  kSeason,   // the regular-season rows only
  kYear,     // the season rows of the regular season and the series
  kFigures,  // every row; totals rows frame each run of them
  kPct,      // a figure: the winning percentage, whose heading the sheet names
};

template <typename Line>
using TeamColumn = SheetColumn<Line, TeamColumnGroup>;

namespace team_values {

template <auto kFigure, typename Line>
CellValue Count(const Line& l) {
  return static_cast<double>(l.figures.*kFigure);
}
template <typename Line>
CellValue Pct(const Line& l) {
  return WinningPct(l.figures.won, l.figures.lost);
}
template <typename Line>
constexpr std::array<TeamColumn<Line>, 3> kFirstFigures = {{
    {"Won", Count<&TeamFigures::won, Line>, {}, {}, TeamColumnGroup::kFigures},
    {"Lost", Count<&TeamFigures::lost, Line>, {}, {}, TeamColumnGroup::kFigures},
    {"Pct", Pct<Line>, kRateFormat, {}, TeamColumnGroup::kPct},
}};
template <typename Line>
constexpr std::array<TeamColumn<Line>, 5> kRunFigures = {{
    {"Scored", Count<&TeamFigures::scored, Line>, {}, {}, TeamColumnGroup::kFigures},
    {"Allowed", Count<&TeamFigures::allowed, Line>, {}, {}, TeamColumnGroup::kFigures},
    {"SHO", Count<&TeamFigures::sho, Line>, {}, {}, TeamColumnGroup::kFigures},
    {"GDP", Count<&TeamFigures::gdp, Line>, {}, {}, TeamColumnGroup::kFigures},
    {"LOB", Count<&TeamFigures::lob, Line>, {}, {}, TeamColumnGroup::kFigures},
}};

template <typename Line, size_t... N>
constexpr auto Join(const std::array<TeamColumn<Line>, N>&... parts) {
  std::array<TeamColumn<Line>, (N + ...)> all{};
  size_t i = 0;
  ((std::copy(parts.begin(), parts.end(), all.begin() + i), i += N), ...);
  return all;
}

inline CellValue League(const TeamRecordsLine& l) {
  return std::string_view(l.season->league_name);
}
inline CellValue Division(const TeamRecordsLine& l) { return std::string_view(l.season->division); }
inline CellValue SeasonName(const TeamRecordsLine& l) {
  return std::string_view(l.season->team_name);
}
inline CellValue Year(const TeamRecordsLine& l) { return static_cast<double>(l.year); }
inline CellValue GamesBehind(const TeamRecordsLine& l) { return l.season->games_behind; }
inline CellValue Finish(const TeamRecordsLine& l) { return FinishName(l.season->place); }
inline CellValue TeamName(const TeamSummaryLine& l) { return std::string_view(l.team_name); }

}  // namespace team_values

// A block's rows on "Team Records", A to N.
inline constexpr auto kTeamRecordsColumns = team_values::Join<TeamRecordsLine>(
    std::array<TeamColumn<TeamRecordsLine>, 4>{{
        {"League", team_values::League, {}, {}, TeamColumnGroup::kSeason},
        {"Division", team_values::Division, {}, {}, TeamColumnGroup::kSeason},
        {"", team_values::SeasonName, {}, {}, TeamColumnGroup::kSeason},
        {"Year", team_values::Year, {}, {}, TeamColumnGroup::kYear},
    }},
    team_values::kFirstFigures<TeamRecordsLine>,
    std::array<TeamColumn<TeamRecordsLine>, 2>{{
        {"GB", team_values::GamesBehind, {}, {}, TeamColumnGroup::kSeason},
        {"Finish", team_values::Finish, {}, {}, TeamColumnGroup::kSeason},
    }},
    team_values::kRunFigures<TeamRecordsLine>);

// A line of a team summary sheet: Team, then the figures.
inline constexpr auto kTeamSummaryColumns = team_values::Join<TeamSummaryLine>(
    std::array<TeamColumn<TeamSummaryLine>, 1>{{
        {"Team", team_values::TeamName, {}, {}, TeamColumnGroup::kSeason},
    }},
    team_values::kFirstFigures<TeamSummaryLine>, team_values::kRunFigures<TeamSummaryLine>);

// The table with the winning percentage headed `heading` ("PCT" on the
// post-season summary sheets).
template <typename Line, size_t N>
constexpr std::array<TeamColumn<Line>, N> WithPctHeading(std::array<TeamColumn<Line>, N> columns,
                                                         std::string_view heading) {
  for (TeamColumn<Line>& column : columns) {
    if (column.group == TeamColumnGroup::kPct) column.heading = heading;
  }
  return columns;
}

// Whether rows of the kind show the column.
constexpr bool IsFigure(TeamColumnGroup group) {
  return group == TeamColumnGroup::kFigures || group == TeamColumnGroup::kPct;
}

}  // namespace statcrane
