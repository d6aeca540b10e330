// Rates shown with three decimals ("#.000"): .333, 1.000, .063.
#pragma once

#include <string>

namespace statcrane {

// The text "#.000" gives for the quotient: the decimal value the double stands
// for (15 significant digits) rounded to three decimals, halves away from
// zero, with no leading zero before the point (".333", "1.000", "-.500").
std::string FormatThreeDecimals(double value);

// The number a spreadsheet reads back from FormatThreeDecimals(value):
// 1/3 gives 0.333, 1/16 gives 0.063, 81/80 gives 1.013. The one rounding
// of every rate the sheets show; fast enough for many calls a line (text
// is formatted only for a value close to a rounding boundary).
double RoundThreeDecimals(double value);

// The three-decimal value converted back to single precision, widened to
// double (the float nearest to 0.333 for 1/3).
double RoundThreeDecimalsSingle(double value);

// A double narrowed to single precision and widened back.
double ToSingle(double value);

}  // namespace statcrane
