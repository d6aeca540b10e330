// The writer of a team summary sheet: "TeamRegTotals" (every team's
// regular-season totals) or one of the post-season sheets "TeamDCSTotals",
// "TeamLCSTotals", "TeamWSTotals" (the totals of every team that played in
// the series). A heading row in row 1, written before the first line, then
// one line per team: its name, then Won, Lost, Pct ("#.000"), Scored,
// Allowed, SHO, GDP, LOB (kTeamSummaryColumns), filled with the line's
// league colour.
#pragma once

#include <cstdint>
#include <span>

#include "teams/team_blocks.h"
#include "teams/team_columns.h"
#include "workbook/workbook.h"

namespace statcrane {

// Where the two kinds of summary sheet differ.
struct TeamSummaryLayout {
  Column first_column;  // the team name's; the figures follow
  std::span<const TeamColumn<TeamSummaryLine>> columns;
  bool sides_on_every_row;   // medium right, left and bottom sides
  bool frame_when_finished;  // medium lines on every side of the table

  Column last_column() const { return LastColumnOf(first_column, columns); }
};

inline constexpr auto kSeriesSummaryColumns = WithPctHeading(kTeamSummaryColumns, "PCT");

// "TeamRegTotals": C to K, framed once the last line is in.
inline constexpr TeamSummaryLayout kSeasonTotalsLayout = {Column("C"), kTeamSummaryColumns, false,
                                                          true};
// The post-season sheets: D to L ("PCT"), each row with its sides as it is
// written.
inline constexpr TeamSummaryLayout kSeriesTotalsLayout = {Column("D"), kSeriesSummaryColumns, true,
                                                          false};

class TeamSummaryWriter {
 public:
  TeamSummaryWriter(Worksheet& sheet, const TeamSummaryLayout& layout)
      : sheet_(sheet), layout_(layout) {}

  // Writes the line below the last one, the heading row first when the
  // sheet has none. A failed write throws the sheet's SheetError.
  void Write(const TeamSummaryLine& line);

  // Once the last line is in: the frame of the table when the layout has
  // one (nothing when no line was written).
  void Finish();

  // The last row written; Row(0) while the sheet is empty.
  Row last_row() const { return row_; }

 private:
  void WriteHeadings();

  Worksheet& sheet_;
  TeamSummaryLayout layout_;
  Row row_;
};

}  // namespace statcrane
