// The winning percentage the team sheets show: won / (won + lost) rounded to
// three decimals as "#.000" shows it, kept in single precision.
#pragma once

#include <cstdint>

namespace statcrane {

// 0 when there are neither wins nor losses.
double WinningPct(int64_t won, int64_t lost);

}  // namespace statcrane
