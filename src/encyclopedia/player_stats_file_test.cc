#include "encyclopedia/player_stats_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testing/record_files.h"
#include "testing/temp_dir.h"

namespace statcrane {
namespace {

PlayerStatsRecord Line(int16_t id, std::string last, std::string first, int16_t status = 0) {
  PlayerStatsRecord r;
  r.RecordStatus = status;
  r.PlayerId = id;
  r.SeasonType = 2;
  r.Year = 1990;
  r.TeamId = 7;
  r.LastName = std::move(last);
  r.FirstName = std::move(first);
  r.LineKind = 1;
  return r;
}

std::vector<std::string> Keys(const PlayerWorkList& list) {
  std::vector<std::string> keys;
  for (size_t i = 0; i < list.Count(); ++i) keys.push_back(list.TextAt(i));
  return keys;
}

TEST(PlayerStatsFileTest, IndexesUsableRecordsAndGroupsThemByPlayerInFileOrder) {
  RunReport report;
  PlayerStatsRecord other_year = Line(5, "Smith", "Bo");
  other_year.Year = 1991;
  other_year.SeasonType = 6;
  other_year.TeamId = 12;
  const std::vector<uint8_t> bytes = testing::EncodeRecords(std::vector<PlayerStatsRecord>{
      Line(5, "Smith", "Bo"), Line(9, "Jones", "Al", /*status=*/1), Line(0, "Nobody", "X"),
      Line(7, "smith", "Al"), other_year, Line(-4, "Negative", "Id")});
  const PlayerStatsFile stats =
      PlayerStatsFile::Index(RecordFile::FromBytes(bytes, PlayerStatsRecord::kSize), report);

  EXPECT_EQ(stats.RecordCount(), 6);
  EXPECT_EQ(stats.MaxPlayerId(), 7);
  const StatsIndexRow& row5 = stats.StatsIndex(5);
  EXPECT_EQ(row5.PlayerId, 5);
  EXPECT_EQ(row5.SeasonType, 6);
  EXPECT_EQ(row5.Year, 1991);
  EXPECT_EQ(row5.TeamId, 12);
  for (int64_t k : {2, 3, 6}) EXPECT_EQ(stats.StatsIndex(k).PlayerId, 0) << k;
  EXPECT_EQ(std::vector<int64_t>(stats.PlayerRecords(5).begin(), stats.PlayerRecords(5).end()),
            (std::vector<int64_t>{1, 5}));
  EXPECT_TRUE(stats.PlayerRecords(9).empty());
  EXPECT_TRUE(stats.PlayerRecords(40000).empty());
  EXPECT_EQ(stats.PlayerNames(9), "");
  EXPECT_EQ(stats.Record(4).LastName, "smith");

  // Case is ignored in the order; the id follows " \ ".
  EXPECT_EQ(Keys(BuildPlayerWorkList(stats)),
            (std::vector<std::string>{"smith,Al \\ 7", "Smith,Bo \\ 5"}));
  EXPECT_EQ(BuildPlayerWorkList(stats).At(0), 7);
  EXPECT_EQ(report.files["ENCPLSTATS.DAT"].skipped["record status not 0"], 1);
  EXPECT_EQ(report.files["ENCPLSTATS.DAT"].skipped["player id below 1"], 2);
}

TEST(PlayerStatsFileTest, NamesComeFromTheLaterRecordAndAreCutAtTheirFirstNul) {
  std::vector<uint8_t> bytes = testing::EncodeRecords(std::vector<PlayerStatsRecord>{
      Line(3, "Smyth", "Jon"), Line(3, "Smith", "John"), Line(4, "X", "Y"), Line(12, "Doe", "J"),
      Line(30, "Doe", "J")});
  // Record 3: "Ab", a NUL and leftovers in the last name; a first name of
  // sixteen characters with no NUL at all.
  uint8_t* third = bytes.data() + 2 * PlayerStatsRecord::kSize;
  const std::string last("Ab\0zzzz", 7);
  std::copy(last.begin(), last.end(), third + 30);
  const std::string first = "ABCDEFGHIJKLMNOP";
  std::copy(first.begin(), first.end(), third + 14);
  RunReport report;
  const PlayerStatsFile stats =
      PlayerStatsFile::Index(RecordFile::FromBytes(bytes, PlayerStatsRecord::kSize), report);
  EXPECT_EQ(stats.PlayerNames(3), "Smith,John");
  EXPECT_EQ(stats.PlayerNames(4), "Ab,ABCDEFGHIJKLMNOP");
  // Equal names: ids compared as text, 12 before 30 and "12" before "3".
  EXPECT_EQ(Keys(BuildPlayerWorkList(stats)),
            (std::vector<std::string>{"Ab,ABCDEFGHIJKLMNOP \\ 4", "Doe,J \\ 12", "Doe,J \\ 30",
                                      "Smith,John \\ 3"}));
}

TEST(PlayerStatsFileTest, TrailingFragmentIsIgnoredAndAnEmptyFileHasNoPlayers) {
  testing::TempDir dir;
  std::vector<uint8_t> bytes =
      testing::EncodeRecords(std::vector<PlayerStatsRecord>{Line(1, "A", "B"), Line(2, "C", "D")});
  bytes.resize(bytes.size() + 100, 0xFF);
  testing::WriteBytes(dir / "ENCPLSTATS.DAT", bytes);
  RunReport report;
  const PlayerStatsFile stats = PlayerStatsFile::Load(EncyclopediaFolder(dir.path()), report);
  EXPECT_EQ(stats.RecordCount(), 2);
  EXPECT_EQ(BuildPlayerWorkList(stats).Count(), 2u);

  testing::WriteBytes(dir / "ENCPLSTATS.DAT", std::vector<uint8_t>(335, 0));
  const PlayerStatsFile empty = PlayerStatsFile::Load(EncyclopediaFolder(dir.path()), report);
  EXPECT_EQ(empty.RecordCount(), 0);
  EXPECT_EQ(empty.MaxPlayerId(), 0);
  EXPECT_EQ(BuildPlayerWorkList(empty).Count(), 0u);

  testing::TempDir no_file;
  EXPECT_EQ(PlayerStatsFile::Load(EncyclopediaFolder(no_file.path()), report).RecordCount(), 0);
}

}  // namespace
}  // namespace statcrane
