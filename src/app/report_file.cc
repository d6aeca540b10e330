#include "app/report_file.h"

#include <cstdint>
#include <span>

#include "util/platform.h"

namespace statcrane {

void SaveReportFile(const std::filesystem::path& file, std::string_view text) {
  OutputFile out(file, /*overwrite=*/true);
  out.Write(std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
  out.Publish();
}

}  // namespace statcrane
