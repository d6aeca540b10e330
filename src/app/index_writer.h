// The "Index" sheet, on request: every player and every team written, each
// with a link to the first row of its block, so that any of them is one
// click away in a workbook of many thousand rows.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "players/player_walk.h"
#include "teams/team_phase.h"
#include "workbook/sheet_columns.h"
#include "workbook/workbook.h"

namespace statcrane {

// What a line of the index shows.
struct IndexLine {
  std::string_view name;
  int32_t id = 0;
  int32_t first_year = 0;  // 0 (with last_year) when the block has no lines
  int32_t last_year = 0;
  std::string_view sheet;  // the sheet of the block
};

// The column whose cells link to the block.
enum class IndexGroup { kPlain, kLink };

inline constexpr std::array<SheetColumn<IndexLine, IndexGroup>, 5> kIndexColumns = {{
    {"Name", [](const IndexLine& l) -> CellValue { return l.name; }, {}, {}, IndexGroup::kLink},
    {"Id",
     [](const IndexLine& l) -> CellValue { return static_cast<double>(l.id); },
     {},
     HorizontalAlignment::kRight},
    {"First Yr",
     [](const IndexLine& l) -> CellValue {
       if (l.first_year == 0) return {};
       return static_cast<double>(l.first_year);
     },
     {},
     HorizontalAlignment::kRight},
    {"Last Yr",
     [](const IndexLine& l) -> CellValue {
       if (l.first_year == 0) return {};
       return static_cast<double>(l.last_year);
     },
     {},
     HorizontalAlignment::kRight},
    // Centred, heading and letters, apart from the last year before it.
    {"Sheet",
     [](const IndexLine& l) -> CellValue { return l.sheet; },
     {},
     HorizontalAlignment::kCenter},
}};

// Writes the index: the headings of kIndexColumns ("Name", "Id", "First Yr",
// "Last Yr", "Sheet") in row 1 (bold, on the summary headings' fill, those
// over numbers right-aligned), then one line per
// block in the order the blocks were written (the players in the order of
// the letter sheets, then the teams of "Team Records"): the name as the
// block shows it, a link (blue, underlined) to the block's first row (the
// player's name row, the team's title row); the player's or team's id; the first and last year
// of the block's lines; the sheet it is on (centred, as its heading).
class IndexWriter {
 public:
  // Writes the headings.
  explicit IndexWriter(Worksheet& sheet);

  // A failed write throws the sheet's SheetError.
  void AddPlayer(const PlacedPlayerBlock& placed);
  void AddTeam(const PlacedTeamBlock& placed);

  // The row of the last line; 1 (the headings) before the first.
  Row last_row() const { return row_; }

 private:
  // Years of 0 are left out (a block without lines of a known kind).
  void AddLine(const IndexLine& line, Row target_row);

  Worksheet& sheet_;
  Row row_{1};
};

}  // namespace statcrane
