#include "encyclopedia/team_year_file.h"

#include <string>
#include <utility>

#include "encyclopedia/league_files.h"
#include "util/error.h"

namespace statcrane {

std::string TeamDisplayName(const TeamYearRecord& record) {
  return record.name_part_1 + " " + record.name_part_2;
}

bool HasPostSeasonGames(const TeamYearRecord& record) {
  return record.division_series.won != 0 || record.league_championship_series.won != 0 ||
         record.world_series.won != 0 || record.division_series.lost != 0 ||
         record.league_championship_series.lost != 0 || record.world_series.lost != 0;
}

TeamYearFile TeamYearFile::Read(const EncyclopediaFolder& folder, SkipReporter& reporter) {
  return TeamYearFile(RecordFile::Read(folder, kTeamYearFile, TeamYearRecord::kSize, reporter),
                      reporter);
}

TeamYearFile::TeamYearFile(RecordFile file, SkipReporter& reporter) : file_(std::move(file)) {
  int64_t record_number = 0;
  for (size_t n = 1; n <= file_.RecordCount(); ++n) {
    ++record_number;  // skipped records count too
    const TeamYearRecord record = TeamYearRecord::Decode(file_.Record(n));
    if (record.record_status != 0) {
      reporter.RecordSkipped(kTeamYearFile, "record status not 0");
      continue;
    }
    if (record.year < 1) {
      reporter.RecordSkipped(kTeamYearFile, "year below 1");
      continue;
    }
    if (record.team_id < 0 || record.team_id > kMaxTeamId) {
      reporter.RecordSkipped(kTeamYearFile, "team id outside 0 to 9999");
      continue;
    }
    if (record.league_id < 0 || record.league_id > kMaxLeagueId) {
      reporter.RecordSkipped(kTeamYearFile, "league id outside 0 to 9999");
      continue;
    }
    TeamSeason season;
    season.record_number = record_number;
    season.team_id = record.team_id;
    season.year = record.year;
    season.league_id = record.league_id;
    season.display_name = TeamDisplayName(record);
    season.regular_season = record.regular_season;
    season.post_season_record_number = HasPostSeasonGames(record) ? record_number : 0;
    team_names_.Set(season.team_id, season.display_name);
    seasons_.push_back(std::move(season));
  }
}

TeamYearRecord TeamYearFile::Record(int64_t number) const {
  if (number < 1 || number > RecordCount()) {
    throw StatCraneError("Record " + std::to_string(number) + " of " + std::string(kTeamYearFile) +
                         " does not exist (the file has " + std::to_string(RecordCount()) +
                         " records)");
  }
  return TeamYearRecord::Decode(file_.Record(static_cast<size_t>(number)));
}

}  // namespace statcrane
