#include "encyclopedia/team_year_file.h"

#include <string>
#include <utility>

#include "encyclopedia/league_files.h"
#include "util/error.h"

namespace statcrane {

std::string TeamDisplayName(const TeamYearRecord& record) {
  return record.TeamName1 + " " + record.TeamName2;
}

bool HasPostSeasonGames(const TeamYearRecord& record) {
  return record.DCS.Won != 0 || record.LCS.Won != 0 || record.WS.Won != 0 || record.DCS.Lost != 0 ||
         record.LCS.Lost != 0 || record.WS.Lost != 0;
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
    if (record.RecordStatus != 0) {
      reporter.RecordSkipped(kTeamYearFile, "record status not 0");
      continue;
    }
    if (record.Year < 1) {
      reporter.RecordSkipped(kTeamYearFile, "year below 1");
      continue;
    }
    if (record.TeamId < 0 || record.TeamId > kMaxTeamId) {
      reporter.RecordSkipped(kTeamYearFile, "team id outside 0 to 9999");
      continue;
    }
    if (record.LeagueId < 0 || record.LeagueId > kMaxLeagueId) {
      reporter.RecordSkipped(kTeamYearFile, "league id outside 0 to 9999");
      continue;
    }
    TeamSeason season;
    season.RecordNumber = record_number;
    season.TeamId = record.TeamId;
    season.Year = record.Year;
    season.LeagueId = record.LeagueId;
    season.DisplayName = TeamDisplayName(record);
    season.Reg = record.Reg;
    season.PostSeasonRecordNo = HasPostSeasonGames(record) ? record_number : 0;
    TeamNames_.Set(season.TeamId, season.DisplayName);
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
