#include "teams/team_phase.h"

#include <array>
#include <span>
#include <string>
#include <vector>

#include "teams/standings.h"
#include "teams/team_blocks.h"
#include "teams/team_records_writer.h"
#include "teams/team_summary_writer.h"

namespace statcrane {

TeamPhaseResult RunTeamPhase(const LeagueFiles& leagues, const TeamYearFile& team_years,
                             const TeamAbbreviations& abbreviations, const TeamSheets& sheets,
                             ProgressObserver& progress, const TeamBlockPlaced& placed) {
  const std::vector<SeasonStanding> standings =
      TeamStandings(team_years.Seasons(), abbreviations, leagues.divisions);
  const std::vector<std::span<const SeasonStanding>> teams = SeasonsByTeam(standings);

  TeamRecordsWriter records(*sheets.records);
  TeamSummaryWriter season_totals(*sheets.season_totals, kSeasonTotalsLayout);
  std::vector<TeamSummaryWriter> series_totals;
  for (Worksheet* sheet : sheets.series_totals)
    series_totals.emplace_back(*sheet, kSeriesTotalsLayout);

  TeamPhaseResult result;
  const auto total = static_cast<int64_t>(teams.size());
  for (std::span<const SeasonStanding> seasons : teams) {
    CheckStop(progress);
    const TeamBlock block = MakeTeamBlock(seasons, team_years, leagues);
    try {
      const RowSpan rows = records.Write(block);
      if (placed) placed(PlacedTeamBlock{block, records.sheet(), rows});
      for (const SeriesRecord& series : block.series) {
        series_totals[PostSeasonIndex(series.series)].Write(SeriesTotalsLine(block, series));
      }
      season_totals.Write(SeasonTotalsLine(block));
    } catch (const SheetError& error) {
      // "writing the team "Tigers" (team id 7) on the sheet "Team Records": ..."
      throw StatCraneError("writing the team \"" + block.team_name + "\" (team id " +
                           std::to_string(block.team_id) + ") " + error.message());
    }
    ++result.teams_written;
    progress.PhaseProgress("teams", result.teams_written, total);
  }
  season_totals.Finish();
  return result;
}

TeamPhaseResult RunTeamPhase(const EncyclopediaFolder& folder,
                             const TeamAbbreviations& abbreviations, const TeamSheets& sheets,
                             ProgressObserver& progress, SkipReporter& reporter,
                             const TeamBlockPlaced& placed) {
  const LeagueFiles leagues = LoadLeagueFiles(folder, reporter);
  const TeamYearFile team_years = LoadTeamYears(folder, reporter);
  return RunTeamPhase(leagues, team_years, abbreviations, sheets, progress, placed);
}

}  // namespace statcrane
