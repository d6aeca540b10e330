// ENCPLSTATS.DAT held in memory: StatsTable (every record, decoded when it is
// asked for), StatsIndex (the key fields of every indexed record), PlayerNames,
// MaxPlayerId, each player's records in file order, and the player work list.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "encyclopedia/encyclopedia_folder.h"
#include "encyclopedia/record_file.h"
#include "encyclopedia/record_layouts.h"
#include "util/run_report.h"
#include "util/sorted_work_list.h"

namespace statcrane {

// StatsIndex row of one record; all 0 for a record that is not indexed.
struct StatsKey {
  int32_t player_id = 0;
  int32_t season_type = 0;
  int32_t year = 0;
  int32_t team_id = 0;
};

// LastName, a comma, FirstName, with no space: "Smith,John".
std::string DisplayName(const PlayerStatsRecord& record);

class PlayerStatsFile {
 public:
  // Reads the folder's ENCPLSTATS.DAT once, whole. Records with RecordStatus 0
  // and a PlayerId of 1 or more are indexed; the others are reported as
  // skipped. A missing file, or one with no whole record, has no records.
  static PlayerStatsFile Load(const EncyclopediaFolder& folder, SkipReporter& reporter);
  static PlayerStatsFile Index(RecordFile file, SkipReporter& reporter);

  int64_t RecordCount() const { return static_cast<int64_t>(index_.size()); }
  // StatsTable slot k, 1 to RecordCount, decoded now.
  PlayerStatsRecord Record(int64_t k) const {
    return PlayerStatsRecord::Decode(records_.Record(static_cast<size_t>(k)));
  }
  // StatsIndex row k, 1 to RecordCount.
  const StatsKey& Key(int64_t k) const { return index_[static_cast<size_t>(k - 1)]; }
  // PlayerNames: the display name of the player's last indexed record in the
  // file; empty for an id with no indexed record.
  const std::string& PlayerName(int32_t player_id) const;
  // The highest PlayerId of an indexed record; 0 when there is none.
  int32_t HighestPlayerId() const { return highest_player_id_; }
  // The numbers of the player's indexed records, in file order.
  std::span<const int64_t> PlayerRecords(int32_t player_id) const;
  // Starts loading the player's records and StatsIndex rows into the
  // processor's caches, for a walk that knows whom it writes next: his
  // records lie scattered over the file.
  void Prefetch(int32_t player_id) const;

 private:
  RecordFile records_;
  std::vector<StatsKey> index_;
  std::vector<std::string> names_;        // by player id, 0 to MaxPlayerId
  std::vector<int64_t> group_start_;      // by player id, 0 to MaxPlayerId + 1
  std::vector<int64_t> grouped_records_;  // record numbers grouped by player
  int32_t highest_player_id_ = 0;
};

// lstPlayers: one item per player with a display name, keyed
// "DisplayName \ id" (Smith,John \ 1234), carrying the player id.
using PlayerOrder = SortedWorkList<int32_t>;
PlayerOrder BuildPlayerOrder(const PlayerStatsFile& stats);

}  // namespace statcrane
