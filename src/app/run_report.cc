#include "app/run_report.h"

#include <algorithm>
#include <sstream>

namespace statcrane {
namespace {

std::string Join(const std::vector<std::string>& parts, std::string_view separator) {
  std::string text;
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) text += separator;
    text += parts[i];
  }
  return text;
}

std::string Count(int64_t count, std::string_view one, std::string_view many) {
  return CountText(count, one, many);
}

}  // namespace

std::string NumberText(int64_t number) {
  const bool negative = number < 0;
  const std::string digits =
      std::to_string(negative ? -static_cast<uint64_t>(number) : static_cast<uint64_t>(number));
  std::string text;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) text += ',';
    text += digits[i];
  }
  return negative ? "-" + text : text;
}

std::string CountText(int64_t count, std::string_view one, std::string_view many) {
  return NumberText(count) + " " + std::string(count == 1 ? one : many);
}

int64_t RunReport::TotalSkipped() const { return RecordsSkipped() + UnknownSeasonTypeRecords(); }

int64_t RunReport::UnknownSeasonTypeRecords() const {
  int64_t total = 0;
  for (const auto& [type, count] : unknown_season_types) total += count;
  return total;
}


bool RunReport::HasWarnings() const {
  return !missing_files.empty() || TotalSkipped() > 0 || FilesWithFragments() > 0;
}

std::string RunReport::WarningsSummary() const {
  std::vector<std::string> parts;
  if (!missing_files.empty()) {
    parts.push_back(Count(static_cast<int64_t>(missing_files.size()), "file", "files") +
                    " missing");
  }
  if (const int64_t skipped = RecordsSkipped(); skipped > 0) {
    parts.push_back(Count(skipped, "record", "records") + " skipped");
  }
  if (const int64_t unknown = UnknownSeasonTypeRecords(); unknown > 0) {
    parts.push_back(Count(unknown, "record", "records") + " of unknown season types");
  }
  if (const int64_t cut = FilesWithFragments(); cut > 0) {
    parts.push_back(Count(cut, "file", "files") + " ending in a partial record");
  }
  return Join(parts, ", ");
}

std::string RunReport::SeasonTypeMessage() const {
  if (unknown_season_types.empty()) return "";
  const int64_t records = UnknownSeasonTypeRecords();
  const std::string left_out =
      records == 1 ? " was left out of the workbook" : " were left out of the workbook";
  if (unknown_season_types.size() == 1) {
    const auto& [type, count] = *unknown_season_types.begin();
    return "Season type " + std::to_string(type) + " is not one this program knows: its " +
           Count(count, "record", "records") + left_out + ".";
  }
  std::vector<std::string> types;
  std::vector<std::string> counts;
  for (const auto& [type, count] : unknown_season_types) {
    types.push_back(std::to_string(type));
    counts.push_back(NumberText(count) + " of type " + std::to_string(type));
  }
  const std::string last = types.back();
  types.pop_back();
  return "Season types " + Join(types, ", ") + " and " + last +
         " are not ones this program knows: their " + Count(records, "record", "records") +
         left_out + " (" + Join(counts, ", ") + ").";
}

std::string RunReport::Format() const {
  std::ostringstream out;
  // Each file by the name it has in the folder.
  const auto shown = [](const std::string& name, const FileReport& file) -> const std::string& {
    return file.name_on_disk.empty() ? name : file.name_on_disk;
  };
  size_t name_width = 0;
  for (const auto& [name, file] : files)
    name_width = std::max(name_width, shown(name, file).size());
  const std::string indent(name_width + 2, ' ');
  if (!files.empty()) out << "Files read\n";
  for (const auto& [name, file] : files) {
    out << "  " << shown(name, file) << std::string(name_width - shown(name, file).size() + 2, ' ');
    if (missing_files.count(name) != 0) {
      out << "missing: read as a file with no records\n";
    } else {
      out << Count(file.records_read, "record", "records") << " read";
      int64_t skipped = 0;
      for (const auto& [reason, count] : file.skipped) skipped += count;
      if (skipped > 0) out << ", " << NumberText(skipped) << " skipped";
      out << "\n";
    }
    for (const auto& [reason, count] : file.skipped) {
      const auto one = file.reason_for_one.find(reason);
      out << "  " << indent
          << Count(count, one == file.reason_for_one.end() ? reason : one->second, reason) << "\n";
    }
    if (file.trailing_bytes > 0) {
      out << "  " << indent << "ends in a partial record of "
          << Count(file.trailing_bytes, "byte", "bytes") << ", ignored\n";
    }
    // A missing file has nothing more to tell than that it is missing.
    if (missing_files.count(name) != 0) continue;
    for (const auto& note : file.notes) out << "  " << indent << note << "\n";
  }
  if (!unknown_season_types.empty()) out << SeasonTypeMessage() << "\n";
  out << "Players written: " << NumberText(players_written) << "\n";
  out << "Teams written: " << NumberText(teams_written) << "\n";
  if (!sheets_removed.empty()) {
    out << "Sheets removed (no lines): " << Join(sheets_removed, ", ") << "\n";
  }
  return out.str();
}

}  // namespace statcrane
