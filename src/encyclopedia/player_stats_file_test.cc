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
  r.record_status = status;
  r.player_id = id;
  r.season_type = 2;
  r.year = 1990;
  r.team_id = 7;
  r.last_name = std::move(last);
  r.first_name = std::move(first);
  r.line_kind = 1;
  return r;
}

std::vector<std::string> Keys(const PlayerOrder& list) {
  std::vector<std::string> keys;
  for (size_t i = 0; i < list.Count(); ++i) keys.push_back(list.TextAt(i));
  return keys;
}

TEST(PlayerStatsFileTest, IndexesUsableRecordsAndGroupsThemByPlayerInFileOrder) {
  SkipReport report;
  PlayerStatsRecord other_year = Line(5, "Smith", "Bo");
  other_year.year = 1991;
  other_year.season_type = 6;
  other_year.team_id = 12;
  const std::vector<uint8_t> bytes = testing::EncodeRecords(std::vector<PlayerStatsRecord>{
      Line(5, "Smith", "Bo"), Line(9, "Jones", "Al", /*status=*/1), Line(0, "Nobody", "X"),
      Line(7, "smith", "Al"), other_year, Line(-4, "Negative", "Id")});
  const PlayerStatsFile stats =
      LoadPlayerStats(RecordFile::FromBytes(bytes, PlayerStatsRecord::kSize), report);

  EXPECT_EQ(stats.record_count(), 6);
  EXPECT_EQ(stats.HighestPlayerId(), 7);
  const StatsKey& row5 = stats.Key(5);
  EXPECT_EQ(row5.player_id, 5);
  EXPECT_EQ(row5.season_type, 6);
  EXPECT_EQ(row5.year, 1991);
  EXPECT_EQ(row5.team_id, 12);
  for (int64_t k : {2, 3, 6}) EXPECT_EQ(stats.Key(k).player_id, 0) << k;
  EXPECT_EQ(std::vector<int64_t>(stats.PlayerRecords(5).begin(), stats.PlayerRecords(5).end()),
            (std::vector<int64_t>{1, 5}));
  EXPECT_TRUE(stats.PlayerRecords(9).empty());
  EXPECT_TRUE(stats.PlayerRecords(40000).empty());
  EXPECT_EQ(stats.DisplayNameOf(9), "");
  EXPECT_EQ(stats.Record(4).last_name, "smith");

  // Case is ignored in the order; the id follows " \ ".
  EXPECT_EQ(Keys(BuildPlayerOrder(stats)),
            (std::vector<std::string>{"smith,Al \\ 7", "Smith,Bo \\ 5"}));
  EXPECT_EQ(BuildPlayerOrder(stats).At(0), 7);
  EXPECT_EQ(report.files["ENCPLSTATS.DAT"].skipped["deleted records"], 1);
  EXPECT_EQ(report.files["ENCPLSTATS.DAT"].skipped["records with a player id outside 1 to 36500"],
            2);
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
  SkipReport report;
  const PlayerStatsFile stats =
      LoadPlayerStats(RecordFile::FromBytes(bytes, PlayerStatsRecord::kSize), report);
  EXPECT_EQ(stats.DisplayNameOf(3), "Smith,John");
  EXPECT_EQ(stats.DisplayNameOf(4), "Ab,ABCDEFGHIJKLMNOP");
  // Equal names: ids compared as text, 12 before 30 and "12" before "3".
  EXPECT_EQ(Keys(BuildPlayerOrder(stats)),
            (std::vector<std::string>{"Ab,ABCDEFGHIJKLMNOP \\ 4", "Doe,J \\ 12", "Doe,J \\ 30",
                                      "Smith,John \\ 3"}));
}

TEST(PlayerStatsFileTest, TrailingFragmentIsIgnoredAndAnEmptyFileHasNoPlayers) {
  testing::TempDir dir;
  std::vector<uint8_t> bytes =
      testing::EncodeRecords(std::vector<PlayerStatsRecord>{Line(1, "A", "B"), Line(2, "C", "D")});
  bytes.resize(bytes.size() + 100, 0xFF);
  testing::WriteBytes(dir / "ENCPLSTATS.DAT", bytes);
  SkipReport report;
  {
    // Unmapped before the file is written again (Windows refuses to cut a
    // mapped file short).
    const PlayerStatsFile stats = LoadPlayerStats(EncyclopediaFolder(dir.path()), report);
    EXPECT_EQ(stats.record_count(), 2);
    EXPECT_EQ(BuildPlayerOrder(stats).Count(), 2u);
  }

  testing::WriteBytes(dir / "ENCPLSTATS.DAT", std::vector<uint8_t>(335, 0));
  const PlayerStatsFile empty = LoadPlayerStats(EncyclopediaFolder(dir.path()), report);
  EXPECT_EQ(empty.record_count(), 0);
  EXPECT_EQ(empty.HighestPlayerId(), 0);
  EXPECT_EQ(BuildPlayerOrder(empty).Count(), 0u);

  testing::TempDir no_file;
  EXPECT_EQ(LoadPlayerStats(EncyclopediaFolder(no_file.path()), report).record_count(), 0);
}

}  // namespace
}  // namespace statcrane
