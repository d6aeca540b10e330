#include "players/season_figures.h"

#include "util/three_decimals.h"

namespace statcrane {
namespace {

constexpr double kEraWithoutOuts = 999.99;

double Quotient(int64_t a, int64_t b) { return static_cast<double>(a) / static_cast<double>(b); }

}  // namespace

HittingCounts& HittingCounts::operator+=(const HittingCounts& o) {
  at_bats += o.at_bats;
  hits += o.hits;
  doubles += o.doubles;
  triples += o.triples;
  home_runs += o.home_runs;
  runs += o.runs;
  runs_batted_in += o.runs_batted_in;
  hit_by_pitch += o.hit_by_pitch;
  walks += o.walks;
  strikeouts += o.strikeouts;
  stolen_bases += o.stolen_bases;
  caught_stealing += o.caught_stealing;
  sacrifice_hits += o.sacrifice_hits;
  sacrifice_flies += o.sacrifice_flies;
  total_bases += o.total_bases;
  on_base_chances += o.on_base_chances;
  on_base_times += o.on_base_times;
  return *this;
}

PitchingCounts& PitchingCounts::operator+=(const PitchingCounts& o) {
  wins += o.wins;
  losses += o.losses;
  saves += o.saves;
  games += o.games;
  games_started += o.games_started;
  complete_games += o.complete_games;
  shutouts += o.shutouts;
  outs += o.outs;
  hits_allowed += o.hits_allowed;
  runs_allowed += o.runs_allowed;
  earned_runs += o.earned_runs;
  walks_allowed += o.walks_allowed;
  strikeouts += o.strikeouts;
  home_runs_allowed += o.home_runs_allowed;
  double_plays_induced += o.double_plays_induced;
  opponents_at_bats += o.opponents_at_bats;
  return *this;
}

HittingCounts HittingCountsOf(const PlayerStatsRecord& r) {
  HittingCounts c;
  c.at_bats = r.at_bats;
  c.hits = r.hits;
  c.doubles = r.doubles;
  c.triples = r.triples;
  c.home_runs = r.home_runs;
  c.runs = r.runs;
  c.runs_batted_in = r.runs_batted_in;
  c.hit_by_pitch = r.hit_by_pitch;
  c.walks = r.walks;
  c.strikeouts = r.strikeouts;
  c.stolen_bases = r.stolen_bases;
  c.caught_stealing = r.caught_stealing;
  c.sacrifice_hits = r.sacrifice_hits;
  c.sacrifice_flies = r.sacrifice_flies;
  c.total_bases = c.hits + c.doubles + 2 * c.triples + 3 * c.home_runs;
  c.on_base_chances = c.at_bats + c.walks + c.hit_by_pitch + c.sacrifice_flies;
  c.on_base_times = c.hits + c.walks + c.hit_by_pitch;
  return c;
}

PitchingCounts PitchingCountsOf(const PlayerStatsRecord& r) {
  PitchingCounts c;
  c.wins = r.wins;
  c.losses = r.losses;
  c.saves = r.saves;
  c.games = r.games_pitched;
  c.games_started = r.games_started;
  c.complete_games = r.complete_games;
  c.shutouts = r.shutouts;
  c.outs = r.outs_pitched;
  c.hits_allowed = r.hits_allowed;
  c.runs_allowed = r.runs_allowed;
  c.earned_runs = r.earned_runs;
  c.walks_allowed = r.walks_allowed;
  c.strikeouts = r.strikeouts_pitched;
  c.home_runs_allowed = r.home_runs_allowed;
  c.double_plays_induced = r.double_plays_induced;
  c.opponents_at_bats = r.opponent_at_bats;
  return c;
}

HittingFigures HittingFiguresOf(const HittingCounts& c) {
  HittingFigures f{c, {}};
  if (c.at_bats > 0) {
    f.rates.batting_average = RoundThreeDecimals(Quotient(c.hits, c.at_bats));
    f.rates.slugging_percentage = RoundThreeDecimals(Quotient(c.total_bases, c.at_bats));
  }
  if (c.on_base_chances > 0) {
    f.rates.on_base_percentage = RoundThreeDecimals(Quotient(c.on_base_times, c.on_base_chances));
  }
  return f;
}

PitchingFigures PitchingFiguresOf(const PitchingCounts& c) {
  PitchingFigures f{c, {}, InningsFromOuts(c.outs)};
  if (c.outs > 0) {
    f.rates.earned_run_average = RoundThreeDecimals(static_cast<double>(c.earned_runs) /
                                                    (static_cast<double>(c.outs) / 27.0));
  } else if (c.earned_runs > 0) {
    f.rates.earned_run_average = kEraWithoutOuts;
  }
  if (c.wins != 0 || c.losses != 0) {
    f.rates.winning_percentage = RoundThreeDecimals(Quotient(c.wins, c.wins + c.losses));
  }
  if (c.opponents_at_bats > 0) {
    f.rates.opponents_batting_average =
        RoundThreeDecimals(Quotient(c.hits_allowed, c.opponents_at_bats));
  }
  return f;
}

double InningsFromOuts(int64_t outs) {
  return static_cast<double>(outs / 3) + static_cast<double>(outs % 3) / 10.0;
}

}  // namespace statcrane
