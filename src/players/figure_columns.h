// The columns of a hitting and of a pitching line's figures, one row each:
// heading, value, number format. A letter-sheet line puts them after Year,
// Team and Age, a summary line after Player and Last Yr; hitting and
// pitching may differ in width.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <type_traits>

#include "players/season_figures.h"
#include "workbook/palette.h"
#include "workbook/sheet_columns.h"

namespace statcrane {

// Innings show their tenth (the outs past the last whole inning) on the
// season lines of the letter sheets only; totals and summary lines leave
// them General.
enum class FigureGroup { kRate, kCount, kInnings };

template <typename Figures>
using FigureColumn = SheetColumn<Figures, FigureGroup>;

namespace figure_values {

template <auto kCount, typename Figures>
CellValue Count(const Figures& f) {
  return static_cast<double>(f.counts.*kCount);
}
template <auto kRate, typename Figures>
CellValue Rate(const Figures& f) {
  return f.rates.*kRate;
}
inline CellValue Innings(const PitchingFigures& f) { return f.innings; }

template <auto kCount>
constexpr FigureColumn<HittingFigures> Hit(std::string_view heading) {
  return {
      heading, Count<kCount, HittingFigures>, {}, HorizontalAlignment::kRight, FigureGroup::kCount};
}
template <auto kRate>
constexpr FigureColumn<HittingFigures> HitRate(std::string_view heading) {
  return {heading, Rate<kRate, HittingFigures>, kRateFormat, HorizontalAlignment::kRight,
          FigureGroup::kRate};
}
template <auto kCount>
constexpr FigureColumn<PitchingFigures> Pitch(std::string_view heading) {
  return {heading,
          Count<kCount, PitchingFigures>,
          {},
          HorizontalAlignment::kRight,
          FigureGroup::kCount};
}
template <auto kRate>
constexpr FigureColumn<PitchingFigures> PitchRate(std::string_view heading,
                                                  std::string_view format = kRateFormat) {
  return {heading, Rate<kRate, PitchingFigures>, format, HorizontalAlignment::kRight,
          FigureGroup::kRate};
}

}  // namespace figure_values

inline constexpr auto kHittingColumns = std::to_array<FigureColumn<HittingFigures>>({
    figure_values::HitRate<&HittingRates::batting_average>("BAVG"),
    figure_values::HitRate<&HittingRates::on_base_percentage>("OBP"),
    figure_values::HitRate<&HittingRates::slugging_percentage>("SPC"),
    figure_values::Hit<&HittingCounts::at_bats>("AB"),
    figure_values::Hit<&HittingCounts::hits>("H"),
    figure_values::Hit<&HittingCounts::doubles>("2B"),
    figure_values::Hit<&HittingCounts::triples>("3B"),
    figure_values::Hit<&HittingCounts::home_runs>("HR"),
    figure_values::Hit<&HittingCounts::runs>("R"),
    figure_values::Hit<&HittingCounts::runs_batted_in>("RBI"),
    figure_values::Hit<&HittingCounts::hit_by_pitch>("HBP"),
    figure_values::Hit<&HittingCounts::walks>("BB"),
    figure_values::Hit<&HittingCounts::strikeouts>("K"),
    figure_values::Hit<&HittingCounts::stolen_bases>("SB"),
    figure_values::Hit<&HittingCounts::caught_stealing>("CS"),
    figure_values::Hit<&HittingCounts::sacrifice_hits>("SH"),
    figure_values::Hit<&HittingCounts::sacrifice_flies>("SF"),
    figure_values::Hit<&HittingCounts::total_bases>("TB"),
});

inline constexpr auto kPitchingColumns = std::to_array<FigureColumn<PitchingFigures>>({
    figure_values::PitchRate<&PitchingRates::earned_run_average>("ERA", kEraFormat),
    figure_values::Pitch<&PitchingCounts::wins>("W"),
    figure_values::Pitch<&PitchingCounts::losses>("L"),
    figure_values::PitchRate<&PitchingRates::winning_percentage>("PCT"),
    figure_values::Pitch<&PitchingCounts::saves>("SV"),
    figure_values::Pitch<&PitchingCounts::games>("G"),
    figure_values::Pitch<&PitchingCounts::games_started>("GS"),
    figure_values::Pitch<&PitchingCounts::complete_games>("CG"),
    figure_values::Pitch<&PitchingCounts::shutouts>("SHO"),
    {"IP", figure_values::Innings, {}, HorizontalAlignment::kRight, FigureGroup::kInnings},
    figure_values::Pitch<&PitchingCounts::hits_allowed>("H"),
    figure_values::PitchRate<&PitchingRates::opponents_batting_average>("OBA"),
    figure_values::Pitch<&PitchingCounts::runs_allowed>("R"),
    figure_values::Pitch<&PitchingCounts::earned_runs>("ER"),
    figure_values::Pitch<&PitchingCounts::walks_allowed>("BB"),
    figure_values::Pitch<&PitchingCounts::strikeouts>("K"),
    figure_values::Pitch<&PitchingCounts::home_runs_allowed>("HR"),
    figure_values::Pitch<&PitchingCounts::double_plays_induced>("GDP"),
});

// The table of a kind of figures.
template <typename Figures>
constexpr std::span<const FigureColumn<Figures>> FigureColumns() {
  if constexpr (std::is_same_v<Figures, HittingFigures>) {
    return kHittingColumns;
  } else {
    return kPitchingColumns;
  }
}

// The figures of a line in `row` from column `first` on, each with its
// number format.
template <typename Figures>
void WriteFigureCells(Worksheet& sheet, Row row, Column first, const Figures& figures) {
  WriteValueCells(sheet, row, first, FigureColumns<Figures>(), figures);
}

}  // namespace statcrane
