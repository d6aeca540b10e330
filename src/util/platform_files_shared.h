// What the output files of both systems say (platform_files.cc); for the
// platform module's own files only.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace statcrane {

// "\"<path>\"" (UTF-8).
std::string QuotedPath(const std::filesystem::path& path);

// Throws StatCraneError("cannot save <what> as "<target>": <reason>").
[[noreturn]] void FailToSave(std::string_view what, const std::filesystem::path& target,
                             const std::string& reason);

// Throws StatCraneError("the file "<target>" already exists; it was left as
// it was").
[[noreturn]] void FailExists(const std::filesystem::path& target);

}  // namespace statcrane
