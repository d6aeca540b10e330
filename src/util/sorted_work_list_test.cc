#include "util/sorted_work_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace statcrane {
namespace {

std::vector<std::string> Texts(const SortedWorkList<int>& list) {
  std::vector<std::string> out;
  for (size_t i = 0; i < list.Count(); ++i) out.push_back(list.TextAt(i));
  return out;
}

TEST(SortedWorkListTest, IgnoresCaseAndPutsShorterPrefixFirst) {
  SortedWorkList<int> list;
  list.Add("Smith,John \\ 12", 12);
  list.Add("smith,Al \\ 7", 7);
  list.Add("Smith,Johnny \\ 3", 3);
  list.Add("Smit,Zed \\ 4", 4);
  EXPECT_EQ(Texts(list), (std::vector<std::string>{"Smit,Zed \\ 4", "smith,Al \\ 7",
                                                   "Smith,John \\ 12", "Smith,Johnny \\ 3"}));
  EXPECT_EQ(list.At(1), 7);
}

TEST(SortedWorkListTest, SpaceAndCommaBeforeDigitsBeforeLetters) {
  EXPECT_LT(CompareListText(" ", ","), 0);
  EXPECT_LT(CompareListText(",", "0"), 0);
  EXPECT_LT(CompareListText("9", "a"), 0);
  EXPECT_LT(CompareListText("9", "A"), 0);
  EXPECT_LT(CompareListText("ab", "abc"), 0);
  EXPECT_EQ(CompareListText("ABC", "abc"), 0);
}

TEST(SortedWorkListTest, DigitsCompareAsCharacters) {
  SortedWorkList<int> list;
  list.Add("21998/40", 40);
  list.Add("21998/100", 100);
  list.Add("21997/7", 7);
  EXPECT_EQ(list.At(0), 7);
  EXPECT_EQ(list.At(1), 100);
  EXPECT_EQ(list.At(2), 40);
}

TEST(SortedWorkListTest, EqualTextsAreAllKeptInInsertionOrder) {
  SortedWorkList<int> list;
  list.Add("same", 1);
  list.Add("SAME", 2);
  list.Add("same", 3);
  ASSERT_EQ(list.Count(), 3u);
  EXPECT_EQ(list.At(0), 1);
  EXPECT_EQ(list.At(1), 2);
  EXPECT_EQ(list.At(2), 3);
  list.Clear();
  EXPECT_EQ(list.Count(), 0u);
}

TEST(SortedWorkListTest, AccentedLettersSortAsTheirBaseLetter) {
  EXPECT_EQ(CompareListText("\xC3\x81lvarez", "alvarez"), 0);  // Álvarez
  EXPECT_LT(CompareListText("\xC3\x81lvarez", "Amaro"), 0);
  EXPECT_GT(CompareListText("Mu\xC3\xB1oz", "Munoa"), 0);  // Muñoz after Munoa
  EXPECT_LT(CompareListText("Mu\xC3\xB1oz", "Munp"), 0);
}

}  // namespace
}  // namespace statcrane
