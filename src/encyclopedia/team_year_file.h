// enctmyr.dat, the team-year file: one record per team and season. Read
// once into memory; the used records are taken in file order, and single
// records are looked up again by their record number.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "encyclopedia/encyclopedia_folder.h"
#include "encyclopedia/id_table.h"
#include "encyclopedia/record_file.h"
#include "encyclopedia/record_layouts.h"
#include "encyclopedia/team_abbreviations.h"
#include "util/skip_report.h"

namespace statcrane {

// The display name of each team id, from the last used record of the team
// in file order: empty text for a team with no used record and for ids
// outside 0 to 9999.
class TeamDisplayNames : public IdTable<std::string, kMaxTeamId> {};

// What the team phase takes from one used record.
struct TeamSeason {
  int64_t record_number = 0;  // from 1, skipped records counted
  int team_id = 0;
  int year = 0;
  int league_id = 0;
  std::string display_name;  // the two name parts with a space between them
  TeamStatBlock regular_season;
  // The record number when the season has any post-season win or loss,
  // else 0.
  int64_t post_season_record_number = 0;
};

// The two name parts of the record with one space between them.
std::string TeamDisplayName(const TeamYearRecord& record);
// True when any of the division, league championship or world series blocks
// has a game won or lost.
bool HasPostSeasonGames(const TeamYearRecord& record);

class TeamYearFile;

// Reads enctmyr.dat of the folder (a missing file has no records), or takes
// the records of `file`. A record is used when it is not deleted (record
// status 0), its year is 1 or more and its team and league ids lie in 0 to
// 9999; every other record is skipped and reported.
TeamYearFile LoadTeamYears(const EncyclopediaFolder& folder, SkipReporter& reporter);
TeamYearFile LoadTeamYears(RecordFile file, SkipReporter& reporter);

class TeamYearFile {
 public:
  // The used records, in file order.
  const std::vector<TeamSeason>& Seasons() const { return seasons_; }
  const TeamDisplayNames& team_names() const { return team_names_; }

  int64_t record_count() const { return static_cast<int64_t>(file_.record_count()); }
  // Record `number` (from 1) of the file, whether used or not. Throws
  // StatCraneError for a number outside 1..record_count().
  TeamYearRecord Record(int64_t number) const;

 private:
  friend TeamYearFile LoadTeamYears(RecordFile file, SkipReporter& reporter);
  TeamYearFile(RecordFile file, SkipReporter& reporter);

  RecordFile file_;
  std::vector<TeamSeason> seasons_;
  TeamDisplayNames team_names_;
};

}  // namespace statcrane
