// The player walk: every player of the work list gets a block on the letter
// sheet of his initial (name row, regular-season section, then the division,
// league championship and world series sections), and every section's totals
// a line on the summary sheet of its season type and line kind.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "encyclopedia/player_stats_file.h"
#include "encyclopedia/birth_dates.h"
#include "encyclopedia/team_abbreviations.h"
#include "players/letter_sheets.h"
#include "players/line_state.h"
#include "util/progress.h"
#include "util/run_report.h"
#include "util/sorted_work_list.h"
#include "workbook/workbook.h"

namespace statcrane {

// One season type's records of the current player.
struct WalkSection {
  // Items "<season type><Year as 0000>/<record number>", carrying the record
  // number; sorted by year, then record number compared as text.
  SortedWorkList<int64_t> list;
  int64_t SectionCount = 0;
};

// Sections in the order they are written.
enum SectionPosition { kRegular = 0, kDivision = 1, kLeagueChampionship = 2, kWorldSeries = 3 };

struct PlayerWalk {
  LineState line;
  // The next free block row of each letter sheet: "A" to "Z", then "#".
  std::array<int32_t, kLetterSheetCount> NextRow;
  std::string CurrentLetter = "A";
  int32_t CurrentPlayerId = 0;
  int64_t FirstRegularRecord = 0;
  // The last row used on each summary sheet, in kPlayerSummarySheets order.
  std::array<int32_t, 8> SummaryRow{};
  // lstReg, lstLDS, lstLCS, lstWS.
  std::array<WalkSection, 4> sections;
  int64_t players_written = 0;

  PlayerWalk() { NextRow.fill(1); }
};

// What the walk reads.
struct PlayerWalkInput {
  const PlayerStatsFile& stats;
  const PlayerOrder& player_order;
  const TeamAbbreviations& team_abbreviations;
  const BirthDates& birth_dates;
};

// Writes every player of player_order in list order. Players without a
// regular-season record are skipped; season types other than 1, 2, 5, 6 and 7
// are reported and their records ignored. Creates the sheet "#" after "Z"
// when the first player who needs it is written. Leaves the last letter sheet
// written active.
void RunPlayerWalk(const PlayerWalkInput& input, Workbook& workbook, PlayerWalk& walk,
                   ProgressObserver& progress, SkipReporter& reporter);

}  // namespace statcrane
