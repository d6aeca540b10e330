#include "teams/team_records_writer.h"

#include <span>
#include <string>
#include <string_view>

#include "teams/league_fill.h"
#include "teams/team_columns.h"
#include "util/error.h"
#include "workbook/palette.h"

namespace statcrane {
namespace {

using RecordsColumn = TeamColumn<TeamRecordsLine>;
constexpr std::span<const RecordsColumn> kColumns = kTeamRecordsColumns;
constexpr Column kA("A");
constexpr Column kLast = LastColumnOf(kA, kColumns);
constexpr Column kYear = ColumnWhere(
    kA, kColumns, [](const RecordsColumn& c) { return c.group == TeamColumnGroup::kYear; });
// Titles are merged over the columns before the year (A:C).
constexpr Column kTitleLast = kYear - 1;

bool OnTotalsRows(const RecordsColumn& column) { return IsFigure(column.group); }
bool OnSeriesRows(const RecordsColumn& column) { return column.group != TeamColumnGroup::kSeason; }

struct SeriesLook {
  std::string_view title;
  // The division series draws the top of the year cell on every season row,
  // the other two on their totals row.
  bool year_top_on_season_rows;
};

SeriesLook LookOf(Series series) {
  switch (series) {
    case Series::kDivisionSeries:
      return {"Divisional Championship", true};
    case Series::kLeagueChampionshipSeries:
      return {"League Championship", false};
    case Series::kWorldSeries:
      return {"World Series", false};
    case Series::kRegularSeason:
      break;  // not a series block
  }
  return {"World Series", false};
}

// Medium right, left and bottom sides on each run of the columns `shown`
// of row r, in `colour` when given.
template <typename Shown>
void MediumSidesOfRuns(Worksheet& sheet, Row r, Shown&& shown,
                       std::optional<Rgb> colour = std::nullopt) {
  ForEachColumnRun(kA, kColumns, shown, [&](Column first, Column last) {
    DrawMedium(sheet, CellRange::Across(r, first, last), kSidesAndBottom, colour);
  });
}

// The series title on row r: merged over A:C in the league colour, framed
// in medium lines with the top reaching over the year, bold, 10 points.
void WriteSeriesTitle(Worksheet& sheet, Row r, std::string_view title, LeagueColour colour) {
  const CellRange title_cells = CellRange::Across(r, kA, kTitleLast);
  sheet.Merge(title_cells);
  FillWithLeagueColour(sheet, title_cells, colour);
  sheet.SetBorder(CellRange::Across(r, kA, kYear), BorderSide::kTop, LineStyle::kMedium);
  DrawMedium(sheet, title_cells, {BorderSide::kLeft, BorderSide::kRight, BorderSide::kBottom});
  const CellRange a = CellRange::Cell(r, kA);
  sheet.SetText(a, title);
  sheet.SetBold(a, true);
  sheet.SetFontSize(a, kSeriesTitleSize);
}

}  // namespace

RowSpan TeamRecordsWriter::Write(const TeamBlock& block) {
  const Row title_row = row_ == Row() ? Row(1) : row_ + 2;
  WriteTitleAndHeadings(block);
  // The title and headings print on the page of the first season.
  sheet_.KeepWithNext({title_row, row_});
  const Row first_season_row = row_ + 1;
  for (const RegularSeasonRow& season : block.seasons) WriteSeasonRow(season);
  // The medium outline of the season rows.
  sheet_.SetBorder(CellRange::Across(first_season_row, kA, kLast), BorderSide::kTop,
                   LineStyle::kMedium);
  const CellRange rows(first_season_row, kA, row_, kLast);
  DrawMedium(sheet_, rows, {BorderSide::kLeft, BorderSide::kRight});
  sheet_.SetBorder(CellRange::Across(row_, kA, kLast), BorderSide::kBottom, LineStyle::kMedium);
  WriteTotalsRow(block.totals);
  for (const SeriesRecord& series : block.series) WriteSeries(series);
  const RowSpan block_rows{title_row, row_};
  sheet_.KeepRowsTogether(block_rows);
  return block_rows;
}

void TeamRecordsWriter::WriteTitleAndHeadings(const TeamBlock& block) {
  // One blank row after the previous block.
  Row r = row_ == Row() ? Row(1) : row_ + 2;
  const CellRange title_cells = CellRange::Across(r, kA, kTitleLast);
  sheet_.Merge(title_cells);
  sheet_.SetBold(CellRange::Cell(r, kA), true);
  sheet_.SetFontSize(CellRange::Cell(r, kA), kBlockTitleSize);
  FillWithLeagueColour(sheet_, title_cells, block.colour);
  sheet_.SetText(CellRange::Cell(r, kA), block.team_name);
  FrameMedium(sheet_, title_cells);

  ++r;
  const CellRange headings = CellRange::Across(r, kA, kLast);
  FillWithLeagueColour(sheet_, headings, block.colour);
  FrameMedium(sheet_, headings);
  sheet_.SetBold(headings, true);
  WriteHeadingCells(sheet_, r, kA, kColumns);
  row_ = r;
}

void TeamRecordsWriter::WriteSeasonRow(const RegularSeasonRow& season) {
  const Row r = ++row_;
  WriteValueCells(sheet_, r, kA, kColumns, TeamRecordsLine{&season, season.year, season.figures});
}

void TeamRecordsWriter::WriteTotalsRow(const TeamFigures& totals) {
  const Row r = ++row_;
  ForEachColumnRun(kA, kColumns, OnTotalsRows, [&](Column first, Column last) {
    const CellRange run = CellRange::Across(r, first, last);
    FrameMedium(sheet_, run);
    DrawMedium(sheet_, run, kSidesAndBottom, kTotalsFrame);
  });
  WriteValueCells(sheet_, r, kA, kColumns, TeamRecordsLine{nullptr, 0, totals}, OnTotalsRows);
}

void TeamRecordsWriter::WriteSeries(const SeriesRecord& series) {
  const SeriesLook look = LookOf(series.series);
  for (const SeriesSeasonRow& season : series.seasons) {
    const Row r = ++row_;
    if (&season == &series.seasons.front()) {
      WriteSeriesTitle(sheet_, r, look.title, series.first_season_colour);
      sheet_.KeepWithNext({r, r});  // the title's row ends no page
    }
    WriteValueCells(sheet_, r, kA, kColumns, TeamRecordsLine{nullptr, season.year, season.figures},
                    OnSeriesRows);
    if (look.year_top_on_season_rows) {
      sheet_.SetBorder(CellRange::Cell(r, kYear), BorderSide::kTop, LineStyle::kMedium);
    }
    MediumSidesOfRuns(sheet_, r, OnSeriesRows);
  }
  const Row r = ++row_;
  WriteValueCells(sheet_, r, kA, kColumns, TeamRecordsLine{nullptr, 0, series.totals},
                  OnTotalsRows);
  if (!look.year_top_on_season_rows) {
    sheet_.SetBorder(CellRange::Cell(r, kYear), BorderSide::kTop, LineStyle::kMedium);
  }
  MediumSidesOfRuns(sheet_, r, OnTotalsRows, kTotalsFrame);
}

}  // namespace statcrane
