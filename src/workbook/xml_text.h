// Texts and numbers as SpreadsheetML carries them.
//
// Texts are made well-formed UTF-8 first: a byte that does not belong to a
// valid sequence, NUL, and the non-characters U+FFFE and U+FFFF become U+FFFD.
// In cell text, the control characters XML cannot carry (and carriage
// return, which XML would turn into a line feed) are written in the
// _xHHHH_ convention, and an underscore that would otherwise start such an
// escape is itself escaped: the text "_x0041_" is written "_x005F_x0041_".
#pragma once

#include <string>
#include <string_view>

namespace statcrane {

// True when `text` is well-formed UTF-8 without NUL, U+FFFE and U+FFFF.
bool IsCleanUtf8(std::string_view text);
// `text` with every offending byte or sequence replaced by U+FFFD.
std::string CleanUtf8(std::string_view text);

// Appends cell text (the content of a <t> element).
void AppendCellText(std::string& out, std::string_view text);
// True when the text begins or ends with white space, which a <t> element
// keeps only with xml:space="preserve".
bool NeedsSpacePreserved(std::string_view text);
// Appends an attribute value (without the quotes) or element text outside
// cells: XML escapes only; control characters become U+FFFD.
void AppendXmlEscaped(std::string& out, std::string_view text);

// The most characters AppendNumber writes.
inline constexpr size_t kMaxNumberChars = 32;
// Writes the shortest text that reads back as exactly `value` (a finite
// double; negative zero is "-0") at `out` and returns the end.
char* WriteNumber(char* out, double value);
std::string NumberText(double value);

}  // namespace statcrane
