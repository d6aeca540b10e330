// UTF-8 and the UTF-16 of the Windows calls, and the paths those calls take
// (Windows only).
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace statcrane {

std::wstring WideFromUtf8(std::string_view text);
// Unpaired surrogates become U+FFFD.
std::string Utf8FromWide(std::wstring_view text);

// `path` for a Windows file call: whole, with backslashes, and in the
// extended form (\\?\C:\..., \\?\UNC\server\...) when it is longer than the
// 260 characters the plain form allows. Device paths (\\.\...) and paths
// already extended are left as they are.
std::wstring WindowsPath(const std::filesystem::path& path);

}  // namespace statcrane
