// Saving the run report as a text file.
#pragma once

#include <filesystem>
#include <string_view>

namespace statcrane {

// Writes `text` to `file` whole or not at all, through the same writer as
// the workbook: under a scratch name, then given the name. A regular file
// of that name is replaced; a symbolic link there is replaced as a link,
// never followed; a folder, device or pipe is refused. Throws
// StatCraneError naming the file and the reason.
void SaveReportFile(const std::filesystem::path& file, std::string_view text);

}  // namespace statcrane
