#include "app/leaders_phase.h"

#include "encyclopedia/league_files.h"
#include "encyclopedia/team_year_file.h"
#include "players/leaders_writer.h"

namespace statcrane {
namespace {

TeamSeasonFacts ReadTeamSeasonFacts(const EncyclopediaFolder& folder) {
  NullReporter quiet;
  const TeamYearFile team_years = LoadTeamYears(folder, quiet);
  const LeagueFiles leagues = LoadLeagueFiles(folder, quiet);
  return TeamSeasonFacts(team_years.Seasons(), leagues.names);
}

}  // namespace

LeadersPhase::LeadersPhase(const EncyclopediaFolder& folder, const LeadersSheets& sheets)
    : sheets_(sheets), collector_(ReadTeamSeasonFacts(folder)) {}

void LeadersPhase::Write() {
  const Leaders leaders = collector_.Finish();
  WriteCareerLeaders(*sheets_.career, leaders);
  WriteSeasonLeaders(*sheets_.season, leaders);
  WriteLeagueLeaders(*sheets_.league, leaders);
}

}  // namespace statcrane
