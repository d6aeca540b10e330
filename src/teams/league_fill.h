// The league colours of the team sheets as fills (workbook/palette.h).
#pragma once

#include <optional>

#include "encyclopedia/league_files.h"
#include "workbook/cell_range.h"
#include "workbook/cell_style.h"
#include "workbook/palette.h"
#include "workbook/workbook.h"

namespace statcrane {

// The fill of a league colour; none for a league without one.
inline std::optional<Rgb> LeagueFill(LeagueColour colour) {
  switch (colour) {
    case LeagueColour::kFirstLeague:
      return kFirstLeagueFill;
    case LeagueColour::kSecondLeague:
      return kSecondLeagueFill;
    case LeagueColour::kNone:
      break;
  }
  return std::nullopt;
}

// Sets the fill of `range` to the league colour; a league without a colour
// leaves the cells as they are.
inline void FillWithLeagueColour(Worksheet& sheet, const CellRange& range, LeagueColour colour) {
  if (const std::optional<Rgb> fill = LeagueFill(colour)) sheet.SetFill(range, *fill);
}

}  // namespace statcrane
