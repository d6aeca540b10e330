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
  return int64_t{r.Hits} + r.Doubles + 2 * int64_t{r.Triples} + 3 * int64_t{r.HomeRuns};
}
int64_t OnBaseChances(const PlayerStatsRecord& r) {
  return int64_t{r.Walks} + r.AtBats + r.HitByPitch + r.SacFlies;
}
int64_t OnBaseTimes(const PlayerStatsRecord& r) { return int64_t{r.Walks} + r.HitByPitch + r.Hits; }

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
  if (record.AtBats > 0) {
    rates.BAVG = RoundRate(Quotient(record.Hits, record.AtBats));
    rates.SPC = RoundRate(Quotient(TotalBases(record), record.AtBats));
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
  sheet.SetNumber(CellRange::Cell(kA, row), r.Year);
  sheet.SetText(CellRange::Cell(kB, row), line.ClubAbbrev);
  sheet.SetNumber(CellRange::Cell(kC, row), static_cast<double>(line.Age));
  sheet.SetNumber(CellRange::Cell(kD, row), line.LineAverages.BAVG);
  sheet.SetNumber(CellRange::Cell(kE, row), line.LineAverages.OBP);
  sheet.SetNumber(CellRange::Cell(kF, row), line.LineAverages.SPC);
  WriteNumbers(
      sheet, row, kG,
      {r.AtBats, r.Hits, r.Doubles, r.Triples, r.HomeRuns, r.Runs, r.RBI, r.HitByPitch, r.Walks,
       r.Strikeouts, r.StolenBases, r.CaughtStealing, r.SacHits, r.SacFlies, TotalBases(r)});
  for (int col = kD; col <= kF; ++col) {
    sheet.SetNumberFormat(CellRange::Cell(col, row), kRateFormat);
  }
  const CellRange whole = CellRange::Row(kA, kU, row);
  sheet.SetBorder(whole, BorderSide::kRight, LineStyle::kMedium);
  sheet.SetBorder(whole, BorderSide::kLeft, LineStyle::kMedium);
  line.LastYear = r.Year;

  HittingSums& t = line.HittingTotals;
  t.AtBats += r.AtBats;
  t.Hits += r.Hits;
  t.Doubles += r.Doubles;
  t.Triples += r.Triples;
  t.HomeRuns += r.HomeRuns;
  t.Runs += r.Runs;
  t.RBI += r.RBI;
  t.HitByPitch += r.HitByPitch;
  t.Walks += r.Walks;
  t.Strikeouts += r.Strikeouts;
  t.StolenBases += r.StolenBases;
  t.CaughtStealing += r.CaughtStealing;
  t.SacHits += r.SacHits;
  t.SacFlies += r.SacFlies;
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
  for (BorderSide side : kAllSides) sheet.SetBorder(whole, side, LineStyle::kMedium);
}

}  // namespace statcrane
