// The player summary sheets ("HitRegTotals", "PitchWSTotals", ...): one per
// section and line kind, with one line per player and section.
#pragma once

#include <cstdint>
#include <string_view>

#include "players/player_block.h"
#include "workbook/workbook.h"

namespace statcrane {

// Writes the lines of one summary sheet: the column headings in row 1
// (right-aligned, before the first line), then from row 2 on one line per
// call: Player, Last Yr, then the figures of the totals, framed in medium
// lines.
class PlayerSummaryWriter {
 public:
  PlayerSummaryWriter(Worksheet& sheet, LineKind kind);

  // A line of the writer's kind; a failed write throws a SheetWriteError
  // naming the sheet.
  void WriteLine(std::string_view player, int32_t last_year, const HittingFigures& totals);
  void WriteLine(std::string_view player, int32_t last_year, const PitchingFigures& totals);
  // The line of a group: the year of its last line, its totals.
  template <typename Figures>
  void WriteLine(std::string_view player, const LineGroup<Figures>& group) {
    WriteLine(player, group.lines.back().year, group.totals);
  }

  const Worksheet& sheet() const { return *sheet_; }
  LineKind kind() const { return kind_; }
  // The row of the last line; 0 before the first.
  int32_t last_row() const { return last_row_; }

 private:
  // Starts the next line (the headings first, the first time) and returns
  // its row.
  int32_t StartLine(std::string_view player, int32_t last_year, LineKind kind);
  void FrameLine(int32_t row);

  Worksheet* sheet_;
  LineKind kind_;
  int32_t last_row_ = 0;
};

}  // namespace statcrane
