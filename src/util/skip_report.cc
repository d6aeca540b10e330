#include "util/skip_report.h"

#include <algorithm>

namespace statcrane {

void SkipReport::RecordsRead(std::string_view file, int64_t count) {
  files[std::string(file)].records_read += count;
}

void SkipReport::RecordSkipped(std::string_view file, const SkipReason& reason) {
  FileReport& report = files[std::string(file)];
  ++report.skipped[std::string(reason.many)];
  report.reason_for_one.try_emplace(std::string(reason.many), reason.one);
}

void SkipReport::FileFound(std::string_view file, std::string_view name_on_disk) {
  if (name_on_disk != file) files[std::string(file)].name_on_disk = name_on_disk;
}

void SkipReport::TrailingFragment(std::string_view file, int64_t bytes) {
  files[std::string(file)].trailing_bytes += bytes;
}

void SkipReport::FileNote(std::string_view file, std::string_view note) {
  files[std::string(file)].notes.emplace_back(note);
}

void SkipReport::FileMissing(std::string_view file) {
  missing_files.emplace(file);
  files[std::string(file)];  // listed with the files read
}

int64_t SkipReport::RecordsSkipped() const {
  int64_t total = 0;
  for (const auto& [name, file] : files) {
    for (const auto& [reason, count] : file.skipped) total += count;
  }
  return total;
}

int64_t SkipReport::FilesWithFragments() const {
  return std::count_if(files.begin(), files.end(),
                       [](const auto& entry) { return entry.second.trailing_bytes > 0; });
}

}  // namespace statcrane
