#include "teams/team_records_writer.h"

#include <string>
#include <string_view>

#include "teams/finish_names.h"
#include "teams/league_fill.h"
#include "teams/sheet_cells.h"
#include "teams/winning_pct.h"
#include "util/error.h"
#include "workbook/cell_style.h"

namespace statcrane {
namespace {

constexpr BorderSide kSidesAndBottom[] = {BorderSide::kRight, BorderSide::kLeft,
                                          BorderSide::kBottom};

struct SeriesLook {
  std::string_view title;
  // The division series draws the top of the year cell on every season row,
  // the other two on their totals row.
  bool year_top_on_season_rows;
};

SeriesLook LookOf(PostSeasonSeries series) {
  switch (series) {
    case PostSeasonSeries::kDivision:
      return {"Divisional Championship", true};
    case PostSeasonSeries::kLeagueChampionship:
      return {"League Championship", false};
    case PostSeasonSeries::kWorld:
      return {"World Series", false};
  }
  return {"World Series", false};
}

// Medium lines on the four sides of every cell.
void FrameMedium(Worksheet& sheet, const CellRange& range) {
  for (BorderSide side : kAllSides) sheet.SetBorder(range, side, LineStyle::kMedium);
}

// Medium right, left and bottom sides on every cell, in `colour` when given.
void MediumSides(Worksheet& sheet, const CellRange& range,
                 std::optional<Rgb> colour = std::nullopt) {
  for (BorderSide side : kSidesAndBottom) sheet.SetBorder(range, side, LineStyle::kMedium, colour);
}

// The frame of a regular-season totals block: medium lines, red at the
// sides and the bottom.
void FrameTotals(Worksheet& sheet, const CellRange& range) {
  FrameMedium(sheet, range);
  MediumSides(sheet, range, kRed);
}

// The series title on row r: merged over A:C in the league colour, framed
// in medium lines with the top reaching over D, bold, 10 points.
void WriteSeriesTitle(Worksheet& sheet, int32_t r, std::string_view title, LeagueColour colour) {
  sheet.Merge(Cells('A', 'C', r));
  FillWithLeagueColour(sheet, Cells('A', 'C', r), colour);
  sheet.SetBorder(Cells('A', 'D', r), BorderSide::kTop, LineStyle::kMedium);
  for (BorderSide side : {BorderSide::kLeft, BorderSide::kRight, BorderSide::kBottom}) {
    sheet.SetBorder(Cells('A', 'C', r), side, LineStyle::kMedium);
  }
  sheet.SetText(Cell('A', r), title);
  sheet.SetBold(Cell('A', r), true);
  sheet.SetFontSize(Cell('A', r), 10);
}

}  // namespace

RowSpan TeamRecordsWriter::Write(const TeamBlock& block) {
  try {
    const int32_t title_row = row_ == 0 ? 1 : row_ + 2;
    WriteTitleAndHeadings(block);
    // The title and headings print on the page of the first season.
    sheet_.KeepWithNext({title_row, row_});
    const int32_t first_season_row = row_ + 1;
    for (const RegularSeasonRow& season : block.seasons) WriteSeasonRow(season);
    // The medium outline of the season rows.
    sheet_.SetBorder(Cells('A', 'N', first_season_row), BorderSide::kTop, LineStyle::kMedium);
    const CellRange rows = Block('A', first_season_row, 'N', row_);
    sheet_.SetBorder(rows, BorderSide::kLeft, LineStyle::kMedium);
    sheet_.SetBorder(rows, BorderSide::kRight, LineStyle::kMedium);
    sheet_.SetBorder(Cells('A', 'N', row_), BorderSide::kBottom, LineStyle::kMedium);
    WriteTotalsRow(block.totals);
    for (const SeriesRecord& series : block.series) WriteSeries(series);
    const RowSpan block_rows{title_row, row_};
    sheet_.KeepRowsTogether(block_rows);
    return block_rows;
  } catch (const StatCraneError& error) {
    throw StatCraneError("writing the team \"" + block.team_name + "\" (team id " +
                         std::to_string(block.team_id) + ") on the sheet \"" + sheet_.name() +
                         "\": " + error.message());
  }
}

void TeamRecordsWriter::WriteTitleAndHeadings(const TeamBlock& block) {
  // One blank row after the previous block.
  int32_t r = row_ == 0 ? 1 : row_ + 2;
  sheet_.Merge(Cells('A', 'C', r));
  sheet_.SetBold(Cell('A', r), true);
  sheet_.SetFontSize(Cell('A', r), 12);
  FillWithLeagueColour(sheet_, Cells('A', 'C', r), block.colour);
  sheet_.SetText(Cell('A', r), block.team_name);
  FrameMedium(sheet_, Cells('A', 'C', r));

  ++r;
  FillWithLeagueColour(sheet_, Cells('A', 'N', r), block.colour);
  FrameMedium(sheet_, Cells('A', 'N', r));
  sheet_.SetBold(Cells('A', 'N', r), true);
  sheet_.SetText(Cell('A', r), "League");
  sheet_.SetText(Cell('B', r), "Division");
  sheet_.SetText(Cell('D', r), "Year");
  sheet_.SetText(Cell('E', r), "Won");
  sheet_.SetText(Cell('F', r), "Lost");
  sheet_.SetText(Cell('G', r), "Pct");
  sheet_.SetText(Cell('H', r), "GB");
  sheet_.SetText(Cell('I', r), "Finish");
  sheet_.SetText(Cell('J', r), "Scored");
  sheet_.SetText(Cell('K', r), "Allowed");
  sheet_.SetText(Cell('L', r), "SHO");
  sheet_.SetText(Cell('M', r), "GDP");
  sheet_.SetText(Cell('N', r), "LOB");
  row_ = r;
}

void TeamRecordsWriter::WriteSeasonRow(const RegularSeasonRow& season) {
  const int32_t r = ++row_;
  sheet_.SetText(Cell('A', r), season.league_name);
  sheet_.SetText(Cell('B', r), season.division);
  sheet_.SetText(Cell('C', r), season.team_name);
  sheet_.SetNumber(Cell('D', r), season.year);
  WriteFigures(r, season.figures);
  sheet_.SetNumber(Cell('H', r), season.games_behind);
  sheet_.SetText(Cell('I', r), FinishName(season.place));
}

void TeamRecordsWriter::WriteTotalsRow(const TeamFigures& totals) {
  const int32_t r = ++row_;
  FrameTotals(sheet_, Cells('E', 'G', r));
  FrameTotals(sheet_, Cells('J', 'N', r));
  WriteFigures(r, totals);
}

void TeamRecordsWriter::WriteSeries(const SeriesRecord& series) {
  const SeriesLook look = LookOf(series.series);
  for (const SeriesSeasonRow& season : series.seasons) {
    const int32_t r = ++row_;
    if (&season == &series.seasons.front()) {
      WriteSeriesTitle(sheet_, r, look.title, series.first_season_colour);
      sheet_.KeepWithNext({r, r});  // the title's row ends no page
    }
    WriteFigures(r, season.figures);
    sheet_.SetNumber(Cell('D', r), season.year);
    if (look.year_top_on_season_rows) {
      sheet_.SetBorder(Cell('D', r), BorderSide::kTop, LineStyle::kMedium);
    }
    MediumSides(sheet_, Cells('D', 'G', r));
    MediumSides(sheet_, Cells('J', 'N', r));
  }
  const int32_t r = ++row_;
  WriteFigures(r, series.totals);
  if (!look.year_top_on_season_rows) {
    sheet_.SetBorder(Cell('D', r), BorderSide::kTop, LineStyle::kMedium);
  }
  MediumSides(sheet_, Cells('E', 'G', r), kRed);
  MediumSides(sheet_, Cells('J', 'N', r), kRed);
}

void TeamRecordsWriter::WriteFigures(int32_t r, const TeamFigures& figures) {
  sheet_.SetNumberFormat(Cell('G', r), "#.000");
  sheet_.SetNumber(Cell('E', r), static_cast<double>(figures.won));
  sheet_.SetNumber(Cell('F', r), static_cast<double>(figures.lost));
  sheet_.SetNumber(Cell('G', r), WinningPct(figures.won, figures.lost));
  sheet_.SetNumber(Cell('J', r), static_cast<double>(figures.scored));
  sheet_.SetNumber(Cell('K', r), static_cast<double>(figures.allowed));
  sheet_.SetNumber(Cell('L', r), static_cast<double>(figures.sho));
  sheet_.SetNumber(Cell('M', r), static_cast<double>(figures.gdp));
  sheet_.SetNumber(Cell('N', r), static_cast<double>(figures.lob));
}

}  // namespace statcrane
