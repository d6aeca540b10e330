#include "app/terminal_text.h"

#include <cstdlib>

#include "util/platform_console.h"

namespace statcrane {
namespace {

bool IsContinuationByte(unsigned char c) { return (c & 0xC0) == 0x80; }

}  // namespace

std::string ReplaceControlCharacters(std::string_view text, bool keep_line_breaks) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c == '\n' && keep_line_breaks) {
      out += '\n';
    } else if (c < 0x20 || c == 0x7F) {
      out += '?';
    } else if (c == 0xC2 && i + 1 < text.size() &&
               static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
               static_cast<unsigned char>(text[i + 1]) <= 0x9F) {
      out += '?';  // U+0080 to U+009F, the C1 controls (CSI among them)
      ++i;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
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
