#include "app/index_writer.h"

#include <algorithm>
#include <string>

#include "teams/league_fill.h"
#include "util/error.h"

namespace statcrane {
namespace {

constexpr int32_t kName = 1, kId = 2, kFirstYear = 3, kLastYear = 4, kSheet = 5;
// How the applications show a link: blue, underlined.
constexpr Rgb kLinkColor = 0x0563C1;

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
  const std::string_view headings[] = {"Name", "Id", "First Yr", "Last Yr", "Sheet"};
  for (int32_t col = kName; col <= kSheet; ++col) {
    sheet_.SetText(CellRange::Cell(col, 1), headings[col - 1]);
  }
  const CellRange row = CellRange::Row(kName, kSheet, 1);
  sheet_.SetBold(row, true);
  sheet_.SetFill(row, kSummaryHeaderFill);
  // Over the numbers.
  sheet_.SetAlignment(CellRange::Row(kId, kLastYear, 1), HorizontalAlignment::kRight);
  sheet_.SetAlignment(CellRange::Cell(kSheet, 1), HorizontalAlignment::kCenter);
}

void IndexWriter::AddPlayer(const PlacedPlayerBlock& placed) {
  const PlayerBlock& block = placed.block;
  Years years;
  for (const SectionLines& section : block.sections) {
    AddYears(section.hitting, years);
    AddYears(section.pitching, years);
  }
  try {
    AddLine(block.name, block.player_id, years.first, years.last, placed.sheet, placed.rows.first);
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
    AddLine(block.team_name, block.team_id, years.first, years.last, placed.sheet,
            placed.rows.first);
  } catch (const StatCraneError& error) {
    throw StatCraneError("writing the team \"" + block.team_name + "\" (team id " +
                         std::to_string(block.team_id) + ") on the sheet \"" + sheet_.name() +
                         "\": " + error.message());
  }
}

void IndexWriter::AddLine(std::string_view name, int32_t id, int32_t first_year, int32_t last_year,
                          const Worksheet& target, int32_t target_row) {
  const int32_t row = row_ + 1;
  sheet_.SetText(CellRange::Cell(kName, row), name);
  sheet_.SetLink(row, kName, target.name(), target_row, 1);
  sheet_.SetFontColor(CellRange::Cell(kName, row), kLinkColor);
  sheet_.SetUnderline(CellRange::Cell(kName, row), true);
  sheet_.SetNumber(CellRange::Cell(kId, row), id);
  if (first_year != 0) {
    sheet_.SetNumber(CellRange::Cell(kFirstYear, row), first_year);
    sheet_.SetNumber(CellRange::Cell(kLastYear, row), last_year);
  }
  sheet_.SetText(CellRange::Cell(kSheet, row), target.name());
  // Apart from the last year before it.
  sheet_.SetAlignment(CellRange::Cell(kSheet, row), HorizontalAlignment::kCenter);
  row_ = row;
}

}  // namespace statcrane
