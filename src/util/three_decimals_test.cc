#include "util/three_decimals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>

namespace statcrane {
namespace {

TEST(ThreeDecimalsTest, FormatsWithoutLeadingZero) {
  EXPECT_EQ(FormatThreeDecimals(1.0 / 3), ".333");
  EXPECT_EQ(FormatThreeDecimals(2.0 / 3), ".667");
  EXPECT_EQ(FormatThreeDecimals(0.3), ".300");
  EXPECT_EQ(FormatThreeDecimals(1), "1.000");
  EXPECT_EQ(FormatThreeDecimals(0.1234), ".123");
  EXPECT_EQ(FormatThreeDecimals(0), ".000");
  EXPECT_EQ(FormatThreeDecimals(999.99), "999.990");
  EXPECT_EQ(FormatThreeDecimals(-0.5), "-.500");
  EXPECT_EQ(FormatThreeDecimals(1e300).substr(0, 5), "10000");
  EXPECT_EQ(FormatThreeDecimals(std::numeric_limits<double>::infinity()), ".000");
}

TEST(ThreeDecimalsTest, RoundsTheDecimalValueHalvesAwayFromZero) {
  // Binary rounding half to even gets these wrong.
  EXPECT_EQ(FormatThreeDecimals(1.0 / 16), ".063");
  EXPECT_EQ(FormatThreeDecimals(81.0 / 80), "1.013");
  EXPECT_EQ(FormatThreeDecimals(0.0005), ".001");
  EXPECT_EQ(FormatThreeDecimals(0.0004999), ".000");
  EXPECT_EQ(FormatThreeDecimals(4.0 * 27 / 25), "4.320");
  EXPECT_EQ(FormatThreeDecimals(-1.0 / 16), "-.063");
}

TEST(ThreeDecimalsTest, ValuesReadBack) {
  EXPECT_DOUBLE_EQ(RoundThreeDecimals(1.0 / 3), 0.333);
  EXPECT_DOUBLE_EQ(RoundThreeDecimals(1.0 / 16), 0.063);
  EXPECT_EQ(RoundThreeDecimalsSingle(1.0 / 3), static_cast<double>(0.333f));
  EXPECT_NE(RoundThreeDecimalsSingle(1.0 / 3), 0.333);
  EXPECT_EQ(RoundThreeDecimals(std::numeric_limits<double>::quiet_NaN()), 0);
}

// Bit for bit, including the sign of zero.
bool Same(double a, double b) { return std::signbit(a) == std::signbit(b) && a == b; }

// What a spreadsheet reads back from the text.
double ReadBack(double value) { return std::strtod(FormatThreeDecimals(value).c_str(), nullptr); }

TEST(ThreeDecimalsTest, TheRoundingAgreesWithTheTextOnEveryQuotientOfTheSheets) {
  for (int a = -3; a <= 500; ++a) {
    for (int b = 1; b <= 700; ++b) {
      const double q = static_cast<double>(a) / b;
      ASSERT_TRUE(Same(RoundThreeDecimals(q), ReadBack(q))) << a << " / " << b;
    }
  }
  // Earned runs over innings: er / (outs / 27).
  for (int er = 0; er <= 150; ++er) {
    for (int outs = 1; outs <= 1000; ++outs) {
      const double era = er / (outs / 27.0);
      ASSERT_TRUE(Same(RoundThreeDecimals(era), ReadBack(era))) << er << " / " << outs;
    }
  }
  for (double v : {0.0625, 0.0005, 1.0125, 81.0 / 80, 2.0 / 3, -0.0625, -0.0004, 999.99, 1234.5675,
                   884709.0, 1e-300, 0.0}) {
    EXPECT_TRUE(Same(RoundThreeDecimals(v), ReadBack(v))) << v;
  }
}

}  // namespace
}  // namespace statcrane
