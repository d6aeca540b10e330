// The winning percentage the team sheets show: won / (won + lost) rounded to
// three decimals as "#.000" shows it, stored as the decimal it denotes (.300
// is 0.3).
#pragma once

#include <cstdint>

namespace statcrane {

// 0 when there are neither wins nor losses.
double WinningPct(int64_t won, int64_t lost);

}  // namespace statcrane
