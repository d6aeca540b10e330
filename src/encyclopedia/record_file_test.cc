#include "encyclopedia/record_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "testing/temp_dir.h"
#include "util/error.h"
#include "util/run_report.h"

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
  RunReport report;
  const RecordFile file =
      RecordFile::Read(EncyclopediaFolder(dir.path()), kTeamYearFile, 368, report);
  EXPECT_TRUE(file.exists());
  ASSERT_EQ(file.RecordCount(), 3u);
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
  RunReport report;
  const EncyclopediaFolder folder(dir.path());
  const RecordFile missing = RecordFile::Read(folder, kPlayerFile, 48, report);
  EXPECT_FALSE(missing.exists());
  EXPECT_EQ(missing.RecordCount(), 0u);
  EXPECT_EQ(report.files[std::string(kPlayerFile)].notes.size(), 1u);

  dir.WriteFile("ENCPLSTATS.DAT", Numbered(335));  // not one whole record
  const RecordFile fragment = RecordFile::Read(folder, kPlayerStatsFile, 336, report);
  EXPECT_TRUE(fragment.exists());
  EXPECT_EQ(fragment.RecordCount(), 0u);
  EXPECT_EQ(report.files[std::string(kPlayerStatsFile)].trailing_bytes, 335);

  dir.WriteFile("ENCTEAM.DAT", {});
  const RecordFile empty = RecordFile::Read(folder, kTeamFile, 56, report);
  EXPECT_TRUE(empty.exists());
  EXPECT_EQ(empty.RecordCount(), 0u);
  EXPECT_EQ(report.files[std::string(kTeamFile)].trailing_bytes, 0);
}

void ExpectAccessError(const TempDir& dir, std::string_view name, std::string_view detail) {
  NullReporter reporter;
  try {
    RecordFile::Read(EncyclopediaFolder(dir.path()), name, 56, reporter);
    ADD_FAILURE() << "no error for " << name;
  } catch (const StatCraneError& e) {
    EXPECT_NE(e.message().find(std::string(name)), std::string::npos) << e.message();
    EXPECT_NE(e.message().find(std::string(detail)), std::string::npos) << e.message();
  }
}

TEST(RecordFileTest, EntriesThatAreNotReadableFilesStopWithAClearError) {
  TempDir dir;
  std::filesystem::create_directory(dir / "encteam.dat");
  ExpectAccessError(dir, kTeamFile, "is a folder");

  std::filesystem::create_symlink(dir / "nowhere", dir / "ENCPLYR.DAT");
  ExpectAccessError(dir, kPlayerFile, "link to a file that does not exist");

  ASSERT_EQ(mkfifo((dir / "encleag.dat").c_str(), 0600), 0);
  ExpectAccessError(dir, kLeagueFile, "not a regular file");

  if (geteuid() != 0) {  // permissions do not stop root
    dir.WriteFile("enclgyr.dat", Numbered(1000));
    std::filesystem::permissions(dir / "enclgyr.dat", std::filesystem::perms::none);
    ExpectAccessError(dir, kLeagueYearFile, "Permission denied");
  }
}

}  // namespace
}  // namespace statcrane
