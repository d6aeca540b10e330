// The seven figures the team sheets show for a season, a series or a total:
// won, lost, runs scored and allowed, shutouts (SHO), grounded into double
// plays (GDP) and left on base (LOB).
#pragma once

#include <cstdint>

#include "encyclopedia/record_layouts.h"

namespace statcrane {

struct TeamFigures {
  int64_t won = 0;
  int64_t lost = 0;
  int64_t scored = 0;
  int64_t allowed = 0;
  int64_t sho = 0;
  int64_t gdp = 0;
  int64_t lob = 0;

  static TeamFigures Of(const TeamStatBlock& block) {
    return {block.won,          block.lost,     block.runs_scored,
            block.runs_allowed, block.shutouts, block.grounded_into_double_plays,
            block.left_on_base};
  }
  void Add(const TeamFigures& other) {
    won += other.won;
    lost += other.lost;
    scored += other.scored;
    allowed += other.allowed;
    sho += other.sho;
    gdp += other.gdp;
    lob += other.lob;
  }
  // A season counts in a series when it won or lost a game in it.
  bool HasGames() const { return won != 0 || lost != 0; }
  bool operator==(const TeamFigures&) const = default;
};

}  // namespace statcrane
