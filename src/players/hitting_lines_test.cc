#include "players/hitting_lines.h"

#include <gtest/gtest.h>

#include <vector>

#include "players/pitching_lines.h"
#include "workbook/cell_style.h"

namespace statcrane {
namespace {

constexpr BorderSide kNone{};
constexpr BorderSide kMedium{kLineStyleContinuous, kWeightMedium, kColorAutomatic};
constexpr BorderSide kRed{kLineStyleContinuous, kWeightMedium, kColorRed};

PlayerStatsRecord Hitting(int16_t at_bats, int16_t hits, int16_t walks = 0) {
  PlayerStatsRecord r;
  r.line_kind = 1;
  r.at_bats = at_bats;
  r.hits = hits;
  r.walks = walks;
  return r;
}

double Float(double value) { return static_cast<double>(static_cast<float>(value)); }

TEST(HittingRatesTest, RatesAreRoundedToThreeDecimals) {
  LineRates rates;
  Hitter_Averages(Hitting(3, 1), rates);
  EXPECT_EQ(rates.BAVG, 0.333);
  EXPECT_EQ(rates.SPC, 0.333);
  EXPECT_EQ(rates.OBP, Float(0.333));  // single precision
  Hitter_Averages(Hitting(3, 2), rates);
  EXPECT_EQ(rates.BAVG, 0.667);
  Hitter_Averages(Hitting(16, 1), rates);
  EXPECT_EQ(rates.BAVG, 0.063);  // halves away from zero
  Hitter_Averages(Hitting(4, 4), rates);
  EXPECT_EQ(rates.BAVG, 1.0);

  // No at-bats but two walks: two on-base times over two chances.
  Hitter_Averages(Hitting(0, 0, 2), rates);
  EXPECT_EQ(rates.BAVG, 0);
  EXPECT_EQ(rates.SPC, 0);
  EXPECT_EQ(rates.OBP, 1.0);
  Hitter_Averages(Hitting(0, 0), rates);
  EXPECT_EQ(rates.BAVG, 0);
  EXPECT_EQ(rates.OBP, 0);
  EXPECT_EQ(rates.SPC, 0);

  // 10 hits with 2 doubles, 1 triple and 1 home run: 17 total bases.
  PlayerStatsRecord slugger = Hitting(40, 10, 5);
  slugger.doubles = 2;
  slugger.triples = 1;
  slugger.home_runs = 1;
  slugger.hit_by_pitch = 1;
  slugger.sacrifice_flies = 2;
  Hitter_Averages(slugger, rates);
  EXPECT_EQ(rates.SPC, 0.425);
  EXPECT_EQ(rates.OBP, Float(0.333));  // 16 / 48
}

TEST(HittingRatesTest, TotalsAreRecomputedFromTheSummedCounts) {
  Workbook book;
  Worksheet& sheet = book.AddSheet("S");
  LineState line;
  line.CurrentRow = 2;
  Hitter_EntryLine(sheet, Hitting(3, 1), line);
  line.CurrentRow = 3;
  Hitter_EntryLine(sheet, Hitting(4, 3, 1), line);
  EXPECT_EQ(line.HittingTotals.AtBats, 7);
  EXPECT_EQ(line.HittingTotals.Hits, 4);
  EXPECT_EQ(line.HittingTotals.OnBaseChances, 8);
  EXPECT_EQ(line.HittingTotals.OnBaseTimes, 5);
  LineRates rates;
  Hitter_Totals(line.HittingTotals, rates);
  EXPECT_EQ(rates.BAVG, 0.571);  // 4 / 7, not the mean of .333 and .750
  EXPECT_EQ(rates.OBP, Float(0.625));

  HittingSums none;
  none.Walks = 3;
  Hitter_Totals(none, rates);
  EXPECT_EQ(rates.BAVG, 0);
  EXPECT_EQ(rates.OBP, 0);  // no on-base chances were counted
}

TEST(HittingLinesTest, EntryLineWritesEveryColumnWithFormatsAndSideBorders) {
  Workbook book;
  Worksheet& sheet = book.AddSheet("S");
  PlayerStatsRecord r = Hitting(500, 150, 60);
  r.year = 1998;
  r.runs = 90;
  r.runs_batted_in = 80;
  r.doubles = 30;
  r.triples = 5;
  r.home_runs = 20;
  r.hit_by_pitch = 4;
  r.strikeouts = 100;
  r.stolen_bases = 12;
  r.caught_stealing = 3;
  r.sacrifice_hits = 2;
  r.sacrifice_flies = 6;
  LineState line;
  line.CurrentRow = 8;
  line.ClubAbbrev = "NY";
  line.Age = 28;
  Hitter_EntryLine(sheet, r, line);

  EXPECT_EQ(sheet.Cell(8, 1).number, 1998);
  EXPECT_EQ(sheet.Cell(8, 2).text, "NY");
  EXPECT_EQ(sheet.Cell(8, 3).number, 28);
  EXPECT_EQ(sheet.Cell(8, 4).number, 0.3);
  EXPECT_EQ(sheet.Cell(8, 5).number, Float(0.375));  // 214 / 570
  EXPECT_EQ(sheet.Cell(8, 6).number, 0.5);           // 250 / 500
  const std::vector<double> counts = {500, 150, 30, 5, 20, 90, 80, 4, 60, 100, 12, 3, 2, 6, 250};
  for (int col = 7; col <= 21; ++col) {
    EXPECT_EQ(sheet.Cell(8, col).kind, CellKind::kNumber) << col;
    EXPECT_EQ(sheet.Cell(8, col).number, counts[col - 7]) << col;
  }
  for (int col = 1; col <= 21; ++col) {
    const CellStyle& style = *sheet.Cell(8, col).style;
    EXPECT_EQ(style.number_format, col >= 4 && col <= 6 ? "#.000" : "") << col;
    EXPECT_EQ(style.left(), kMedium) << col;
    EXPECT_EQ(style.right(), kMedium) << col;
    EXPECT_EQ(style.top(), kNone) << col;
    EXPECT_EQ(style.bottom(), kNone) << col;
  }
  EXPECT_EQ(line.LastYear, 1998);
  EXPECT_EQ(line.HittingTotals.TotalBases, 250);
  EXPECT_EQ(line.HittingTotals.SacFlies, 6);
}

TEST(HittingLinesTest, TotalsLineHasAMediumLineAboveAndARedFrameFromBToU) {
  Workbook book;
  Worksheet& sheet = book.AddSheet("S");
  LineState line;
  line.HittingTotals.AtBats = 3;
  line.HittingTotals.Hits = 2;
  line.HittingTotals.TotalBases = 3;
  line.HittingTotals.OnBaseChances = 3;
  line.HittingTotals.OnBaseTimes = 2;
  line.CurrentRow = 12;
  Hitter_TotalLine(sheet, line);

  EXPECT_EQ(sheet.Cell(12, 1).text, " ");
  EXPECT_EQ(sheet.Cell(12, 2).text, "Totals");
  EXPECT_EQ(sheet.Cell(12, 3).kind, CellKind::kEmpty);
  EXPECT_EQ(sheet.Cell(12, 4).number, 0.667);
  EXPECT_EQ(sheet.Cell(12, 5).number, Float(0.667));
  EXPECT_EQ(sheet.Cell(12, 6).number, 1.0);
  EXPECT_EQ(sheet.Cell(12, 7).number, 3);
  EXPECT_EQ(sheet.Cell(12, 8).number, 2);
  EXPECT_EQ(sheet.Cell(12, 21).number, 3);  // total bases
  const CellStyle& a = *sheet.Cell(12, 1).style;
  EXPECT_EQ(a.top(), kMedium);
  EXPECT_EQ(a.left(), kNone);
  EXPECT_EQ(a.bottom(), kNone);
  for (int col = 2; col <= 21; ++col) {
    const CellStyle& style = *sheet.Cell(12, col).style;
    EXPECT_EQ(style.top(), kMedium) << col;
    EXPECT_EQ(style.bottom(), kRed) << col;
    EXPECT_EQ(style.left(), kRed) << col;
    EXPECT_EQ(style.right(), kRed) << col;
    EXPECT_EQ(style.number_format, col >= 4 && col <= 6 ? "#.000" : "") << col;
  }
}

TEST(HittingLinesTest, SummaryLineShowsTheTotalsOfTheLastTotalsLine) {
  Workbook book;
  Worksheet& sheet = book.AddSheet("S");
  LineState line;
  line.CurrentPlayerName = "Smith,John";
  line.CurrentRow = 2;
  PlayerStatsRecord first = Hitting(10, 3);
  first.year = 1997;
  PlayerStatsRecord last = Hitting(10, 4);
  last.year = 1999;
  Hitter_EntryLine(sheet, first, line);
  line.CurrentRow = 3;
  Hitter_EntryLine(sheet, last, line);
  line.CurrentRow = 4;
  Hitter_TotalLine(sheet, line);
  Worksheet& summary = book.AddSheet("HitRegTotals");
  HitSumTotals(summary, line, 2);

  EXPECT_EQ(summary.Cell(2, 1).text, "Smith,John");
  EXPECT_EQ(summary.Cell(2, 2).number, 1999);  // the year of the last line
  EXPECT_EQ(summary.Cell(2, 3).number, 0.35);
  EXPECT_EQ(summary.Cell(2, 6).number, 20);
  EXPECT_EQ(summary.Cell(2, 7).number, 7);
  EXPECT_EQ(summary.Cell(2, 20).number, 7);
  EXPECT_EQ(summary.Cell(2, 21).kind, CellKind::kEmpty);
  for (int col = 1; col <= 20; ++col) {
    const CellStyle& style = *summary.Cell(2, col).style;
    EXPECT_EQ(style.number_format, col >= 3 && col <= 5 ? "#.000" : "") << col;
    for (int side = 0; side < 4; ++side) EXPECT_EQ(style.borders[side], kMedium) << col;
  }
  EXPECT_EQ(summary.selection(), CellRange::Cell(1, 2));

  Reset_Totals(line);
  EXPECT_EQ(line.HittingTotals.AtBats, 0);
  EXPECT_EQ(line.LastYear, 1999);
  EXPECT_EQ(line.LineAverages.BAVG, 0.35);
}

}  // namespace
}  // namespace statcrane
