// The player summary sheets ("HitRegTotals", "PitchWSTotals", ...): one per
// section and line kind, with one line per player and section.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "players/figure_columns.h"
#include "players/player_block.h"
#include "workbook/sheet_columns.h"
#include "workbook/workbook.h"

namespace statcrane {

// What a summary line shows before the figures.
struct SummaryLead {
  std::string_view player;
  int32_t last_year = 0;
};
inline constexpr std::array<SheetColumn<SummaryLead>, 2> kSummaryLeadColumns = {{
    {"Player",
     [](const SummaryLead& l) -> CellValue { return l.player; },
     {},
     HorizontalAlignment::kRight},
    {"Last Yr",
     [](const SummaryLead& l) -> CellValue { return static_cast<double>(l.last_year); },
     {},
     HorizontalAlignment::kRight},
}};

// The last column of a summary line of the kind of figures (T for 18).
template <typename Figures>
constexpr Column SummaryLastColumn() {
  return Column(static_cast<int32_t>(kSummaryLeadColumns.size() + FigureColumns<Figures>().size()));
}

// Writes the lines of one summary sheet: the column headings in row 1
// (right-aligned, before the first line), then from row 2 on one line per
// call: Player, Last Yr, then the figures of the totals (figure_columns.h),
// framed in medium lines.
class PlayerSummaryWriter {
 public:
  PlayerSummaryWriter(Worksheet& sheet, LineKind kind);

  // A line of the writer's kind; a failed write throws the sheet's SheetError.
  void WriteLine(std::string_view player, int32_t last_year, const HittingFigures& totals) {
    Write(SummaryLead{player, last_year}, totals);
  }
  void WriteLine(std::string_view player, int32_t last_year, const PitchingFigures& totals) {
    Write(SummaryLead{player, last_year}, totals);
  }
  // The line of a group: the year of its last line, its totals.
  template <typename Figures>
  void WriteLine(std::string_view player, const LineGroup<Figures>& group) {
    WriteLine(player, group.lines.back().year, group.totals);
  }

  const Worksheet& sheet() const { return *sheet_; }
  LineKind kind() const { return kind_; }
  // The row of the last line; Row(0) before the first.
  Row last_row() const { return last_row_; }

 private:
  template <typename Figures>
  void Write(const SummaryLead& lead, const Figures& totals);

  Worksheet* sheet_;
  LineKind kind_;
  Row last_row_;
};

}  // namespace statcrane
