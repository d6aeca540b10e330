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

TeamYearFile LoadTeamYears(const EncyclopediaFolder& folder, SkipReporter& reporter) {
  return LoadTeamYears(RecordFile::Read(folder, kTeamYearFile, TeamYearRecord::kSize, reporter),
                       reporter);
}

TeamYearFile LoadTeamYears(RecordFile file, SkipReporter& reporter) {
  return TeamYearFile(std::move(file), reporter);
}

TeamYearFile::TeamYearFile(RecordFile file, SkipReporter& reporter) : file_(std::move(file)) {
  // Record numbers count the skipped records too.
  file_.ForEachRecord([&](size_t n) {
    const TeamYearRecord record = TeamYearRecord::Decode(file_.Record(n));
    if (record.record_status != 0) {
      reporter.RecordSkipped(kTeamYearFile, kDeletedRecords);
    } else if (record.year < 1) {
      reporter.RecordSkipped(kTeamYearFile, kYearsBefore1);
    } else if (record.team_id < 0 || record.team_id > kMaxTeamId) {
      reporter.RecordSkipped(kTeamYearFile, kTeamIdsOutOfRange);
    } else if (record.league_id < 0 || record.league_id > kMaxLeagueId) {
      reporter.RecordSkipped(kTeamYearFile, kLeagueIdsOutOfRange);
    } else {
      TeamSeason season;
      season.record_number = static_cast<int64_t>(n);
      season.team_id = record.team_id;
      season.year = record.year;
      season.league_id = record.league_id;
      season.display_name = TeamDisplayName(record);
      season.regular_season = record.regular_season;
      season.post_season_record_number = HasPostSeasonGames(record) ? season.record_number : 0;
      team_names_.Set(season.team_id, season.display_name);
      seasons_.push_back(std::move(season));
    }
  });
}

TeamYearRecord TeamYearFile::Record(int64_t number) const {
  if (number < 1 || number > record_count()) {
    throw StatCraneError("Record " + std::to_string(number) + " of " + std::string(kTeamYearFile) +
                         " does not exist (the file has " + std::to_string(record_count()) +
                         " records)");
  }
  return file_.Decode<TeamYearRecord>(static_cast<size_t>(number));
}

}  // namespace statcrane
