// Fixed-width single-byte text fields and UTF-8.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace statcrane {

// The text of a fixed-width Windows-1252 field, cut at its first NUL byte
// (the whole field when it has none), as UTF-8.
std::string DecodeFixedText(const uint8_t* field, size_t width);

// The UTF-8 text as Windows-1252 bytes in a field of `width` bytes, padded
// with NUL; characters that Windows-1252 lacks become '?', and a text longer
// than the field is cut.
void EncodeFixedText(std::string_view text, uint8_t* field, size_t width);

// Windows-1252 byte to Unicode code point.
char32_t Cp1252ToUnicode(uint8_t byte);

// Appends the code point as UTF-8.
void AppendUtf8(char32_t c, std::string& out);

// Reads the code point at text[pos] and advances pos; a malformed sequence
// reads as one byte taken as U+FFFD.
char32_t NextUtf8(std::string_view text, size_t& pos);

// The first character of a UTF-8 text ("" for an empty text).
std::string FirstCharacter(std::string_view text);

}  // namespace statcrane
