// Three-decimal rounding of the rates on the player sheets, many times a
// line: the same values as RoundThreeDecimals (util/three_decimals.h), which
// formats text for every value; here text is formatted only for a value that
// lies close to a rounding boundary.
#pragma once

namespace statcrane {

// RoundThreeDecimals(value): the decimal of three places nearest to the
// value, halves away from zero.
double RoundRate(double value);

}  // namespace statcrane
