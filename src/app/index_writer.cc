#include "app/index_writer.h"

#include <algorithm>
#include <span>
#include <string>

#include "util/error.h"
#include "workbook/palette.h"

namespace statcrane {
namespace {

constexpr std::span<const SheetColumn<IndexLine, IndexGroup>> kColumns = kIndexColumns;
constexpr int32_t kLast = LastColumnOf(1, kColumns);

struct Years {
  int32_t first = 0;
  int32_t last = 0;
  void Add(int32_t year) {
    first = first == 0 ? year : std::min(first, year);
    last = std::max(last, year);
  }
};

template <typename Figures>
void AddYears(const LineGroup<Figures>& group, Years& years) {
  for (const SeasonLine<Figures>& line : group.lines) years.Add(line.year);
}

}  // namespace

IndexWriter::IndexWriter(Worksheet& sheet) : sheet_(sheet) {
  WriteHeadingCells(sheet_, 1, 1, kColumns);
  const CellRange row = CellRange::Row(1, kLast, 1);
  sheet_.SetBold(row, true);
  sheet_.SetFill(row, kSummaryHeaderFill);
}

void IndexWriter::AddPlayer(const PlacedPlayerBlock& placed) {
  const PlayerBlock& block = placed.block;
  Years years;
  for (const SectionLines& section : block.sections) {
    AddYears(section.hitting, years);
    AddYears(section.pitching, years);
  }
  try {
    AddLine({block.name, block.player_id, years.first, years.last, placed.sheet.name()},
            placed.rows.first);
  } catch (const StatCraneError& error) {
    throw StatCraneError("writing the player " + block.name + " (player id " +
                         std::to_string(block.player_id) + ") on the sheet \"" + sheet_.name() +
                         "\": " + error.message());
  }
}

void IndexWriter::AddTeam(const PlacedTeamBlock& placed) {
  const TeamBlock& block = placed.block;
  Years years;
  for (const RegularSeasonRow& season : block.seasons) years.Add(season.year);
  try {
    AddLine({block.team_name, block.team_id, years.first, years.last, placed.sheet.name()},
            placed.rows.first);
  } catch (const StatCraneError& error) {
    throw StatCraneError("writing the team \"" + block.team_name + "\" (team id " +
                         std::to_string(block.team_id) + ") on the sheet \"" + sheet_.name() +
                         "\": " + error.message());
  }
}

void IndexWriter::AddLine(const IndexLine& line, int32_t target_row) {
  const int32_t row = row_ + 1;
  WriteValueCells(sheet_, row, 1, kColumns, line);
  int32_t col = 1;
  for (const auto& column : kColumns) {
    if (column.group == IndexGroup::kLink) LinkToRow(sheet_, row, col, line.sheet, target_row);
    ++col;
  }
  // Apart from the last year before it.
  sheet_.SetAlignment(CellRange::Cell(kLast, row), HorizontalAlignment::kCenter);
  row_ = row;
}

}  // namespace statcrane
