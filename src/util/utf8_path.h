// Paths and UTF-8 text. Text inside the program is UTF-8 on every system,
// but std::filesystem::path reads a narrow std::string in the C library's
// locale on Windows (an ANSI code page), not as UTF-8: every path made from
// text (arguments, settings) goes through PathFromUtf8.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace statcrane {

inline std::filesystem::path PathFromUtf8(std::string_view text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

inline std::string Utf8FromPath(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace statcrane
