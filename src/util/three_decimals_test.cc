#include "util/three_decimals.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace statcrane
