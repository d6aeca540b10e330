#include "app/sheet_layout.h"

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

std::string ActiveName(const Workbook& workbook) {
  return workbook.SheetAt(workbook.OpeningSheetIndex()).name();
}

void WriteSomething(Worksheet* sheet) { sheet->SetText(CellRange::Cell(1, 1), "x"); }

TEST(SheetLayoutTest, TabOrderAndHandlesOfEachSheetChoice) {
  Workbook both;
  SheetLayout both_layout(both, SheetChoice::kPlayersAndTeams);
  EXPECT_EQ(both.SheetNames(), Join({kTeamTabs, kPlayerSummaryTabs, Letters(), {"#"}}));
  const PlayerSheets& players = both_layout.player_sheets();
  EXPECT_EQ(players.letters[0]->name(), "A");
  EXPECT_EQ(players.letters[25]->name(), "Z");
  EXPECT_EQ(players.letters[kOtherInitial]->name(), "#");
  EXPECT_EQ(players.hitting_summaries[0]->name(), "HitRegTotals");
  EXPECT_EQ(players.pitching_summaries[3]->name(), "PitchWSTotals");
  const TeamSheets& teams = both_layout.team_sheets();
  EXPECT_EQ(teams.records->name(), "Team Records");
  EXPECT_EQ(teams.season_totals->name(), "TeamRegTotals");
  EXPECT_EQ(teams.series_totals[1]->name(), "TeamLCSTotals");

  Workbook teams_only;
  SheetLayout teams_layout(teams_only, SheetChoice::kTeamsOnly);
  EXPECT_EQ(teams_only.SheetNames(), kTeamTabs);
  EXPECT_EQ(teams_layout.player_sheets().letters[0], nullptr);

  Workbook players_only;
  SheetLayout players_layout(players_only, SheetChoice::kPlayersOnly);
  EXPECT_EQ(players_only.SheetNames(), Join({kPlayerSummaryTabs, Letters(), {"#"}}));
  EXPECT_EQ(players_layout.team_sheets().records, nullptr);
}

TEST(SheetLayoutTest, SheetsThatStayEmptyAreRemovedAndTheBookOpensOnTeamRecords) {
  Workbook workbook;
  SheetLayout layout(workbook, SheetChoice::kPlayersAndTeams);
  const PlayerSheets& players = layout.player_sheets();
  WriteSomething(players.pitching_summaries[0]);
  WriteSomething(players.hitting_summaries[0]);
  WriteSomething(players.hitting_summaries[1]);
  WriteSomething(layout.team_sheets().series_totals[1]);
  RunReport report;
  layout.Finish(report, players.letters[3]);

  EXPECT_EQ(workbook.SheetNames(), Join({{"Team Records", "TeamRegTotals", "TeamLCSTotals",
                                          "PitchRegTotals", "HitRegTotals", "HitDCSTotals"},
                                         Letters()}));
  EXPECT_EQ(ActiveName(workbook), "Team Records");
  // "#" only exists for players who need it: its removal is not news.
  EXPECT_EQ(
      report.sheets_removed,
      (std::vector<std::string>{"TeamDCSTotals", "TeamWSTotals", "PitchDCSTotals", "PitchLCSTotals",
                                "PitchWSTotals", "HitLCSTotals", "HitWSTotals"}));
}

TEST(SheetLayoutTest, WithoutTeamSheetsTheBookOpensOnTheLastPlayerSummaryOrLetter) {
  {
    Workbook workbook;
    SheetLayout layout(workbook, SheetChoice::kPlayersOnly);
    const PlayerSheets& players = layout.player_sheets();
    WriteSomething(players.pitching_summaries[3]);
    WriteSomething(players.hitting_summaries[1]);
    WriteSomething(players.letters[kOtherInitial]);
    RunReport report;
    layout.Finish(report, players.letters[kOtherInitial]);
    // Hitting before pitching, the world series back to the regular season.
    EXPECT_EQ(ActiveName(workbook), "HitDCSTotals");
    EXPECT_EQ(workbook.SheetNames().back(), "#");
  }
  {
    Workbook workbook;
    SheetLayout layout(workbook, SheetChoice::kPlayersOnly);
    RunReport report;
    const Worksheet* last_letter = layout.player_sheets().letters[12];
    layout.Finish(report, last_letter);
    EXPECT_EQ(workbook.SheetNames(), Letters());
    EXPECT_EQ(ActiveName(workbook), "M");
    EXPECT_EQ(report.sheets_removed.size(), 8u);
  }
  {
    Workbook workbook;
    SheetLayout layout(workbook, SheetChoice::kPlayersOnly);
    RunReport report;
    layout.Finish(report, nullptr);  // no player written
    EXPECT_EQ(ActiveName(workbook), "A");
  }
}

TEST(SheetLayoutTest, EverySheetLeftIsFittedToItsContent) {
  Workbook workbook;
  SheetLayout layout(workbook, SheetChoice::kPlayersAndTeams);
  Worksheet& records = *layout.team_sheets().records;
  records.SetText(CellRange::Cell(3, 1), "a rather long team name");
  Worksheet& letter = *layout.player_sheets().letters[1];
  letter.SetNumber(CellRange::Cell(2, 5), 1987);
  RunReport report;
  layout.Finish(report, &letter);
  EXPECT_GT(records.ColumnWidth(3), letter.ColumnWidth(2));
  EXPECT_GT(letter.ColumnWidth(2), 0);
  EXPECT_EQ(records.ColumnWidth(1), 0);  // no content: the default width
}

}  // namespace
}  // namespace statcrane
