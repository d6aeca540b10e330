// UTF-8 and the UTF-16 of the Windows calls (Windows only).
#pragma once

#include <string>
#include <string_view>

namespace statcrane {

std::wstring WideFromUtf8(std::string_view text);
// Unpaired surrogates become U+FFFD.
std::string Utf8FromWide(std::wstring_view text);

}  // namespace statcrane
