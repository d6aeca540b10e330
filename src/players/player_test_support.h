// Shared by the player tests.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "app/sheet_layout.h"
#include "players/letter_sheets.h"
#include "players/player_block.h"
#include "workbook/workbook.h"

namespace statcrane {

// The player sheets of a run, named and ordered by the run's sheet table,
// in a workbook of their own.
inline PlayerSheets AddPlayerSheets(Workbook& book) {
  return SheetLayout(book, SheetChoice::kPlayersOnly).player_sheets();
}

// The sheet of that name; it must exist.
inline Worksheet& SheetNamed(Workbook& book, std::string_view name) {
  Worksheet* sheet = book.FindSheet(name);
  if (sheet == nullptr) throw std::logic_error("no sheet " + std::string(name));
  return *sheet;
}

// A line of a block written by hand, club "NY", age 28.
inline HittingLine HittingLineOf(int32_t year, const HittingCounts& counts) {
  return HittingLine{year, "NY", 28, HittingFiguresOf(counts)};
}
inline PitchingLine PitchingLineOf(int32_t year, const PitchingCounts& counts) {
  return PitchingLine{year, "NY", 28, PitchingFiguresOf(counts)};
}

// Appends a line to a section of a block written by hand, as the block
// builder appends the next record of the section.
inline void AppendLine(SectionLines& section, const HittingLine& line) {
  section.hitting.lines.push_back(line);
  HittingCounts totals = section.hitting.totals.counts;
  totals += line.figures.counts;
  section.hitting.totals = HittingFiguresOf(totals);
  if (section.hitting.lines.size() == 1) section.kinds.push_back(LineKind::kHitting);
}
inline void AppendLine(SectionLines& section, const PitchingLine& line) {
  section.pitching.lines.push_back(line);
  PitchingCounts totals = section.pitching.totals.counts;
  totals += line.figures.counts;
  section.pitching.totals = PitchingFiguresOf(totals);
  if (section.pitching.lines.size() == 1) section.kinds.push_back(LineKind::kPitching);
}

}  // namespace statcrane
