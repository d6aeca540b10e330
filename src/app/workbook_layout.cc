#include "app/workbook_layout.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace statcrane {
namespace {

// The player summary sheets in creation order (each goes before the last).
constexpr std::array<std::string_view, 8> kPlayerSummaryCreation = {
    "HitWSTotals",   "HitLCSTotals",   "HitDCSTotals",   "HitRegTotals",
    "PitchWSTotals", "PitchLCSTotals", "PitchDCSTotals", "PitchRegTotals"};
constexpr std::array<std::string_view, 5> kTeamSheetCreation = {
    "TeamWSTotals", "TeamLCSTotals", "TeamDCSTotals", "TeamRegTotals", kTeamRecordsSheet};

const CellRange kColumnsAToZ = CellRange::Columns(1, 26);

// Selects and deletes a sheet, noting it in the report.
void RemoveSheet(Workbook& workbook, std::string_view name, RunReport& report) {
  workbook.Delete(name);
  report.sheets_removed.emplace_back(name);
}

}  // namespace

void LayOutWorkbook(Workbook& workbook, SheetChoice choice) {
  const std::vector<std::string> PriorSheetNames = workbook.SheetNames();
  if (PlayersWanted(choice)) {
    for (char letter = 'Z'; letter >= 'A'; --letter) workbook.AddSheet(std::string(1, letter));
    for (std::string_view name : kPlayerSummaryCreation) workbook.AddSheet(std::string(name));
  }
  if (TeamsWanted(choice)) {
    for (std::string_view name : kTeamSheetCreation) workbook.AddSheet(std::string(name));
  }
  for (const std::string& name : PriorSheetNames) workbook.Delete(name);
}

void FinishPlayerSheets(Workbook& workbook, const PlayerPhaseResult& players, RunReport& report) {
  workbook.ActiveSheet().AutoFitColumns(kColumnsAToZ);
  for (size_t i = 0; i < kPlayerSummarySheets.size(); ++i) {
    const std::string_view name = kPlayerSummarySheets[i];
    if (players.SummaryRow[i] > 0) {
      workbook.Activate(name);
      workbook.ActiveSheet().AutoFitColumns(kColumnsAToZ);
    } else {
      RemoveSheet(workbook, name, report);
    }
  }
  workbook.ActiveSheet().AutoFitColumns(kColumnsAToZ);
}

void FinishTeamSheets(Workbook& workbook, const TeamPhaseResult& teams, RunReport& report) {
  if (teams.DcsTotalsRow == 1) RemoveSheet(workbook, "TeamDCSTotals", report);
  if (teams.LcsTotalsRow == 1) RemoveSheet(workbook, "TeamLCSTotals", report);
  if (teams.WsTotalsRow == 1) RemoveSheet(workbook, "TeamWSTotals", report);
  workbook.Activate(kTeamRecordsSheet);
  workbook.ActiveSheet().AutoFitColumns(kColumnsAToZ);
}

}  // namespace statcrane
