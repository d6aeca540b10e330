#include "players/player_walk.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "players/player_test_support.h"
#include "testing/record_files.h"
#include "util/error.h"
#include "workbook/cell_style.h"

namespace statcrane {
namespace {

constexpr BorderSide kNone{};
constexpr BorderSide kMedium{kLineStyleContinuous, kWeightMedium, kColorAutomatic};
constexpr BorderSide kRed{kLineStyleContinuous, kWeightMedium, kColorRed};

enum Summary { kPitchReg, kPitchDCS, kPitchLCS, kPitchWS, kHitReg, kHitDCS, kHitLCS, kHitWS };

PlayerStatsRecord Rec(int16_t id, std::string last, std::string first, int season_type,
                      int16_t year, int kind) {
  PlayerStatsRecord r;
  r.player_id = id;
  r.last_name = std::move(last);
  r.first_name = std::move(first);
  r.season_type = static_cast<uint8_t>(season_type);
  r.year = year;
  r.team_id = 1;
  r.line_kind = static_cast<uint8_t>(kind);
  return r;
}

PlayerStatsRecord Hit(int16_t id, std::string last, int season_type, int16_t year,
                      int16_t at_bats = 4, int16_t hits = 1) {
  PlayerStatsRecord r = Rec(id, std::move(last), "Jo", season_type, year, 1);
  r.at_bats = at_bats;
  r.hits = hits;
  return r;
}

PlayerStatsRecord Pitch(int16_t id, std::string last, int season_type, int16_t year,
                        int16_t outs = 27, int16_t earned_runs = 3) {
  PlayerStatsRecord r = Rec(id, std::move(last), "Jo", season_type, year, 2);
  r.outs_pitched = outs;
  r.earned_runs = earned_runs;
  return r;
}

PlayerStatsRecord Filler() {
  PlayerStatsRecord r;
  r.record_status = 1;
  return r;
}

class RecordingProgress : public ProgressObserver {
 public:
  void ProgressText(std::string_view text) override { texts.emplace_back(text); }
  std::vector<std::string> texts;
};

class PlayerWalkTest : public ::testing::Test {
 protected:
  void Run() {
    stats_.emplace(PlayerStatsFile::Index(
        RecordFile::FromBytes(testing::EncodeRecords(records), PlayerStatsRecord::kSize), report));
    list_.emplace(BuildPlayerOrder(*stats_));
    AddPlayerSheets(book);
    RunPlayerWalk(PlayerWalkInput{*stats_, *list_, teams, births}, book, walk, progress, report);
  }

  std::string Text(std::string_view sheet, int32_t row, int col) {
    return std::string(book.Sheet(sheet).Cell(row, col).text);
  }
  double Number(std::string_view sheet, int32_t row, int col) {
    const CellView cell = book.Sheet(sheet).Cell(row, col);
    EXPECT_EQ(cell.kind, CellKind::kNumber) << sheet << " row " << row << " col " << col;
    return cell.number;
  }
  const CellStyle& Style(std::string_view sheet, int32_t row, int col) {
    return *book.Sheet(sheet).Cell(row, col).style;
  }
  bool RowEmpty(std::string_view sheet, int32_t row) {
    for (int col = 1; col <= 22; ++col) {
      const CellView cell = book.Sheet(sheet).Cell(row, col);
      if (cell.kind != CellKind::kEmpty || !(*cell.style == CellStyle{})) return false;
    }
    return true;
  }

  std::vector<PlayerStatsRecord> records;
  TeamAbbreviations teams;
  BirthDates births;
  Workbook book;
  RunReport report;
  RecordingProgress progress;
  PlayerWalk walk;
  std::optional<PlayerStatsFile> stats_;
  std::optional<PlayerOrder> list_;
};

TEST_F(PlayerWalkTest, OneBlockFollowsTheRowPattern) {
  teams.Set(1, "NY");
  births.Set(5, CivilDate{1970, 12, 15});
  records = {Hit(5, "Smith", 2, 1999, 4, 2), Hit(5, "Smith", 5, 1998, 10, 3),
             Hit(5, "Smith", 2, 1997, 3, 1), Hit(5, "Smith", 2, 1998, 5, 0),
             Hit(6, "Stone", 2, 2001)};
  Run();

  // n = 1: name row, heading row, three lines in year order, totals.
  EXPECT_EQ(Text("S", 1, 1), "Smith,Jo");
  EXPECT_EQ(Number("S", 1, 18), 5);
  EXPECT_EQ(Text("S", 2, 1), "Year");
  EXPECT_EQ(Number("S", 3, 1), 1997);
  EXPECT_EQ(Number("S", 4, 1), 1998);
  EXPECT_EQ(Number("S", 5, 1), 1999);
  EXPECT_EQ(Text("S", 3, 2), "NY");
  EXPECT_EQ(Number("S", 3, 3), 27);
  EXPECT_EQ(Number("S", 4, 3), 28);
  EXPECT_EQ(Text("S", 6, 2), "Totals");
  EXPECT_EQ(Number("S", 6, 4), 0.25);  // 3 hits in 12 at-bats
  EXPECT_EQ(Number("S", 6, 7), 12);

  // n + 6: the division-series title directly under the totals.
  const std::vector<CellRange> merges = {CellRange::Row(1, 5, 1), CellRange::Row(18, 21, 1),
                                         CellRange::Row(1, 3, 7), CellRange::Row(1, 5, 11),
                                         CellRange::Row(18, 21, 11)};
  EXPECT_EQ(book.Sheet("S").merges(), merges);
  EXPECT_EQ(Text("S", 7, 1), "- - L D S - -");
  for (int col = 1; col <= 21; ++col) {
    const CellStyle& style = Style("S", 7, col);
    EXPECT_EQ(style.bold, col == 1) << col;
    EXPECT_EQ(style.fill, col == 1 ? kFillHitting : kNoFill) << col;
    EXPECT_EQ(style.top(), col <= 3 ? kMedium : kNone) << col;
    EXPECT_EQ(style.left(), col <= 3 ? kMedium : kNone) << col;
    EXPECT_EQ(style.right(), col <= 3 ? kMedium : kNone) << col;
    EXPECT_EQ(style.bottom(), kMedium) << col;
  }
  // n + 7 line, n + 8 totals, n + 9 empty, next block at n + 10.
  EXPECT_EQ(Number("S", 8, 1), 1998);
  EXPECT_EQ(Number("S", 8, 7), 10);
  EXPECT_EQ(Style("S", 8, 1).left(), kMedium);
  EXPECT_EQ(Text("S", 9, 2), "Totals");
  EXPECT_EQ(Number("S", 9, 4), 0.3);
  EXPECT_EQ(Style("S", 9, 2).bottom(), kRed);
  EXPECT_TRUE(RowEmpty("S", 10));
  EXPECT_EQ(Text("S", 11, 1), "Stone,Jo");
  EXPECT_EQ(walk.NextRow['S' - 'A'], 16);
  EXPECT_EQ(walk.NextRow['A' - 'A'], 1);

  // Summary sheets: heading in row 1, then one line per player.
  EXPECT_EQ(walk.SummaryRow[kHitReg], 3);
  EXPECT_EQ(walk.SummaryRow[kHitDCS], 2);
  for (int s : {kPitchReg, kPitchDCS, kPitchLCS, kPitchWS, kHitLCS, kHitWS}) {
    EXPECT_EQ(walk.SummaryRow[s], 0) << s;
  }
  EXPECT_EQ(Text("HitRegTotals", 1, 1), "Player");
  EXPECT_EQ(Text("HitRegTotals", 2, 1), "Smith,Jo");
  EXPECT_EQ(Number("HitRegTotals", 2, 2), 1999);
  EXPECT_EQ(Text("HitRegTotals", 3, 1), "Stone,Jo");
  EXPECT_EQ(Number("HitDCSTotals", 2, 6), 10);
  EXPECT_EQ(walk.players_written, 2);
  EXPECT_EQ(book.ActiveSheet().name(), "S");
  EXPECT_EQ(progress.texts, (std::vector<std::string>{"Smith,Jo", "Stone,Jo"}));
}

TEST_F(PlayerWalkTest, LinesOfOneYearFollowTheirRecordNumbersComparedAsText) {
  records.assign(1500, Filler());
  records[199] = Hit(3, "Baker", 2, 1990, 200, 1);   // record 200
  records[1499] = Hit(3, "Baker", 2, 1990, 150, 1);  // record 1500
  records[999] = Hit(3, "Baker", 2, 1989, 100, 1);   // record 1000
  Run();
  EXPECT_EQ(Number("B", 3, 7), 100);
  EXPECT_EQ(Number("B", 4, 7), 150);
  EXPECT_EQ(Number("B", 5, 7), 200);
  EXPECT_EQ(Text("B", 6, 2), "Totals");
}

TEST_F(PlayerWalkTest, TheFirstLineChoosesTheHeaderAndTheLastLineTheTotals) {
  records = {Hit(4, "Jones", 2, 1991, 10, 4), Pitch(4, "Jones", 2, 1990, 200, 20),
             Pitch(4, "Jones", 6, 1991, 9, 1), Hit(4, "Jones", 6, 1991, 3, 1),
             Pitch(4, "Jones", 7, 1991, 7, 0)};
  Run();
  // Pitching heading and fill; the hitting line follows without a heading.
  EXPECT_EQ(Style("J", 1, 1).fill, kFillPitching);
  EXPECT_EQ(Text("J", 2, 4), "ERA");
  EXPECT_EQ(Number("J", 3, 13), 66.2);
  EXPECT_EQ(Style("J", 3, 13).number_format, "0.0");
  EXPECT_EQ(Number("J", 4, 7), 10);
  EXPECT_EQ(Text("J", 5, 2), "Totals");  // hitting totals: the last line hits
  EXPECT_EQ(Number("J", 5, 4), 0.4);
  EXPECT_EQ(Number("J", 5, 7), 10);
  // League championship: a pitching title, then both lines, hitting totals.
  EXPECT_EQ(Text("J", 6, 1), "- - L C S - -");
  EXPECT_EQ(Style("J", 6, 1).fill, kFillPitching);
  EXPECT_EQ(Number("J", 7, 13), 3.0);
  EXPECT_EQ(Number("J", 8, 7), 3);
  EXPECT_EQ(Number("J", 9, 7), 3);  // only this section's at-bats
  // World series, pitching: its own title spacing, innings without format.
  EXPECT_EQ(Text("J", 10, 1), "- -  W  S  - -");
  EXPECT_EQ(Number("J", 11, 13), 2.1);
  EXPECT_EQ(Text("J", 12, 2), "Totals");
  EXPECT_EQ(Number("J", 12, 13), 2.1);
  EXPECT_EQ(Style("J", 12, 13).number_format, "");
  EXPECT_EQ(Number("J", 12, 4), 0);
  EXPECT_EQ(walk.NextRow['J' - 'A'], 14);
  EXPECT_EQ(walk.SummaryRow[kHitReg], 2);
  EXPECT_EQ(walk.SummaryRow[kPitchReg], 0);
  EXPECT_EQ(walk.SummaryRow[kHitLCS], 2);
  EXPECT_EQ(walk.SummaryRow[kPitchWS], 2);
  EXPECT_EQ(Number("PitchWSTotals", 2, 12), 2.1);
  EXPECT_EQ(Text("PitchWSTotals", 1, 3), "ERA");
}

TEST_F(PlayerWalkTest, HittingWorldSeriesTitleAndOtherLineKinds) {
  PlayerStatsRecord odd = Hit(8, "Wolf", 5, 1995);
  odd.line_kind = 3;
  records = {Hit(8, "Wolf", 2, 1995, 4, 2), Hit(8, "Wolf", 7, 1995, 8, 2), odd};
  Run();
  // The division series holds only a line of another kind: no title, no
  // line, no totals; the world series title follows the regular totals.
  EXPECT_EQ(Text("W", 4, 2), "Totals");
  EXPECT_EQ(Text("W", 5, 1), "- - W  S - -");
  EXPECT_EQ(Number("W", 6, 7), 8);
  EXPECT_EQ(Number("W", 7, 4), 0.25);
  EXPECT_EQ(walk.SummaryRow[kHitDCS], 0);
  EXPECT_EQ(walk.SummaryRow[kHitWS], 2);
}

TEST_F(PlayerWalkTest, PlayersGoToTheSheetOfTheirFoldedInitial) {
  records = {Hit(1, "Smith", 2, 1990),  Hit(2, "smith", 2, 1990), Hit(3, "\xC3\x81lvarez", 2, 1990),
             Hit(4, "9Lives", 2, 1990), Hit(5, "", 2, 1990),      Hit(6, "Adams", 2, 1990)};
  records[1].first_name = "Al";
  records[0].first_name = "Bo";
  Run();
  // smith,Al before Smith,Bo, both on "S".
  EXPECT_EQ(Text("S", 1, 1), "smith,Al");
  EXPECT_EQ(Text("S", 6, 1), "Smith,Bo");
  // Álvarez sorts as Alvarez, after Adams, on "A".
  EXPECT_EQ(Text("A", 1, 1), "Adams,Jo");
  EXPECT_EQ(Text("A", 6, 1), "\xC3\x81lvarez,Jo");
  // A digit and an empty last name go to "#", placed directly after "Z".
  ASSERT_TRUE(book.HasSheet("#"));
  const std::vector<std::string> names = book.SheetNames();
  EXPECT_EQ(names.back(), "#");
  EXPECT_EQ(names[names.size() - 2], "Z");
  EXPECT_EQ(Text("#", 1, 1), ",Jo");
  EXPECT_EQ(Text("#", 6, 1), "9Lives,Jo");
  EXPECT_EQ(walk.NextRow[26], 11);
  EXPECT_EQ(book.ActiveSheet().name(), "S");
}

TEST_F(PlayerWalkTest, NoExtraSheetWithoutAPlayerWhoNeedsIt) {
  records = {Hit(1, "Smith", 2, 1990), Hit(2, "7Up", 5, 1990)};
  Run();
  EXPECT_FALSE(book.HasSheet("#"));
}

TEST_F(PlayerWalkTest, SeasonTypesAndPlayersWithoutRegularSeason) {
  records = {Hit(1, "Post", 5, 1990), Hit(1, "Post", 7, 1990), Hit(2, "Reg", 3, 1990),
             Hit(2, "Reg", 1, 1990),  Hit(2, "Reg", 2, 1991),  Hit(2, "Reg", 0, 1990),
             Hit(2, "Reg", 3, 1992),  Hit(2, "Reg", 9, 1993),  Hit(1, "Post", 4, 1990)};
  Run();
  EXPECT_EQ(report.unknown_season_types, (std::map<int, int64_t>{{0, 1}, {3, 2}, {4, 1}, {9, 1}}));
  EXPECT_EQ(walk.players_written, 1);
  EXPECT_TRUE(RowEmpty("P", 1));
  EXPECT_EQ(walk.NextRow['P' - 'A'], 1);
  EXPECT_EQ(walk.SummaryRow[kHitDCS], 0);
  // Only the regular line of 1991: name, heading, line, totals.
  EXPECT_EQ(Number("R", 3, 1), 1991);
  EXPECT_EQ(Text("R", 4, 2), "Totals");
  EXPECT_TRUE(RowEmpty("R", 5));
  EXPECT_EQ(walk.NextRow['R' - 'A'], 6);
}

TEST_F(PlayerWalkTest, AgesComeFromTheBirthDateOrTheZeroDate) {
  births.Set(1, CivilDate{1970, 12, 15});
  records = {Hit(1, "Able", 2, 1998), Hit(2, "Baker", 2, 1998)};
  Run();
  EXPECT_EQ(Number("A", 3, 3), 28);
  EXPECT_EQ(Number("B", 3, 3), 99);  // 1998 - 1899
}

TEST_F(PlayerWalkTest, NamesComeFromEachRegularRecordAndABackslashKeepsThePlayer) {
  PlayerStatsRecord first = Hit(12, "O\\Neil", 2, 1990);
  PlayerStatsRecord second = Hit(12, "ONeil", 2, 1991);
  PlayerStatsRecord post = Hit(12, "O'Neil", 5, 1991);
  records = {second, first, post};
  Run();
  // The block opens with the name of the first line in year order; the
  // summary lines carry the name of the last regular-season line.
  EXPECT_EQ(Text("O", 1, 1), "O\\Neil,Jo");
  EXPECT_EQ(Number("O", 1, 18), 12);
  EXPECT_EQ(Text("HitRegTotals", 2, 1), "ONeil,Jo");
  EXPECT_EQ(Text("HitDCSTotals", 2, 1), "ONeil,Jo");
}

TEST_F(PlayerWalkTest, ASheetPastTheRowLimitStopsTheRun) {
  records = {Hit(1, "Long", 2, 1990), Hit(1, "Long", 2, 1991)};
  walk.NextRow['L' - 'A'] = kMaxRows - 3;
  try {
    Run();
    FAIL() << "no error";
  } catch (const StatCraneError& error) {
    EXPECT_NE(error.message().find("Long,Jo \\ 1"), std::string::npos) << error.what();
    EXPECT_NE(error.message().find("\"L\""), std::string::npos) << error.what();
    EXPECT_NE(error.message().find("1048577"), std::string::npos) << error.what();
  }
}

}  // namespace
}  // namespace statcrane
