#include "players/leaders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace statcrane {
namespace {

// The top entries kept while others are dropped on the way are those a
// ranking of all of them gives: every entry ranked 25th or better, ties
// sharing the rank of the first of them.
TEST(TopEntriesTest, KeepsWhatRankingEverythingGives) {
  std::mt19937 random(7);
  for (size_t listed : {size_t{1}, size_t{25}}) {
    for (int spread : {5, 40, 100000}) {  // many ties at the cut, some, hardly any
      TopEntries top(listed);
      std::vector<double> keys;
      for (int32_t player = 0; player < 3000; ++player) {
        const double key = static_cast<double>(random() % static_cast<unsigned>(spread));
        keys.push_back(key);
        top.Add(key, LeaderEntry{player, 0, key, 0, false});
      }
      const LeaderList list = top.Ranked();
      size_t expected = 0;
      for (size_t i = 0; i < keys.size(); ++i) {
        const auto better =
            std::count_if(keys.begin(), keys.end(), [&](double k) { return k > keys[i]; });
        if (static_cast<size_t>(better) < listed) ++expected;
      }
      ASSERT_EQ(list.size(), expected) << listed << " " << spread;
      for (size_t i = 0; i < list.size(); ++i) {
        const LeaderEntry& e = list[i];
        const auto better =
            std::count_if(keys.begin(), keys.end(), [&](double k) { return k > e.value; });
        const auto same =
            std::count_if(keys.begin(), keys.end(), [&](double k) { return k == e.value; });
        EXPECT_EQ(e.rank, better + 1);
        EXPECT_EQ(e.tied, same > 1);
        // Ties in the order the players came.
        if (i > 0 && list[i - 1].value == e.value) {
          EXPECT_LT(list[i - 1].player, e.player);
        }
      }
    }
  }
}

TEST(LeadersTest, SeasonMinimumsRoundThreePointOneAGame) {
  EXPECT_EQ(SeasonPlateAppearances(162), 502);
  EXPECT_EQ(SeasonPlateAppearances(155), 481);  // 480.5
  EXPECT_EQ(SeasonPlateAppearances(154), 477);  // 477.4
  EXPECT_EQ(SeasonOuts(162), 486);
}

}  // namespace
}  // namespace statcrane
