#include "players/rate_rounding.h"

#include <cmath>

#include "util/three_decimals.h"

namespace statcrane {

double RoundRate(double value) {
  // Below a thousand, the error of value * 1000 and the decimal digits that
  // the text rounding drops stay far below 1e-6 thousandths; a value whose
  // thousandths lie farther than that from a half rounds the same both ways.
  const double thousandths = std::fabs(value * 1000.0);
  if (thousandths < 1e6) {
    const double whole = std::floor(thousandths);
    const double fraction = thousandths - whole;
    if (std::fabs(fraction - 0.5) > 1e-6) {
      const double rounded = fraction > 0.5 ? whole + 1 : whole;
      if (rounded == 0) return 0;
      // k / 1000 is the double nearest to the decimal, as reading its text gives.
      return value < 0 ? -(rounded / 1000.0) : rounded / 1000.0;
    }
  }
  return RoundThreeDecimals(value);
}

}  // namespace statcrane
