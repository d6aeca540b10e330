#include "util/dates.h"

#include <gtest/gtest.h>

namespace statcrane {
namespace {

TEST(DatesTest, CalendarDates) {
  EXPECT_TRUE(IsCalendarDate(1999, 12, 31));
  EXPECT_TRUE(IsCalendarDate(2000, 2, 29));
  EXPECT_FALSE(IsCalendarDate(1900, 2, 29));
  EXPECT_FALSE(IsCalendarDate(1999, 2, 29));
  EXPECT_FALSE(IsCalendarDate(1999, 0, 1));
  EXPECT_FALSE(IsCalendarDate(1999, 13, 1));
  EXPECT_FALSE(IsCalendarDate(1999, 4, 31));
  EXPECT_FALSE(IsCalendarDate(1999, 4, 0));
}

TEST(DatesTest, YearBoundaries) {
  EXPECT_EQ(YearBoundariesBetween({1970, 12, 15}, {1998, 7, 1}), 28);
  EXPECT_EQ(YearBoundariesBetween(kZeroDate, {1998, 7, 1}), 99);
}

}  // namespace
}  // namespace statcrane
