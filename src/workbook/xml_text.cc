#include "workbook/xml_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace statcrane {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// The length of the valid sequence that starts text[i] (at most 4 bytes), or
// 0 when the byte there starts none.
size_t SequenceLength(std::string_view text, size_t i) {
  const unsigned char c = static_cast<unsigned char>(text[i]);
  if (c == 0) return 0;
  if (c < 0x80) return 1;
  const int extra = (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
  if (extra < 0 || i + static_cast<size_t>(extra) >= text.size()) return 0;
  uint32_t code = c & (0x3F >> extra);
  for (int k = 1; k <= extra; ++k) {
    const unsigned char next = static_cast<unsigned char>(text[i + static_cast<size_t>(k)]);
    if ((next & 0xC0) != 0x80) return 0;
    code = (code << 6) | (next & 0x3F);
  }
  static constexpr uint32_t kMinimum[4] = {0, 0x80, 0x800, 0x10000};
  if (code < kMinimum[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF) ||
      code == 0xFFFE || code == 0xFFFF) {
    return 0;
  }
  return static_cast<size_t>(extra) + 1;
}

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// True when text[i] is the underscore of "_xHHHH_".
bool StartsEscape(std::string_view text, size_t i) {
  return i + 7 <= text.size() && text[i + 1] == 'x' && IsHexDigit(text[i + 2]) &&
         IsHexDigit(text[i + 3]) && IsHexDigit(text[i + 4]) && IsHexDigit(text[i + 5]) &&
         text[i + 6] == '_';
}

// Bytes that need a look: markup, underscores, controls and non-ASCII.
bool Plain(unsigned char c) {
  return c >= 0x20 && c < 0x80 && c != '&' && c != '<' && c != '>' && c != '_' && c != '"';
}

void AppendClean(std::string& out, std::string_view text, bool cell) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  size_t i = 0;
  while (i < text.size()) {
    // Copy the plain run in one go.
    size_t run = i;
    while (run < text.size() && Plain(static_cast<unsigned char>(text[run]))) ++run;
    out.append(text.data() + i, run - i);
    i = run;
    if (i == text.size()) break;
    const unsigned char c = static_cast<unsigned char>(text[i]);
    switch (c) {
      case '&':
        out.append("&amp;");
        ++i;
        continue;
      case '<':
        out.append("&lt;");
        ++i;
        continue;
      case '>':
        out.append("&gt;");
        ++i;
        continue;
      case '"':
        out.append(cell ? "\"" : "&quot;");
        ++i;
        continue;
      case '_':
        out.append(cell && StartsEscape(text, i) ? "_x005F_" : "_");
        ++i;
        continue;
      default:
        break;
    }
    if (c < 0x20 && c != 0) {
      if (c == '\t' || c == '\n') {
        if (cell) {
          out.push_back(static_cast<char>(c));
        } else {
          out.append(c == '\t' ? "&#9;" : "&#10;");
        }
      } else if (cell) {
        const char escape[] = {'_', 'x', '0', '0', kHex[c >> 4], kHex[c & 15], '_'};
        out.append(escape, sizeof escape);
      } else {
        out.append(kReplacement);
      }
      ++i;
      continue;
    }
    const size_t length = SequenceLength(text, i);
    if (length == 0) {
      out.append(kReplacement);
      ++i;
    } else {
      out.append(text.data() + i, length);
      i += length;
    }
  }
}

}  // namespace

bool IsCleanUtf8(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    const size_t length = SequenceLength(text, i);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

std::string CleanUtf8(std::string_view text) {
  std::string clean;
  clean.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    const size_t length = SequenceLength(text, i);
    if (length == 0) {
      clean.append(kReplacement);
      ++i;
    } else {
      clean.append(text.data() + i, length);
      i += length;
    }
  }
  return clean;
}

void AppendCellText(std::string& out, std::string_view text) { AppendClean(out, text, true); }

void AppendXmlEscaped(std::string& out, std::string_view text) { AppendClean(out, text, false); }

bool NeedsSpacePreserved(std::string_view text) {
  if (text.empty()) return false;
  auto space = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
  return space(text.front()) || space(text.back());
}

char* WriteNumber(char* out, double value) {
  // Whole numbers of up to 15 digits, the most common cells, as integers.
  if (value == std::trunc(value) && std::fabs(value) < 1e15) {
    if (value == 0 && std::signbit(value)) {
      std::memcpy(out, "-0", 2);
      return out + 2;
    }
    return std::to_chars(out, out + kMaxNumberChars, static_cast<int64_t>(value)).ptr;
  }
  return std::to_chars(out, out + kMaxNumberChars, value).ptr;
}

std::string NumberText(double value) {
  char buffer[kMaxNumberChars];
  return std::string(buffer, WriteNumber(buffer, value));
}

}  // namespace statcrane
