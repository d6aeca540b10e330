// The run report: what was read, what was skipped and why, what was written.
// Readers report every record they leave out here instead of failing; nothing
// reported here stops a run.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace statcrane {

// A whole number with thousands separators: "494,047".
std::string NumberText(int64_t number);
// A count and what it counts, singular or plural: "1 record",
// "494,047 records".
std::string CountText(int64_t count, std::string_view one, std::string_view many);

// Why records were left out, in the words of the run report, for one record
// and for several: {"deleted record", "deleted records"}.
struct SkipReason {
  std::string_view one;
  std::string_view many;
};

class SkipReporter {
 public:
  virtual ~SkipReporter() = default;
  // `file` is the data file's canonical name ("ENCPLYR.DAT").
  virtual void RecordsRead(std::string_view file, int64_t count) = 0;
  virtual void RecordSkipped(std::string_view file, const SkipReason& reason) = 0;
  // A trailing fragment shorter than one record at the end of the file.
  virtual void TrailingFragment(std::string_view file, int64_t bytes) = 0;
  // Anything else worth telling about a file (which spelling was read, ...).
  virtual void FileNote(std::string_view file, std::string_view note) = 0;
  // A statistics record whose season type is not one the program knows.
  virtual void UnknownSeasonType(int season_type) = 0;
  // A data file the run reads is not in the folder (it is read as a file
  // with no records).
  virtual void FileMissing(std::string_view /*file*/) {}
  // The name the data file has in the folder ("encplstats.dat"), when it
  // is spelled otherwise than `file`.
  virtual void FileFound(std::string_view /*file*/, std::string_view /*name_on_disk*/) {}
};

// A reporter that drops everything, for callers that do not need a report.
class NullReporter : public SkipReporter {
 public:
  void RecordsRead(std::string_view, int64_t) override {}
  void RecordSkipped(std::string_view, const SkipReason&) override {}
  void TrailingFragment(std::string_view, int64_t) override {}
  void FileNote(std::string_view, std::string_view) override {}
  void UnknownSeasonType(int) override {}
};

struct FileReport {
  int64_t records_read = 0;
  std::map<std::string, int64_t> skipped;             // reason (plural) -> records
  std::map<std::string, std::string> reason_for_one;  // reason (plural) -> singular
  std::string name_on_disk;                           // when spelled otherwise
  int64_t trailing_bytes = 0;
  std::vector<std::string> notes;
};

class RunReport : public SkipReporter {
 public:
  void RecordsRead(std::string_view file, int64_t count) override;
  void RecordSkipped(std::string_view file, const SkipReason& reason) override;
  void TrailingFragment(std::string_view file, int64_t bytes) override;
  void FileNote(std::string_view file, std::string_view note) override;
  void UnknownSeasonType(int season_type) override;
  void FileMissing(std::string_view file) override;
  void FileFound(std::string_view file, std::string_view name_on_disk) override;

  std::map<std::string, FileReport> files;
  std::set<std::string> missing_files;
  std::map<int, int64_t> unknown_season_types;  // season type -> records
  int64_t players_written = 0;
  int64_t teams_written = 0;
  std::vector<std::string> sheets_removed;
  std::string output_path;
  bool incomplete = false;

  // Records left out: skipped by the readers and of unknown season types.
  int64_t TotalSkipped() const;
  // Records of unknown season types.
  int64_t UnknownSeasonTypeRecords() const;
  // Files that end in a fragment shorter than one record.
  int64_t FilesWithFragments() const;

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
  // The whole report as lines of text for a person to read.
  std::string Format() const;
};

}  // namespace statcrane
