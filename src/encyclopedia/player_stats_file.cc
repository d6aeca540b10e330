#include "encyclopedia/player_stats_file.h"

#include <utility>

namespace statcrane {
namespace {

using Stats = PlayerStatsRecord;

// True when the record is indexed: not deleted, and a player id in range.
bool Indexed(int16_t record_status, int16_t player_id) {
  return record_status == 0 && player_id >= 1 && player_id <= kMaxPlayerId;
}

}  // namespace

std::string PlayerDisplayName(const PlayerStatsRecord& record) {
  std::string name;
  name.reserve(record.last_name.size() + 1 + record.first_name.size());
  name += record.last_name;
  name += ',';
  name += record.first_name;
  return name;
}

PlayerStatsFile LoadPlayerStats(const EncyclopediaFolder& folder, SkipReporter& reporter) {
  return LoadPlayerStats(
      RecordFile::Read(folder, kPlayerStatsFile, PlayerStatsRecord::kSize, reporter), reporter);
}

PlayerStatsFile LoadPlayerStats(RecordFile file, SkipReporter& reporter) {
  PlayerStatsFile stats;
  stats.records_ = std::move(file);
  const RecordFile& records = stats.records_;

  // The indexed records in file order, with the number of each player's.
  // Record numbers fit 32 bits (RecordFile::kMaxRecords).
  struct Indexed32 {
    int32_t player_id;
    int32_t record_number;
  };
  std::vector<Indexed32> indexed;
  std::vector<int64_t> per_player(static_cast<size_t>(kMaxPlayerId) + 2, 0);
  records.ForEachRecord([&](size_t k) {
    const RecordBytes bytes = records.Record(k);
    const int16_t status = DecodeField<&Stats::record_status>(bytes);
    const int16_t id = DecodeField<&Stats::player_id>(bytes);
    if (status != 0) {
      reporter.RecordSkipped(kPlayerStatsFile, kDeletedRecords);
    } else if (!Indexed(status, id)) {
      reporter.RecordSkipped(kPlayerStatsFile, kPlayerIdsOutOfRange);
    } else {
      indexed.push_back(Indexed32{id, static_cast<int32_t>(k)});
      ++per_player[static_cast<size_t>(id) + 1];
      if (id > stats.highest_player_id_) stats.highest_player_id_ = id;
    }
  });

  // Group the indexed records by player, keeping file order within a player.
  const size_t players = static_cast<size_t>(stats.highest_player_id_) + 1;
  stats.group_start_.assign(per_player.begin(), per_player.begin() + players + 1);
  for (size_t id = 1; id <= players; ++id) stats.group_start_[id] += stats.group_start_[id - 1];
  stats.grouped_records_.resize(indexed.size());
  std::vector<int64_t> next(stats.group_start_.begin(), stats.group_start_.end() - 1);
  for (const Indexed32& entry : indexed) {
    stats.grouped_records_[static_cast<size_t>(next[static_cast<size_t>(entry.player_id)]++)] =
        entry.record_number;
  }

  // A later record of a player names him: the last record of his group.
  stats.names_.resize(players);
  for (size_t id = 1; id < players; ++id) {
    if (stats.group_start_[id + 1] > stats.group_start_[id]) {
      const int64_t last =
          stats.grouped_records_[static_cast<size_t>(stats.group_start_[id + 1] - 1)];
      stats.names_[id] = PlayerDisplayName(stats.Record(last));
    }
  }
  return stats;
}

StatsKey PlayerStatsFile::Key(int64_t k) const {
  const RecordBytes bytes = records_.Record(static_cast<size_t>(k));
  StatsKey key;
  if (Indexed(DecodeField<&Stats::record_status>(bytes), DecodeField<&Stats::player_id>(bytes))) {
    key.player_id = DecodeField<&Stats::player_id>(bytes);
    key.season_type = DecodeField<&Stats::season_type>(bytes);
    key.year = DecodeField<&Stats::year>(bytes);
    key.team_id = DecodeField<&Stats::team_id>(bytes);
  }
  records_.CheckWhole(static_cast<size_t>(k));
  return key;
}

const std::string& PlayerStatsFile::DisplayNameOf(int32_t player_id) const {
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
    // The fields decoded lie in the record's first 164 bytes.
    const uint8_t* bytes = records_.Record(static_cast<size_t>(k)).data();
    for (size_t offset = 0; offset < 164 + 63; offset += 64) __builtin_prefetch(bytes + offset);
  }
}

PlayerOrder BuildPlayerOrder(const PlayerStatsFile& stats) {
  PlayerOrder order;
  for (int32_t id = 1; id <= stats.HighestPlayerId(); ++id) {
    const std::string& name = stats.DisplayNameOf(id);
    if (name.empty()) continue;
    order.Add(name + " \\ " + std::to_string(id), id);
  }
  return order;
}

}  // namespace statcrane
