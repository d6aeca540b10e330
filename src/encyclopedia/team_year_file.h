// enctmyr.dat, the team-year file: one record per team and season. Read
// once into memory; the used records are taken in file order, and single
// records are looked up again by their record number.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "encyclopedia/encyclopedia_folder.h"
#include "encyclopedia/record_file.h"
#include "encyclopedia/record_layouts.h"
#include "encyclopedia/team_table.h"
#include "util/run_report.h"

namespace statcrane {

// TeamNames: the display name of each team id, from the last used record of
// the team in file order.
class TeamNames {
 public:
  TeamNames() : entries_(kMaxTeamId + 1) {}
  // Empty text for a team with no used record and for ids outside 0 to 9999.
  const std::string& operator[](int team_id) const {
    static const std::string kEmpty;
    return team_id >= 0 && team_id <= kMaxTeamId ? entries_[team_id] : kEmpty;
  }
  void Set(int team_id, std::string name) { entries_.at(team_id) = std::move(name); }

 private:
  std::vector<std::string> entries_;
};

// What the team phase takes from one used record.
struct TeamSeason {
  int64_t record_number = 0;  // from 1, skipped records counted
  int team_id = 0;
  int year = 0;
  int league_id = 0;
  std::string display_name;  // TeamName1, a space, TeamName2
  TeamStatBlock regular_season;
  // RecordNumber when the season has any post-season win or loss, else 0.
  int64_t post_season_record_number = 0;
};

// TeamName1, one space, TeamName2.
std::string TeamDisplayName(const TeamYearRecord& record);
// True when any of the division, league championship or world series Won or
// Lost is not 0.
bool HasPostSeasonGames(const TeamYearRecord& record);

class TeamYearFile {
 public:
  // Reads the file of the folder (a missing file has no records).
  static TeamYearFile Read(const EncyclopediaFolder& folder, SkipReporter& reporter);
  // Takes the records of `file`. A record is used when its RecordStatus is 0
  // and its Year 1 or more; a used record with a TeamId or LeagueId outside
  // 0 to 9999 is skipped and reported.
  TeamYearFile(RecordFile file, SkipReporter& reporter);

  // The used records, in file order.
  const std::vector<TeamSeason>& Seasons() const { return seasons_; }
  const TeamNames& team_names() const { return team_names_; }

  int64_t RecordCount() const { return static_cast<int64_t>(file_.RecordCount()); }
  // Record `number` (from 1) of the file, whether used or not. Throws
  // StatCraneError for a number outside 1..RecordCount().
  TeamYearRecord Record(int64_t number) const;

 private:
  RecordFile file_;
  std::vector<TeamSeason> seasons_;
  TeamNames team_names_;
};

}  // namespace statcrane
