// Filling cells with a league's colour.
#pragma once

#include <optional>

#include "encyclopedia/league_files.h"
#include "workbook/cell_range.h"
#include "workbook/workbook.h"

namespace statcrane {

// The palette index of a league's fill: #FF99CC (38) for the first league,
// #99CCFF (37) for the second; none for the others.
inline std::optional<int> LeagueFill(LeagueColour colour) {
  switch (colour) {
    case LeagueColour::kFirstLeague:
      return 38;
    case LeagueColour::kSecondLeague:
      return 37;
    case LeagueColour::kNone:
      break;
  }
  return std::nullopt;
}

// Sets the fill of `range` to the league colour; a league without a colour
// leaves the cells as they are.
inline void FillWithLeagueColour(Worksheet& sheet, const CellRange& range,
                                 std::optional<int> colour) {
  if (colour) sheet.SetFillColorIndex(range, *colour);
}

}  // namespace statcrane
