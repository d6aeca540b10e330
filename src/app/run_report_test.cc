#include "app/run_report.h"

#include <gtest/gtest.h>

namespace statcrane {
namespace {

TEST(RunReportTest, NumbersHaveThousandsSeparatorsAndCountsTheirNumber) {
  EXPECT_EQ(NumberText(0), "0");
  EXPECT_EQ(NumberText(999), "999");
  EXPECT_EQ(NumberText(1000), "1,000");
  EXPECT_EQ(NumberText(494047), "494,047");
  EXPECT_EQ(NumberText(-1234567), "-1,234,567");
  EXPECT_EQ(CountText(1, "record", "records"), "1 record");
  EXPECT_EQ(CountText(0, "record", "records"), "0 records");
  EXPECT_EQ(CountText(12000, "record", "records"), "12,000 records");
}

// The report in plain words: one or several, separators, the files by the
// names they have in the folder.
TEST(RunReportTest, TheReportInPlainWords) {
  RunReport report;
  report.RecordsRead("ENCPLSTATS.DAT", 494047);
  report.FileFound("ENCPLSTATS.DAT", "encplstats.dat");
  report.RecordsRead("ENCTEAM.DAT", 3828);
  report.FileFound("ENCTEAM.DAT", "ENCTEAM.DAT");
  for (int i = 0; i < 1200; ++i) {
    report.RecordSkipped("ENCTEAM.DAT", {"team not in use", "teams not in use"});
  }
  report.RecordSkipped("ENCTEAM.DAT", {"deleted record", "deleted records"});
  report.RecordsRead("encleag.dat", 1);
  report.players_written = 3000;
  report.teams_written = 1;
  EXPECT_EQ(report.Format(),
            "Files read\n"
            "  encplstats.dat  494,047 records read\n"
            "  ENCTEAM.DAT     3,828 records read, 1,201 skipped\n"
            "                  1 deleted record\n"
            "                  1,200 teams not in use\n"
            "  encleag.dat     1 record read\n"
            "Players written: 3,000\n"
            "Teams written: 1\n");
  EXPECT_EQ(report.WarningsSummary(), "1,201 records skipped");
}

TEST(RunReportTest, UnknownSeasonTypesInOneMessage) {
  RunReport report;
  EXPECT_EQ(report.SeasonTypeMessage(), "");
  report.unknown_season_types[7] = 1;
  EXPECT_EQ(report.SeasonTypeMessage(),
            "Season type 7 is not one this program knows: its 1 record was left out of the "
            "workbook.");
  report.unknown_season_types[7] = 2;
  EXPECT_EQ(report.SeasonTypeMessage(),
            "Season type 7 is not one this program knows: its 2 records were left out of the "
            "workbook.");
  report.unknown_season_types[0] = 1;
  report.unknown_season_types[3] = 1;
  EXPECT_EQ(report.SeasonTypeMessage(),
            "Season types 0, 3 and 7 are not ones this program knows: their 4 records were left "
            "out of the workbook (1 of type 0, 1 of type 3, 2 of type 7).");
  EXPECT_EQ(report.WarningsSummary(), "4 records of unknown season types");
}

}  // namespace
}  // namespace statcrane
