#include "teams/post_seasons.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "teams/league_fill.h"
#include "teams/sheet_cells.h"
#include "teams/team_records.h"
#include "teams/team_sheets.h"
#include "teams/winning_pct.h"
#include "workbook/cell_style.h"

namespace statcrane {
namespace {

constexpr std::array<const PostSeasonSeries*, 3> kSeries = {
    &kDivisionSeries, &kLeagueChampionshipSeries, &kWorldSeries};

// Medium right, left and bottom sides on every cell of the range.
void MediumSides(Worksheet& sheet, const CellRange& range) {
  sheet.SetBorderWeight(range, BorderIndex::kRight, kWeightMedium);
  sheet.SetBorderWeight(range, BorderIndex::kLeft, kWeightMedium);
  sheet.SetBorderWeight(range, BorderIndex::kBottom, kWeightMedium);
}

void RedSides(Worksheet& sheet, const CellRange& range) {
  sheet.SetBorderColor(range, BorderIndex::kRight, kColorRed);
  sheet.SetBorderColor(range, BorderIndex::kLeft, kColorRed);
  sheet.SetBorderColor(range, BorderIndex::kBottom, kColorRed);
}

TeamTotals Figures(const TeamStatBlock& block) {
  TeamTotals figures;
  figures.Won = block.won;
  figures.Lost = block.lost;
  figures.Scored = block.runs_scored;
  figures.Allowed = block.runs_allowed;
  figures.SHO = block.shutouts;
  figures.GDP = block.grounded_into_double_plays;
  figures.LOB = block.left_on_base;
  return figures;
}

void AddFigures(TeamTotals& totals, const TeamTotals& figures) {
  totals.Won += figures.Won;
  totals.Lost += figures.Lost;
  totals.Scored += figures.Scored;
  totals.Allowed += figures.Allowed;
  totals.SHO += figures.SHO;
  totals.GDP += figures.GDP;
  totals.LOB += figures.LOB;
}

void WriteSummaryLine(Worksheet& sheet, TeamPhaseState& state, const PostSeasonSeries& series,
                      const TeamTotals& totals, std::optional<int> colour) {
  int32_t& counter = state.*series.counter;
  if (counter == 1) {
    sheet.SetText(Cell('D', 1), "Team");
    sheet.SetText(Cell('E', 1), "Won");
    sheet.SetText(Cell('F', 1), "Lost");
    sheet.SetText(Cell('G', 1), "PCT");
    sheet.SetText(Cell('H', 1), "Scored");
    sheet.SetText(Cell('I', 1), "Allowed");
    sheet.SetText(Cell('J', 1), "SHO");
    sheet.SetText(Cell('K', 1), "GDP");
    sheet.SetText(Cell('L', 1), "LOB");
    MediumSides(sheet, Cells('D', 'L', 1));
    sheet.SetFillColorIndex(Cells('D', 'L', 1), kFillSummaryHeader);
  }
  const int32_t s = ++counter;
  sheet.SetNumberFormat(Cell('G', s), "#.000");
  sheet.SetText(Cell('D', s), state.BlockTitle);
  sheet.SetNumber(Cell('E', s), static_cast<double>(totals.Won));
  sheet.SetNumber(Cell('F', s), static_cast<double>(totals.Lost));
  sheet.SetNumber(Cell('G', s), WinningPct(totals.Won, totals.Lost));
  sheet.SetNumber(Cell('H', s), static_cast<double>(totals.Scored));
  sheet.SetNumber(Cell('I', s), static_cast<double>(totals.Allowed));
  sheet.SetNumber(Cell('J', s), static_cast<double>(totals.SHO));
  sheet.SetNumber(Cell('K', s), static_cast<double>(totals.GDP));
  sheet.SetNumber(Cell('L', s), static_cast<double>(totals.LOB));
  MediumSides(sheet, Cells('D', 'L', s));
  FillWithLeagueColour(sheet, Cells('D', 'L', s), colour);
  sheet.AutoFitColumns(Columns('D', 'L'));
}

// One series: its season rows, its totals row and its summary line.
// `seasons` are the block's post-season records in list order.
void SeriesPass(Workbook& workbook, Worksheet& records, TeamPhaseState& state,
                const PostSeasonSeries& series, const std::vector<TeamYearRecord>& seasons,
                const ColouredLeagues& league_colours) {
  TeamTotals totals;
  bool titled = false;
  for (const TeamYearRecord& season : seasons) {
    const TeamTotals figures = Figures(season.*series.block);
    if (figures.Won == 0 && figures.Lost == 0) continue;
    const int32_t r = ++state.TeamRecordsRow;
    if (!titled) {
      Do_Team_PS_Headers(records, state, series, LeagueFill(league_colours[season.league_id]));
      titled = true;
    }
    WriteRecordFigures(records, r, figures);
    records.SetNumber(Cell('D', r), season.year);
    if (series.top_of_year_on_season_rows) {
      records.SetBorderWeight(Cell('D', r), BorderIndex::kTop, kWeightMedium);
    }
    MediumSides(records, Cells('D', 'G', r));
    MediumSides(records, Cells('J', 'N', r));
    AddFigures(totals, figures);
  }
  if (totals.Won > 0 || totals.Lost > 0) {
    const int32_t r = ++state.TeamRecordsRow;
    WriteRecordFigures(records, r, totals);
    if (!series.top_of_year_on_season_rows) {
      records.SetBorderWeight(Cell('D', r), BorderIndex::kTop, kWeightMedium);
    }
    MediumSides(records, Cells('E', 'G', r));
    MediumSides(records, Cells('J', 'N', r));
    RedSides(records, Cells('E', 'G', r));
    RedSides(records, Cells('J', 'N', r));

    workbook.Activate(series.summary_sheet);
    // The line takes the colour of the league of the last season read.
    WriteSummaryLine(workbook.Sheet(series.summary_sheet), state, series, totals,
                     LeagueFill(league_colours[seasons.back().league_id]));
  }
  workbook.Activate(kTeamRecords);
}

}  // namespace

void Do_Team_PS_Headers(Worksheet& sheet, const TeamPhaseState& state,
                        const PostSeasonSeries& series, std::optional<int> colour) {
  const int32_t r = state.TeamRecordsRow;
  sheet.Merge(Cells('A', 'C', r));
  FillWithLeagueColour(sheet, Cells('A', 'C', r), colour);
  sheet.SetBorderLineStyle(Cells('A', 'D', r), BorderIndex::kTop, kLineStyleContinuous);
  sheet.SetBorderLineStyle(Cells('A', 'C', r), BorderIndex::kLeft, kLineStyleContinuous);
  sheet.SetBorderLineStyle(Cells('A', 'C', r), BorderIndex::kRight, kLineStyleContinuous);
  sheet.SetBorderLineStyle(Cells('A', 'C', r), BorderIndex::kBottom, kLineStyleContinuous);
  sheet.SetBorderWeight(Cells('A', 'D', r), BorderIndex::kTop, kWeightMedium);
  sheet.SetBorderWeight(Cells('A', 'C', r), BorderIndex::kLeft, kWeightMedium);
  sheet.SetBorderWeight(Cells('A', 'C', r), BorderIndex::kRight, kWeightMedium);
  sheet.SetBorderWeight(Cells('A', 'C', r), BorderIndex::kBottom, kWeightMedium);
  sheet.SetText(Cell('A', r), series.title);
  sheet.SetBold(Cell('A', r), true);
  sheet.SetFontSize(Cell('A', r), 10);
}

void Do_Post_Seasons(Workbook& workbook, TeamPhaseState& state, const TeamYearFile& team_years,
                     const ColouredLeagues& league_colours) {
  std::vector<TeamYearRecord> seasons;
  seasons.reserve(state.PostSeasonRecordList.size());
  for (int64_t number : state.PostSeasonRecordList) seasons.push_back(team_years.Record(number));
  Worksheet& records = workbook.Sheet(kTeamRecords);
  for (const PostSeasonSeries* series : kSeries) {
    SeriesPass(workbook, records, state, *series, seasons, league_colours);
  }
}

}  // namespace statcrane
