#include "players/pitching_lines.h"

#include <gtest/gtest.h>

#include <vector>

#include "workbook/cell_style.h"

namespace statcrane {
namespace {

constexpr BorderSide kNone{};
constexpr BorderSide kMedium{kLineStyleContinuous, kWeightMedium, kColorAutomatic};
constexpr BorderSide kRed{kLineStyleContinuous, kWeightMedium, kColorRed};

PlayerStatsRecord Pitching(int16_t outs, int16_t earned_runs) {
  PlayerStatsRecord r;
  r.line_kind = 2;
  r.outs_pitched = outs;
  r.earned_runs = earned_runs;
  return r;
}

double Innings(int64_t outs) {
  LineState line;
  line.OutsForInnings = outs;
  CALC_INNINGS(line);
  return line.InningsPitched;
}

TEST(InningsTest, TheFractionDigitCountsOuts) {
  EXPECT_EQ(Innings(7), 2.1);
  EXPECT_EQ(Innings(8), 2.2);
  EXPECT_EQ(Innings(9), 3.0);
  EXPECT_EQ(Innings(0), 0);
  EXPECT_EQ(Innings(200), 66.2);
  EXPECT_EQ(Innings(600), 200);
  EXPECT_DOUBLE_EQ(Innings(100000), 33333.1);  // wide sums
}

TEST(PitchingRatesTest, EraPctAndOba) {
  LineRates rates;
  Pitcher_Averages(Pitching(27, 3), rates);
  EXPECT_EQ(rates.ERA, 3.0);
  Pitcher_Averages(Pitching(25, 4), rates);
  EXPECT_EQ(rates.ERA, 4.32);
  Pitcher_Averages(Pitching(0, 1), rates);
  EXPECT_EQ(rates.ERA, 999.99);
  Pitcher_Averages(Pitching(0, 0), rates);
  EXPECT_EQ(rates.ERA, 0);
  Pitcher_Averages(Pitching(1, 2), rates);
  EXPECT_EQ(rates.ERA, 54.0);

  PlayerStatsRecord r = Pitching(27, 0);
  r.wins = 10;
  r.hits_allowed = 5;
  Pitcher_Averages(r, rates);
  EXPECT_EQ(rates.PCT, 1.0);
  EXPECT_EQ(rates.OBA, 0);  // no opponents' at-bats
  r.wins = 2;
  r.losses = 1;
  r.opponent_at_bats = 16;
  r.hits_allowed = 1;
  Pitcher_Averages(r, rates);
  EXPECT_EQ(rates.PCT, 0.667);
  EXPECT_EQ(rates.OBA, 0.063);
  r.wins = 200;  // one record's wins and losses above 255 together
  r.losses = 200;
  Pitcher_Averages(r, rates);
  EXPECT_EQ(rates.PCT, 0.5);
  r.wins = 0;
  r.losses = 0;
  Pitcher_Averages(r, rates);
  EXPECT_EQ(rates.PCT, 0);

  PitchingSums totals;
  totals.Outs = 52;  // 27 + 25 outs, 3 + 4 earned runs: 7 / (52 / 27)
  totals.EarnedRuns = 7;
  totals.Wins = 1;
  totals.Losses = 2;
  totals.OppAtBats = 0;
  totals.HitsAllowed = 9;
  Pitcher_Totals(totals, rates);
  EXPECT_EQ(rates.ERA, 3.635);
  EXPECT_EQ(rates.PCT, 0.333);
  EXPECT_EQ(rates.OBA, 0);
  totals = PitchingSums{};
  totals.EarnedRuns = 1;
  Pitcher_Totals(totals, rates);
  EXPECT_EQ(rates.ERA, 999.99);
}

TEST(PitchingLinesTest, EntryLineWritesEveryColumnWithItsFormat) {
  Workbook book;
  Worksheet& sheet = book.AddSheet("S");
  PlayerStatsRecord r = Pitching(200, 20);
  r.year = 1987;
  r.wins = 12;
  r.losses = 8;
  r.saves = 1;
  r.games_pitched = 33;
  r.games_started = 30;
  r.complete_games = 4;
  r.shutouts = 2;
  r.hits_allowed = 180;
  r.opponent_at_bats = 600;
  r.runs_allowed = 25;
  r.walks_allowed = 50;
  r.strikeouts_pitched = 150;
  r.home_runs_allowed = 15;
  r.double_plays_induced = 11;
  LineState line;
  line.CurrentRow = 4;
  line.ClubAbbrev = "BOS";
  line.Age = 31;
  line.OutsForInnings = r.outs_pitched;
  CALC_INNINGS(line);
  Pitcher_EntryLine(sheet, r, line);

  const std::vector<double> values = {1987, 0,    31,  2.7, 12, 8,  0.6, 1,   33, 30, 4,
                                      2,    66.2, 180, 0.3, 25, 20, 50,  150, 15, 11};
  for (int col = 1; col <= 21; ++col) {
    if (col == 2) continue;
    EXPECT_EQ(sheet.Cell(4, col).kind, CellKind::kNumber) << col;
    EXPECT_EQ(sheet.Cell(4, col).number, values[col - 1]) << col;
  }
  EXPECT_EQ(sheet.Cell(4, 2).text, "BOS");
  for (int col = 1; col <= 21; ++col) {
    const CellStyle& style = *sheet.Cell(4, col).style;
    const char* format = col == 4                ? "##0.00"
                         : col == 7 || col == 15 ? "#.000"
                         : col == 13             ? "0.0"
                                                 : "";
    EXPECT_EQ(style.number_format, format) << col;
    EXPECT_EQ(style.left(), kMedium) << col;
    EXPECT_EQ(style.right(), kMedium) << col;
    EXPECT_EQ(style.top(), kNone) << col;
  }
  EXPECT_EQ(line.LastYear, 1987);
  EXPECT_EQ(line.PitchingTotals.Outs, 200);
  EXPECT_EQ(line.PitchingTotals.Strikeouts, 150);
  EXPECT_EQ(line.PitchingTotals.OppAtBats, 600);
}

TEST(PitchingLinesTest, TotalsAndSummaryLinesUseTheSectionTotals) {
  Workbook book;
  Worksheet& sheet = book.AddSheet("S");
  LineState line;
  line.CurrentPlayerName = "Ace,Al";
  for (int i = 0; i < 3; ++i) {
    PlayerStatsRecord r = Pitching(200, 22);
    r.year = static_cast<int16_t>(1990 + i);
    r.wins = 10;
    r.losses = 5;
    r.saves = 1;
    line.CurrentRow = 2 + i;
    line.OutsForInnings = r.outs_pitched;
    CALC_INNINGS(line);
    Pitcher_EntryLine(sheet, r, line);
  }
  line.OutsForInnings = line.PitchingTotals.Outs;
  CALC_INNINGS(line);
  line.CurrentRow = 5;
  Pitcher_TotalLine(sheet, line);

  EXPECT_EQ(sheet.Cell(5, 1).text, " ");
  EXPECT_EQ(sheet.Cell(5, 2).text, "Totals");
  EXPECT_EQ(sheet.Cell(5, 3).kind, CellKind::kEmpty);
  EXPECT_EQ(sheet.Cell(5, 4).number, 2.97);  // 66 / (600 / 27)
  EXPECT_EQ(sheet.Cell(5, 5).number, 30);
  EXPECT_EQ(sheet.Cell(5, 6).number, 15);
  EXPECT_EQ(sheet.Cell(5, 7).number, 0.667);
  EXPECT_EQ(sheet.Cell(5, 8).number, 3);
  EXPECT_EQ(sheet.Cell(5, 13).number, 200);
  EXPECT_EQ(sheet.Cell(5, 17).number, 66);
  for (int col = 1; col <= 21; ++col) {
    const CellStyle& style = *sheet.Cell(5, col).style;
    const char* format = col == 4 ? "##0.00" : col == 7 || col == 15 ? "#.000" : "";
    EXPECT_EQ(style.number_format, format) << col;  // no format on the innings
    EXPECT_EQ(style.top(), kMedium) << col;
    EXPECT_EQ(style.bottom(), col == 1 ? kNone : kRed) << col;
    EXPECT_EQ(style.left(), col == 1 ? kNone : kRed) << col;
    EXPECT_EQ(style.right(), col == 1 ? kNone : kRed) << col;
  }

  Worksheet& summary = book.AddSheet("PitchRegTotals");
  PitchSumTotals(summary, line, 2);
  const std::vector<double> values = {0, 1992, 2.97, 30, 15, 0.667, 3, 0, 0, 0,
                                      0, 200,  0,    0,  0,  66,    0, 0, 0, 0};
  EXPECT_EQ(summary.Cell(2, 1).text, "Ace,Al");
  for (int col = 2; col <= 20; ++col)
    EXPECT_EQ(summary.Cell(2, col).number, values[col - 1]) << col;
  for (int col = 1; col <= 20; ++col) {
    const CellStyle& style = *summary.Cell(2, col).style;
    const char* format = col == 3 ? "##0.00" : col == 6 || col == 14 ? "#.000" : "";
    EXPECT_EQ(style.number_format, format) << col;
    for (int side = 0; side < 4; ++side) EXPECT_EQ(style.borders[side], kMedium) << col;
  }
  EXPECT_EQ(summary.Cell(2, 21).kind, CellKind::kEmpty);
}

}  // namespace
}  // namespace statcrane
