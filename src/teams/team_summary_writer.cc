#include "teams/team_summary_writer.h"

#include <string>

#include "teams/league_fill.h"
#include "teams/sheet_cells.h"
#include "teams/winning_pct.h"
#include "util/error.h"
#include "workbook/cell_style.h"

namespace statcrane {
namespace {

// Columns right of the name column: Won 1, Lost 2, Pct 3 ... LOB 8.
constexpr int kPctOffset = 3;
constexpr int kLastOffset = 8;

void MediumSides(Worksheet& sheet, const CellRange& range) {
  for (BorderSide side : {BorderSide::kRight, BorderSide::kLeft, BorderSide::kBottom}) {
    sheet.SetBorder(range, side, LineStyle::kMedium);
  }
}

}  // namespace

void TeamSummaryWriter::WriteHeadings() {
  const std::string_view headings[] = {
      "Team", "Won", "Lost", layout_.pct_heading, "Scored", "Allowed", "SHO", "GDP", "LOB"};
  for (int offset = 0; offset <= kLastOffset; ++offset) {
    sheet_.SetText(Cell(Column(offset), 1), headings[offset]);
  }
  const CellRange row = Cells(Column(0), Column(kLastOffset), 1);
  if (layout_.sides_on_every_row) MediumSides(sheet_, row);
  sheet_.SetFill(row, kSummaryHeaderFill);
  row_ = 1;
}

void TeamSummaryWriter::Write(const TeamSummaryLine& line) {
  try {
    if (row_ == 0) WriteHeadings();
    const int32_t r = ++row_;
    const TeamFigures& f = line.figures;
    const double values[kLastOffset] = {
        static_cast<double>(f.won),    static_cast<double>(f.lost),    WinningPct(f.won, f.lost),
        static_cast<double>(f.scored), static_cast<double>(f.allowed), static_cast<double>(f.sho),
        static_cast<double>(f.gdp),    static_cast<double>(f.lob)};
    sheet_.SetNumberFormat(Cell(Column(kPctOffset), r), "#.000");
    sheet_.SetText(Cell(Column(0), r), line.team_name);
    for (int offset = 1; offset <= kLastOffset; ++offset) {
      sheet_.SetNumber(Cell(Column(offset), r), values[offset - 1]);
    }
    const CellRange row = Cells(Column(0), Column(kLastOffset), r);
    if (layout_.sides_on_every_row) MediumSides(sheet_, row);
    FillWithLeagueColour(sheet_, row, line.colour);
  } catch (const StatCraneError& error) {
    throw StatCraneError("writing the team \"" + line.team_name + "\" on the sheet \"" +
                         sheet_.name() + "\": " + error.message());
  }
}

void TeamSummaryWriter::Finish() {
  if (!layout_.frame_when_finished || row_ == 0) return;
  const CellRange table = Block(Column(0), 1, Column(kLastOffset), row_);
  for (BorderSide side : kAllSides) sheet_.SetBorder(table, side, LineStyle::kMedium);
}

}  // namespace statcrane
