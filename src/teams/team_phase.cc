#include "teams/team_phase.h"

#include <string>

#include "teams/league_fill.h"
#include "teams/post_seasons.h"
#include "teams/sheet_cells.h"
#include "teams/standings.h"
#include "teams/team_phase_state.h"
#include "teams/team_records.h"
#include "teams/team_sheets.h"
#include "teams/team_summary.h"

namespace statcrane {
namespace {

// The number of team blocks: one per run of equal team ids.
int64_t CountBlocks(const StandingsList& lstStandings) {
  int64_t blocks = 0;
  for (size_t i = 0; i < lstStandings.Count(); ++i) {
    if (i == 0 || lstStandings.At(i).TeamId != lstStandings.At(i - 1).TeamId) ++blocks;
  }
  return blocks;
}

// Finishes the current block: its outline, totals row and post-season rows
// on "Team Records" (whose columns are then fitted), then its line on
// "TeamRegTotals". The last block also frames "TeamRegTotals" and fits its
// columns.
void CloseBlock(Workbook& workbook, TeamPhaseState& state, const LeagueFiles& leagues,
                const TeamYearFile& team_years, bool last) {
  Worksheet& records = workbook.Sheet(kTeamRecords);
  Do_Team_Borders(records, state);
  Do_Team_Totals(records, state);
  if (!state.PostSeasonRecordList.empty()) {
    Do_Post_Seasons(workbook, state, team_years, leagues.colours);
  }
  records.AutoFitColumns(Columns('A', 'N'));

  workbook.Activate(kTeamRegTotals);
  Worksheet& reg_totals = workbook.Sheet(kTeamRegTotals);
  if (state.RegTotalsRow == 0) {
    state.RegTotalsRow = 1;
    TeamSumHeaders(reg_totals, 1);
  }
  const std::string& team_name = team_years.team_names()[state.BlockTeamId];
  ++state.RegTotalsRow;
  TeamSumTotals(reg_totals, state.RegTotalsRow, team_name, state.BlockTotals,
                LeagueFill(leagues.colours[state.BlockLeague]));
  if (!last) {
    state.PostSeasonRecordList.clear();
  } else {
    TeamSumBorders(reg_totals, state.RegTotalsRow);
    reg_totals.AutoFitColumns(Columns('A', 'N'));
  }
}

// Opens the block of `season`'s team: its title and heading rows, then the
// season's row.
void OpenBlock(Workbook& workbook, TeamPhaseState& state, const StandingsLine& season,
               const LeagueFiles& leagues, const TeamYearFile& team_years, bool first) {
  workbook.Activate(kTeamRecords);
  Worksheet& records = workbook.Sheet(kTeamRecords);
  state.BlockTeamId = season.TeamId;
  state.BlockTitle = team_years.team_names()[season.TeamId];
  if (first) {
    state.BlockFirstRow = 3;
  } else {
    ++state.TeamRecordsRow;  // the blank row between blocks
    state.BlockFirstRow = state.TeamRecordsRow + 3;
  }
  state.BlockTotals = TeamTotals{};
  state.BlockTotals.Add(season);
  state.BlockLeague = season.LeagueId;
  Do_Team_Rec_Headers(records, state, leagues.colours);
  ++state.TeamRecordsRow;
  WriteSeasonRow(records, state, season, leagues.names);
}

}  // namespace

TeamPhaseResult Do_Teams(const LeagueFiles& leagues, const TeamYearFile& team_years,
                         const TeamAbbreviations& team_abbreviations, Workbook& workbook,
                         ProgressObserver& progress) {
  RankingList lstx;
  for (const TeamSeason& season : team_years.Seasons()) {
    AddRankingLine(lstx, MakeRankingLine(season, team_abbreviations, leagues.divisions));
  }
  TeamPhaseState state;
  StandingsList lstStandings;
  Unravel_lstx(lstx, lstStandings);

  TeamPhaseResult result;
  const int64_t blocks = CountBlocks(lstStandings);
  Worksheet& records = workbook.Sheet(kTeamRecords);
  workbook.Sheet(kTeamRegTotals);  // both sheets must exist before anything is written
  state.TeamRecordsRow = 1;
  for (size_t i = 0; i < lstStandings.Count(); ++i) {
    const StandingsLine& season = Unravel_Standings(lstStandings, i);
    if (i > 0 && season.TeamId == state.BlockTeamId) {
      // Another season of the block's team (also a second record of a year).
      ++state.TeamRecordsRow;
      WriteSeasonRow(records, state, season, leagues.names);
      state.BlockTotals.Add(season);
      state.BlockLastRow = state.TeamRecordsRow;
      continue;
    }
    if (i > 0) {
      CloseBlock(workbook, state, leagues, team_years, /*last=*/false);
      ++result.teams_written;
      progress.PhaseProgress("teams", result.teams_written, blocks);
    }
    CheckStop(progress);
    OpenBlock(workbook, state, season, leagues, team_years, /*first=*/i == 0);
  }
  if (lstStandings.Count() > 0) {
    CloseBlock(workbook, state, leagues, team_years, /*last=*/true);
    ++result.teams_written;
    progress.PhaseProgress("teams", result.teams_written, blocks);
  }

  result.DcsTotalsRow = state.DcsTotalsRow;
  result.LcsTotalsRow = state.LcsTotalsRow;
  result.WsTotalsRow = state.WsTotalsRow;
  return result;
}

TeamPhaseResult Do_Teams(const EncyclopediaFolder& folder,
                         const TeamAbbreviations& team_abbreviations, Workbook& workbook,
                         ProgressObserver& progress, SkipReporter& reporter) {
  const LeagueFiles leagues = LoadLeagueFiles(folder, reporter);
  const TeamYearFile team_years = TeamYearFile::Read(folder, reporter);
  return Do_Teams(leagues, team_years, team_abbreviations, workbook, progress);
}

}  // namespace statcrane
