#include "app/workbook_name.h"

#include <string>

#include "util/dates.h"
#include "util/platform_files.h"

namespace statcrane {

std::filesystem::path NewWorkbookPath(const std::filesystem::path& folder,
                                      std::chrono::system_clock::time_point when) {
  const std::string base = "StatCrane " + FileNameStamp(when);
  std::filesystem::path path = folder / (base + ".xlsx");
  for (int n = 2; PathEntryExists(path); ++n) {
    path = folder / (base + " (" + std::to_string(n) + ").xlsx");
  }
  return path;
}

}  // namespace statcrane
