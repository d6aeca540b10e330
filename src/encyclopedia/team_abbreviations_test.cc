#include "encyclopedia/team_abbreviations.h"

#include <gtest/gtest.h>

#include "testing/record_files.h"
#include "testing/temp_dir.h"
#include "util/skip_report.h"

namespace statcrane {
namespace {

using testing::TempDir;
using testing::WriteRecords;

TeamRecord Team(int id, std::string abbrev, int status = 0, int gate_a = 1, int gate_b = 1) {
  TeamRecord t;
  t.record_status = static_cast<int16_t>(status);
  t.team_id = static_cast<int16_t>(id);
  t.abbreviation = std::move(abbrev);
  t.city = "City";
  t.nickname = "Nicks";
  t.gate_a = static_cast<int16_t>(gate_a);
  t.gate_b = static_cast<int16_t>(gate_b);
  return t;
}

TEST(TeamAbbreviationsTest, AcceptedRecordsFillTheirEntriesAndALaterRecordWins) {
  TempDir dir;
  WriteRecords(dir / "encteam.dat",
               std::vector<TeamRecord>{Team(1, "BOS"), Team(0, "ZER"), Team(9999, "MAX"),
                                       Team(1, "BO2", 0, 5, 7), Team(20, "LA ")});
  SkipReport report;
  const TeamAbbreviations table = LoadTeamAbbreviations(EncyclopediaFolder(dir.path()), report);
  EXPECT_EQ(table[1], "BO2");
  EXPECT_EQ(table[0], "ZER");
  EXPECT_EQ(table[9999], "MAX");
  EXPECT_EQ(table[20], "LA ");
  EXPECT_EQ(table[2], "");
  EXPECT_EQ(table[-1], "");
  EXPECT_EQ(table[10000], "");
  EXPECT_EQ(report.files["ENCTEAM.DAT"].records_read, 5);
  EXPECT_TRUE(report.files["ENCTEAM.DAT"].skipped.empty());
}

TEST(TeamAbbreviationsTest, StatusGatesAndIdsOutOfRangeAreSkippedAndReported) {
  TempDir dir;
  WriteRecords(dir / "ENCTEAM.DAT",
               std::vector<TeamRecord>{Team(5, "OLD"), Team(5, "ST1", 1), Team(5, "ST-", -1),
                                       Team(5, "GA0", 0, 0, 1), Team(5, "GAN", 0, -3, 1),
                                       Team(5, "GB0", 0, 1, 0), Team(5, "GBN", 0, 1, -32768),
                                       Team(-1, "NEG"), Team(10000, "BIG")});
  SkipReport report;
  const TeamAbbreviations table = LoadTeamAbbreviations(EncyclopediaFolder(dir.path()), report);
  EXPECT_EQ(table[5], "OLD");
  const auto& skipped = report.files["ENCTEAM.DAT"].skipped;
  EXPECT_EQ(skipped.at("deleted records"), 2);
  EXPECT_EQ(skipped.at("teams not in use"), 4);
  EXPECT_EQ(skipped.at("records with a team id outside 0 to 9999"), 2);
}

TEST(TeamAbbreviationsTest, AbbreviationsAreCutAtTheFirstNul) {
  TempDir dir;
  std::vector<uint8_t> bytes =
      testing::EncodeRecords(std::vector<TeamRecord>{Team(1, ""), Team(2, "")});
  const uint8_t ny[] = {'N', 'Y', 0};
  const uint8_t nul_first[] = {0, 'X', 'Y'};
  std::copy(std::begin(ny), std::end(ny), bytes.begin() + 4);
  std::copy(std::begin(nul_first), std::end(nul_first), bytes.begin() + 56 + 4);
  testing::WriteBytes(dir / "ENCTEAM.DAT", bytes);
  NullReporter reporter;
  const TeamAbbreviations table = LoadTeamAbbreviations(EncyclopediaFolder(dir.path()), reporter);
  EXPECT_EQ(table[1], "NY");
  EXPECT_EQ(table[2], "");
}

TEST(TeamAbbreviationsTest, EmptyMissingOrTruncatedFilesStillGiveATable) {
  TempDir dir;
  NullReporter reporter;
  EXPECT_EQ(LoadTeamAbbreviations(EncyclopediaFolder(dir.path()), reporter)[1], "");
  dir.WriteFile("ENCTEAM.DAT", {});
  EXPECT_EQ(LoadTeamAbbreviations(EncyclopediaFolder(dir.path()), reporter)[1], "");

  std::vector<uint8_t> bytes = testing::EncodeRecords(std::vector<TeamRecord>{Team(3, "CHI")});
  bytes.resize(bytes.size() + 30, 0x41);
  testing::WriteBytes(dir / "ENCTEAM.DAT", bytes);
  SkipReport report;
  EXPECT_EQ(LoadTeamAbbreviations(EncyclopediaFolder(dir.path()), report)[3], "CHI");
  EXPECT_EQ(report.files["ENCTEAM.DAT"].trailing_bytes, 30);
}

}  // namespace
}  // namespace statcrane
