// The letter sheets "A" to "Z" and "#": one block per player, one after the
// other with an empty row between them.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>

#include "players/figure_columns.h"
#include "players/player_block.h"
#include "workbook/sheet_columns.h"
#include "workbook/workbook.h"

namespace statcrane {

// The columns before the figures of a season line: Year, Team, Age.
template <typename Figures>
inline constexpr std::array<SheetColumn<SeasonLine<Figures>>, 3> kLetterLeadColumns = {{
    {"Year",
     [](const SeasonLine<Figures>& l) -> CellValue { return static_cast<double>(l.year); },
     {},
     HorizontalAlignment::kRight},
    {"Team",
     [](const SeasonLine<Figures>& l) -> CellValue { return l.club; },
     {},
     HorizontalAlignment::kRight},
    {"Age",
     [](const SeasonLine<Figures>& l) -> CellValue { return static_cast<double>(l.age); },
     {},
     HorizontalAlignment::kRight},
}};
inline constexpr int32_t kLetterLeadCount = 3;

// The last column of a line of the kind of figures (U for 18 figures).
template <typename Figures>
constexpr Column LetterLastColumn() {
  return Column(kLetterLeadCount + static_cast<int32_t>(FigureColumns<Figures>().size()));
}
// The last column of the widest kind: the extent of the name row.
inline constexpr Column kLetterBlockLastColumn =
    std::max(LetterLastColumn<HittingFigures>(), LetterLastColumn<PitchingFigures>());

// Writes the blocks of one letter sheet. A block:
//  - the name row: the name merged over A:E, the player id merged over the
//    last four columns of the widest kind of line (R:U), bold, size 12,
//    framed in medium lines;
//  - the regular season: for each kind of line it holds, in the order of
//    their first lines, a sub-section: a heading row (the kind's column
//    headings framed on the kind's fill; the first heading also colours the
//    two merged cells of the name row), the lines, the totals line;
//  - each post-season series: for each kind of line it holds, a title row
//    ("- - L D S - -" and so on, A:C merged, on the kind's fill), the lines,
//    the totals line.
// A line has Year, Team and Age, then its figures (figure_columns.h),
// between medium side lines; a totals line has "Totals" and the figures of
// its group's totals under a medium line, framed in red from B to the kind's
// last column (U for 18 figures). Rows and frames of a kind reach its last
// column. A section without lines
// writes nothing. One empty row follows each block. The sheet keeps each
// block's rows together when printed (Worksheet::KeepRowsTogether).
class LetterSheetWriter {
 public:
  // The first block starts at `first_row`.
  explicit LetterSheetWriter(Worksheet& sheet, Row first_row = Row(1));

  // Writes the block at the next row and returns its rows (the name row
  // first). A failed write throws the sheet's SheetError.
  RowSpan WriteBlock(const PlayerBlock& block);

  const Worksheet& sheet() const { return *sheet_; }
  // The row the next block starts at.
  Row next_row() const { return next_row_; }

 private:
  Worksheet* sheet_;
  Row next_row_;
};

}  // namespace statcrane
