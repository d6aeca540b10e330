#include "util/run_report.h"

#include <sstream>

namespace statcrane {

void RunReport::RecordsRead(std::string_view file, int64_t count) {
  files[std::string(file)].records_read += count;
}

void RunReport::RecordSkipped(std::string_view file, std::string_view reason) {
  ++files[std::string(file)].skipped[std::string(reason)];
}

void RunReport::TrailingFragment(std::string_view file, int64_t bytes) {
  files[std::string(file)].trailing_bytes += bytes;
}

void RunReport::FileNote(std::string_view file, std::string_view note) {
  files[std::string(file)].notes.emplace_back(note);
}

void RunReport::UnknownSeasonType(int season_type) { ++unknown_season_types[season_type]; }

int64_t RunReport::TotalSkipped() const {
  int64_t total = 0;
  for (const auto& [name, file] : files) {
    for (const auto& [reason, count] : file.skipped) total += count;
  }
  for (const auto& [type, count] : unknown_season_types) total += count;
  return total;
}

std::vector<std::string> RunReport::SeasonTypeMessages() const {
  std::vector<std::string> messages;
  for (const auto& [type, count] : unknown_season_types) {
    messages.push_back("this case is " + std::to_string(type));
  }
  return messages;
}

std::string RunReport::Format() const {
  std::ostringstream out;
  for (const auto& [name, file] : files) {
    out << name << ": " << file.records_read << " records read\n";
    for (const auto& [reason, count] : file.skipped) {
      out << "  skipped " << count << " (" << reason << ")\n";
    }
    if (file.trailing_bytes > 0) {
      out << "  ignored a trailing fragment of " << file.trailing_bytes << " bytes\n";
    }
    for (const auto& note : file.notes) out << "  " << note << "\n";
  }
  for (const auto& [type, count] : unknown_season_types) {
    out << "this case is " << type << " (" << count << (count == 1 ? " record" : " records")
        << " ignored)\n";
  }
  out << "players written: " << players_written << "\n";
  out << "teams written: " << teams_written << "\n";
  if (!sheets_removed.empty()) {
    out << "sheets removed (no lines):";
    for (const auto& sheet : sheets_removed) out << " " << sheet;
    out << "\n";
  }
  if (!output_path.empty()) {
    out << (incomplete ? "incomplete workbook saved: " : "workbook: ") << output_path << "\n";
  }
  return out.str();
}

}  // namespace statcrane
