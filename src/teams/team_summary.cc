#include "teams/team_summary.h"

#include "teams/league_fill.h"
#include "teams/sheet_cells.h"
#include "teams/winning_pct.h"
#include "workbook/cell_style.h"

namespace statcrane {

void TeamSumHeaders(Worksheet& sheet, int32_t r) {
  sheet.SetText(Cell('C', r), "Team");
  sheet.SetText(Cell('F', r), "Pct");
  sheet.SetText(Cell('D', r), "Won");
  sheet.SetText(Cell('E', r), "Lost");
  sheet.SetText(Cell('G', r), "Scored");
  sheet.SetText(Cell('H', r), "Allowed");
  sheet.SetText(Cell('I', r), "SHO");
  sheet.SetText(Cell('J', r), "GDP");
  sheet.SetText(Cell('K', r), "LOB");
  sheet.SetFill(Cells('C', 'K', r), kSummaryHeaderFill);
}

void TeamSumTotals(Worksheet& sheet, int32_t r, const std::string& team_name,
                   const TeamTotals& totals, std::optional<int> colour) {
  const double pct = WinningPct(totals.Won, totals.Lost);
  sheet.SetNumberFormat(Cell('F', r), "#.000");
  sheet.SetNumber(Cell('D', r), static_cast<double>(totals.Won));
  sheet.SetNumber(Cell('E', r), static_cast<double>(totals.Lost));
  sheet.SetNumber(Cell('F', r), pct);
  sheet.SetNumber(Cell('G', r), static_cast<double>(totals.Scored));
  sheet.SetNumber(Cell('H', r), static_cast<double>(totals.Allowed));
  sheet.SetNumber(Cell('I', r), static_cast<double>(totals.SHO));
  sheet.SetNumber(Cell('J', r), static_cast<double>(totals.GDP));
  sheet.SetNumber(Cell('K', r), static_cast<double>(totals.LOB));
  sheet.SetText(Cell('C', r), team_name);
  FillWithLeagueColour(sheet, Cells('C', 'K', r), colour);
}

void TeamSumBorders(Worksheet& sheet, int32_t r) {
  const CellRange table = Block('C', 1, 'K', r);
  for (BorderSide side : kAllSides) sheet.SetBorder(table, side, LineStyle::kMedium);
}

}  // namespace statcrane
