#include "app/sheet_layout.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "workbook/page_breaks.h"

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

std::vector<std::string> Names(std::initializer_list<const Worksheet*> sheets) {
  std::vector<std::string> names;
  for (const Worksheet* sheet : sheets) names.push_back(sheet->name());
  return names;
}

std::string ActiveName(const Workbook& workbook) {
  return workbook.SheetAt(workbook.OpeningSheetIndex()).name();
}

void WriteSomething(Worksheet* sheet) { sheet->SetText(CellRange::Cell(Row(1), Column(1)), "x"); }

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
  EXPECT_EQ(players_layout.index_sheet(), nullptr);

  // The index, when asked for, is the first tab, kept even when empty, and
  // the workbook opens on it.
  for (SheetChoice choice : {SheetChoice::kPlayersAndTeams, SheetChoice::kTeamsOnly}) {
    Workbook indexed;
    SheetLayout layout(indexed, choice, IndexChoice::kIndex);
    ASSERT_NE(layout.index_sheet(), nullptr);
    EXPECT_EQ(&indexed.SheetAt(0), layout.index_sheet());
    const std::string index = layout.index_sheet()->name();
    RunReport report;
    layout.Finish(report, nullptr);
    EXPECT_EQ(indexed.SheetNames().front(), index);
    EXPECT_EQ(ActiveName(indexed), index);
  }
}

TEST(SheetLayoutTest, SheetsThatStayEmptyAreRemovedAndTheBookOpensOnTeamRecords) {
  Workbook workbook;
  SheetLayout layout(workbook, SheetChoice::kPlayersAndTeams);
  const PlayerSheets& players = layout.player_sheets();
  WriteSomething(players.pitching_summaries[0]);
  WriteSomething(players.hitting_summaries[0]);
  WriteSomething(players.hitting_summaries[1]);
  const TeamSheets& teams = layout.team_sheets();
  WriteSomething(teams.series_totals[1]);
  // The names, read before the sheets that stay empty go.
  const std::vector<std::string> kept = Names(
      {teams.records, teams.season_totals, teams.series_totals[1], players.pitching_summaries[0],
       players.hitting_summaries[0], players.hitting_summaries[1]});
  const std::vector<std::string> removed =
      Names({teams.series_totals[0], teams.series_totals[2], players.pitching_summaries[1],
             players.pitching_summaries[2], players.pitching_summaries[3],
             players.hitting_summaries[2], players.hitting_summaries[3]});
  RunReport report;
  layout.Finish(report, players.letters[3]);

  EXPECT_EQ(workbook.SheetNames(), Join({kept, Letters()}));
  EXPECT_EQ(ActiveName(workbook), kept.front());
  // "#" only exists for players who need it: its removal is not news.
  EXPECT_EQ(report.sheets_removed, removed);
}

TEST(SheetLayoutTest, WithoutTeamSheetsTheBookOpensOnTheLastPlayerSummaryOrLetter) {
  {
    Workbook workbook;
    SheetLayout layout(workbook, SheetChoice::kPlayersOnly);
    const PlayerSheets& players = layout.player_sheets();
    WriteSomething(players.pitching_summaries[3]);
    WriteSomething(players.hitting_summaries[1]);
    WriteSomething(players.letters[kOtherInitial]);
    const std::string hitting_dcs = players.hitting_summaries[1]->name();
    const std::string other = players.letters[kOtherInitial]->name();
    RunReport report;
    layout.Finish(report, players.letters[kOtherInitial]);
    // Hitting before pitching, the world series back to the regular season.
    EXPECT_EQ(ActiveName(workbook), hitting_dcs);
    EXPECT_EQ(workbook.SheetNames().back(), other);
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
  records.SetText(CellRange::Cell(Row(1), Column(3)), "a rather long team name");
  Worksheet& letter = *layout.player_sheets().letters[1];
  letter.SetNumber(CellRange::Cell(Row(5), Column(2)), 1987);
  RunReport report;
  layout.Finish(report, &letter);
  EXPECT_GT(records.ColumnWidth(Column(3)), letter.ColumnWidth(Column(2)));
  EXPECT_GT(letter.ColumnWidth(Column(2)), 0);
  EXPECT_EQ(records.ColumnWidth(Column(1)), 0);  // no content: the default width
}

// A table with headings in row 1 from `first_col`, and `rows` lines.
void WriteTable(Worksheet& sheet, int32_t first_col, int32_t last_col, int32_t rows) {
  for (int32_t col = first_col; col <= last_col; ++col) {
    sheet.SetText(CellRange::Cell(Row(1), Column(col)), "heading");
    for (int32_t row = 2; row <= rows + 1; ++row)
      sheet.SetNumber(CellRange::Cell(Row(row), Column(col)), row);
  }
}

// Blocks of `rows` rows one empty row apart, kept together as the writers
// keep them.
void WriteBlocks(Worksheet& sheet, int blocks, int32_t rows) {
  for (int32_t b = 0, first = 1; b < blocks; ++b, first += rows + 1) {
    for (int32_t row = first; row < first + rows; ++row) {
      sheet.SetText(CellRange::Cell(Row(row), Column(1)), "line");
    }
    sheet.KeepRowsTogether({Row(first), Row(first + rows - 1)});
  }
}

TEST(SheetLayoutTest, EverySheetOpensAtA1AndPrintsOnePageWideLandscapeButTheIndex) {
  Workbook workbook;
  SheetLayout layout(workbook, SheetChoice::kPlayersAndTeams, IndexChoice::kIndex);
  const PlayerSheets& players = layout.player_sheets();
  const TeamSheets& teams = layout.team_sheets();
  WriteTable(*layout.index_sheet(), 1, 5, 40);
  WriteTable(*teams.season_totals, 3, 11, 30);    // "TeamRegTotals": C to K
  WriteTable(*teams.series_totals[2], 4, 12, 4);  // "TeamWSTotals": D to L
  WriteTable(*players.hitting_summaries[0], 1, 20, 100);
  WriteBlocks(*teams.records, 10, 12);
  WriteBlocks(*players.letters[0], 12, 10);
  players.letters[1]->SetText(CellRange::Cell(Row(1), Column(1)), "a sheet without blocks");
  RunReport report;
  layout.Finish(report, players.letters[1]);

  for (size_t i = 0; i < workbook.SheetCount(); ++i) {
    const Worksheet& sheet = workbook.SheetAt(i);
    SCOPED_TRACE(sheet.name());
    EXPECT_EQ(sheet.selection(), CellRange::Cell(Row(1), Column(1)));
    const PageSetup& setup = sheet.page_setup();
    EXPECT_EQ(setup.orientation, &sheet == layout.index_sheet() ? PageOrientation::kPortrait
                                                                : PageOrientation::kLandscape);
    EXPECT_TRUE(setup.fit_to_width);
    EXPECT_EQ(setup.footer, (PageFooter{"&[Sheet]", "", "Page &[Page] of &[Pages]"}));
  }

  // The tables: heading row frozen, filtered and printed on every page; the
  // filter covers the whole table wherever it starts.
  const std::pair<const Worksheet*, CellRange> tables[] = {
      {layout.index_sheet(), CellRange(Row(1), Column(1), Row(41), Column(5))},
      {teams.season_totals, CellRange(Row(1), Column(3), Row(31), Column(11))},
      {teams.series_totals[2], CellRange(Row(1), Column(4), Row(5), Column(12))},
      {players.hitting_summaries[0], CellRange(Row(1), Column(1), Row(101), Column(20))}};
  for (const auto& [sheet, table] : tables) {
    SCOPED_TRACE(sheet->name());
    EXPECT_EQ(sheet->frozen_rows(), 1);
    EXPECT_EQ(sheet->auto_filter(), table);
    EXPECT_EQ(sheet->page_setup().title_rows, 1);
    EXPECT_TRUE(sheet->row_breaks().empty());
  }
  // An empty table sheet that stays has nothing to freeze or filter.
  Workbook bare;
  SheetLayout bare_layout(bare, SheetChoice::kTeamsOnly);
  bare_layout.Finish(report, nullptr);
  EXPECT_EQ(bare_layout.team_sheets().season_totals->frozen_rows(), 0);
  EXPECT_EQ(bare_layout.team_sheets().season_totals->auto_filter(), std::nullopt);

  // The sheets of blocks: nothing frozen or filtered; a page breaks before
  // a block it would cut (page_breaks.h has the arithmetic).
  for (const Worksheet* sheet : {teams.records, players.letters[0]}) {
    SCOPED_TRACE(sheet->name());
    EXPECT_EQ(sheet->frozen_rows(), 0);
    EXPECT_EQ(sheet->auto_filter(), std::nullopt);
    EXPECT_EQ(sheet->page_setup().title_rows, 0);
    EXPECT_FALSE(sheet->row_breaks().empty());
    EXPECT_EQ(sheet->row_breaks(), RowBreaksBeforeBlocks(*sheet));
  }
  EXPECT_EQ(teams.records->row_breaks().front(), Row(27));  // two blocks of 12 a page
  EXPECT_TRUE(players.letters[1]->row_breaks().empty());
}

}  // namespace
}  // namespace statcrane

namespace statcrane {
namespace {

TEST(SheetLayoutTest, LeadersFollowTheIndexAndNeedThePlayers) {
  const std::vector<std::string> leaders = {"Career Leaders", "Season Leaders", "League Leaders"};
  Workbook indexed;
  SheetLayout indexed_layout(indexed, SheetChoice::kPlayersAndTeams, IndexChoice::kIndex,
                             LeadersChoice::kLeaders);
  EXPECT_EQ(indexed.SheetNames(),
            Join({{"Index"}, leaders, kTeamTabs, kPlayerSummaryTabs, Letters(), {"#"}}));
  const LeadersSheets& sheets = indexed_layout.leaders_sheets();
  EXPECT_EQ(sheets.career, indexed.FindSheet("Career Leaders"));
  EXPECT_EQ(sheets.season, indexed.FindSheet("Season Leaders"));
  EXPECT_EQ(sheets.league, indexed.FindSheet("League Leaders"));

  // Without the index the leaders come first and the workbook opens on them.
  Workbook players;
  SheetLayout players_layout(players, SheetChoice::kPlayersOnly, IndexChoice::kNone,
                             LeadersChoice::kLeaders);
  EXPECT_EQ(players.SheetNames(), Join({leaders, kPlayerSummaryTabs, Letters(), {"#"}}));
  for (Worksheet* sheet : {sheets.career, sheets.season, sheets.league}) WriteSomething(sheet);
  WriteSomething(players.FindSheet("Career Leaders"));
  RunReport report;
  players_layout.Finish(report, nullptr);
  EXPECT_EQ(ActiveName(players), "Career Leaders");
  EXPECT_EQ(players.FindSheet("Career Leaders")->frozen_rows(), 1);
  EXPECT_EQ(players.FindSheet("Career Leaders")->page_setup().title_rows, 1);

  Workbook teams;
  SheetLayout teams_layout(teams, SheetChoice::kTeamsOnly, IndexChoice::kNone,
                           LeadersChoice::kLeaders);
  EXPECT_EQ(teams.FindSheet("Career Leaders"), nullptr);
  EXPECT_EQ(teams_layout.leaders_sheets().career, nullptr);
}

}  // namespace
}  // namespace statcrane
