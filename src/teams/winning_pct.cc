#include "teams/winning_pct.h"

#include "util/three_decimals.h"

namespace statcrane {

double WinningPct(int64_t won, int64_t lost) {
  if (won + lost == 0) return 0;
  return RoundThreeDecimals(static_cast<double>(won) / static_cast<double>(won + lost));
}

}  // namespace statcrane
