// The "Index" sheet, on request: every player and every team written, each
// with a link to the first row of its block, so that any of them is one
// click away in a workbook of many thousand rows.
#pragma once

#include <cstdint>
#include <string_view>

#include "players/player_walk.h"
#include "teams/team_phase.h"
#include "workbook/workbook.h"

namespace statcrane {

// Writes the index: the headings "Name", "Id", "First Yr", "Last Yr",
// "Sheet" in row 1 (bold, on the summary headings' fill), then one line per
// block in the order the blocks were written (the players in the order of
// the letter sheets, then the teams of "Team Records"): the name as the
// block shows it, a link (blue, underlined) to the block's first row (the
// player's name row, the team's title row); the player's or team's id; the first and last year
// of the block's lines; the sheet it is on (centred, as its heading).
class IndexWriter {
 public:
  // Writes the headings.
  explicit IndexWriter(Worksheet& sheet);

  // An error names the sheet and the player or team.
  void AddPlayer(const PlacedPlayerBlock& placed);
  void AddTeam(const PlacedTeamBlock& placed);

  // The row of the last line; 1 (the headings) before the first.
  int32_t last_row() const { return row_; }

 private:
  // Years of 0 are left out (a block without lines of a known kind).
  void AddLine(std::string_view name, int32_t id, int32_t first_year, int32_t last_year,
               const Worksheet& target, int32_t target_row);

  Worksheet& sheet_;
  int32_t row_ = 1;
};

}  // namespace statcrane
