#include "players/season_figures.h"

#include <gtest/gtest.h>

namespace statcrane {
namespace {

PlayerStatsRecord Hitting(int16_t at_bats, int16_t hits, int16_t walks = 0) {
  PlayerStatsRecord r;
  r.line_kind = 1;
  r.at_bats = at_bats;
  r.hits = hits;
  r.walks = walks;
  return r;
}

PlayerStatsRecord Pitching(int16_t outs, int16_t earned_runs) {
  PlayerStatsRecord r;
  r.line_kind = 2;
  r.outs_pitched = outs;
  r.earned_runs = earned_runs;
  return r;
}

HittingRates RatesOf(const PlayerStatsRecord& record) {
  return HittingFiguresOf(HittingCountsOf(record)).rates;
}

PitchingRates PitchingRatesOf(const PlayerStatsRecord& record) {
  return PitchingFiguresOf(PitchingCountsOf(record)).rates;
}

TEST(HittingFiguresTest, RatesAreRoundedToThreeDecimals) {
  EXPECT_EQ(RatesOf(Hitting(3, 1)).batting_average, 0.333);
  EXPECT_EQ(RatesOf(Hitting(3, 1)).slugging_percentage, 0.333);
  EXPECT_EQ(RatesOf(Hitting(3, 1)).on_base_percentage, 0.333);
  EXPECT_EQ(RatesOf(Hitting(3, 2)).batting_average, 0.667);
  EXPECT_EQ(RatesOf(Hitting(16, 1)).batting_average, 0.063);  // halves away from zero
  EXPECT_EQ(RatesOf(Hitting(4, 4)).batting_average, 1.0);

  // No at-bats but two walks: two on-base times over two chances.
  HittingRates rates = RatesOf(Hitting(0, 0, 2));
  EXPECT_EQ(rates.batting_average, 0);
  EXPECT_EQ(rates.slugging_percentage, 0);
  EXPECT_EQ(rates.on_base_percentage, 1.0);
  rates = RatesOf(Hitting(0, 0));
  EXPECT_EQ(rates.batting_average, 0);
  EXPECT_EQ(rates.on_base_percentage, 0);
  EXPECT_EQ(rates.slugging_percentage, 0);

  // 10 hits with 2 doubles, 1 triple and 1 home run: 17 total bases.
  PlayerStatsRecord slugger = Hitting(40, 10, 5);
  slugger.doubles = 2;
  slugger.triples = 1;
  slugger.home_runs = 1;
  slugger.hit_by_pitch = 1;
  slugger.sacrifice_flies = 2;
  const HittingCounts counts = HittingCountsOf(slugger);
  EXPECT_EQ(counts.total_bases, 17);
  EXPECT_EQ(counts.on_base_chances, 48);
  EXPECT_EQ(counts.on_base_times, 16);
  EXPECT_EQ(RatesOf(slugger).slugging_percentage, 0.425);
  EXPECT_EQ(RatesOf(slugger).on_base_percentage, 0.333);  // 16 / 48
}

TEST(HittingFiguresTest, OnBasePercentagesAreTheDecimalsTheyDenote) {
  // 3 of 10 is .300: 0.3, not the single-precision 0.30000001192092896.
  EXPECT_EQ(RatesOf(Hitting(8, 1, 2)).on_base_percentage, 0.3);
  EXPECT_EQ(RatesOf(Hitting(9, 1, 1)).on_base_percentage, 0.2);
  for (int chances = 1; chances <= 700; ++chances) {
    for (int times = 0; times <= chances; times += 7) {
      PlayerStatsRecord r = Hitting(static_cast<int16_t>(chances), static_cast<int16_t>(times));
      const double obp = RatesOf(r).on_base_percentage;
      ASSERT_EQ(obp, RatesOf(r).batting_average) << times << " / " << chances;
    }
  }
}

TEST(HittingFiguresTest, TotalsAreRecomputedFromTheSummedCounts) {
  HittingCounts totals = HittingCountsOf(Hitting(3, 1));
  totals += HittingCountsOf(Hitting(4, 3, 1));
  EXPECT_EQ(totals.at_bats, 7);
  EXPECT_EQ(totals.hits, 4);
  EXPECT_EQ(totals.on_base_chances, 8);
  EXPECT_EQ(totals.on_base_times, 5);
  const HittingRates rates = HittingFiguresOf(totals).rates;
  EXPECT_EQ(rates.batting_average, 0.571);  // 4 / 7, not the mean of .333 and .750
  EXPECT_EQ(rates.on_base_percentage, 0.625);

  HittingCounts walks_only;
  walks_only.walks = 3;
  EXPECT_EQ(HittingFiguresOf(walks_only).rates.batting_average, 0);
  EXPECT_EQ(HittingFiguresOf(walks_only).rates.on_base_percentage, 0);  // no chances counted
}

TEST(PitchingFiguresTest, TheInningsFractionDigitCountsOuts) {
  EXPECT_EQ(InningsFromOuts(7), 2.1);
  EXPECT_EQ(InningsFromOuts(8), 2.2);
  EXPECT_EQ(InningsFromOuts(9), 3.0);
  EXPECT_EQ(InningsFromOuts(0), 0);
  EXPECT_EQ(InningsFromOuts(200), 66.2);
  EXPECT_EQ(InningsFromOuts(600), 200);
  EXPECT_DOUBLE_EQ(InningsFromOuts(100000), 33333.1);  // wide sums
  EXPECT_EQ(PitchingFiguresOf(PitchingCountsOf(Pitching(200, 1))).innings, 66.2);
}

TEST(PitchingFiguresTest, EraPctAndOba) {
  EXPECT_EQ(PitchingRatesOf(Pitching(27, 3)).earned_run_average, 3.0);
  EXPECT_EQ(PitchingRatesOf(Pitching(25, 4)).earned_run_average, 4.32);
  EXPECT_EQ(PitchingRatesOf(Pitching(0, 1)).earned_run_average, 999.99);
  EXPECT_EQ(PitchingRatesOf(Pitching(0, 0)).earned_run_average, 0);
  EXPECT_EQ(PitchingRatesOf(Pitching(1, 2)).earned_run_average, 54.0);

  PlayerStatsRecord r = Pitching(27, 0);
  r.wins = 10;
  r.hits_allowed = 5;
  EXPECT_EQ(PitchingRatesOf(r).winning_percentage, 1.0);
  EXPECT_EQ(PitchingRatesOf(r).opponents_batting_average, 0);  // no opponents' at-bats
  r.wins = 2;
  r.losses = 1;
  r.opponent_at_bats = 16;
  r.hits_allowed = 1;
  EXPECT_EQ(PitchingRatesOf(r).winning_percentage, 0.667);
  EXPECT_EQ(PitchingRatesOf(r).opponents_batting_average, 0.063);
  r.wins = 200;  // one record's wins and losses above 255 together
  r.losses = 200;
  EXPECT_EQ(PitchingRatesOf(r).winning_percentage, 0.5);
  r.wins = 0;
  r.losses = 0;
  EXPECT_EQ(PitchingRatesOf(r).winning_percentage, 0);

  // Totals: 27 + 25 outs, 3 + 4 earned runs: 7 / (52 / 27).
  PlayerStatsRecord first = Pitching(27, 3);
  first.losses = 2;
  PlayerStatsRecord second = Pitching(25, 4);
  second.wins = 1;
  second.hits_allowed = 9;
  PitchingCounts totals = PitchingCountsOf(first);
  totals += PitchingCountsOf(second);
  const PitchingFigures figures = PitchingFiguresOf(totals);
  EXPECT_EQ(figures.rates.earned_run_average, 3.635);
  EXPECT_EQ(figures.rates.winning_percentage, 0.333);
  EXPECT_EQ(figures.rates.opponents_batting_average, 0);
  EXPECT_EQ(figures.innings, 17.1);
  PitchingCounts no_outs;
  no_outs.earned_runs = 1;
  EXPECT_EQ(PitchingFiguresOf(no_outs).rates.earned_run_average, 999.99);
}

}  // namespace
}  // namespace statcrane
