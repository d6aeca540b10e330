#include "encyclopedia/record_file.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "testing/skip.h"
#include "testing/temp_dir.h"
#include "util/error.h"
#include "util/skip_report.h"

namespace statcrane {
namespace {

using testing::TempDir;

std::vector<uint8_t> Numbered(size_t length) {
  std::vector<uint8_t> bytes(length);
  for (size_t i = 0; i < length; ++i) bytes[i] = static_cast<uint8_t>(i % 251);
  return bytes;
}

TEST(RecordFileTest, ReadsWholeRecordsAndReportsATrailingFragment) {
  TempDir dir;
  dir.WriteFile("enctmyr.dat", Numbered(3 * 368 + 100));
  SkipReport report;
  const RecordFile file =
      RecordFile::Read(EncyclopediaFolder(dir.path()), kTeamYearFile, 368, report);
  EXPECT_TRUE(file.exists());
  ASSERT_EQ(file.record_count(), 3u);
  EXPECT_EQ(file.Record(1).size(), 368u);
  EXPECT_EQ(file.Record(1)[0], 0);
  EXPECT_EQ(file.Record(3)[0], (2 * 368) % 251);
  EXPECT_EQ(file.Record(3)[367], (3 * 368 - 1) % 251);
  const FileReport& r = report.files[std::string(kTeamYearFile)];
  EXPECT_EQ(r.records_read, 3);
  EXPECT_EQ(r.trailing_bytes, 100);
}

TEST(RecordFileTest, MissingAndEmptyFilesHaveNoRecords) {
  TempDir dir;
  SkipReport report;
  const EncyclopediaFolder folder(dir.path());
  const RecordFile missing = RecordFile::Read(folder, kPlayerFile, 48, report);
  EXPECT_FALSE(missing.exists());
  EXPECT_EQ(missing.record_count(), 0u);
  EXPECT_EQ(report.missing_files.count(std::string(kPlayerFile)), 1u);

  dir.WriteFile("ENCPLSTATS.DAT", Numbered(335));  // not one whole record
  const RecordFile fragment = RecordFile::Read(folder, kPlayerStatsFile, 336, report);
  EXPECT_TRUE(fragment.exists());
  EXPECT_EQ(fragment.record_count(), 0u);
  EXPECT_EQ(report.files[std::string(kPlayerStatsFile)].trailing_bytes, 335);

  dir.WriteFile("ENCTEAM.DAT", {});
  const RecordFile empty = RecordFile::Read(folder, kTeamFile, 56, report);
  EXPECT_TRUE(empty.exists());
  EXPECT_EQ(empty.record_count(), 0u);
  EXPECT_EQ(report.files[std::string(kTeamFile)].trailing_bytes, 0);
}

// The error names the file as it is spelled in the folder (`shown`, when
// not `name`).
void ExpectAccessError(const TempDir& dir, std::string_view name, std::string_view detail,
                       std::string_view shown = {}) {
  NullReporter reporter;
  try {
    RecordFile::Read(EncyclopediaFolder(dir.path()), name, 56, reporter);
    ADD_FAILURE() << "no error for " << name;
  } catch (const StatCraneError& e) {
    EXPECT_NE(e.message().find(std::string(shown.empty() ? name : shown)), std::string::npos)
        << e.message();
    EXPECT_NE(e.message().find(std::string(detail)), std::string::npos) << e.message();
  }
}

#ifndef _WIN32
// Runs `body` in a child process as the user nobody (65534), so that
// permissions apply even when the tests run as root; true when it returned
// true.
bool AsNobody(const std::function<bool()>& body) {
  const pid_t child = fork();
  if (child == 0) {
    const bool ok = setgid(65534) == 0 && setuid(65534) == 0 && body();
    _exit(ok ? 0 : 1);
  }
  int status = 0;
  return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
         WEXITSTATUS(status) == 0;
}
#endif

TEST(RecordFileTest, EntriesThatAreNotReadableFilesStopWithAClearError) {
  TempDir dir;
  std::filesystem::create_directory(dir / "encteam.dat");
  ExpectAccessError(dir, kTeamFile, "is a folder", "Cannot read encteam.dat (");
#ifdef _WIN32
  GTEST_SKIP() << "not on Windows: symbolic links, FIFOs and file modes are POSIX's";
#else
  std::filesystem::create_symlink(dir / "nowhere", dir / "ENCPLYR.DAT");
  ExpectAccessError(dir, kPlayerFile, "link to a file that does not exist");

  ASSERT_EQ(mkfifo((dir / "encleag.dat").c_str(), 0600), 0);
  ExpectAccessError(dir, kLeagueFile, "not a regular file");

  dir.WriteFile("enclgyr.dat", Numbered(1000));
  std::filesystem::permissions(dir / "enclgyr.dat", std::filesystem::perms::none);
  std::filesystem::permissions(dir.path(), std::filesystem::perms::all);
  EXPECT_TRUE(AsNobody([&] {
    NullReporter reporter;
    try {
      RecordFile::Read(EncyclopediaFolder(dir.path()), kLeagueYearFile, 1000, reporter);
    } catch (const StatCraneError& e) {
      return e.message().find("enclgyr.dat") != std::string::npos &&
             e.message().find("permission denied") != std::string::npos;
    }
    return false;
  }));
#endif
}

TEST(RecordFileTest, MappedAndReadFilesHoldTheSameRecords) {
  TempDir dir;
  dir.WriteFile("ENCTEAM.DAT", Numbered(500 * 56 + 3));
  NullReporter reporter;
  const EncyclopediaFolder folder(dir.path());
  const RecordFile mapped = RecordFile::Read(folder, kTeamFile, 56, reporter);
  const RecordFile read = RecordFile::Read(folder, kTeamFile, 56, reporter, ReadMethod::kRead);
  EXPECT_TRUE(mapped.mapped());
  EXPECT_FALSE(read.mapped());
  ASSERT_EQ(mapped.record_count(), 500u);
  ASSERT_EQ(read.record_count(), 500u);
  for (size_t n : {size_t{1}, size_t{250}, size_t{500}}) {
    EXPECT_TRUE(std::equal(mapped.Record(n).begin(), mapped.Record(n).end(), read.Record(n).begin(),
                           read.Record(n).end()));
  }
}

// More records than 32-bit record numbers reach: refused before anything is
// read (the file is sparse; reading it would take 120 GB).
TEST(RecordFileTest, AFileLongerThanItsRecordNumbersReachIsRefusedUnread) {
  SKIP_ON_WINDOWS("needs a sparse file of 120 GB, which Wine's files refuse");
  TempDir dir;
  { std::ofstream create(dir / "ENCTEAM.DAT"); }
  std::filesystem::resize_file(dir / "ENCTEAM.DAT", (uint64_t{1} << 31) * 56);
  SkipReport report;
  try {
    RecordFile::Read(EncyclopediaFolder(dir.path()), kTeamFile, 56, report);
    ADD_FAILURE() << "read a file of 2^31 records";
  } catch (const StatCraneError& e) {
    EXPECT_EQ(e.message(), "Cannot read ENCTEAM.DAT (" + (dir / "ENCTEAM.DAT").string() +
                               "): it holds 2147483648 records of 56 bytes, more than the "
                               "2147483647 that its record numbers reach");
  }
  EXPECT_EQ(report.files["ENCTEAM.DAT"].records_read, 0);
}

TEST(RecordFileTest, AFileCutShortWhileItIsReadStopsNamingTheRecord) {
  TempDir dir;
  dir.WriteFile("enctmyr.dat", Numbered(100 * 368));
  NullReporter reporter;
  const RecordFile file =
      RecordFile::Read(EncyclopediaFolder(dir.path()), kTeamYearFile, 368, reporter);
  ASSERT_TRUE(file.mapped());
  EXPECT_NO_THROW(file.Decode<TeamYearRecord>(100));
  std::error_code refused;
  std::filesystem::resize_file(dir / "enctmyr.dat", 0, refused);
#ifdef _WIN32
  // Windows does not let another program cut a mapped file short.
  EXPECT_TRUE(refused);
  EXPECT_NO_THROW(file.Decode<TeamYearRecord>(90));
  return;
#endif
  ASSERT_FALSE(refused) << refused.message();
  try {
    file.Decode<TeamYearRecord>(90);
    ADD_FAILURE() << "no error";
  } catch (const StatCraneError& e) {
    EXPECT_EQ(e.message(), "Cannot read record 90 of enctmyr.dat (" +
                               (dir / "enctmyr.dat").string() +
                               "): another program cut the file short while it was being read");
  }
  EXPECT_THROW(file.CheckWhole(), StatCraneError);
}

}  // namespace
}  // namespace statcrane
