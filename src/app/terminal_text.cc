#include "app/terminal_text.h"

#include <cstdlib>

#include "util/platform_console.h"

namespace statcrane {
namespace {

bool IsContinuationByte(unsigned char c) { return (c & 0xC0) == 0x80; }

// The length of the UTF-8 sequence that starts at `text[i]` and its code
// point; 0 when the bytes there are not a valid sequence (a stray
// continuation byte such as a raw C1 control, a cut or overlong sequence, a
// surrogate).
size_t Utf8Sequence(std::string_view text, size_t i, char32_t& code_point) {
  const auto lead = static_cast<unsigned char>(text[i]);
  size_t length = 0;
  char32_t minimum = 0;
  if (lead < 0x80) {
    code_point = lead;
    return 1;
  } else if ((lead & 0xE0) == 0xC0) {
    length = 2;
    code_point = lead & 0x1F;
    minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3;
    code_point = lead & 0x0F;
    minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4;
    code_point = lead & 0x07;
    minimum = 0x10000;
  } else {
    return 0;
  }
  if (i + length > text.size()) return 0;
  for (size_t k = 1; k < length; ++k) {
    const auto c = static_cast<unsigned char>(text[i + k]);
    if (!IsContinuationByte(c)) return 0;
    code_point = (code_point << 6) | (c & 0x3F);
  }
  if (code_point < minimum || code_point > 0x10FFFF ||
      (code_point >= 0xD800 && code_point <= 0xDFFF)) {
    return 0;
  }
  return length;
}

}  // namespace

std::string ReplaceControlCharacters(std::string_view text, bool keep_line_breaks) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    char32_t code_point = 0;
    const size_t length = Utf8Sequence(text, i, code_point);
    if (length == 0) {
      // Not UTF-8: a terminal in a single-byte character set would take a
      // byte from 0x80 to 0x9F for a C1 control (0x9B starts a CSI).
      out += '?';
      ++i;
      continue;
    }
    if (code_point == '\n' && keep_line_breaks) {
      out += '\n';
    } else if (code_point < 0x20 || (code_point >= 0x7F && code_point <= 0x9F)) {
      out += '?';  // C0, DEL and the C1 controls (U+009B is a CSI too)
    } else {
      out.append(text.substr(i, length));
    }
    i += length;
  }
  return out;
}

std::string AfterProgramName(std::string_view message) {
  std::string text = ReplaceControlCharacters(message);
  const auto lower = [](char c) { return c >= 'a' && c <= 'z'; };
  if (text.size() > 1 && text[0] >= 'A' && text[0] <= 'Z' && (lower(text[1]) || text[1] == ' ')) {
    text[0] = static_cast<char>(text[0] - 'A' + 'a');
  }
  if (!text.empty() && text.back() == '.') text.pop_back();
  return text;
}

size_t DisplayWidth(std::string_view text) {
  size_t width = 0;
  for (const char c : text) width += IsContinuationByte(static_cast<unsigned char>(c)) ? 0 : 1;
  return width;
}

std::string CutToWidth(std::string_view text, size_t width) {
  size_t shown = 0;
  size_t end = 0;
  for (; end < text.size(); ++end) {
    if (IsContinuationByte(static_cast<unsigned char>(text[end]))) continue;
    if (shown == width) break;
    ++shown;
  }
  return std::string(text.substr(0, end));
}

int TerminalWidth() {
  if (const int columns = TerminalColumns(StandardStream::kError); columns > 0) return columns;
  if (const char* columns = std::getenv("COLUMNS")) {
    const int value = std::atoi(columns);
    if (value > 0) return value;
  }
  return 80;
}

}  // namespace statcrane
