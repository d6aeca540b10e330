#include "players/hitting_lines.h"

#include <string_view>

#include "players/block_headers.h"
#include "players/rate_rounding.h"
#include "workbook/cell_style.h"

namespace statcrane {
namespace {

constexpr int kA = 1, kB = 2, kC = 3, kD = 4, kE = 5, kF = 6, kG = 7, kT = 20, kU = 21;
constexpr std::string_view kRateFormat = "#.000";

int64_t TotalBases(const PlayerStatsRecord& r) {
  return int64_t{r.hits} + r.doubles + 2 * int64_t{r.triples} + 3 * int64_t{r.home_runs};
}
int64_t OnBaseChances(const PlayerStatsRecord& r) {
  return int64_t{r.walks} + r.at_bats + r.hit_by_pitch + r.sacrifice_flies;
}
int64_t OnBaseTimes(const PlayerStatsRecord& r) {
  return int64_t{r.walks} + r.hit_by_pitch + r.hits;
}

double Quotient(int64_t a, int64_t b) { return static_cast<double>(a) / static_cast<double>(b); }

// Writes consecutive numbers from column `first` on.
void WriteNumbers(Worksheet& sheet, int32_t row, int first, std::initializer_list<int64_t> values) {
  int col = first;
  for (int64_t v : values) sheet.SetNumber(CellRange::Cell(col++, row), static_cast<double>(v));
}

void WriteCounts(Worksheet& sheet, int32_t row, int first, const HittingSums& t) {
  WriteNumbers(
      sheet, row, first,
      {t.AtBats, t.Hits, t.Doubles, t.Triples, t.HomeRuns, t.Runs, t.RBI, t.HitByPitch, t.Walks,
       t.Strikeouts, t.StolenBases, t.CaughtStealing, t.SacHits, t.SacFlies, t.TotalBases});
}

// Rates in three consecutive columns: BAVG, OBP, SPC, then their format.
void WriteRates(Worksheet& sheet, int32_t row, int first, const LineRates& rates) {
  sheet.SetNumber(CellRange::Cell(first, row), rates.BAVG);
  sheet.SetNumber(CellRange::Cell(first + 1, row), rates.OBP);
  sheet.SetNumber(CellRange::Cell(first + 2, row), rates.SPC);
  for (int col = first; col < first + 3; ++col) {
    sheet.SetNumberFormat(CellRange::Cell(col, row), kRateFormat);
  }
}

}  // namespace

void Hitter_Averages(const PlayerStatsRecord& record, LineRates& rates) {
  if (record.at_bats > 0) {
    rates.BAVG = RoundRate(Quotient(record.hits, record.at_bats));
    rates.SPC = RoundRate(Quotient(TotalBases(record), record.at_bats));
  } else {
    rates.BAVG = 0;
    rates.SPC = 0;
  }
  const int64_t chances = OnBaseChances(record);
  rates.OBP = chances > 0 ? RoundRateSingle(Quotient(OnBaseTimes(record), chances)) : 0;
}

void Hitter_EntryLine(Worksheet& sheet, const PlayerStatsRecord& r, LineState& line) {
  const int32_t row = line.CurrentRow;
  Hitter_Averages(r, line.LineAverages);
  sheet.SetNumber(CellRange::Cell(kA, row), r.year);
  sheet.SetText(CellRange::Cell(kB, row), line.ClubAbbrev);
  sheet.SetNumber(CellRange::Cell(kC, row), static_cast<double>(line.Age));
  sheet.SetNumber(CellRange::Cell(kD, row), line.LineAverages.BAVG);
  sheet.SetNumber(CellRange::Cell(kE, row), line.LineAverages.OBP);
  sheet.SetNumber(CellRange::Cell(kF, row), line.LineAverages.SPC);
  WriteNumbers(sheet, row, kG,
               {r.at_bats, r.hits, r.doubles, r.triples, r.home_runs, r.runs, r.runs_batted_in,
                r.hit_by_pitch, r.walks, r.strikeouts, r.stolen_bases, r.caught_stealing,
                r.sacrifice_hits, r.sacrifice_flies, TotalBases(r)});
  for (int col = kD; col <= kF; ++col) {
    sheet.SetNumberFormat(CellRange::Cell(col, row), kRateFormat);
  }
  const CellRange whole = CellRange::Row(kA, kU, row);
  sheet.SetBorderWeight(whole, BorderIndex::kRight, kWeightMedium);
  sheet.SetBorderWeight(whole, BorderIndex::kLeft, kWeightMedium);
  line.LastYear = r.year;

  HittingSums& t = line.HittingTotals;
  t.AtBats += r.at_bats;
  t.Hits += r.hits;
  t.Doubles += r.doubles;
  t.Triples += r.triples;
  t.HomeRuns += r.home_runs;
  t.Runs += r.runs;
  t.RBI += r.runs_batted_in;
  t.HitByPitch += r.hit_by_pitch;
  t.Walks += r.walks;
  t.Strikeouts += r.strikeouts;
  t.StolenBases += r.stolen_bases;
  t.CaughtStealing += r.caught_stealing;
  t.SacHits += r.sacrifice_hits;
  t.SacFlies += r.sacrifice_flies;
  t.OnBaseChances += OnBaseChances(r);
  t.OnBaseTimes += OnBaseTimes(r);
  t.TotalBases += TotalBases(r);
}

void Hitter_Totals(const HittingSums& t, LineRates& rates) {
  if (t.AtBats < 1) {
    rates.BAVG = 0;
    rates.SPC = 0;
  } else {
    rates.BAVG = RoundRate(Quotient(t.Hits, t.AtBats));
    rates.SPC = RoundRate(Quotient(t.TotalBases, t.AtBats));
  }
  rates.OBP = t.OnBaseChances < 1 ? 0 : RoundRateSingle(Quotient(t.OnBaseTimes, t.OnBaseChances));
}

void Hitter_TotalLine(Worksheet& sheet, LineState& line) {
  const int32_t row = line.CurrentRow;
  Hitter_Totals(line.HittingTotals, line.LineAverages);
  sheet.SetText(CellRange::Cell(kA, row), " ");
  sheet.SetText(CellRange::Cell(kB, row), "Totals");
  WriteRates(sheet, row, kD, line.LineAverages);
  WriteCounts(sheet, row, kG, line.HittingTotals);

  TotalsLineBorders(sheet, row);
}

void HitSumTotals(Worksheet& sheet, const LineState& line, int32_t row) {
  sheet.Select(CellRange::Cell(kA, row));
  sheet.SetText(CellRange::Cell(kA, row), line.CurrentPlayerName);
  sheet.SetNumber(CellRange::Cell(kB, row), line.LastYear);
  WriteRates(sheet, row, kC, line.LineAverages);
  WriteCounts(sheet, row, kF, line.HittingTotals);

  const CellRange whole = CellRange::Row(kA, kT, row);
  for (BorderIndex side :
       {BorderIndex::kEdgeTop, BorderIndex::kBottom, BorderIndex::kRight, BorderIndex::kLeft}) {
    sheet.SetBorderWeight(whole, side, kWeightMedium);
  }
}

}  // namespace statcrane
