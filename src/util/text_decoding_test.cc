#include "util/text_decoding.h"

#include <gtest/gtest.h>

#include <array>

namespace statcrane {
namespace {

TEST(TextDecodingTest, CutsAtTheFirstNul) {
  const uint8_t ny[3] = {'N', 'Y', 0};
  EXPECT_EQ(DecodeFixedText(ny, 3), "NY");
  const uint8_t none[3] = {0, 'X', 'Y'};
  EXPECT_EQ(DecodeFixedText(none, 3), "");
  const uint8_t whole[3] = {'L', 'A', ' '};
  EXPECT_EQ(DecodeFixedText(whole, 3), "LA ");
  const uint8_t leftover[8] = {'S', 'm', 'i', 't', 'h', 0, 'z', 'q'};
  EXPECT_EQ(DecodeFixedText(leftover, 8), "Smith");
}

TEST(TextDecodingTest, DecodesWindows1252) {
  const uint8_t accented[4] = {0xC1, 'n', 0x80, 0x9A};
  EXPECT_EQ(DecodeFixedText(accented, 4), "\xC3\x81n\xE2\x82\xAC\xC5\xA1");  // Án€š
}

TEST(TextDecodingTest, EncodesBackToTheSameBytes) {
  std::array<uint8_t, 6> field{};
  EncodeFixedText("\xC3\x81n\xE2\x82\xAC", field.data(), field.size());
  EXPECT_EQ(field, (std::array<uint8_t, 6>{0xC1, 'n', 0x80, 0, 0, 0}));
  EncodeFixedText("toolongtext", field.data(), field.size());
  EXPECT_EQ(DecodeFixedText(field.data(), field.size()), "toolon");
  EncodeFixedText("\xE4\xB8\xAD", field.data(), field.size());  // not in Windows-1252
  EXPECT_EQ(DecodeFixedText(field.data(), field.size()), "?");
}

TEST(TextDecodingTest, FirstCharacterIsWholeCodePoint) {
  EXPECT_EQ(FirstCharacter("\xC3\x81lvarez"), "\xC3\x81");
  EXPECT_EQ(FirstCharacter("Smith"), "S");
  EXPECT_EQ(FirstCharacter(""), "");
  size_t pos = 0;
  EXPECT_EQ(NextUtf8("\xC3", pos), 0xFFFDu);  // cut sequence
  EXPECT_EQ(pos, 1u);
}

}  // namespace
}  // namespace statcrane
