#include "players/player_phase.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "players/letter_sheet_writer.h"
#include "players/player_summary_writer.h"
#include "players/player_test_support.h"
#include "testing/record_files.h"
#include "testing/skip.h"
#include "testing/temp_dir.h"
#include "testing/xlsx_reader.h"
#include "util/error.h"
#include "workbook/palette.h"
#include "workbook/xlsx_writer.h"

namespace statcrane {
namespace {

// Where a block's player id starts: the first of its last four columns.
constexpr Column kIdFirst = kLetterBlockLastColumn - 3;

using testing::XlsxBorderSide;
using testing::XlsxCell;

const XlsxBorderSide kMedium{"medium", ""};
const XlsxBorderSide kRedMedium{"medium", "FF0000"};
const XlsxBorderSide kNone{"", ""};

PlayerStatsRecord Line(int16_t id, std::string last, std::string first, int season_type,
                       int16_t year, int16_t team, int kind) {
  PlayerStatsRecord r;
  r.player_id = id;
  r.last_name = std::move(last);
  r.first_name = std::move(first);
  r.season_type = static_cast<uint8_t>(season_type);
  r.year = year;
  r.team_id = team;
  r.line_kind = static_cast<uint8_t>(kind);
  return r;
}

PlayerRecord Born(int16_t id, int16_t year, uint8_t month, uint8_t day) {
  PlayerRecord r;
  r.player_id = id;
  r.birth_year = year;
  r.birth_month = month;
  r.birth_day = day;
  return r;
}

class StopAtOnce : public ProgressObserver {
 public:
  bool StopRequested() const override { return true; }
};

class PlayerPhaseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    teams.Set(3, "NY");
    teams.Set(4, "BOS");
    PlayerStatsRecord hitter = Line(10, "Ruth", "Babe", 2, 1921, 3, 1);
    hitter.at_bats = 3;
    hitter.hits = 1;
    hitter.walks = 1;
    hitter.home_runs = 1;
    PlayerStatsRecord hitter2 = Line(10, "Ruth", "Babe", 2, 1920, 4, 1);
    hitter2.at_bats = 3;
    hitter2.hits = 2;
    PlayerStatsRecord series = Line(10, "Ruth", "Babe", 7, 1921, 3, 1);
    series.at_bats = 16;
    series.hits = 1;
    PlayerStatsRecord pitcher = Line(20, "Young", "Cy", 2, 1901, 4, 2);
    pitcher.outs_pitched = 25;
    pitcher.earned_runs = 4;
    pitcher.wins = 2;
    pitcher.losses = 1;
    pitcher.opponent_at_bats = 30;
    pitcher.hits_allowed = 10;
    PlayerStatsRecord odd = Line(30, "3rd", "Base", 2, 1950, 3, 1);
    odd.at_bats = 1;
    PlayerStatsRecord unknown = Line(20, "Young", "Cy", 4, 1901, 4, 2);
    testing::WriteRecords(
        dir / "ENCPLSTATS.DAT",
        std::vector<PlayerStatsRecord>{hitter, series, pitcher, odd, unknown, hitter2});
    testing::WriteRecords(dir / "ENCPLYR.DAT",
                          std::vector<PlayerRecord>{Born(10, 1895, 2, 6), Born(20, 1867, 3, 29)});
    sheets = AddPlayerSheets(book);
  }

  testing::TempDir dir;
  TeamAbbreviations teams;
  Workbook book;
  PlayerSheets sheets;
  SkipReport report;
  ProgressObserver progress;
};

TEST_F(PlayerPhaseTest, WritesThePlayerHalfThatReadsBackFromTheFile) {
  const PlayerPhaseResult result =
      RunPlayerPhase(EncyclopediaFolder(dir.path()), teams, sheets, progress, report);
  // Lines on the regular-season pitching and hitting and the world series
  // hitting summaries; the first row of each holds the headings.
  for (size_t s = 0; s < 4; ++s) {
    EXPECT_EQ(sheets.pitching_summaries[s]->LastRow().number(), s == 0 ? 2 : 0) << s;
    EXPECT_EQ(sheets.hitting_summaries[s]->LastRow().number(), s == 0 ? 3 : s == 3 ? 2 : 0) << s;
  }
  EXPECT_EQ(result.last_letter_sheet, sheets.letters['Y' - 'A']);
  EXPECT_EQ(result.players_written, 3);
  EXPECT_EQ(result.unknown_season_types, (std::map<int, int64_t>{{4, 1}}));

  WriteXlsx(book, dir / "out.xlsx", false);
  SKIP_ON_WINDOWS(testing::kNeedsReader);
  const testing::XlsxBook file = testing::ReadXlsx(dir / "out.xlsx");

  // Ruth: name row, hitting heading, 1920 and 1921, totals, world series.
  const testing::XlsxSheet& r = file.Sheet("R");
  EXPECT_EQ(r.Cell("A1").text, "Ruth,Babe");
  const std::string id = CellRange::Cell(Row(1), kIdFirst).ToA1();
  EXPECT_TRUE(r.Cell(id).IsNumber());
  EXPECT_EQ(r.Cell(id).number, 10);
  EXPECT_TRUE(r.IsMerged("A1:E1"));
  EXPECT_TRUE(r.IsMerged(CellRange::Across(Row(1), kIdFirst, kLetterBlockLastColumn).ToA1()));
  EXPECT_TRUE(r.Cell("A1").bold);
  EXPECT_EQ(r.Cell("A1").font_size, 12);
  EXPECT_EQ(r.Cell("A1").fill, testing::RgbText(kHittingFill));
  EXPECT_EQ(r.Cell("U1").fill, testing::RgbText(kHittingFill));
  EXPECT_EQ(r.Cell("F1").fill, "");
  EXPECT_EQ(r.Cell("F1").top, kNone);
  EXPECT_EQ(r.Cell("F1").bottom, kMedium);
  EXPECT_EQ(r.Cell("D2").text, "BAVG");
  EXPECT_EQ(r.Cell("D2").horizontal, "right");
  EXPECT_EQ(r.Cell("K2").top, kMedium);
  EXPECT_EQ(r.Cell("A3").number, 1920);
  EXPECT_EQ(r.Cell("B3").text, "BOS");
  EXPECT_EQ(r.Cell("C3").number, 25);
  EXPECT_EQ(r.Cell("D3").number, 0.667);
  EXPECT_EQ(r.Cell("D3").number_format, "#.000");
  EXPECT_EQ(r.Cell("A4").number, 1921);
  EXPECT_EQ(r.Cell("B4").text, "NY");
  EXPECT_EQ(r.Cell("D4").number, 0.333);
  EXPECT_EQ(r.Cell("E4").number, 0.5);
  EXPECT_EQ(r.Cell("F4").number, 1.333);
  EXPECT_EQ(r.Cell("U4").number, 4);
  EXPECT_EQ(r.Cell("H4").left, kMedium);
  EXPECT_EQ(r.Cell("H4").right, kMedium);
  EXPECT_EQ(r.Cell("A5").text, " ");
  EXPECT_EQ(r.Cell("B5").text, "Totals");
  EXPECT_TRUE(r.Cell("C5").IsEmpty());
  EXPECT_EQ(r.Cell("D5").number, 0.5);
  EXPECT_EQ(r.Cell("E5").number, 0.571);  // 4 / 7, the decimal itself
  EXPECT_EQ(r.Cell("A5").top, kMedium);
  EXPECT_EQ(r.Cell("A5").bottom, kNone);
  EXPECT_EQ(r.Cell("B5").bottom, kRedMedium);
  EXPECT_EQ(r.Cell("G5").left, kRedMedium);
  EXPECT_EQ(r.Cell("U5").right, kRedMedium);
  EXPECT_EQ(r.Cell("A6").text, "- - W  S - -");
  EXPECT_TRUE(r.IsMerged("A6:C6"));
  EXPECT_EQ(r.Cell("A6").fill, testing::RgbText(kHittingFill));
  EXPECT_TRUE(r.Cell("A6").bold);
  EXPECT_EQ(r.Cell("C6").right, kMedium);
  EXPECT_EQ(r.Cell("T6").bottom, kMedium);
  EXPECT_EQ(r.Cell("G7").number, 16);
  EXPECT_EQ(r.Cell("D7").number, 0.063);
  EXPECT_EQ(r.Cell("D8").number, 0.063);
  EXPECT_EQ(r.LastRow(), 8);

  // Young: pitching heading, ERA, PCT, innings and OBA formats.
  const testing::XlsxSheet& y = file.Sheet("Y");
  EXPECT_EQ(y.Cell("A1").fill, testing::RgbText(kPitchingFill));
  EXPECT_EQ(y.Cell("D2").text, "ERA");
  EXPECT_EQ(y.Cell("C3").number, 34);
  EXPECT_EQ(y.Cell("D3").number, 4.32);
  EXPECT_EQ(y.Cell("D3").number_format, "##0.00");
  EXPECT_EQ(y.Cell("G3").number, 0.667);
  EXPECT_EQ(y.Cell("M3").number, 8.1);
  EXPECT_EQ(y.Cell("M3").number_format, "0.0");
  EXPECT_EQ(y.Cell("O3").number, 0.333);
  EXPECT_EQ(y.Cell("O3").number_format, "#.000");
  EXPECT_EQ(y.Cell("M4").number, 8.1);
  EXPECT_EQ(y.Cell("M4").number_format, "General");

  // A name that begins with a digit goes to "#".
  EXPECT_EQ(file.Sheet("#").Cell("A1").text, "3rd,Base");

  // Summary sheets: headings in row 1, one line per player.
  const testing::XlsxSheet& hits = file.Sheet("HitRegTotals");
  EXPECT_EQ(hits.Cell("A1").text, "Player");
  EXPECT_EQ(hits.Cell("A1").horizontal, "right");
  EXPECT_EQ(hits.Cell("A1").top, kNone);
  EXPECT_EQ(hits.Cell("A2").text, "3rd,Base");
  EXPECT_EQ(hits.Cell("A3").text, "Ruth,Babe");
  EXPECT_EQ(hits.Cell("B3").number, 1921);
  EXPECT_EQ(hits.Cell("C3").number, 0.5);
  EXPECT_EQ(hits.Cell("C3").number_format, "#.000");
  EXPECT_EQ(hits.Cell("F3").number, 6);
  const Column last = SummaryLastColumn<HittingFigures>();
  EXPECT_EQ(hits.Cell(CellRange::Cell(Row(3), last).ToA1()).top, kMedium);
  EXPECT_TRUE(hits.Cell(CellRange::Cell(Row(3), last + 1).ToA1()).IsEmpty());
  const testing::XlsxSheet& pitches = file.Sheet("PitchRegTotals");
  EXPECT_EQ(pitches.Cell("A2").text, "Young,Cy");
  EXPECT_EQ(pitches.Cell("C2").number, 4.32);
  EXPECT_EQ(pitches.Cell("L2").number, 8.1);
  EXPECT_EQ(pitches.Cell("N2").number_format, "#.000");
  EXPECT_EQ(file.Sheet("HitWSTotals").Cell("A2").text, "Ruth,Babe");
  EXPECT_TRUE(file.Sheet("PitchWSTotals").Cell("A1").IsEmpty());
}

TEST_F(PlayerPhaseTest, AStatisticsFileWithNoWholeRecordWritesNothing) {
  testing::WriteBytes(dir / "ENCPLSTATS.DAT", std::vector<uint8_t>(200, 1));
  const PlayerPhaseResult result =
      RunPlayerPhase(EncyclopediaFolder(dir.path()), teams, sheets, progress, report);
  EXPECT_EQ(result.players_written, 0);
  EXPECT_EQ(result.last_letter_sheet, nullptr);
  for (size_t i = 0; i < book.SheetCount(); ++i)
    EXPECT_EQ(book.SheetAt(i).LastRow().number(), 0) << i;
}

TEST_F(PlayerPhaseTest, AStopRequestEndsThePhase) {
  StopAtOnce stop;
  EXPECT_THROW(RunPlayerPhase(EncyclopediaFolder(dir.path()), teams, sheets, stop, report),
               RunStopped);
}

}  // namespace
}  // namespace statcrane
