#include "app/index_writer.h"

#include <algorithm>
#include <span>
#include <string>

#include "util/error.h"
#include "workbook/palette.h"

namespace statcrane {
namespace {

constexpr std::span<const SheetColumn<IndexLine, IndexGroup>> kColumns = kIndexColumns;
constexpr Column kA("A");
constexpr Column kLast = LastColumnOf(kA, kColumns);

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
  WriteHeadingCells(sheet_, Row(1), kA, kColumns);
  const CellRange row = CellRange::Across(Row(1), kA, kLast);
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
  AddLine({block.name, block.player_id, years.first, years.last, placed.sheet.name()},
          placed.rows.first);
}

void IndexWriter::AddTeam(const PlacedTeamBlock& placed) {
  const TeamBlock& block = placed.block;
  Years years;
  for (const RegularSeasonRow& season : block.seasons) years.Add(season.year);
  AddLine({block.team_name, block.team_id, years.first, years.last, placed.sheet.name()},
          placed.rows.first);
}

void IndexWriter::AddLine(const IndexLine& line, Row target_row) {
  const Row row = row_ + 1;
  WriteValueCells(sheet_, row, kA, kColumns, line);
  Column col = kA;
  for (const auto& column : kColumns) {
    if (column.group == IndexGroup::kLink) {
      const CellRange cell = CellRange::Cell(row, col);
      sheet_.SetLink(row, col, line.sheet, target_row, kA);
      sheet_.SetFontColor(cell, kLinkColor);
      sheet_.SetUnderline(cell, true);
    }
    ++col;
  }
  // Apart from the last year before it.
  sheet_.SetAlignment(CellRange::Cell(row, kLast), HorizontalAlignment::kCenter);
  row_ = row;
}

}  // namespace statcrane
