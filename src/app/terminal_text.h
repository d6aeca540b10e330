// Text for a terminal: control characters from the data replaced, lines cut
// to the terminal's width.
#pragma once

#include <string>
#include <string_view>

namespace statcrane {

// `text` with every control character (C0, DEL and the C1 range U+0080 to
// U+009F) and every byte that is not part of valid UTF-8 (a raw C1 byte such
// as 0x9B among them) replaced by '?', so that a name from the arguments or
// the data can neither move the cursor nor retitle or clear the terminal,
// whatever character set the terminal uses. Line breaks are kept when
// `keep_line_breaks`.
std::string ReplaceControlCharacters(std::string_view text, bool keep_line_breaks = false);

// A message as the command line prints it after "statcrane: ": control
// characters replaced, a capital that only starts the sentence made small
// ("The folder ..." gives "the folder ...", "ENCTEAM.DAT ..." stays) and no
// full stop at the end.
std::string AfterProgramName(std::string_view message);

// The number of characters `text` shows (UTF-8 code points).
size_t DisplayWidth(std::string_view text);

// `text` cut to at most `width` characters, never inside a character.
std::string CutToWidth(std::string_view text, size_t width);

// The width of the terminal standard error shows on; COLUMNS, then 80, when
// it has none.
int TerminalWidth();

}  // namespace statcrane
