// Test support for the team sheets: encyclopedia records in a few words, a
// workbook holding the five team sheets, and cells read back as short texts.
// Used by the teams tests only.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/sheet_layout.h"
#include "encyclopedia/league_files.h"
#include "encyclopedia/record_file.h"
#include "encyclopedia/record_layouts.h"
#include "encyclopedia/team_year_file.h"
#include "teams/league_fill.h"
#include "teams/team_phase.h"
#include "teams/team_sheets.h"
#include "testing/record_files.h"
#include "util/skip_report.h"
#include "workbook/cell_style.h"
#include "workbook/workbook.h"

namespace statcrane::team_testing {

template <typename Record>
RecordFile Records(const std::vector<Record>& records) {
  return RecordFile::FromBytes(testing::EncodeRecords(records), Record::kSize);
}

inline TeamStatBlock Stats(int won, int lost, int scored = 0, int allowed = 0, int sho = 0,
                           int gdp = 0, int lob = 0) {
  TeamStatBlock b;
  b.won = static_cast<uint8_t>(won);
  b.lost = static_cast<uint8_t>(lost);
  b.runs_scored = static_cast<int16_t>(scored);
  b.runs_allowed = static_cast<int16_t>(allowed);
  b.shutouts = static_cast<uint8_t>(sho);
  b.grounded_into_double_plays = static_cast<int16_t>(gdp);
  b.left_on_base = static_cast<int16_t>(lob);
  return b;
}

inline TeamYearRecord TeamYear(int team, int year, int league, std::string name1, std::string name2,
                               TeamStatBlock reg) {
  TeamYearRecord r;
  r.team_id = static_cast<int16_t>(team);
  r.year = static_cast<int16_t>(year);
  r.league_id = static_cast<int16_t>(league);
  r.name_part_1 = std::move(name1);
  r.name_part_2 = std::move(name2);
  r.regular_season = reg;
  return r;
}

inline LeagueRecord League(int id, std::string name) {
  LeagueRecord l;
  l.league_id = static_cast<int16_t>(id);
  l.league_name = std::move(name);
  l.use_mark = 1;
  return l;
}

// A league-year with two named divisions; `east` and `west` list team ids.
inline LeagueYearRecord LeagueYear(int league, int year, std::string name,
                                   const std::vector<int>& east, const std::vector<int>& west) {
  LeagueYearRecord r;
  r.league_id = static_cast<int16_t>(league);
  r.year = static_cast<int16_t>(year);
  r.league_name = std::move(name);
  r.division_names = {"East", "West", "", ""};
  for (auto& division : r.division_teams) division.fill(-1);
  for (size_t k = 0; k < east.size(); ++k) r.division_teams[0][k] = static_cast<int16_t>(east[k]);
  for (size_t k = 0; k < west.size(); ++k) r.division_teams[1][k] = static_cast<int16_t>(west[k]);
  return r;
}

// The team sheets of a run, named and ordered by the run's sheet table, in
// a workbook of their own.
struct TeamBook {
  TeamBook() { sheets = SheetLayout(book, SheetChoice::kTeamsOnly).team_sheets(); }
  Workbook book;
  TeamSheets sheets;
  const Worksheet& records() const { return *sheets.records; }
  const Worksheet& season_totals() const { return *sheets.season_totals; }
  const Worksheet& series_totals(size_t series) const { return *sheets.series_totals[series]; }
};

inline std::unique_ptr<TeamBook> TeamWorkbook() { return std::make_unique<TeamBook>(); }

inline TeamYearRecord WithPostSeason(TeamYearRecord r, TeamStatBlock dcs, TeamStatBlock lcs,
                                     TeamStatBlock ws) {
  r.division_series = dcs;
  r.league_championship_series = lcs;
  r.world_series = ws;
  return r;
}

// Leagues 1 (AL, the first colour), 2 (NL, the second) and 3 (FL, none);
// in 1990 teams 10 and 20 play in the East of league 1 and team 30 in the
// East of league 3, in 1991 team 10 in the East and team 20 in the West of
// league 1. Teams 10, 20, 30 are BOS, CHI, DET.
inline TeamPhaseResult RunTeams(TeamBook& book, const std::vector<TeamYearRecord>& seasons,
                                ProgressObserver& progress) {
  SkipReport report;
  const LeagueFiles leagues = LoadLeagueFiles(
      Records(std::vector<LeagueRecord>{League(1, "AL"), League(2, "NL"), League(3, "FL")}),
      Records(std::vector<LeagueYearRecord>{LeagueYear(1, 1990, "Old American", {10, 20}, {}),
                                            LeagueYear(3, 1990, "Federal", {30}, {}),
                                            LeagueYear(1, 1991, "American League", {10}, {20})}),
      report);
  const TeamYearFile team_years = LoadTeamYears(Records(seasons), report);
  TeamAbbreviations abbreviations;
  abbreviations.Set(10, "BOS");
  abbreviations.Set(20, "CHI");
  abbreviations.Set(30, "DET");
  return RunTeamPhase(leagues, team_years, abbreviations, book.sheets, progress);
}

inline TeamPhaseResult RunTeams(TeamBook& book, const std::vector<TeamYearRecord>& seasons) {
  ProgressObserver progress;
  return RunTeams(book, seasons, progress);
}

// Boston (10) with post-season games in 1990 (league 1: division and league
// championship series) and 1992 (league 2: division and world series), none
// in 1991; Chicago (20) with league championship and world series games in
// 1990 (league 2); Detroit (30) without any.
inline std::vector<TeamYearRecord> PostSeasonExample() {
  return {
      WithPostSeason(TeamYear(10, 1990, 1, "Boston", "Reds", Stats(90, 72)),
                     Stats(3, 1, 20, 10, 1, 2, 30), Stats(4, 3, 30, 25, 0, 3, 50), Stats(0, 0)),
      TeamYear(10, 1991, 1, "Boston", "Reds", Stats(80, 82)),
      WithPostSeason(TeamYear(10, 1992, 2, "Boston", "Reds", Stats(95, 67)),
                     Stats(2, 3, 15, 18, 0, 1, 12), Stats(0, 0), Stats(4, 2, 25, 20, 2, 4, 33)),
      WithPostSeason(TeamYear(20, 1990, 2, "Chicago", "Greys", Stats(85, 77)), Stats(0, 0),
                     Stats(1, 2, 8, 9, 0, 1, 14), Stats(0, 4, 6, 19, 0, 2, 28)),
      TeamYear(30, 1990, 1, "Detroit", "Tigers", Stats(70, 92)),
  };
}

inline CellView At(const Worksheet& sheet, std::string_view a1) {
  const CellRange cell = CellRange::Parse(a1);
  return sheet.Cell(Row(cell.first_row), Column(cell.first_col));
}

// The cell's value: "" when empty, the text, or the number as %g ("0.5").
inline std::string Value(const Worksheet& sheet, std::string_view a1) {
  const CellView cell = At(sheet, a1);
  if (cell.kind == CellKind::kText) return std::string(cell.text);
  if (cell.kind == CellKind::kEmpty) return "";
  char text[64];
  std::snprintf(text, sizeof text, "%.10g", cell.number);
  return text;
}

inline double Number(const Worksheet& sheet, std::string_view a1) { return At(sheet, a1).number; }

// The values of a row from `first` to `last`, joined by "|".
inline std::string RowValues(const Worksheet& sheet, char first, char last, int row) {
  std::string out;
  for (char c = first; c <= last; ++c) {
    if (c != first) out += '|';
    out += Value(sheet, std::string(1, c) + std::to_string(row));
  }
  return out;
}

// The headings of a column table joined by "|", as RowValues shows a
// heading row.
template <typename Columns>
std::string JoinedHeadings(const Columns& columns) {
  std::string out;
  for (const auto& column : columns) {
    if (!out.empty()) out += '|';
    out += column.heading;
  }
  return out;
}

// The four sides top, left, right, bottom as "-" (none), "t" (thin) or "m"
// (medium), followed by "r" when red: "m m mr mr".
inline std::string Sides(const Worksheet& sheet, std::string_view a1) {
  const CellStyle& style = *At(sheet, a1).style;
  std::string out;
  for (const BorderLine& side : style.borders) {
    if (!out.empty()) out += ' ';
    if (side.style == LineStyle::kNone) {
      out += '-';
      continue;
    }
    out += side.style == LineStyle::kMedium ? "m" : side.style == LineStyle::kThin ? "t" : "?";
    if (side.color == kRed) out += 'r';
  }
  return out;
}

inline std::optional<Rgb> Fill(const Worksheet& sheet, std::string_view a1) {
  return At(sheet, a1).style->fill;
}

inline std::string Format(const Worksheet& sheet, std::string_view a1) {
  return At(sheet, a1).style->number_format;
}

inline bool HasMerge(const Worksheet& sheet, std::string_view a1) {
  const CellRange block = CellRange::Parse(a1);
  for (const CellRange& merge : sheet.merges()) {
    if (merge == block) return true;
  }
  return false;
}

}  // namespace statcrane::team_testing
