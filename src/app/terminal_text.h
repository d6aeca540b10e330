// Text for a terminal: control characters from the data replaced, lines cut
// to the terminal's width.
#pragma once

#include <string>
#include <string_view>

namespace statcrane {

// `text` with every control character (C0, DEL and the C1 range) replaced by
// '?', so that a name from the data can neither move the cursor nor retitle
// or clear the terminal. Line breaks are kept when `keep_line_breaks`.
std::string ReplaceControlCharacters(std::string_view text, bool keep_line_breaks = false);

// The number of characters `text` shows (UTF-8 code points).
size_t DisplayWidth(std::string_view text);

// `text` cut to at most `width` characters, never inside a character.
std::string CutToWidth(std::string_view text, size_t width);

// The width of the terminal standard error shows on; COLUMNS, then 80, when
// it has none.
int TerminalWidth();

}  // namespace statcrane
