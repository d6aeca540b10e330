#include "app/report_file.h"

#include "util/platform_files.h"

namespace statcrane {

void SaveReportFile(const std::filesystem::path& file, std::string_view text) {
  WriteWholeFile(file, text, /*overwrite=*/true, "the run report");
}

}  // namespace statcrane
