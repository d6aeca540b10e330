#include "encyclopedia/record_file.h"

#include <filesystem>
#include <new>
#include <string>
#include <system_error>
#include <utility>

#include "util/error.h"
#include "util/platform_errors.h"
#include "util/utf8_path.h"

namespace statcrane {
namespace {

// Names the file as it is spelled in the folder.
[[noreturn]] void Fail(std::string_view /*name*/, const std::filesystem::path& path,
                       const std::string& what) {
  throw StatCraneError("Cannot read " + Utf8FromPath(path.filename()) + " (" + Utf8FromPath(path) +
                       "): " + what);
}

}  // namespace

RecordFile RecordFile::Read(const EncyclopediaFolder& folder, std::string_view name,
                            size_t record_length, SkipReporter& reporter, ReadMethod method) {
  RecordFile file;
  file.record_length_ = record_length;
  file.name_ = std::string(name);
  const std::optional<std::filesystem::path> path = folder.Find(name, &reporter);
  if (!path) {
    reporter.FileMissing(name);
    reporter.RecordsRead(name, 0);
    return file;
  }
  file.path_ = Utf8FromPath(*path);
  reporter.FileFound(name, Utf8FromPath(path->filename()));
  uint64_t fragment = 0;
  try {
    const ReadOnlyFile opened(*path);
    if (opened.kind() == FileKind::kFolder) Fail(name, *path, "it is a folder, not a file");
    if (opened.kind() != FileKind::kRegular) Fail(name, *path, "it is not a regular file");
    const uint64_t records = record_length ? opened.size() / record_length : 0;
    if (records > static_cast<uint64_t>(kMaxRecords)) {
      Fail(name, *path,
           "it holds " + std::to_string(records) + " records of " + std::to_string(record_length) +
               " bytes, more than the " + std::to_string(kMaxRecords) +
               " that its record numbers reach");
    }
    // Only the whole records are read; the fragment after them is reported.
    fragment = record_length ? opened.size() % record_length : 0;
    file.bytes_ = opened.ReadAll(static_cast<size_t>(records * record_length), method);
  } catch (const std::system_error& error) {
    std::error_code ignored;
    if (error.code() == std::errc::no_such_file_or_directory &&
        std::filesystem::is_symlink(std::filesystem::symlink_status(*path, ignored))) {
      Fail(name, *path, "it is a link to a file that does not exist");
    }
    Fail(name, *path, FailureReason(error.code()));
  } catch (const std::bad_alloc&) {
    Fail(name, *path, "not enough memory to hold the file");
  }
  file.exists_ = true;
  file.count_ = record_length ? file.bytes_.bytes().size() / record_length : 0;
  if (fragment != 0) reporter.TrailingFragment(name, static_cast<int64_t>(fragment));
  reporter.RecordsRead(name, static_cast<int64_t>(file.count_));
  return file;
}

RecordFile RecordFile::FromBytes(std::span<const uint8_t> bytes, size_t record_length) {
  RecordFile file;
  file.bytes_ = FileBytes::CopyOf(bytes);
  file.record_length_ = record_length;
  file.count_ = record_length ? bytes.size() / record_length : 0;
  file.exists_ = true;
  return file;
}

void RecordFile::FailCutShort(size_t record_number) const {
  std::string what = name_;
  if (!path_.empty()) what += " (" + path_ + ")";
  if (record_number > 0) what = "record " + std::to_string(record_number) + " of " + what;
  throw StatCraneError("Cannot read " + what +
                       ": another program cut the file short while it was being read");
}

}  // namespace statcrane
