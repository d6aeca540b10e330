#include "players/figure_cells.h"

#include <initializer_list>

namespace statcrane {
namespace {

// Numbers in consecutive cells from column `first` on.
void WriteNumbers(Worksheet& sheet, int32_t row, int first, std::initializer_list<int64_t> values) {
  int col = first;
  for (int64_t v : values) sheet.SetNumber(CellRange::Cell(col++, row), static_cast<double>(v));
}

void WriteFormatted(Worksheet& sheet, int32_t row, int col, double value, std::string_view format) {
  const CellRange cell = CellRange::Cell(col, row);
  sheet.SetNumber(cell, value);
  sheet.SetNumberFormat(cell, format);
}

}  // namespace

void WriteHittingFigures(Worksheet& sheet, int32_t row, int first, const HittingFigures& f) {
  const HittingRates& r = f.rates;
  WriteFormatted(sheet, row, first, r.batting_average, kRateFormat);
  WriteFormatted(sheet, row, first + 1, r.on_base_percentage, kRateFormat);
  WriteFormatted(sheet, row, first + 2, r.slugging_percentage, kRateFormat);
  const HittingCounts& c = f.counts;
  WriteNumbers(sheet, row, first + 3,
               {c.at_bats, c.hits, c.doubles, c.triples, c.home_runs, c.runs, c.runs_batted_in,
                c.hit_by_pitch, c.walks, c.strikeouts, c.stolen_bases, c.caught_stealing,
                c.sacrifice_hits, c.sacrifice_flies, c.total_bases});
}

void WritePitchingFigures(Worksheet& sheet, int32_t row, int first, const PitchingFigures& f) {
  const PitchingCounts& c = f.counts;
  const PitchingRates& r = f.rates;
  WriteFormatted(sheet, row, first, r.earned_run_average, kEraFormat);
  WriteNumbers(sheet, row, first + 1, {c.wins, c.losses});
  WriteFormatted(sheet, row, first + 3, r.winning_percentage, kRateFormat);
  WriteNumbers(sheet, row, first + 4,
               {c.saves, c.games, c.games_started, c.complete_games, c.shutouts});
  sheet.SetNumber(CellRange::Cell(InningsColumn(first), row), f.innings);
  WriteNumbers(sheet, row, first + 10, {c.hits_allowed});
  WriteFormatted(sheet, row, first + 11, r.opponents_batting_average, kRateFormat);
  WriteNumbers(sheet, row, first + 12,
               {c.runs_allowed, c.earned_runs, c.walks_allowed, c.strikeouts, c.home_runs_allowed,
                c.double_plays_induced});
}

void WriteHeadings(Worksheet& sheet, int32_t row, int first,
                   std::initializer_list<std::string_view> texts) {
  int col = first;
  for (std::string_view text : texts) {
    const CellRange cell = CellRange::Cell(col++, row);
    sheet.SetText(cell, text);
    sheet.SetAlignment(cell, HorizontalAlignment::kRight);
  }
}

}  // namespace statcrane
