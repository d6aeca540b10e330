// The fills of the team sheets: the summary heading fill and the league
// colours.
#pragma once

#include <optional>

#include "workbook/cell_range.h"
#include "workbook/cell_style.h"
#include "workbook/workbook.h"

namespace statcrane {

inline constexpr Rgb kSummaryHeaderFill = 0xFFFF99;
inline constexpr Rgb kFirstLeagueFill = 0xFF99CC;
inline constexpr Rgb kSecondLeagueFill = 0x99CCFF;

// The fill of a league colour of the league table (38: the first league,
// 37: the second).
inline Rgb LeagueFill(int league_colour) {
  return league_colour == 38 ? kFirstLeagueFill : kSecondLeagueFill;
}

// Sets the fill of `range` to the league colour; a league without a colour
// leaves the cells as they are.
inline void FillWithLeagueColour(Worksheet& sheet, const CellRange& range,
                                 std::optional<int> colour) {
  if (colour) sheet.SetFill(range, LeagueFill(*colour));
}

}  // namespace statcrane
