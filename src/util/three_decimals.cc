#include "util/three_decimals.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace statcrane {
namespace {

// The value rounded to three decimals as a signed count of thousandths.
long long Thousandths(double value) {
  if (!std::isfinite(value)) return 0;
  // The decimal the double stands for, to 15 significant digits.
  char digits[64];
  std::snprintf(digits, sizeof digits, "%.14e", value);
  // digits: [-]d.dddddddddddddde[+-]XX
  const bool negative = digits[0] == '-';
  const char* p = digits + (negative ? 1 : 0);
  char mantissa[16];
  int n = 0;
  for (; *p != 'e'; ++p) {
    if (*p != '.') mantissa[n++] = *p;
  }
  const int exponent = std::atoi(p + 1);
  // value = 0.d1d2...d15 * 10^(exponent + 1); we need thousandths:
  // the first (exponent + 4) digits form the integer part of value*1000.
  const int keep = exponent + 4;
  if (keep < 0) return 0;
  long long result = 0;
  for (int i = 0; i < keep && i < n; ++i) result = result * 10 + (mantissa[i] - '0');
  for (int i = n; i < keep; ++i) result *= 10;
  if (keep < n && mantissa[keep] >= '5') ++result;  // halves away from zero
  return negative ? -result : result;
}

}  // namespace

std::string FormatThreeDecimals(double value) {
  if (std::isfinite(value) && std::fabs(value) >= 1e15) {
    // Beyond the digits a double holds exactly rounding changes nothing.
    char text[512];
    std::snprintf(text, sizeof text, "%.3f", value);
    return text;
  }
  const long long t = Thousandths(value);
  const long long whole = std::llabs(t) / 1000;
  char text[64];
  if (whole == 0) {
    std::snprintf(text, sizeof text, "%s.%03lld", t < 0 ? "-" : "", std::llabs(t) % 1000);
  } else {
    std::snprintf(text, sizeof text, "%s%lld.%03lld", t < 0 ? "-" : "", whole,
                  std::llabs(t) % 1000);
  }
  return text;
}

double RoundThreeDecimals(double value) {
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
  return std::strtod(FormatThreeDecimals(value).c_str(), nullptr);
}

double RoundThreeDecimalsSingle(double value) { return ToSingle(RoundThreeDecimals(value)); }

double ToSingle(double value) { return static_cast<double>(static_cast<float>(value)); }

}  // namespace statcrane
