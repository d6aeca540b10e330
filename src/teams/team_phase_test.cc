#include "teams/team_phase.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <tuple>
#include <vector>

#include "encyclopedia/team_abbreviations.h"
#include "teams/team_test_support.h"
#include "testing/record_files.h"
#include "testing/skip.h"
#include "testing/temp_dir.h"
#include "testing/xlsx_reader.h"
#include "tools/encyclopedia_generator.h"
#include "util/error.h"
#include "workbook/palette.h"
#include "workbook/xlsx_writer.h"

namespace statcrane {
namespace {

using namespace team_testing;
using testing::ReadRecords;
using testing::ReadXlsx;
using testing::TempDir;
using testing::WriteRecords;
using testing::XlsxBook;
using testing::XlsxSheet;

TeamRecord Team(int id, std::string abbrev) {
  TeamRecord t;
  t.team_id = static_cast<int16_t>(id);
  t.abbreviation = std::move(abbrev);
  t.gate_a = 1;
  t.gate_b = 1;
  return t;
}

// A small encyclopedia written to files, run through the team phase, saved
// and read back with the independent reader.
TEST(TeamPhaseTest, EndToEndThroughTheSavedWorkbook) {
  TempDir dir;
  WriteRecords(dir / "ENCTEAM.DAT",
               std::vector<TeamRecord>{Team(10, "BOS"), Team(20, "CHI"), Team(30, "BOS")});
  WriteRecords(dir / "encleag.dat", std::vector<LeagueRecord>{League(1, "AL"), League(2, "NL")});
  WriteRecords(dir / "enclgyr.dat",
               std::vector<LeagueYearRecord>{LeagueYear(1, 1990, "American League", {10, 20}, {}),
                                             LeagueYear(2, 1990, "National League", {}, {30})});
  TeamYearRecord boston =
      TeamYear(10, 1990, 1, "Boston", "Reds", Stats(90, 72, 700, 600, 10, 99, 1000));
  boston.league_championship_series = Stats(1, 2, 8, 9, 0, 1, 14);
  TeamYearRecord deleted = TeamYear(20, 1990, 1, "Gone", "Team", Stats(1, 1));
  deleted.record_status = 1;
  WriteRecords(dir / "enctmyr.dat",
               std::vector<TeamYearRecord>{
                   deleted, boston,
                   TeamYear(20, 1990, 1, "Chicago", "Greys", Stats(89, 72, 650, 640, 8, 101, 990)),
                   TeamYear(30, 1990, 2, "Boston", "Braves", Stats(81, 81, 600, 610, 7, 90, 980))});

  SkipReport report;
  const EncyclopediaFolder folder(dir.path());
  const TeamAbbreviations abbreviations = LoadTeamAbbreviations(folder, report);
  auto workbook = TeamWorkbook();
  ProgressObserver progress;
  const TeamPhaseResult result =
      RunTeamPhase(folder, abbreviations, workbook->sheets, progress, report);
  EXPECT_EQ(result.teams_written, 3);
  EXPECT_EQ(workbook->series_totals(1).LastRow().number(), 2);
  EXPECT_EQ(report.files["enctmyr.dat"].records_read, 4);
  EXPECT_EQ(report.files["enctmyr.dat"].skipped[std::string(kDeletedRecords.many)], 1);

  WriteXlsx(workbook->book, dir / "teams.xlsx", false);
  SKIP_ON_WINDOWS(testing::kNeedsReader);
  const XlsxBook book = ReadXlsx(dir / "teams.xlsx");

  // Blocks by abbreviation, then team id as text: Boston 10, Boston 30, Chicago.
  const XlsxSheet& records = book.Sheet("Team Records");
  EXPECT_EQ(records.Cell("A1").text, "Boston Reds");
  EXPECT_TRUE(records.IsMerged("A1:C1"));
  EXPECT_EQ(records.Cell("A1").fill, testing::RgbText(kFirstLeagueFill));
  EXPECT_TRUE(records.Cell("A1").bold);
  EXPECT_EQ(records.Cell("A1").font_size, 12);
  EXPECT_EQ(records.Cell("H2").text, "GB");
  EXPECT_EQ(records.Cell("A3").text, "American League");
  EXPECT_EQ(records.Cell("D3").number, 1990);
  EXPECT_EQ(records.Cell("G3").number, 0.556);
  EXPECT_EQ(records.Cell("G3").number_format, "#.000");
  EXPECT_EQ(records.Cell("I3").text, "1st");
  EXPECT_EQ(records.Cell("A3").top.style, "medium");
  EXPECT_EQ(records.Cell("E4").right.style, "medium");
  EXPECT_EQ(records.Cell("E4").right.color, "FF0000");
  EXPECT_EQ(records.Cell("E4").top.color, "");
  // Its league championship row and totals, then the next block.
  EXPECT_EQ(records.Cell("A5").text, "League Championship");
  EXPECT_EQ(records.Cell("G5").number, 0.333);
  EXPECT_EQ(records.Cell("D6").top.style, "medium");
  EXPECT_FALSE(records.Cell("A7").present && !records.Cell("A7").IsEmpty());
  EXPECT_EQ(records.Cell("A8").text, "Boston Braves");
  EXPECT_EQ(records.Cell("A8").fill, testing::RgbText(kSecondLeagueFill));
  EXPECT_EQ(records.Cell("B10").text, "West");
  EXPECT_EQ(records.Cell("A13").text, "Chicago Greys");
  EXPECT_EQ(records.Cell("H15").number, 0.5);
  EXPECT_EQ(records.Cell("I15").text, "2nd");

  const XlsxSheet& reg = book.Sheet("TeamRegTotals");
  EXPECT_EQ(reg.Cell("C1").text, "Team");
  EXPECT_EQ(reg.Cell("C1").fill, testing::RgbText(kSummaryHeaderFill));
  EXPECT_EQ(reg.Cell("C3").text, "Boston Braves");
  EXPECT_EQ(reg.Cell("F3").number, 0.5);
  EXPECT_EQ(reg.Cell("F3").number_format, "#.000");
  EXPECT_EQ(reg.Cell("K4").bottom.style, "medium");
  EXPECT_EQ(reg.LastRow(), 4);

  const XlsxSheet& lcs = book.Sheet("TeamLCSTotals");
  EXPECT_EQ(lcs.Cell("G1").text, "PCT");
  EXPECT_EQ(lcs.Cell("D2").text, "Boston Reds");
  EXPECT_EQ(lcs.Cell("D2").fill, testing::RgbText(kFirstLeagueFill));
  EXPECT_EQ(book.Sheet("TeamWSTotals").LastRow(), 0);
}

// A generated encyclopedia: the saved sheets agree with the team-year file.
TEST(TeamPhaseTest, GeneratedEncyclopediaReadBack) {
  TempDir dir;
  GeneratorOptions options;
  options.players = 1500;
  options.seed = 11;
  GenerateEncyclopedia(options, dir.path());
  SkipReport report;
  const EncyclopediaFolder folder(dir.path());
  const TeamAbbreviations abbreviations = LoadTeamAbbreviations(folder, report);
  auto workbook = TeamWorkbook();
  ProgressObserver progress;
  const TeamPhaseResult result =
      RunTeamPhase(folder, abbreviations, workbook->sheets, progress, report);
  WriteXlsx(workbook->book, dir / "teams.xlsx", false);
  SKIP_ON_WINDOWS(testing::kNeedsReader);
  const XlsxBook book = ReadXlsx(dir / "teams.xlsx");

  // What the file says: seasons, teams, regular-season wins, series played.
  int64_t seasons = 0;
  int64_t wins = 0;
  std::set<int> teams;
  std::set<int> lcs_teams;
  for (const TeamYearRecord& r : ReadRecords<TeamYearRecord>(dir / "enctmyr.dat")) {
    if (r.record_status != 0 || r.year < 1) continue;
    ++seasons;
    wins += r.regular_season.won;
    teams.insert(r.team_id);
    if (r.league_championship_series.won > 0 || r.league_championship_series.lost > 0)
      lcs_teams.insert(r.team_id);
  }
  ASSERT_GT(seasons, 20);
  EXPECT_EQ(result.teams_written, static_cast<int64_t>(teams.size()));

  const XlsxSheet& reg = book.Sheet("TeamRegTotals");
  EXPECT_EQ(reg.LastRow(), static_cast<int32_t>(teams.size()) + 1);
  double reg_wins = 0;
  for (int32_t row = 2; row <= reg.LastRow(); ++row) reg_wins += reg.Cell(row, 4).number;
  EXPECT_EQ(reg_wins, static_cast<double>(wins));
  EXPECT_EQ(book.Sheet("TeamLCSTotals").LastRow(), static_cast<int32_t>(lcs_teams.size()) + 1);
  EXPECT_EQ(workbook->series_totals(1).LastRow().number(),
            static_cast<int32_t>(lcs_teams.size()) + 1);

  // Season rows: one per season; every group has a leader "1st" at 0 behind,
  // and nobody is ahead of it by the rows' own games behind.
  const XlsxSheet& records = book.Sheet("Team Records");
  int64_t season_rows = 0;
  std::map<std::tuple<double, std::string, std::string>, int> leaders;
  for (int32_t row = 1; row <= records.LastRow(); ++row) {
    const testing::XlsxCell& finish = records.Cell(row, 9);
    if (!finish.IsText() || finish.text == "Finish") continue;
    ++season_rows;
    const auto group = std::make_tuple(records.Cell(row, 4).number, records.Cell(row, 1).text,
                                       records.Cell(row, 2).text);
    leaders[group] += finish.text == "1st" && records.Cell(row, 8).number == 0;
    EXPECT_EQ(records.Cell(row, 7).number_format, "#.000");
  }
  EXPECT_EQ(season_rows, seasons);
  for (const auto& [group, count] : leaders) EXPECT_GE(count, 1) << std::get<0>(group);
}

TEST(TeamPhaseTest, NoUsedSeasonLeavesTheSheetsEmpty) {
  auto workbook = TeamWorkbook();
  TeamYearRecord deleted = TeamYear(10, 1990, 1, "Boston", "Reds", Stats(81, 81));
  deleted.record_status = 1;
  const TeamPhaseResult result = RunTeams(*workbook, {deleted});
  EXPECT_EQ(result.teams_written, 0);
  EXPECT_EQ(workbook->records().LastRow().number(), 0);
  EXPECT_EQ(workbook->season_totals().LastRow().number(), 0);
  EXPECT_EQ(workbook->series_totals(1).LastRow().number(), 0);
}

// Counts progress reports and asks to stop after the first block.
class StoppingProgress : public ProgressObserver {
 public:
  void PhaseProgress(std::string_view phase, int64_t done, int64_t total) override {
    EXPECT_EQ(phase, "teams");
    last_done = done;
    last_total = total;
  }
  bool StopRequested() const override { return last_done >= stop_after; }
  int64_t stop_after = 1000;
  int64_t last_done = 0;
  int64_t last_total = 0;
};

TEST(TeamPhaseTest, ProgressOncePerBlockAndStopBetweenBlocks) {
  const std::vector<TeamYearRecord> seasons = {
      TeamYear(10, 1990, 1, "Boston", "Reds", Stats(81, 81)),
      TeamYear(20, 1990, 1, "Chicago", "Greys", Stats(85, 77)),
      TeamYear(20, 1991, 1, "Chicago", "Greys", Stats(85, 77))};
  SkipReport report;
  const LeagueFiles leagues;
  const TeamYearFile team_years = LoadTeamYears(Records(seasons), report);
  StoppingProgress counting;
  auto workbook = TeamWorkbook();
  std::vector<std::string> places;
  RunTeamPhase(leagues, team_years, TeamAbbreviations(), workbook->sheets, counting,
               [&](const PlacedTeamBlock& placed) {
                 places.push_back(placed.block.team_name + " " + placed.sheet.name() + " " +
                                  std::to_string(placed.rows.first.number()) + "-" +
                                  std::to_string(placed.rows.last.number()));
               });
  EXPECT_EQ(counting.last_done, 2);
  EXPECT_EQ(counting.last_total, 2);
  // Where each block went, as it was written.
  EXPECT_EQ(places, (std::vector<std::string>{"Boston Reds Team Records 1-4",
                                              "Chicago Greys Team Records 6-10"}));

  auto again = TeamWorkbook();
  StoppingProgress stopping;
  stopping.stop_after = 1;
  EXPECT_THROW(RunTeamPhase(leagues, team_years, TeamAbbreviations(), again->sheets, stopping),
               RunStopped);
  EXPECT_EQ(Value(again->records(), "A1"), "Boston Reds");
  EXPECT_EQ(Value(again->records(), "A7"), "");
}

}  // namespace
}  // namespace statcrane
