// Test support for the team sheets: encyclopedia records in a few words, a
// workbook holding the five team sheets, and cells read back as short texts.
// Used by the teams tests only.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "encyclopedia/league_files.h"
#include "encyclopedia/record_file.h"
#include "encyclopedia/record_layouts.h"
#include "encyclopedia/team_year_file.h"
#include "teams/team_sheets.h"
#include "testing/record_files.h"
#include "util/run_report.h"
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

// A workbook laid out as a "Teams Only" run leaves it for the team phase.
inline std::unique_ptr<Workbook> TeamWorkbook() {
  auto workbook = std::make_unique<Workbook>();
  for (std::string_view name :
       {kTeamWSTotals, kTeamLCSTotals, kTeamDCSTotals, kTeamRegTotals, kTeamRecords}) {
    workbook->AddSheet(std::string(name));
  }
  workbook->Delete("Sheet1");
  return workbook;
}

inline CellView At(const Worksheet& sheet, std::string_view a1) {
  const CellRange cell = CellRange::Parse(a1);
  return sheet.Cell(cell.first_row, cell.first_col);
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

// The four sides top, left, right, bottom as "-" (none), "t" (thin) or "m"
// (medium), followed by "r" when red: "m m mr mr".
inline std::string Sides(const Worksheet& sheet, std::string_view a1) {
  const CellStyle& style = *At(sheet, a1).style;
  std::string out;
  for (const BorderSide& side : style.borders) {
    if (!out.empty()) out += ' ';
    if (side.line_style == kLineStyleNone) {
      out += '-';
      continue;
    }
    out += side.weight == kWeightMedium ? "m" : side.weight == kWeightThin ? "t" : "?";
    if (side.color == kColorRed) out += 'r';
  }
  return out;
}

inline int Fill(const Worksheet& sheet, std::string_view a1) { return At(sheet, a1).style->fill; }

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

// The single-precision value the sheets store for a three-decimal rate.
inline double Single(double value) { return static_cast<double>(static_cast<float>(value)); }

}  // namespace statcrane::team_testing
