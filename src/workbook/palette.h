// How the sheets look, in one place: the fills and font colours, the font
// sizes, the number formats the writers give numbers, and the medium lines
// they draw. Every sheet writer takes its colours, sizes and formats from
// here.
#pragma once

#include <initializer_list>
#include <optional>
#include <string_view>

#include "workbook/cell_style.h"
#include "workbook/workbook.h"

namespace statcrane {

// Fills.
inline constexpr Rgb kHittingFill = 0xFFFFCC;        // hitting headings and titles
inline constexpr Rgb kPitchingFill = 0xCCFFFF;       // pitching headings and titles
inline constexpr Rgb kSummaryHeaderFill = 0xFFFF99;  // team summary and "Index" headings
inline constexpr Rgb kFirstLeagueFill = 0xFF99CC;    // the league colours of the team sheets
inline constexpr Rgb kSecondLeagueFill = 0x99CCFF;

// Font and line colours.
inline constexpr Rgb kLinkColor = 0x0563C1;  // how the applications show a link
inline constexpr Rgb kTotalsFrame = kRed;    // the frame of totals lines

// Font sizes (the default is 11 points).
inline constexpr double kBlockTitleSize = 12;   // a player's name row, a team's title
inline constexpr double kSeriesTitleSize = 10;  // a post-season title on "Team Records"

// Number formats; a number without one is shown General.
inline constexpr std::string_view kRateFormat = "#.000";   // averages and percentages
inline constexpr std::string_view kEraFormat = "##0.00";   // earned run average
inline constexpr std::string_view kInningsFormat = "0.0";  // innings on the letter sheets' lines

// The sides of a cell other than its top.
inline constexpr std::initializer_list<BorderSide> kSidesAndBottom = {
    BorderSide::kRight, BorderSide::kLeft, BorderSide::kBottom};

// Medium lines on `sides` of every cell of the range, in `color` when given.
inline void DrawMedium(Worksheet& sheet, const CellRange& range,
                       std::initializer_list<BorderSide> sides,
                       std::optional<Rgb> color = std::nullopt) {
  for (BorderSide side : sides) sheet.SetBorder(range, side, LineStyle::kMedium, color);
}

// Medium lines on the four sides of every cell of the range.
inline void FrameMedium(Worksheet& sheet, const CellRange& range,
                        std::optional<Rgb> color = std::nullopt) {
  for (BorderSide side : kAllSides) sheet.SetBorder(range, side, LineStyle::kMedium, color);
}

// Makes the cell at (row, col) a link to column A of `target_row` of the
// sheet `target_sheet`, shown as the applications show a link (blue,
// underlined).
inline void LinkToRow(Worksheet& sheet, Row row, Column col, std::string_view target_sheet,
                      Row target_row) {
  const CellRange cell = CellRange::Cell(row, col);
  sheet.SetLink(row, col, target_sheet, target_row, Column("A"));
  sheet.SetFontColor(cell, kLinkColor);
  sheet.SetUnderline(cell, true);
}

}  // namespace statcrane
