// The run report: what was read, what was skipped and why, what was written.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "util/skip_report.h"

namespace statcrane {

// A whole number with thousands separators: "494,047".
std::string NumberText(int64_t number);
// A count and what it counts, singular or plural: "1 record",
// "494,047 records".
std::string CountText(int64_t count, std::string_view one, std::string_view many);

// What the readers reported (the files), what the player walk left out and
// what the run wrote. Where the workbook went is the run's result
// (RunResult::output, ReportText in processing_run.h).
class RunReport : public SkipReport {
 public:
  std::map<int, int64_t> unknown_season_types;  // season type -> records
  int64_t players_written = 0;
  int64_t teams_written = 0;
  std::vector<std::string> sheets_removed;

  // Records left out: skipped by the readers and of unknown season types.
  int64_t TotalSkipped() const;
  // Records of unknown season types.
  int64_t UnknownSeasonTypeRecords() const;

  // Something the user should know: files missing, records left out, files
  // cut short.
  bool HasWarnings() const;
  // What the warnings come to, in a few words: "5 files missing, 60 records
  // skipped"; "" without warnings.
  std::string WarningsSummary() const;
  // One message naming every unknown season type with its count of records
  // ("Season type 7 is not one this program knows: its 2 records were left
  // out of the workbook."); "" when there were none.
  std::string SeasonTypeMessage() const;
  // The whole report as lines of text for a person to read, but for the
  // line that says where the workbook went.
  std::string Format() const;
};

}  // namespace statcrane
