#include "teams/team_records.h"

#include <array>

#include "teams/league_fill.h"
#include "teams/sheet_cells.h"
#include "teams/winning_pct.h"
#include "workbook/cell_style.h"

namespace statcrane {
namespace {

constexpr std::array<BorderIndex, 4> kSides = {BorderIndex::kTop, BorderIndex::kLeft,
                                               BorderIndex::kRight, BorderIndex::kBottom};

// Continuous lines on the four sides of every cell, then medium weight on
// the same four.
void FrameMedium(Worksheet& sheet, const CellRange& range) {
  for (BorderIndex side : kSides) sheet.SetBorderLineStyle(range, side, kLineStyleContinuous);
  for (BorderIndex side : kSides) sheet.SetBorderWeight(range, side, kWeightMedium);
}

// The frame of a totals block: four medium sides, then red right, left and
// bottom sides.
void FrameTotals(Worksheet& sheet, const CellRange& range) {
  FrameMedium(sheet, range);
  sheet.SetBorderColor(range, BorderIndex::kRight, kColorRed);
  sheet.SetBorderColor(range, BorderIndex::kLeft, kColorRed);
  sheet.SetBorderColor(range, BorderIndex::kBottom, kColorRed);
}

}  // namespace

void WriteSeasonRow(Worksheet& sheet, TeamPhaseState& state, const StandingsLine& season,
                    const LeagueDisplayNames& league_names) {
  const int32_t r = state.TeamRecordsRow;
  sheet.SetNumberFormat(Cell('G', r), "#.000");
  sheet.SetText(Cell('A', r), league_names[season.LeagueId]);
  sheet.SetText(Cell('B', r), season.Division);
  sheet.SetText(Cell('C', r), season.DisplayName);
  sheet.SetNumber(Cell('D', r), season.Year);
  sheet.SetNumber(Cell('E', r), season.Won);
  sheet.SetNumber(Cell('F', r), season.Lost);
  sheet.SetNumber(Cell('G', r), WinningPct(season.Won, season.Lost));
  sheet.SetNumber(Cell('H', r), season.GamesBehind);
  sheet.SetText(Cell('I', r), season.Finish);
  sheet.SetNumber(Cell('J', r), season.Scored);
  sheet.SetNumber(Cell('K', r), season.Allowed);
  sheet.SetNumber(Cell('L', r), season.SHO);
  sheet.SetNumber(Cell('M', r), season.GDP);
  sheet.SetNumber(Cell('N', r), season.LOB);
  if (season.PostSeasonRecordNo > 0) {
    state.PostSeasonRecordList.push_back(season.PostSeasonRecordNo);
  }
}

void Do_Team_Rec_Headers(Worksheet& sheet, TeamPhaseState& state,
                         const ColouredLeagues& league_colours) {
  const std::optional<int> colour = LeagueFill(league_colours[state.BlockLeague]);
  int32_t r = state.TeamRecordsRow;
  if (r > 1) ++r;  // the first block's title goes on row 1

  sheet.Merge(Cells('A', 'C', r));
  sheet.SetBold(Cell('A', r), true);
  sheet.SetFontSize(Cell('A', r), 12);
  FillWithLeagueColour(sheet, Cells('A', 'C', r), colour);
  sheet.SetText(Cell('A', r), state.BlockTitle);
  FrameMedium(sheet, Cells('A', 'C', r));

  ++r;
  FillWithLeagueColour(sheet, Cells('A', 'N', r), colour);
  FrameMedium(sheet, Cells('A', 'N', r));
  sheet.SetBold(Cells('A', 'N', r), true);
  sheet.SetText(Cell('A', r), "League");
  sheet.SetText(Cell('B', r), "Division");
  sheet.SetText(Cell('D', r), "Year");
  sheet.SetText(Cell('E', r), "Won");
  sheet.SetText(Cell('F', r), "Lost");
  sheet.SetText(Cell('G', r), "Pct");
  sheet.SetText(Cell('H', r), "GB");
  sheet.SetText(Cell('I', r), "Finish");
  sheet.SetText(Cell('J', r), "Scored");
  sheet.SetText(Cell('K', r), "Allowed");
  sheet.SetText(Cell('L', r), "SHO");
  sheet.SetText(Cell('M', r), "GDP");
  sheet.SetText(Cell('N', r), "LOB");
  state.TeamRecordsRow = r;
}

void Do_Team_Borders(Worksheet& sheet, TeamPhaseState& state) {
  if (state.BlockLastRow < state.BlockFirstRow) state.BlockLastRow = state.BlockFirstRow;
  const int32_t f = state.BlockFirstRow;
  const int32_t l = state.BlockLastRow;
  const CellRange first_row = Cells('A', 'N', f);
  const CellRange rows = Block('A', f, 'N', l);
  const CellRange last_row = Cells('A', 'N', l);
  sheet.SetBorderLineStyle(first_row, BorderIndex::kTop, kLineStyleContinuous);
  sheet.SetBorderLineStyle(rows, BorderIndex::kLeft, kLineStyleContinuous);
  sheet.SetBorderLineStyle(rows, BorderIndex::kRight, kLineStyleContinuous);
  sheet.SetBorderLineStyle(last_row, BorderIndex::kBottom, kLineStyleContinuous);
  sheet.SetBorderWeight(first_row, BorderIndex::kTop, kWeightMedium);
  sheet.SetBorderWeight(rows, BorderIndex::kLeft, kWeightMedium);
  sheet.SetBorderWeight(rows, BorderIndex::kRight, kWeightMedium);
  sheet.SetBorderWeight(last_row, BorderIndex::kBottom, kWeightMedium);
}

void WriteRecordFigures(Worksheet& sheet, int32_t r, const TeamTotals& figures) {
  sheet.SetNumberFormat(Cell('G', r), "#.000");
  sheet.SetNumber(Cell('E', r), static_cast<double>(figures.Won));
  sheet.SetNumber(Cell('F', r), static_cast<double>(figures.Lost));
  sheet.SetNumber(Cell('G', r), WinningPct(figures.Won, figures.Lost));
  sheet.SetNumber(Cell('J', r), static_cast<double>(figures.Scored));
  sheet.SetNumber(Cell('K', r), static_cast<double>(figures.Allowed));
  sheet.SetNumber(Cell('L', r), static_cast<double>(figures.SHO));
  sheet.SetNumber(Cell('M', r), static_cast<double>(figures.GDP));
  sheet.SetNumber(Cell('N', r), static_cast<double>(figures.LOB));
}

void Do_Team_Totals(Worksheet& sheet, TeamPhaseState& state) {
  const int32_t r = ++state.TeamRecordsRow;
  FrameTotals(sheet, Cells('E', 'G', r));
  FrameTotals(sheet, Cells('J', 'N', r));
  WriteRecordFigures(sheet, r, state.BlockTotals);
}

}  // namespace statcrane
