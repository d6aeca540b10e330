#include "teams/team_summary_writer.h"

#include <string>

#include "teams/league_fill.h"
#include "util/error.h"
#include "workbook/palette.h"

namespace statcrane {

void TeamSummaryWriter::WriteHeadings() {
  WriteHeadingCells(sheet_, 1, layout_.first_column, layout_.columns);
  const CellRange row = CellRange::Row(layout_.first_column, layout_.last_column(), 1);
  if (layout_.sides_on_every_row) DrawMedium(sheet_, row, kSidesAndBottom);
  sheet_.SetFill(row, kSummaryHeaderFill);
  row_ = 1;
}

void TeamSummaryWriter::Write(const TeamSummaryLine& line) {
  try {
    if (row_ == 0) WriteHeadings();
    const int32_t r = ++row_;
    WriteValueCells(sheet_, r, layout_.first_column, layout_.columns, line);
    const CellRange row = CellRange::Row(layout_.first_column, layout_.last_column(), r);
    if (layout_.sides_on_every_row) DrawMedium(sheet_, row, kSidesAndBottom);
    FillWithLeagueColour(sheet_, row, line.colour);
  } catch (const StatCraneError& error) {
    throw StatCraneError("writing the team \"" + line.team_name + "\" on the sheet \"" +
                         sheet_.name() + "\": " + error.message());
  }
}

void TeamSummaryWriter::Finish() {
  if (!layout_.frame_when_finished || row_ == 0) return;
  FrameMedium(sheet_, CellRange{1, layout_.first_column, row_, layout_.last_column()});
}

}  // namespace statcrane
