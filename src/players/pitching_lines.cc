#include "players/pitching_lines.h"

#include <initializer_list>
#include <string_view>

#include "players/block_headers.h"
#include "players/rate_rounding.h"
#include "workbook/cell_style.h"

namespace statcrane {
namespace {

constexpr int kA = 1, kB = 2, kC = 3, kD = 4, kE = 5, kF = 6, kG = 7, kH = 8, kL = 12, kM = 13,
              kN = 14, kO = 15, kP = 16, kT = 20, kU = 21;
constexpr std::string_view kRateFormat = "#.000";
constexpr std::string_view kEraFormat = "##0.00";
constexpr std::string_view kInningsFormat = "0.0";
constexpr double kNoOutsEra = 999.99;

double Quotient(int64_t a, int64_t b) { return static_cast<double>(a) / static_cast<double>(b); }

double Oba(int64_t hits, int64_t opp_at_bats) {
  return opp_at_bats > 0 ? RoundRate(Quotient(hits, opp_at_bats)) : 0;
}

double Era(int64_t earned_runs, int64_t outs) {
  if (outs > 0) {
    return RoundRate(static_cast<double>(earned_runs) / (static_cast<double>(outs) / 27.0));
  }
  return earned_runs > 0 ? kNoOutsEra : 0;
}

double Pct(int64_t wins, int64_t losses) {
  return wins != 0 || losses != 0 ? RoundRate(Quotient(wins, wins + losses)) : 0;
}

void WriteNumbers(Worksheet& sheet, int32_t row, int first, std::initializer_list<int64_t> values) {
  int col = first;
  for (int64_t v : values) sheet.SetNumber(CellRange::Cell(col++, row), static_cast<double>(v));
}

void WriteFormatted(Worksheet& sheet, int col, int32_t row, double value, std::string_view format) {
  const CellRange cell = CellRange::Cell(col, row);
  sheet.SetNumber(cell, value);
  sheet.SetNumberFormat(cell, format);
}

// The columns shared by totals and summary lines, from the ERA column on:
// ERA, W, L, PCT, SV, G, GS, CG, SHO, IP, H, OBA, R, ER, BB, K, HR, GDP.
void WriteTotals(Worksheet& sheet, int32_t row, int first, const LineState& line) {
  const PitchingSums& t = line.PitchingTotals;
  const LineRates& rates = line.LineAverages;
  WriteFormatted(sheet, first, row, rates.ERA, kEraFormat);
  WriteNumbers(sheet, row, first + 1, {t.Wins, t.Losses});
  WriteFormatted(sheet, first + 3, row, rates.PCT, kRateFormat);
  WriteNumbers(sheet, row, first + 4,
               {t.Saves, t.Games, t.GamesStarted, t.CompleteGames, t.Shutouts});
  sheet.SetNumber(CellRange::Cell(first + 9, row), line.InningsPitched);
  WriteNumbers(sheet, row, first + 10, {t.HitsAllowed});
  WriteFormatted(sheet, first + 11, row, rates.OBA, kRateFormat);
  WriteNumbers(
      sheet, row, first + 12,
      {t.RunsAllowed, t.EarnedRuns, t.WalksAllowed, t.Strikeouts, t.HRAllowed, t.GDPInduced});
}

}  // namespace

void Reset_Totals(LineState& line) {
  line.HittingTotals = HittingSums{};
  line.PitchingTotals = PitchingSums{};
}

void CALC_INNINGS(LineState& line) {
  const int64_t outs = line.OutsForInnings;
  line.InningsPitched = static_cast<double>(outs / 3) + static_cast<double>(outs % 3) / 10.0;
}

void Pitcher_Averages(const PlayerStatsRecord& r, LineRates& rates) {
  rates.OBA = Oba(r.hits_allowed, r.opponent_at_bats);
  rates.ERA = Era(r.earned_runs, r.outs_pitched);
  rates.PCT = Pct(r.wins, r.losses);
}

void Pitcher_EntryLine(Worksheet& sheet, const PlayerStatsRecord& r, LineState& line) {
  const int32_t row = line.CurrentRow;
  const LineRates& rates = line.LineAverages;
  Pitcher_Averages(r, line.LineAverages);
  sheet.SetNumber(CellRange::Cell(kA, row), r.year);
  sheet.SetText(CellRange::Cell(kB, row), line.ClubAbbrev);
  sheet.SetNumber(CellRange::Cell(kC, row), static_cast<double>(line.Age));
  WriteFormatted(sheet, kD, row, rates.ERA, kEraFormat);
  WriteNumbers(sheet, row, kE, {r.wins, r.losses});
  WriteFormatted(sheet, kG, row, rates.PCT, kRateFormat);
  WriteNumbers(sheet, row, kH,
               {r.saves, r.games_pitched, r.games_started, r.complete_games, r.shutouts});
  sheet.SetNumberFormat(CellRange::Cell(kM, row), kInningsFormat);
  sheet.SetNumber(CellRange::Cell(kM, row), line.InningsPitched);
  WriteNumbers(sheet, row, kN, {r.hits_allowed});
  WriteFormatted(sheet, kO, row, rates.OBA, kRateFormat);
  WriteNumbers(sheet, row, kP,
               {r.runs_allowed, r.earned_runs, r.walks_allowed, r.strikeouts_pitched,
                r.home_runs_allowed, r.double_plays_induced});
  const CellRange whole = CellRange::Row(kA, kU, row);
  sheet.SetBorderWeight(whole, BorderIndex::kRight, kWeightMedium);
  sheet.SetBorderWeight(whole, BorderIndex::kLeft, kWeightMedium);
  line.LastYear = r.year;

  PitchingSums& t = line.PitchingTotals;
  t.Wins += r.wins;
  t.Losses += r.losses;
  t.Saves += r.saves;
  t.Games += r.games_pitched;
  t.GamesStarted += r.games_started;
  t.CompleteGames += r.complete_games;
  t.Shutouts += r.shutouts;
  t.Outs += r.outs_pitched;
  t.HitsAllowed += r.hits_allowed;
  t.RunsAllowed += r.runs_allowed;
  t.EarnedRuns += r.earned_runs;
  t.WalksAllowed += r.walks_allowed;
  t.Strikeouts += r.strikeouts_pitched;
  t.HRAllowed += r.home_runs_allowed;
  t.GDPInduced += r.double_plays_induced;
  t.OppAtBats += r.opponent_at_bats;
}

void Pitcher_Totals(const PitchingSums& t, LineRates& rates) {
  rates.OBA = t.OppAtBats < 1 ? 0 : RoundRate(Quotient(t.HitsAllowed, t.OppAtBats));
  rates.ERA = t.Outs < 1 ? (t.EarnedRuns > 0 ? kNoOutsEra : 0) : Era(t.EarnedRuns, t.Outs);
  rates.PCT = t.Wins > 0 || t.Losses > 0 ? Pct(t.Wins, t.Losses) : 0;
}

void Pitcher_TotalLine(Worksheet& sheet, LineState& line) {
  const int32_t row = line.CurrentRow;
  Pitcher_Totals(line.PitchingTotals, line.LineAverages);
  sheet.SetText(CellRange::Cell(kA, row), " ");
  sheet.SetText(CellRange::Cell(kB, row), "Totals");
  WriteTotals(sheet, row, kD, line);

  TotalsLineBorders(sheet, row);
}

void PitchSumTotals(Worksheet& sheet, const LineState& line, int32_t row) {
  sheet.Select(CellRange::Cell(kA, row));
  sheet.SetText(CellRange::Cell(kA, row), line.CurrentPlayerName);
  sheet.SetNumber(CellRange::Cell(kB, row), line.LastYear);
  WriteTotals(sheet, row, kC, line);

  const CellRange whole = CellRange::Row(kA, kT, row);
  for (BorderIndex side :
       {BorderIndex::kEdgeTop, BorderIndex::kBottom, BorderIndex::kRight, BorderIndex::kLeft}) {
    sheet.SetBorderWeight(whole, side, kWeightMedium);
  }
}

}  // namespace statcrane
