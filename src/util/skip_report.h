// What the readers report of each data file: records read, records left out
// and why, trailing fragments, notes. Readers report every record they leave
// out here instead of failing; nothing reported here stops a run.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace statcrane {

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
};

struct FileReport {
  int64_t records_read = 0;
  std::map<std::string, int64_t> skipped;             // reason (plural) -> records
  std::map<std::string, std::string> reason_for_one;  // reason (plural) -> singular
  std::string name_on_disk;                           // when spelled otherwise
  int64_t trailing_bytes = 0;
  std::vector<std::string> notes;
};

// A reporter that keeps everything, file by file.
class SkipReport : public SkipReporter {
 public:
  void RecordsRead(std::string_view file, int64_t count) override;
  void RecordSkipped(std::string_view file, const SkipReason& reason) override;
  void TrailingFragment(std::string_view file, int64_t bytes) override;
  void FileNote(std::string_view file, std::string_view note) override;
  void FileMissing(std::string_view file) override;
  void FileFound(std::string_view file, std::string_view name_on_disk) override;

  std::map<std::string, FileReport> files;
  std::set<std::string> missing_files;

  // Records the readers left out, over every file.
  int64_t RecordsSkipped() const;
  // Files that end in a fragment shorter than one record.
  int64_t FilesWithFragments() const;
};

}  // namespace statcrane
