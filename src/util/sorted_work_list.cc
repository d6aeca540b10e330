#include "util/sorted_work_list.h"

#include <cstdint>

#include "util/text_decoding.h"

namespace statcrane {
namespace {

// The base letters of U+00C0..U+00FF; "" keeps the character as it is.
const char* const kLatin1Base[64] = {
    "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i",  "i",
    "d", "n", "o", "o", "o", "o", "o",  "",  "o", "u", "u", "u", "u", "y", "th", "ss",
    "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i",  "i",
    "d", "n", "o", "o", "o", "o", "o",  "",  "o", "u", "u", "u", "u", "y", "th", "y"};

void AppendFolded(char32_t c, std::string& out) {
  if (c < 0x80) {
    out.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : static_cast<char>(c));
    return;
  }
  if (c >= 0xC0 && c <= 0xFF && kLatin1Base[c - 0xC0][0] != '\0') {
    out += kLatin1Base[c - 0xC0];
    return;
  }
  switch (c) {
    case 0x160:
    case 0x161:
      out += 's';
      return;
    case 0x17D:
    case 0x17E:
      out += 'z';
      return;
    case 0x178:
      out += 'y';
      return;
    case 0x152:
    case 0x153:
      out += "oe";
      return;
    default:
      AppendUtf8(c, out);
  }
}

}  // namespace

std::string ListCollationKey(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) AppendFolded(NextUtf8(text, i), out);
  return out;
}

int CompareListText(std::string_view a, std::string_view b) {
  return ListCollationKey(a).compare(ListCollationKey(b));
}

}  // namespace statcrane
