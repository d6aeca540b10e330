// The figures of one season line or of the totals of a player's lines:
// counts, and the rates and innings computed from them. Plain values; the
// sheet writers decide where they go.
#pragma once

#include <cstdint>

#include "encyclopedia/record_layouts.h"

namespace statcrane {

struct HittingCounts {
  int64_t at_bats = 0;
  int64_t hits = 0;
  int64_t doubles = 0;
  int64_t triples = 0;
  int64_t home_runs = 0;
  int64_t runs = 0;
  int64_t runs_batted_in = 0;
  int64_t hit_by_pitch = 0;
  int64_t walks = 0;
  int64_t strikeouts = 0;
  int64_t stolen_bases = 0;
  int64_t caught_stealing = 0;
  int64_t sacrifice_hits = 0;
  int64_t sacrifice_flies = 0;
  int64_t total_bases = 0;      // hits + doubles + 2 triples + 3 home runs
  int64_t on_base_chances = 0;  // at-bats + walks + hit-by-pitch + sacrifice flies
  int64_t on_base_times = 0;    // hits + walks + hit-by-pitch

  HittingCounts& operator+=(const HittingCounts& other);
};

// Rounded to three decimals and held as the decimal they denote: .300 is
// 0.3, as the cells hold it.
struct HittingRates {
  double batting_average = 0;
  double on_base_percentage = 0;
  double slugging_percentage = 0;
};

struct HittingFigures {
  HittingCounts counts;
  HittingRates rates;
};

struct PitchingCounts {
  int64_t wins = 0;
  int64_t losses = 0;
  int64_t saves = 0;
  int64_t games = 0;
  int64_t games_started = 0;
  int64_t complete_games = 0;
  int64_t shutouts = 0;
  int64_t outs = 0;
  int64_t hits_allowed = 0;
  int64_t runs_allowed = 0;
  int64_t earned_runs = 0;
  int64_t walks_allowed = 0;
  int64_t strikeouts = 0;
  int64_t home_runs_allowed = 0;
  int64_t double_plays_induced = 0;
  int64_t opponents_at_bats = 0;

  PitchingCounts& operator+=(const PitchingCounts& other);
};

struct PitchingRates {
  double earned_run_average = 0;  // two decimals shown; 999.99 for earned runs without an out
  double winning_percentage = 0;
  double opponents_batting_average = 0;
};

struct PitchingFigures {
  PitchingCounts counts;
  PitchingRates rates;
  double innings = 0;  // InningsFromOuts(counts.outs)
};

// The counts of a hitting or a pitching record.
HittingCounts HittingCountsOf(const PlayerStatsRecord& record);
PitchingCounts PitchingCountsOf(const PlayerStatsRecord& record);

// The rates of counts, rounded to three decimals (halves away from zero); a
// rate whose divisor is below 1 is 0. Totals get their rates from the summed
// counts, never from the rates of their lines.
HittingFigures HittingFiguresOf(const HittingCounts& counts);
PitchingFigures PitchingFiguresOf(const PitchingCounts& counts);

// Whole innings, then the remaining outs as the tenths digit: 7 outs give
// 2.1, 9 give 3.0.
double InningsFromOuts(int64_t outs);

}  // namespace statcrane
