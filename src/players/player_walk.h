// The player walk: every player of the work list with a regular-season
// record gets a block on the letter sheet of his initial, and each group of
// his lines (one section, one kind) a line on the summary sheet of its
// section and kind.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "encyclopedia/birth_dates.h"
#include "encyclopedia/player_stats_file.h"
#include "encyclopedia/team_abbreviations.h"
#include "players/letter_sheet_writer.h"
#include "players/letter_sheets.h"
#include "players/player_summary_writer.h"
#include "util/progress.h"

namespace statcrane {

// The writers of the player sheets, each owning its sheet and its row.
struct PlayerSheetWriters {
  explicit PlayerSheetWriters(const PlayerSheets& sheets);

  PlayerSummaryWriter& Summary(Series section, LineKind kind) {
    auto& writers = kind == LineKind::kHitting ? hitting_summaries : pitching_summaries;
    return writers[static_cast<size_t>(section)];
  }

  std::vector<LetterSheetWriter> letters;              // by LetterSheetIndex
  std::vector<PlayerSummaryWriter> hitting_summaries;  // by section
  std::vector<PlayerSummaryWriter> pitching_summaries;
};

// What the walk reads.
struct PlayerWalkInput {
  const PlayerStatsFile& stats;
  const PlayerOrder& players;
  const TeamAbbreviations& team_abbrevs;
  const BirthDates& birth_dates;
};

// Where a player's block went (for an index of the workbook).
struct PlacedPlayerBlock {
  const PlayerBlock& block;
  const Worksheet& sheet;
  RowSpan rows;
};
using PlayerBlockPlaced = std::function<void(const PlacedPlayerBlock&)>;

struct PlayerWalkResult {
  int64_t players_written = 0;
  // The letter sheet of the last player written; null when none was.
  const Worksheet* last_letter_sheet = nullptr;
  // Records of season types the program does not know, left out: type ->
  // records.
  std::map<int, int64_t> unknown_season_types;
};

// Writes the players in work-list order, each block as soon as it is built,
// and tells `placed` (when given) where each went. Records of season types
// other than 1, 2, 5, 6 and 7 are left out and counted in the result. A failed write
// stops the walk with an error naming the player and the sheet.
PlayerWalkResult WritePlayerBlocks(const PlayerWalkInput& input, PlayerSheetWriters& writers,
                                   ProgressObserver& progress,
                                   const PlayerBlockPlaced& placed = {});

}  // namespace statcrane
