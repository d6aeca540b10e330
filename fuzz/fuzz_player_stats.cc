// ENCPLSTATS.DAT and the player work list: the input is the whole file.
#include <cstddef>
#include <cstdint>

#include "encyclopedia/player_stats_file.h"
#include "encyclopedia/record_layouts.h"
#include "fuzz/fuzz_support.h"

using namespace statcrane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  const fuzz::NamedBytes files[] = {{kPlayerStatsFile, bytes}};
  const EncyclopediaFolder folder(fuzz::WriteFolder("stats", files));
  SkipReport report;
  const PlayerStatsFile stats = LoadPlayerStats(folder, report);
  fuzz::CheckFileReport(report, kPlayerStatsFile, size, PlayerStatsRecord::kSize);
  const PlayerOrder player_order = BuildPlayerOrder(stats);

  // Every indexed record belongs to exactly one player of the work list, in
  // file order; every player of the list has records and a UTF-8 name.
  int64_t indexed = 0;
  for (int64_t k = 1; k <= stats.record_count(); ++k) indexed += stats.Key(k).player_id >= 1;
  int64_t grouped = 0;
  for (size_t p = 0; p < player_order.Count(); ++p) {
    const int32_t id = player_order.At(p);
    if (!fuzz::IsUtf8(stats.DisplayNameOf(id))) fuzz::Finding("a display name is not UTF-8");
    int64_t previous = 0;
    for (int64_t k : stats.PlayerRecords(id)) {
      if (k <= previous || k > stats.record_count()) fuzz::Finding("a record number out of order");
      if (stats.Key(k).player_id != id) fuzz::Finding("a record grouped under another player");
      (void)stats.Record(k);
      previous = k;
      ++grouped;
    }
    if (previous == 0) fuzz::Finding("a listed player without records");
  }
  if (grouped != indexed) fuzz::Finding("indexed records missing from the work list");
  return 0;
}
