#include "players/player_walk.h"

#include <string>

#include "util/error.h"

namespace statcrane {
namespace {

constexpr int64_t kProgressEvery = 256;

// The summary lines of the block: one per group, with the name of the
// player's last regular-season record.
void WriteSummaryLines(const PlayerBlock& block, PlayerSheetWriters& writers) {
  for (Series s : kAllSeries) {
    const SectionLines& section = block.section(s);
    for (LineKind kind : section.kinds) {
      PlayerSummaryWriter& writer = writers.Summary(s, kind);
      if (kind == LineKind::kHitting) {
        writer.WriteLine(block.summary_name, section.hitting);
      } else {
        writer.WriteLine(block.summary_name, section.pitching);
      }
    }
  }
}

}  // namespace

PlayerSheetWriters::PlayerSheetWriters(const PlayerSheets& sheets) {
  letters.reserve(sheets.letters.size());
  for (Worksheet* sheet : sheets.letters) letters.emplace_back(*sheet);
  for (Series s : kAllSeries) {
    const size_t i = static_cast<size_t>(s);
    hitting_summaries.emplace_back(*sheets.hitting_summaries[i], LineKind::kHitting);
    pitching_summaries.emplace_back(*sheets.pitching_summaries[i], LineKind::kPitching);
  }
}

PlayerWalkResult WritePlayerBlocks(const PlayerWalkInput& input, PlayerSheetWriters& writers,
                                   ProgressObserver& progress, const PlayerBlockPlaced& placed) {
  PlayerWalkResult result;
  PlayerBlockBuilder builder(input.stats, input.team_abbrevs, input.birth_dates);
  PlayerBlock block;
  const size_t count = input.players.Count();
  for (size_t p = 0; p < count; ++p) {
    if (p % kProgressEvery == 0) {
      CheckStop(progress);
      progress.PhaseProgress("players", static_cast<int64_t>(p), static_cast<int64_t>(count));
    }
    if (p + 1 < count) input.stats.Prefetch(input.players.At(p + 1));
    const std::string& key = input.players.TextAt(p);
    try {
      if (!builder.Build(input.players.At(p), block)) continue;
      LetterSheetWriter& letter =
          writers.letters[static_cast<size_t>(LetterSheetIndex(block.name))];
      progress.ProgressText(block.name);
      const RowSpan rows = letter.WriteBlock(block);
      WriteSummaryLines(block, writers);
      if (placed) placed(PlacedPlayerBlock{block, letter.sheet(), rows});
      result.last_letter_sheet = &letter.sheet();
      ++result.players_written;
    } catch (const SheetError& error) {
      // "writing the player Smith,John \ 12 on the sheet "S": ..."
      throw StatCraneError("writing the player " + key + " " + error.message());
    } catch (const StatCraneError& error) {
      throw StatCraneError("writing the player " + key + ": " + error.message());
    }
  }
  progress.PhaseProgress("players", static_cast<int64_t>(count), static_cast<int64_t>(count));
  result.unknown_season_types = builder.unknown_season_types();
  return result;
}

}  // namespace statcrane
