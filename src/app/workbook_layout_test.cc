#include "app/workbook_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace statcrane {
namespace {

std::vector<std::string> Letters() {
  std::vector<std::string> letters;
  for (char c = 'A'; c <= 'Z'; ++c) letters.emplace_back(1, c);
  return letters;
}

const std::vector<std::string> kTeamTabs = {"Team Records", "TeamRegTotals", "TeamDCSTotals",
                                            "TeamLCSTotals", "TeamWSTotals"};
const std::vector<std::string> kPlayerSummaryTabs = {
    "PitchRegTotals", "PitchDCSTotals", "PitchLCSTotals", "PitchWSTotals",
    "HitRegTotals",   "HitDCSTotals",   "HitLCSTotals",   "HitWSTotals"};

std::vector<std::string> Join(std::vector<std::vector<std::string>> parts) {
  std::vector<std::string> all;
  for (auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

TEST(WorkbookLayoutTest, TabOrderOfEachSheetChoice) {
  Workbook both;
  LayOutWorkbook(both, SheetChoice::kPlayersAndTeams);
  EXPECT_EQ(both.SheetNames(), Join({kTeamTabs, kPlayerSummaryTabs, Letters()}));
  EXPECT_EQ(both.ActiveSheet().name(), "Team Records");

  Workbook teams;
  LayOutWorkbook(teams, SheetChoice::kTeamsOnly);
  EXPECT_EQ(teams.SheetNames(), kTeamTabs);

  Workbook players;
  LayOutWorkbook(players, SheetChoice::kPlayersOnly);
  EXPECT_EQ(players.SheetNames(), Join({kPlayerSummaryTabs, Letters()}));
  EXPECT_FALSE(players.HasSheet("Sheet1"));
}

TEST(WorkbookLayoutTest, SummarySheetsWithoutLinesAreRemoved) {
  Workbook workbook;
  LayOutWorkbook(workbook, SheetChoice::kPlayersAndTeams);
  PlayerPhaseResult players;
  players.SummaryRow = {5, 0, 0, 0, 9, 2, 0, 0};  // PitchReg, HitReg and HitDCS got lines
  RunReport report;
  FinishPlayerSheets(workbook, players, report);
  TeamPhaseResult teams;
  teams.LcsTotalsRow = 3;
  FinishTeamSheets(workbook, teams, report);

  EXPECT_EQ(workbook.SheetNames(), Join({{"Team Records", "TeamRegTotals", "TeamLCSTotals",
                                          "PitchRegTotals", "HitRegTotals", "HitDCSTotals"},
                                         Letters()}));
  EXPECT_EQ(workbook.ActiveSheet().name(), "Team Records");
  EXPECT_EQ(
      report.sheets_removed,
      (std::vector<std::string>{"PitchDCSTotals", "PitchLCSTotals", "PitchWSTotals", "HitLCSTotals",
                                "HitWSTotals", "TeamDCSTotals", "TeamWSTotals"}));
}

TEST(WorkbookLayoutTest, PlayersOnlyWithNoLinesKeepsTheLetterSheets) {
  Workbook workbook;
  LayOutWorkbook(workbook, SheetChoice::kPlayersOnly);
  RunReport report;
  FinishPlayerSheets(workbook, PlayerPhaseResult{}, report);
  EXPECT_EQ(workbook.SheetNames(), Letters());
  EXPECT_EQ(report.sheets_removed.size(), 8u);
}

}  // namespace
}  // namespace statcrane
