#include "players/player_walk.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "players/letter_sheet_writer.h"
#include "players/player_test_support.h"
#include "testing/record_files.h"
#include "util/error.h"
#include "workbook/cell_style.h"

namespace statcrane {
namespace {

// The first of the last four columns of a block, where the player id stands.
constexpr int kIdColumn = kLetterBlockLastColumn.number() - 3;

const BorderLine kNone{};
const BorderLine kMedium{LineStyle::kMedium, {}};
const BorderLine kMediumRed{LineStyle::kMedium, kRed};

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

class RecordingProgress : public ProgressObserver {
 public:
  void ProgressText(std::string_view text) override { texts.emplace_back(text); }
  std::vector<std::string> texts;
};

class PlayerWalkTest : public ::testing::Test {
 protected:
  // Walks the players of `records`; `before` may change the writers first.
  void Run(const std::function<void(PlayerSheetWriters&)>& before = {}) {
    stats_.emplace(LoadPlayerStats(
        RecordFile::FromBytes(testing::EncodeRecords(records), PlayerStatsRecord::kSize), report));
    list_.emplace(BuildPlayerOrder(*stats_));
    sheets = AddPlayerSheets(book);
    writers.emplace(sheets);
    if (before) before(*writers);
    result = WritePlayerBlocks(
        PlayerWalkInput{*stats_, *list_, teams, births}, *writers, progress,
        [this](const PlacedPlayerBlock& placed) {
          places.push_back(placed.block.name + " " + std::to_string(placed.block.player_id) + " " +
                           placed.sheet.name() + " " + std::to_string(placed.rows.first.number()) +
                           "-" + std::to_string(placed.rows.last.number()));
        });
  }

  std::string Text(std::string_view sheet, int32_t row, int col) {
    return std::string(SheetNamed(book, sheet).Cell(Row(row), Column(col)).text);
  }
  double Number(std::string_view sheet, int32_t row, int col) {
    const CellView cell = SheetNamed(book, sheet).Cell(Row(row), Column(col));
    EXPECT_EQ(cell.kind, CellKind::kNumber) << sheet << " row " << row << " col " << col;
    return cell.number;
  }
  const CellStyle& Style(std::string_view sheet, int32_t row, int col) {
    return *SheetNamed(book, sheet).Cell(Row(row), Column(col)).style;
  }
  bool RowEmpty(std::string_view sheet, int32_t row) {
    for (int col = 1; col <= 22; ++col) {
      const CellView cell = SheetNamed(book, sheet).Cell(Row(row), Column(col));
      if (cell.kind != CellKind::kEmpty || !(*cell.style == CellStyle{})) return false;
    }
    return true;
  }
  int32_t LastRow(std::string_view sheet) { return SheetNamed(book, sheet).LastRow().number(); }
  int32_t NextBlockRow(char letter) {
    return writers->letters[static_cast<size_t>(letter - 'A')].next_row().number();
  }

  std::vector<PlayerStatsRecord> records;
  TeamAbbreviations teams;
  BirthDates births;
  Workbook book;
  PlayerSheets sheets;
  SkipReport report;
  RecordingProgress progress;
  std::optional<PlayerSheetWriters> writers;
  PlayerWalkResult result;
  std::vector<std::string> places;  // "name id sheet first-last" of each block placed
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
  EXPECT_EQ(Number("S", 1, kIdColumn), 5);
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

  // n + 6: the division-series title directly under the totals (its cells:
  // the letter-sheet writer's tests).
  EXPECT_EQ(Text("S", 7, 1), "- - L D S - -");
  // n + 7 line, n + 8 totals, n + 9 empty, next block at n + 10.
  EXPECT_EQ(Number("S", 8, 1), 1998);
  EXPECT_EQ(Number("S", 8, 7), 10);
  EXPECT_EQ(Style("S", 8, 1).left(), kMedium);
  EXPECT_EQ(Text("S", 9, 2), "Totals");
  EXPECT_EQ(Number("S", 9, 4), 0.3);
  EXPECT_EQ(Style("S", 9, 2).bottom(), kMediumRed);
  EXPECT_TRUE(RowEmpty("S", 10));
  EXPECT_EQ(Text("S", 11, 1), "Stone,Jo");
  EXPECT_EQ(LastRow("S"), 14);
  EXPECT_EQ(NextBlockRow('S'), 16);
  EXPECT_EQ(LastRow("A"), 0);

  // Summary sheets: heading in row 1, then one line per player.
  EXPECT_EQ(LastRow("HitRegTotals"), 3);
  EXPECT_EQ(LastRow("HitDCSTotals"), 2);
  for (const char* name : {"PitchRegTotals", "PitchDCSTotals", "PitchLCSTotals", "PitchWSTotals",
                           "HitLCSTotals", "HitWSTotals"}) {
    EXPECT_EQ(LastRow(name), 0) << name;
  }
  EXPECT_EQ(Text("HitRegTotals", 1, 1), "Player");
  EXPECT_EQ(Text("HitRegTotals", 2, 1), "Smith,Jo");
  EXPECT_EQ(Number("HitRegTotals", 2, 2), 1999);
  EXPECT_EQ(Text("HitRegTotals", 3, 1), "Stone,Jo");
  EXPECT_EQ(Number("HitDCSTotals", 2, 6), 10);
  EXPECT_EQ(result.players_written, 2);
  EXPECT_EQ(result.last_letter_sheet, sheets.letters['S' - 'A']);
  EXPECT_EQ(progress.texts, (std::vector<std::string>{"Smith,Jo", "Stone,Jo"}));
}

// The columns of a heading row's name-row fill: the two merged cells.
bool NameColumn(int col) { return col <= 5 || col >= kIdColumn; }

TEST_F(PlayerWalkTest, PitchingFirstThenHittingEachKindGetsItsOwnSubSection) {
  records = {Hit(4, "Jones", 2, 1991, 10, 4), Pitch(4, "Jones", 2, 1990, 200, 20),
             Pitch(4, "Jones", 6, 1991, 9, 1), Hit(4, "Jones", 6, 1991, 3, 1),
             Pitch(4, "Jones", 7, 1991, 7, 0)};
  Run();
  // Regular season: the pitching sub-section, whose heading colours the name
  // row, then the hitting one, whose heading follows the pitching totals.
  EXPECT_EQ(Style("J", 1, 1).fill, kPitchingFill);
  EXPECT_EQ(Text("J", 2, 4), "ERA");
  EXPECT_EQ(Number("J", 3, 13), 66.2);
  EXPECT_EQ(Style("J", 3, 13).number_format, "0.0");
  EXPECT_EQ(Text("J", 4, 2), "Totals");
  EXPECT_EQ(Number("J", 4, 4), 2.7);  // 20 / (200 / 27)
  EXPECT_EQ(Number("J", 4, 13), 66.2);
  EXPECT_EQ(Style("J", 4, 13).number_format, "");
  EXPECT_EQ(Text("J", 5, 4), "BAVG");
  for (int col = 1; col <= 21; ++col) {
    EXPECT_EQ(Style("J", 5, col).fill, kHittingFill) << col;
    EXPECT_EQ(Style("J", 4, col).fill, std::nullopt) << col;  // the totals keep theirs
    EXPECT_EQ(Style("J", 1, col).fill,
              NameColumn(col) ? std::optional<Rgb>(kPitchingFill) : std::nullopt)
        << col;
  }
  EXPECT_EQ(Style("J", 4, 2).bottom(), kMediumRed);
  EXPECT_EQ(Style("J", 5, 2).top(), kMedium);
  EXPECT_EQ(Number("J", 6, 7), 10);
  EXPECT_EQ(Text("J", 7, 2), "Totals");
  EXPECT_EQ(Number("J", 7, 4), 0.4);
  EXPECT_EQ(Number("J", 7, 7), 10);
  // League championship: a pitching title, its line and totals, then a
  // hitting title, its line and totals.
  EXPECT_EQ(Text("J", 8, 1), "- - L C S - -");
  EXPECT_EQ(Style("J", 8, 1).fill, kPitchingFill);
  EXPECT_EQ(Number("J", 9, 13), 3.0);
  EXPECT_EQ(Text("J", 10, 2), "Totals");
  EXPECT_EQ(Number("J", 10, 4), 3.0);
  EXPECT_EQ(Text("J", 11, 1), "- - L C S - -");
  EXPECT_EQ(Style("J", 11, 1).fill, kHittingFill);
  EXPECT_EQ(Number("J", 12, 7), 3);
  EXPECT_EQ(Number("J", 13, 7), 3);  // only this section's at-bats
  // World series, pitching: its own title spacing, innings without format.
  EXPECT_EQ(Text("J", 14, 1), "- -  W  S  - -");
  EXPECT_EQ(Number("J", 15, 13), 2.1);
  EXPECT_EQ(Text("J", 16, 2), "Totals");
  EXPECT_EQ(Number("J", 16, 13), 2.1);
  EXPECT_EQ(Number("J", 16, 4), 0);
  EXPECT_EQ(LastRow("J"), 16);
  EXPECT_EQ(NextBlockRow('J'), 18);
  const std::vector<CellRange> merges = {
      CellRange::Across(Row(1), Column(1), Column(5)),
      CellRange::Across(Row(1), Column(kIdColumn), kLetterBlockLastColumn),
      CellRange::Across(Row(8), Column(1), Column(3)),
      CellRange::Across(Row(11), Column(1), Column(3)),
      CellRange::Across(Row(14), Column(1), Column(3))};
  EXPECT_EQ(SheetNamed(book, "J").merges(), merges);

  // A summary line per sub-section, with the year of its own last line.
  EXPECT_EQ(Text("PitchRegTotals", 2, 1), "Jones,Jo");
  EXPECT_EQ(Number("PitchRegTotals", 2, 2), 1990);
  EXPECT_EQ(Number("PitchRegTotals", 2, 12), 66.2);
  EXPECT_EQ(Number("HitRegTotals", 2, 2), 1991);
  EXPECT_EQ(Number("HitRegTotals", 2, 6), 10);
  EXPECT_EQ(Number("PitchLCSTotals", 2, 12), 3.0);
  EXPECT_EQ(Number("HitLCSTotals", 2, 6), 3);
  EXPECT_EQ(Number("PitchWSTotals", 2, 12), 2.1);
  EXPECT_EQ(Text("PitchWSTotals", 1, 3), "ERA");
  for (const char* name :
       {"PitchRegTotals", "HitRegTotals", "PitchLCSTotals", "HitLCSTotals", "PitchWSTotals"}) {
    EXPECT_EQ(LastRow(name), 2) << name;
  }
  EXPECT_EQ(LastRow("HitWSTotals"), 0);
}

TEST_F(PlayerWalkTest, HittingFirstThenPitchingWithBothKindsInOneYear) {
  // 1990 holds a hitting line (record 1) and a pitching line (record 2).
  records = {Hit(5, "Kane", 2, 1990, 8, 2), Pitch(5, "Kane", 2, 1990, 27, 3),
             Pitch(5, "Kane", 2, 1991, 9, 2)};
  Run();
  EXPECT_EQ(Style("K", 1, 1).fill, kHittingFill);
  EXPECT_EQ(Text("K", 2, 4), "BAVG");
  EXPECT_EQ(Number("K", 3, 1), 1990);
  EXPECT_EQ(Number("K", 3, 7), 8);
  EXPECT_EQ(Text("K", 4, 2), "Totals");
  EXPECT_EQ(Number("K", 4, 4), 0.25);
  EXPECT_EQ(Text("K", 5, 4), "ERA");
  EXPECT_EQ(Style("K", 5, 1).fill, kPitchingFill);
  EXPECT_EQ(Style("K", 4, 1).fill, std::nullopt);
  EXPECT_EQ(Number("K", 6, 1), 1990);
  EXPECT_EQ(Number("K", 7, 1), 1991);
  EXPECT_EQ(Text("K", 8, 2), "Totals");
  EXPECT_EQ(Number("K", 8, 4), 3.75);  // 5 earned runs in 12 innings
  EXPECT_EQ(Number("K", 8, 13), 12.0);
  EXPECT_EQ(NextBlockRow('K'), 10);
  EXPECT_EQ(Number("HitRegTotals", 2, 2), 1990);
  EXPECT_EQ(Number("HitRegTotals", 2, 3), 0.25);
  EXPECT_EQ(Number("PitchRegTotals", 2, 2), 1991);
  EXPECT_EQ(Number("PitchRegTotals", 2, 3), 3.75);
}

TEST_F(PlayerWalkTest, LinesOfAnotherKindWriteNothingAndTakeNoTotalsAway) {
  auto odd = [](int season_type, int16_t year, std::string first) {
    PlayerStatsRecord r = Hit(8, "Wolf", season_type, year, 50, 50);
    r.line_kind = 3;
    r.first_name = std::move(first);
    return r;
  };
  // Regular season: another kind first, in the middle and last. Division
  // series: only another kind. League championship: another kind last.
  records = {odd(2, 1989, "Al"),
             Hit(8, "Wolf", 2, 1990, 4, 1),
             odd(2, 1991, "Bo"),
             Hit(8, "Wolf", 2, 1992, 4, 3),
             odd(2, 1993, "Cy"),
             odd(5, 1990, "Di"),
             Hit(8, "Wolf", 6, 1990, 10, 5),
             odd(6, 1990, "Ed"),
             Hit(8, "Wolf", 7, 1990)};
  Run();
  // The name row takes the name of the first regular-season record, of
  // whatever kind; the heading follows it.
  EXPECT_EQ(Text("W", 1, 1), "Wolf,Al");
  EXPECT_EQ(Style("W", 1, 1).fill, kHittingFill);
  EXPECT_EQ(Text("W", 2, 4), "BAVG");
  EXPECT_EQ(Number("W", 3, 1), 1990);
  EXPECT_EQ(Number("W", 4, 1), 1992);
  EXPECT_EQ(Text("W", 5, 2), "Totals");
  EXPECT_EQ(Number("W", 5, 4), 0.5);
  EXPECT_EQ(Number("W", 5, 7), 8);
  // No division series; the league championship keeps its totals, and the
  // world-series title comes after them.
  EXPECT_EQ(Text("W", 6, 1), "- - L C S - -");
  EXPECT_EQ(Number("W", 7, 7), 10);
  EXPECT_EQ(Text("W", 8, 2), "Totals");
  EXPECT_EQ(Text("W", 9, 1), "- - W  S - -");
  EXPECT_EQ(Number("W", 10, 7), 4);
  EXPECT_EQ(Text("W", 11, 2), "Totals");
  EXPECT_EQ(NextBlockRow('W'), 13);
  // The summary lines carry the name of the last regular-season record.
  EXPECT_EQ(Text("HitRegTotals", 2, 1), "Wolf,Cy");
  EXPECT_EQ(Number("HitRegTotals", 2, 2), 1992);
  EXPECT_EQ(Text("HitLCSTotals", 2, 1), "Wolf,Cy");
  EXPECT_EQ(Number("HitLCSTotals", 2, 6), 10);
  EXPECT_EQ(LastRow("HitDCSTotals"), 0);
  EXPECT_EQ(LastRow("HitWSTotals"), 2);
}

TEST_F(PlayerWalkTest, ARegularSeasonOfAnotherKindLeavesTheNameRowAlone) {
  PlayerStatsRecord odd = Hit(9, "Zane", 2, 1990);
  odd.line_kind = 0;
  records = {odd, Pitch(9, "Zane", 5, 1990, 12, 1), Hit(10, "Zorn", 2, 1991)};
  Run();
  // The name row, unfilled; the division-series title directly below it.
  EXPECT_EQ(Text("Z", 1, 1), "Zane,Jo");
  EXPECT_EQ(Number("Z", 1, kIdColumn), 9);
  EXPECT_EQ(Style("Z", 1, 1).fill, std::nullopt);
  EXPECT_EQ(Text("Z", 2, 1), "- - L D S - -");
  EXPECT_EQ(Number("Z", 3, 13), 4.0);
  EXPECT_EQ(Text("Z", 4, 2), "Totals");
  EXPECT_TRUE(RowEmpty("Z", 5));
  EXPECT_EQ(Text("Z", 6, 1), "Zorn,Jo");
  EXPECT_EQ(result.players_written, 2);
  EXPECT_EQ(LastRow("PitchRegTotals"), 0);
  EXPECT_EQ(Text("HitRegTotals", 2, 1), "Zorn,Jo");
  EXPECT_EQ(Text("PitchDCSTotals", 2, 1), "Zane,Jo");
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
  EXPECT_EQ(LastRow("HitDCSTotals"), 0);
  EXPECT_EQ(LastRow("HitWSTotals"), 2);
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
  // A digit and an empty last name go to "#".
  ASSERT_GT(SheetNamed(book, "#").LastRow().number(), 0);
  EXPECT_EQ(Text("#", 1, 1), ",Jo");
  EXPECT_EQ(Text("#", 6, 1), "9Lives,Jo");
  EXPECT_EQ(writers->letters[kOtherInitial].next_row().number(), 11);
  EXPECT_EQ(result.last_letter_sheet, sheets.letters['S' - 'A']);
  // Where each block went, in the order they were written.
  EXPECT_EQ(places, (std::vector<std::string>{",Jo 5 # 1-4", "9Lives,Jo 4 # 6-9",
                                              "Adams,Jo 6 A 1-4", "\xC3\x81lvarez,Jo 3 A 6-9",
                                              "smith,Al 2 S 1-4", "Smith,Bo 1 S 6-9"}));
}

TEST_F(PlayerWalkTest, NoExtraSheetWithoutAPlayerWhoNeedsIt) {
  records = {Hit(1, "Smith", 2, 1990), Hit(2, "7Up", 5, 1990)};
  Run();
  EXPECT_EQ(SheetNamed(book, "#").LastRow().number(), 0);
}

TEST_F(PlayerWalkTest, SeasonTypesAndPlayersWithoutRegularSeason) {
  records = {Hit(1, "Post", 5, 1990), Hit(1, "Post", 7, 1990), Hit(2, "Reg", 3, 1990),
             Hit(2, "Reg", 1, 1990),  Hit(2, "Reg", 2, 1991),  Hit(2, "Reg", 0, 1990),
             Hit(2, "Reg", 3, 1992),  Hit(2, "Reg", 9, 1993),  Hit(1, "Post", 4, 1990)};
  Run();
  EXPECT_EQ(result.unknown_season_types, (std::map<int, int64_t>{{0, 1}, {3, 2}, {4, 1}, {9, 1}}));
  EXPECT_EQ(result.players_written, 1);
  EXPECT_EQ(LastRow("P"), 0);
  EXPECT_EQ(LastRow("HitDCSTotals"), 0);
  // Only the regular line of 1991: name, heading, line, totals.
  EXPECT_EQ(Number("R", 3, 1), 1991);
  EXPECT_EQ(Text("R", 4, 2), "Totals");
  EXPECT_TRUE(RowEmpty("R", 5));
  EXPECT_EQ(NextBlockRow('R'), 6);
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
  EXPECT_EQ(Number("O", 1, kIdColumn), 12);
  EXPECT_EQ(Text("HitRegTotals", 2, 1), "ONeil,Jo");
  EXPECT_EQ(Text("HitDCSTotals", 2, 1), "ONeil,Jo");
}

TEST_F(PlayerWalkTest, ASheetPastTheRowLimitStopsTheRun) {
  records = {Hit(1, "Long", 2, 1990), Hit(1, "Long", 2, 1991)};
  try {
    Run([&](PlayerSheetWriters& w) {
      w.letters['L' - 'A'] = LetterSheetWriter(SheetNamed(book, "L"), Row(kMaxRows - 3));
    });
    FAIL() << "no error";
  } catch (const StatCraneError& error) {
    EXPECT_EQ(error.message().rfind("writing the player Long,Jo \\ 1 on the sheet \"L\": ", 0), 0)
        << error.what();
    EXPECT_NE(error.message().find("\"L\""), std::string::npos) << error.what();
    EXPECT_NE(error.message().find("1048577"), std::string::npos) << error.what();
  }
}

}  // namespace
}  // namespace statcrane
