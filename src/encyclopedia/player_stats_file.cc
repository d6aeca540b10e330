#include "encyclopedia/player_stats_file.h"

#include <utility>

namespace statcrane {

std::string DisplayName(const PlayerStatsRecord& record) {
  std::string name;
  name.reserve(record.last_name.size() + 1 + record.first_name.size());
  name += record.last_name;
  name += ',';
  name += record.first_name;
  return name;
}

PlayerStatsFile PlayerStatsFile::Load(const EncyclopediaFolder& folder, SkipReporter& reporter) {
  return Index(RecordFile::Read(folder, kPlayerStatsFile, PlayerStatsRecord::kSize, reporter),
               reporter);
}

PlayerStatsFile PlayerStatsFile::Index(RecordFile file, SkipReporter& reporter) {
  PlayerStatsFile stats;
  stats.records_ = std::move(file);
  const int64_t count = static_cast<int64_t>(stats.records_.RecordCount());
  stats.index_.resize(static_cast<size_t>(count));

  for (int64_t k = 1; k <= count; ++k) {
    const PlayerStatsRecord record = stats.Record(k);
    if (record.record_status != 0) {
      reporter.RecordSkipped(kPlayerStatsFile, "record status not 0");
      continue;
    }
    if (record.player_id < 1) {
      reporter.RecordSkipped(kPlayerStatsFile, "player id below 1");
      continue;
    }
    stats.index_[static_cast<size_t>(k - 1)] =
        StatsKey{record.player_id, record.season_type, record.year, record.team_id};
    if (record.player_id > stats.highest_player_id_) stats.highest_player_id_ = record.player_id;
  }

  // Group the indexed records by player, keeping file order within a player.
  const size_t players = static_cast<size_t>(stats.highest_player_id_) + 1;
  stats.group_start_.assign(players + 1, 0);
  for (const StatsKey& row : stats.index_) {
    if (row.player_id >= 1) ++stats.group_start_[static_cast<size_t>(row.player_id) + 1];
  }
  for (size_t id = 1; id <= players; ++id) stats.group_start_[id] += stats.group_start_[id - 1];
  stats.grouped_records_.resize(static_cast<size_t>(stats.group_start_[players]));
  std::vector<int64_t> next(stats.group_start_.begin(), stats.group_start_.end() - 1);
  for (int64_t k = 1; k <= count; ++k) {
    const int32_t id = stats.index_[static_cast<size_t>(k - 1)].player_id;
    if (id >= 1) stats.grouped_records_[static_cast<size_t>(next[static_cast<size_t>(id)]++)] = k;
  }

  // A later record of a player names him: the last record of his group.
  stats.names_.resize(players);
  for (size_t id = 1; id < players; ++id) {
    if (stats.group_start_[id + 1] > stats.group_start_[id]) {
      const int64_t last =
          stats.grouped_records_[static_cast<size_t>(stats.group_start_[id + 1] - 1)];
      stats.names_[id] = DisplayName(stats.Record(last));
    }
  }
  return stats;
}

const std::string& PlayerStatsFile::PlayerName(int32_t player_id) const {
  static const std::string kEmpty;
  if (player_id < 1 || player_id > highest_player_id_) return kEmpty;
  return names_[static_cast<size_t>(player_id)];
}

std::span<const int64_t> PlayerStatsFile::PlayerRecords(int32_t player_id) const {
  if (player_id < 1 || player_id > highest_player_id_) return {};
  const auto begin = static_cast<size_t>(group_start_[static_cast<size_t>(player_id)]);
  const auto end = static_cast<size_t>(group_start_[static_cast<size_t>(player_id) + 1]);
  return std::span<const int64_t>(grouped_records_).subspan(begin, end - begin);
}

void PlayerStatsFile::Prefetch(int32_t player_id) const {
  for (const int64_t k : PlayerRecords(player_id)) {
    __builtin_prefetch(&index_[static_cast<size_t>(k - 1)]);
    // The fields decoded lie in the record's first 164 bytes.
    const uint8_t* bytes = records_.Record(static_cast<size_t>(k)).data();
    for (size_t offset = 0; offset < 164 + 63; offset += 64) __builtin_prefetch(bytes + offset);
  }
}

PlayerOrder BuildPlayerOrder(const PlayerStatsFile& stats) {
  PlayerOrder order;
  for (int32_t id = 1; id <= stats.HighestPlayerId(); ++id) {
    const std::string& name = stats.PlayerName(id);
    if (name.empty()) continue;
    order.Add(name + " \\ " + std::to_string(id), id);
  }
  return order;
}

}  // namespace statcrane
