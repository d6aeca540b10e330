// ENCPLSTATS.DAT held in memory: every record (decoded when it is asked
// for), the records of each player in file order, each player's display
// name, and the order in which the players are written.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "encyclopedia/encyclopedia_folder.h"
#include "encyclopedia/record_file.h"
#include "encyclopedia/record_layouts.h"
#include "util/skip_report.h"
#include "util/sorted_work_list.h"

namespace statcrane {

// The key fields of one statistics record; all 0 for a record that is not
// indexed.
struct StatsKey {
  int32_t player_id = 0;
  int32_t season_type = 0;
  int32_t year = 0;
  int32_t team_id = 0;
};

// The last name, a comma, the first name, with no space: "Smith,John".
std::string PlayerDisplayName(const PlayerStatsRecord& record);

class PlayerStatsFile;

// Reads the folder's ENCPLSTATS.DAT once, whole (or takes `file`). Records
// that are not deleted (record status 0) and whose player id lies in 1 to
// 36500 are indexed; the others are reported as skipped. A missing file, or
// one with no whole record, has no records.
PlayerStatsFile LoadPlayerStats(const EncyclopediaFolder& folder, SkipReporter& reporter);
PlayerStatsFile LoadPlayerStats(RecordFile file, SkipReporter& reporter);

class PlayerStatsFile {
 public:
  // Records, indexed or not, numbered 1 to record_count() in file order.
  int64_t record_count() const { return static_cast<int64_t>(records_.record_count()); }
  // Record k, decoded now.
  PlayerStatsRecord Record(int64_t k) const {
    return records_.Decode<PlayerStatsRecord>(static_cast<size_t>(k));
  }
  // The key fields of record k, read now.
  StatsKey Key(int64_t k) const;
  // The display name of the player's last indexed record in the file; empty
  // for an id with no indexed record.
  const std::string& DisplayNameOf(int32_t player_id) const;
  // The highest player id of an indexed record; 0 when there is none.
  int32_t HighestPlayerId() const { return highest_player_id_; }
  // The numbers of the player's indexed records, in file order.
  std::span<const int64_t> PlayerRecords(int32_t player_id) const;
  // Starts loading the player's records into the processor's caches, for a
  // walk that knows whom it writes next: his records lie scattered over the
  // file.
  void Prefetch(int32_t player_id) const;

 private:
  friend PlayerStatsFile LoadPlayerStats(RecordFile file, SkipReporter& reporter);
  PlayerStatsFile() = default;

  RecordFile records_;
  std::vector<std::string> names_;        // by player id, 0 to the highest
  std::vector<int64_t> group_start_;      // by player id, 0 to the highest + 1
  std::vector<int64_t> grouped_records_;  // record numbers grouped by player
  int32_t highest_player_id_ = 0;
};

// The players in the order they are written: one item per player with a
// display name, keyed "display name \ id" (Smith,John \ 1234) and sorted by
// that key without regard to case, carrying the player id.
using PlayerOrder = SortedWorkList<int32_t>;
PlayerOrder BuildPlayerOrder(const PlayerStatsFile& stats);

}  // namespace statcrane
