// The figures of a hitting or pitching line as a run of cells, and their
// column headings: a letter-sheet line puts them after Year, Team and Age, a
// summary line after Player and Last Yr.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "players/season_figures.h"
#include "workbook/workbook.h"

namespace statcrane {

inline constexpr int kFigureColumns = 18;

inline constexpr std::array<std::string_view, kFigureColumns> kHittingFigureHeadings = {
    "BAVG", "OBP", "SPC", "AB", "H",  "2B", "3B", "HR", "R",
    "RBI",  "HBP", "BB",  "K",  "SB", "CS", "SH", "SF", "TB"};
inline constexpr std::array<std::string_view, kFigureColumns> kPitchingFigureHeadings = {
    "ERA", "W", "L",   "PCT", "SV", "G",  "GS", "CG", "SHO",
    "IP",  "H", "OBA", "R",   "ER", "BB", "K",  "HR", "GDP"};

// Three-decimal rates (BAVG, OBP, SPC, PCT, OBA) and ERA.
inline constexpr std::string_view kRateFormat = "#.000";
inline constexpr std::string_view kEraFormat = "##0.00";

// BAVG, OBP and SPC with the rate format, then the fifteen counts, from
// column `first` on.
void WriteHittingFigures(Worksheet& sheet, int32_t row, int first, const HittingFigures& figures);
// ERA, W, L, PCT, SV, G, GS, CG, SHO, IP, H, OBA, R, ER, BB, K, HR, GDP from
// column `first` on, the rates with their formats; IP gets none.
void WritePitchingFigures(Worksheet& sheet, int32_t row, int first, const PitchingFigures& figures);
// The innings column of the figures that start at column `first`.
inline constexpr int InningsColumn(int first) { return first + 9; }

// Texts in consecutive cells of a row from column `first` on, right-aligned.
void WriteHeadings(Worksheet& sheet, int32_t row, int first,
                   std::initializer_list<std::string_view> texts);
template <size_t N>
void WriteHeadings(Worksheet& sheet, int32_t row, int first,
                   const std::array<std::string_view, N>& texts) {
  for (size_t i = 0; i < N; ++i) {
    const CellRange cell = CellRange::Cell(first + static_cast<int>(i), row);
    sheet.SetText(cell, texts[i]);
    sheet.SetAlignment(cell, HorizontalAlignment::kRight);
  }
}

}  // namespace statcrane
