// Filling cells with a league's colour.
#pragma once

#include <optional>

#include "workbook/cell_range.h"
#include "workbook/workbook.h"

namespace statcrane {

// Sets the fill of `range` to the league colour; a league without a colour
// leaves the cells as they are.
inline void FillWithLeagueColour(Worksheet& sheet, const CellRange& range,
                                 std::optional<int> colour) {
  if (colour) sheet.SetFillColorIndex(range, *colour);
}

}  // namespace statcrane
