#include "teams/team_summary_writer.h"

#include <string>

#include "teams/league_fill.h"
#include "util/error.h"
#include "workbook/palette.h"

namespace statcrane {

void TeamSummaryWriter::WriteHeadings() {
  WriteHeadingCells(sheet_, Row(1), layout_.first_column, layout_.columns);
  const CellRange row = CellRange::Across(Row(1), layout_.first_column, layout_.last_column());
  if (layout_.sides_on_every_row) DrawMedium(sheet_, row, kSidesAndBottom);
  sheet_.SetFill(row, kSummaryHeaderFill);
  row_ = Row(1);
}

void TeamSummaryWriter::Write(const TeamSummaryLine& line) {
  if (row_ == Row()) WriteHeadings();
  const Row r = ++row_;
  WriteValueCells(sheet_, r, layout_.first_column, layout_.columns, line);
  const CellRange row = CellRange::Across(r, layout_.first_column, layout_.last_column());
  if (layout_.sides_on_every_row) DrawMedium(sheet_, row, kSidesAndBottom);
  FillWithLeagueColour(sheet_, row, line.colour);
}

void TeamSummaryWriter::Finish() {
  if (!layout_.frame_when_finished || row_ == Row()) return;
  FrameMedium(sheet_, CellRange(Row(1), layout_.first_column, row_, layout_.last_column()));
}

}  // namespace statcrane
