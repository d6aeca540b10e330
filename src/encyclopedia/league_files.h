// The league tables of a run, read from encleag.dat and enclgyr.dat: the
// colour of each league, the name of each league, and the division of each
// team in each season.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "encyclopedia/encyclopedia_folder.h"
#include "encyclopedia/id_table.h"
#include "encyclopedia/record_file.h"
#include "util/skip_report.h"

namespace statcrane {

// Which of the two coloured leagues a league is: the first and second league
// accepted from encleag.dat have a colour each (the team sheets choose the
// fills); every other league has none.
enum class LeagueColour { kNone, kFirstLeague, kSecondLeague };

// The colour of each league id: kNone for a league without a colour and for
// ids outside 0 to 9999.
class ColouredLeagues : public IdTable<LeagueColour, kMaxLeagueId> {};

// The name of each league id: empty text for a league never named and for
// ids outside 0 to 9999.
class LeagueDisplayNames : public IdTable<std::string, kMaxLeagueId> {};

// The division text of a team in a season, over the team ids
// and years that the used league-year records span. An entry no record
// filled, and any (team id, year) outside the bounds, reads as empty text.
class Divisions {
 public:
  // Creates the table empty over lowest..highest team id and year.
  void Create(int lowest_team, int highest_team, int lowest_year, int highest_year);
  bool created() const { return created_; }
  bool Contains(int team_id, int year) const {
    return created_ && team_id >= lowest_team_ && team_id <= highest_team_ &&
           year >= lowest_year_ && year <= highest_year_;
  }
  const std::string& operator()(int team_id, int year) const;
  // Throws StatCraneError for a (team id, year) outside the bounds.
  void Set(int team_id, int year, std::string text);

  int lowest_team() const { return lowest_team_; }
  int highest_team() const { return highest_team_; }
  int lowest_year() const { return lowest_year_; }
  int highest_year() const { return highest_year_; }

 private:
  static uint64_t Key(int team_id, int year) {
    return (static_cast<uint64_t>(static_cast<uint32_t>(team_id)) << 32) |
           static_cast<uint32_t>(year);
  }
  bool created_ = false;
  int lowest_team_ = 0;
  int highest_team_ = -1;
  int lowest_year_ = 0;
  int highest_year_ = -1;
  std::unordered_map<uint64_t, std::string> entries_;
};

struct LeagueFiles {
  ColouredLeagues colours;
  LeagueDisplayNames names;
  Divisions divisions;
};

// Reads enclgyr.dat and encleag.dat in three passes: the bounds of the
// division table (league-year records), the colours (league records), then
// the names and divisions (league-year records again). A league-year record
// is used when it is not deleted (record status 0), its year is 1 or more,
// its league id lies in 0 to 9999 and no division slot names a team id above
// 9999. A league record is accepted when it is not deleted, its name is
// present, its use mark is above 0 and its league id lies in 0 to 9999.
// Every other record is skipped and reported with its reason.
LeagueFiles LoadLeagueFiles(const EncyclopediaFolder& folder, SkipReporter& reporter);
LeagueFiles LoadLeagueFiles(const RecordFile& leagues, const RecordFile& league_years,
                            SkipReporter& reporter);

}  // namespace statcrane
