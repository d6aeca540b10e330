#include "util/text_decoding.h"

#include <cstring>

namespace statcrane {
namespace {

// Windows-1252 0x80..0x9F; 0 marks the five unassigned bytes, which decode as
// the C1 control of the same value.
const char16_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                            0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                            0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                            0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

int UnicodeToCp1252(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
  for (int i = 0; i < 32; ++i) {
    if (kHigh[i] == c) return 0x80 + i;
  }
  if (c >= 0x80 && c < 0xA0) return static_cast<int>(c);
  return -1;
}

}  // namespace

char32_t Cp1252ToUnicode(uint8_t byte) {
  if (byte >= 0x80 && byte < 0xA0 && kHigh[byte - 0x80] != 0) return kHigh[byte - 0x80];
  return byte;
}

void AppendUtf8(char32_t c, std::string& out) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

char32_t NextUtf8(std::string_view text, size_t& pos) {
  const auto lead = static_cast<uint8_t>(text[pos]);
  if (lead < 0x80) {
    ++pos;
    return lead;
  }
  const int extra = (lead >> 5) == 6 ? 1 : (lead >> 4) == 14 ? 2 : (lead >> 3) == 30 ? 3 : -1;
  if (extra < 0 || pos + extra >= text.size()) {
    ++pos;
    return 0xFFFD;
  }
  char32_t c = lead & (0x3F >> extra);
  for (int i = 1; i <= extra; ++i) {
    const auto next = static_cast<uint8_t>(text[pos + i]);
    if ((next & 0xC0) != 0x80) {
      ++pos;
      return 0xFFFD;
    }
    c = (c << 6) | (next & 0x3F);
  }
  pos += extra + 1;
  return c;
}

std::string FirstCharacter(std::string_view text) {
  if (text.empty()) return {};
  size_t pos = 0;
  NextUtf8(text, pos);
  return std::string(text.substr(0, pos));
}

std::string DecodeFixedText(const uint8_t* field, size_t width) {
  const void* nul = std::memchr(field, 0, width);
  const size_t length = nul ? static_cast<const uint8_t*>(nul) - field : width;
  std::string out;
  out.reserve(length);
  for (size_t i = 0; i < length; ++i) {
    if (field[i] < 0x80) {
      out.push_back(static_cast<char>(field[i]));
    } else {
      AppendUtf8(Cp1252ToUnicode(field[i]), out);
    }
  }
  return out;
}

void EncodeFixedText(std::string_view text, uint8_t* field, size_t width) {
  std::memset(field, 0, width);
  size_t pos = 0;
  size_t out = 0;
  while (pos < text.size() && out < width) {
    const int byte = UnicodeToCp1252(NextUtf8(text, pos));
    field[out++] = static_cast<uint8_t>(byte < 0 ? '?' : byte);
  }
}

}  // namespace statcrane
