// The name of the workbook a run from the window writes.
#pragma once

#include <chrono>
#include <filesystem>

namespace statcrane {

// "<folder>/StatCrane yyyy-mm-dd hh-mm-ss.xlsx" for the local time `when`.
// When something of that name exists already (also a dangling link),
// " (2)", " (3)", ... goes before the extension, so no run replaces an
// earlier workbook.
std::filesystem::path NewWorkbookPath(const std::filesystem::path& folder,
                                      std::chrono::system_clock::time_point when);

}  // namespace statcrane
