// The writer of "Team Records": one block per team, blocks one blank row
// apart. A block is a title row (the team's name merged over A:C, bold, 12
// points) and a heading row (A:N, bold; the columns of kTeamRecordsColumns),
// both in the block's colour and
// framed in medium lines; one row per regular season, outlined in medium
// lines; a totals row; then for each series the team played in, one row per
// season in the series (the series title in A:C of the first) and a series
// totals row. The sheet keeps each block's rows together when printed
// (Worksheet::KeepRowsTogether).
#pragma once

#include <cstdint>

#include "teams/team_blocks.h"
#include "workbook/workbook.h"

namespace statcrane {

class TeamRecordsWriter {
 public:
  explicit TeamRecordsWriter(Worksheet& sheet) : sheet_(sheet) {}

  // Writes the block below the last one (the first block from row 1) and
  // returns its rows (the title row first). A failed write throws the
  // sheet's SheetError (the team phase names the team).
  RowSpan Write(const TeamBlock& block);

  const Worksheet& sheet() const { return sheet_; }

  // The last row written; 0 before the first block.
  Row last_row() const { return row_; }

 private:
  void WriteTitleAndHeadings(const TeamBlock& block);
  void WriteSeasonRow(const RegularSeasonRow& season);
  void WriteTotalsRow(const TeamFigures& totals);
  void WriteSeries(const SeriesRecord& series);

  Worksheet& sheet_;
  Row row_;
};

}  // namespace statcrane
