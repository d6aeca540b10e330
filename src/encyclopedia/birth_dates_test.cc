#include "encyclopedia/birth_dates.h"

#include <gtest/gtest.h>

#include <vector>

#include "testing/record_files.h"
#include "testing/temp_dir.h"

namespace statcrane {
namespace {

PlayerRecord Born(int16_t id, int16_t year, uint8_t month, uint8_t day, int16_t status = 0) {
  PlayerRecord r;
  r.record_status = status;
  r.player_id = id;
  r.birth_year = year;
  r.birth_month = month;
  r.birth_day = day;
  return r;
}

BirthDates Load(const std::vector<PlayerRecord>& records, SkipReport& report) {
  testing::TempDir dir;
  testing::WriteRecords(dir / "ENCPLYR.DAT", records);
  return LoadBirthDates(EncyclopediaFolder(dir.path()), report);
}

int64_t Skipped(const SkipReport& report, const std::string& reason) {
  const auto file = report.files.find("ENCPLYR.DAT");
  if (file == report.files.end()) return 0;
  const auto it = file->second.skipped.find(reason);
  return it == file->second.skipped.end() ? 0 : it->second;
}

TEST(BirthDatesTest, AcceptedRecordsSetTheirBirthDateAndLaterRecordsWin) {
  SkipReport report;
  const BirthDates table = Load({Born(1, 1801, 1, 1), Born(2, 1999, 12, 31), Born(3, 1970, 2, 9),
                                 Born(4, 1950, 5, 5), Born(4, 1951, 6, 6), Born(36, 2000, 2, 29)},
                                report);
  EXPECT_EQ(table[1], (CivilDate{1801, 1, 1}));
  EXPECT_EQ(table[2], (CivilDate{1999, 12, 31}));
  EXPECT_EQ(table[3], (CivilDate{1970, 2, 9}));  // month first: 9 February
  EXPECT_EQ(table[4], (CivilDate{1951, 6, 6}));
  EXPECT_EQ(table[36], (CivilDate{2000, 2, 29}));
  EXPECT_EQ(table[5], kZeroDate);
  EXPECT_EQ(table[36500], kZeroDate);
  EXPECT_EQ(report.RecordsSkipped(), 0);
}

TEST(BirthDatesTest, SkippedRecordsKeepTheEntryAndAreReported) {
  SkipReport report;
  const BirthDates table =
      Load({Born(1, 1960, 4, 4), Born(1, 1800, 1, 1), Born(1, 0, 1, 1), Born(1, -5, 1, 1),
            Born(1, 1970, 1, 1, /*status=*/1), Born(-3, 1970, 1, 1), Born(0, 1970, 1, 1),
            Born(1, 1970, 13, 1), Born(1, 1970, 0, 1), Born(1, 1970, 1, 0), Born(1, 1999, 2, 29),
            Born(1, 1970, 4, 31), Born(1, 12000, 1, 1)},
           report);
  EXPECT_EQ(table[1], (CivilDate{1960, 4, 4}));
  EXPECT_EQ(Skipped(report, "players born before 1801"), 3);
  EXPECT_EQ(Skipped(report, "deleted records"), 1);
  EXPECT_EQ(Skipped(report, "records with a player id outside 1 to 36500"),
            2);  // no statistics line names 0
  EXPECT_EQ(table[0], kZeroDate);
  EXPECT_EQ(Skipped(report, "birth dates that are not calendar dates"), 6);
}

TEST(BirthDatesTest, MissingFileLeavesEveryEntryAtTheZeroDate) {
  testing::TempDir dir;
  SkipReport report;
  const BirthDates table = LoadBirthDates(EncyclopediaFolder(dir.path()), report);
  EXPECT_EQ(table[1], (CivilDate{1899, 12, 30}));
  EXPECT_EQ(table[-1], kZeroDate);
  EXPECT_EQ(table[40000], kZeroDate);
}

}  // namespace
}  // namespace statcrane
