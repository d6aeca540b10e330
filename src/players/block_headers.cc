#include "players/block_headers.h"

#include <array>
#include <initializer_list>
#include <string_view>
#include <utility>

#include "workbook/cell_style.h"

namespace statcrane {
namespace {

constexpr int kA = 1, kB = 2, kC = 3, kE = 5, kR = 18, kU = 21;

constexpr std::array<std::string_view, 21> kHittingHeadings = {
    "Year", "Team", "Age", "BAVG", "OBP", "SPC", "AB", "H",  "2B", "3B", "HR",
    "R",    "RBI",  "HBP", "BB",   "K",   "SB",  "CS", "SH", "SF", "TB"};
constexpr std::array<std::string_view, 21> kPitchingHeadings = {
    "Year", "Team", "Age", "ERA", "W", "L",  "PCT", "SV", "G",  "GS", "CG",
    "SHO",  "IP",   "H",   "OBA", "R", "ER", "BB",  "K",  "HR", "GDP"};
constexpr std::array<std::string_view, 20> kHitSumHeadings = {
    "Player", "Last Yr", "BAVG", "OBP", "SPC", "AB", "H",  "2B", "3B", "HR",
    "R",      "RBI",     "HBP",  "BB",  "K",   "SB", "CS", "SH", "SF", "TB"};
constexpr std::array<std::string_view, 20> kPitchSumHeadings = {
    "Player", "Last Yr", "ERA", "W",   "L", "PCT", "SV", "G", "GS", "CG",
    "SHO",    "IP",      "H",   "OBA", "R", "ER",  "BB", "K", "HR", "GDP"};

using Side = std::pair<CellRange, BorderSide>;

// Medium lines on the sides.
void DrawMedium(Worksheet& sheet, std::initializer_list<Side> sides) {
  for (const auto& [range, side] : sides) sheet.SetBorder(range, side, LineStyle::kMedium);
}

template <size_t N>
void WriteHeadings(Worksheet& sheet, int32_t row, const std::array<std::string_view, N>& texts) {
  for (size_t i = 0; i < N; ++i) {
    const CellRange cell = CellRange::Cell(static_cast<int32_t>(i) + 1, row);
    sheet.SetText(cell, texts[i]);
    sheet.SetAlignment(cell, HorizontalAlignment::kRight);
  }
}

// The heading row at CurrentRow, filled, with the two merged cells of the
// name row above filled alike.
void FillHeadingAndNameRow(Worksheet& sheet, int32_t row, Rgb fill) {
  sheet.SetFill(CellRange::Row(kA, kU, row), fill);
  sheet.SetFill(CellRange::Row(kA, kE, row - 1), fill);
  sheet.SetFill(CellRange::Row(kR, kU, row - 1), fill);
}

}  // namespace

void Name_Header(Worksheet& sheet, const LineState& line, int32_t player_id) {
  const int32_t r = line.CurrentRow;
  sheet.Select(CellRange::Cell(kA, r));
  sheet.Merge(CellRange::Row(kA, kE, r));
  sheet.SetText(CellRange::Cell(kA, r), line.CurrentPlayerName);
  sheet.Merge(CellRange::Row(kR, kU, r));
  sheet.SetNumber(CellRange::Cell(kR, r), player_id);
  sheet.SetBold(CellRange::Row(kA, kU, r), true);
  sheet.SetFontSize(CellRange::Row(kA, kU, r), 12);
  HEADER_BORDER(sheet, r);
}

void HEADER_BORDER(Worksheet& sheet, int32_t row) {
  const CellRange name = CellRange::Row(kA, kE, row);
  const CellRange id = CellRange::Row(kR, kU, row);
  DrawMedium(sheet, {{name, BorderSide::kTop},
                     {name, BorderSide::kLeft},
                     {name, BorderSide::kRight},
                     {id, BorderSide::kTop},
                     {id, BorderSide::kLeft},
                     {id, BorderSide::kRight},
                     {CellRange::Row(kA, kU, row), BorderSide::kBottom}});
}

void Hitting_Header(Worksheet& sheet, LineState& line) {
  const int32_t r = line.CurrentRow;
  WriteHeadings(sheet, r, kHittingHeadings);
  const CellRange row = CellRange::Row(kA, kU, r);
  for (BorderSide side : kAllSides) sheet.SetBorder(row, side, LineStyle::kMedium);
  FillHeadingAndNameRow(sheet, r, kHittingFill);
  ++line.CurrentRow;
}

void Pitching_Header(Worksheet& sheet, LineState& line) {
  const int32_t r = line.CurrentRow;
  WriteHeadings(sheet, r, kPitchingHeadings);
  const CellRange row = CellRange::Row(kA, kU, r);
  for (BorderSide side : kAllSides) sheet.SetBorder(row, side, LineStyle::kMedium);
  FillHeadingAndNameRow(sheet, r, kPitchingFill);
  ++line.CurrentRow;
}

void postseason_border(Worksheet& sheet, int32_t row) {
  const CellRange title = CellRange::Row(kA, kC, row);
  DrawMedium(sheet, {{title, BorderSide::kTop},
                     {title, BorderSide::kLeft},
                     {title, BorderSide::kRight},
                     {CellRange::Row(kA, kU, row), BorderSide::kBottom}});
}

void TotalsLineBorders(Worksheet& sheet, int32_t row) {
  sheet.SetBorder(CellRange::Row(kA, kU, row), BorderSide::kTop, LineStyle::kMedium);
  const CellRange frame = CellRange::Row(kB, kU, row);
  for (BorderSide side : {BorderSide::kBottom, BorderSide::kRight, BorderSide::kLeft}) {
    sheet.SetBorder(frame, side, LineStyle::kMedium, kRed);
  }
}

void HitSumHeader(Worksheet& sheet, int32_t row) { WriteHeadings(sheet, row, kHitSumHeadings); }

void PitchSumHeader(Worksheet& sheet, int32_t row) { WriteHeadings(sheet, row, kPitchSumHeadings); }

}  // namespace statcrane
