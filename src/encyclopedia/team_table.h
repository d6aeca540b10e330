// TeamAbbrev: team abbreviations by team id, from ENCTEAM.DAT.
#pragma once

#include <string>
#include <vector>

#include "encyclopedia/encyclopedia_folder.h"
#include "util/run_report.h"

namespace statcrane {

constexpr int kMaxTeamId = 9999;

class TeamAbbreviations {
 public:
  TeamAbbreviations() : entries_(kMaxTeamId + 1) {}
  // The abbreviation of the team; empty text for an id no accepted record
  // names, also for ids outside 0 to 9999.
  const std::string& operator[](int team_id) const {
    static const std::string kEmpty;
    return team_id >= 0 && team_id <= kMaxTeamId ? entries_[team_id] : kEmpty;
  }
  void Set(int team_id, std::string abbrev) { entries_.at(team_id) = std::move(abbrev); }

 private:
  std::vector<std::string> entries_;
};

// Reads ENCTEAM.DAT: records with RecordStatus 0 and both gates at 1 or more
// set their TeamId's entry to their Abbrev (a later record wins). Records
// with a TeamId outside 0 to 9999 are skipped and reported.
TeamAbbreviations LoadTeamAbbreviations(const EncyclopediaFolder& folder, SkipReporter& reporter);

}  // namespace statcrane
