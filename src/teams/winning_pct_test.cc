#include "teams/winning_pct.h"

#include <gtest/gtest.h>

namespace statcrane {
namespace {

TEST(WinningPctTest, TheDecimalTheDisplayShows) {
  EXPECT_EQ(WinningPct(3, 7), 0.3);  // not the nearest float, widened
  EXPECT_EQ(WinningPct(1, 2), 0.333);
  EXPECT_EQ(WinningPct(2, 1), 0.667);
  EXPECT_EQ(WinningPct(95, 67), 0.586);
  EXPECT_EQ(WinningPct(1, 15), 0.063);  // 1/16: the half rounds away from zero
  EXPECT_EQ(WinningPct(5, 0), 1);
  EXPECT_EQ(WinningPct(0, 4), 0);
  EXPECT_EQ(WinningPct(0, 0), 0);
}

}  // namespace
}  // namespace statcrane
