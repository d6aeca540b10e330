#include "players/rate_rounding.h"

#include <gtest/gtest.h>

#include <cmath>

#include "util/three_decimals.h"

namespace statcrane {
namespace {

// Bit for bit, including the sign of zero.
bool Same(double a, double b) { return std::signbit(a) == std::signbit(b) && a == b; }

TEST(RateRoundingTest, AgreesWithTheTextRoundingOnEveryQuotientOfTheSheets) {
  for (int a = -3; a <= 500; ++a) {
    for (int b = 1; b <= 700; ++b) {
      const double q = static_cast<double>(a) / b;
      ASSERT_TRUE(Same(RoundRate(q), RoundThreeDecimals(q))) << a << " / " << b;
    }
  }
  // Earned runs over innings: er / (outs / 27).
  for (int er = 0; er <= 150; ++er) {
    for (int outs = 1; outs <= 1000; ++outs) {
      const double era = er / (outs / 27.0);
      ASSERT_TRUE(Same(RoundRate(era), RoundThreeDecimals(era))) << er << " / " << outs;
    }
  }
}

TEST(RateRoundingTest, HalvesLargeAndOddValuesTakeTheTextRounding) {
  for (double v : {0.0625, 0.0005, 1.0125, 81.0 / 80, 2.0 / 3, -0.0625, -0.0004, 999.99, 1234.5675,
                   884709.0, 1e-300, 0.0}) {
    EXPECT_TRUE(Same(RoundRate(v), RoundThreeDecimals(v))) << v;
  }
  EXPECT_EQ(RoundRate(1.0 / 16), 0.063);
  EXPECT_EQ(RoundRate(2.0 / 3), 0.667);
}

}  // namespace
}  // namespace statcrane
