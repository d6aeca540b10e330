// Team abbreviations by team id, from ENCTEAM.DAT.
#pragma once

#include <string>
#include <vector>

#include "encyclopedia/encyclopedia_folder.h"
#include "encyclopedia/record_file.h"
#include "util/skip_report.h"

namespace statcrane {

class TeamAbbreviations {
 public:
  TeamAbbreviations() : entries_(kMaxTeamId + 1) {}
  // The abbreviation of the team; empty text for an id no used record
  // names, also for ids outside 0 to 9999.
  const std::string& operator[](int team_id) const {
    static const std::string kEmpty;
    return team_id >= 0 && team_id <= kMaxTeamId ? entries_[team_id] : kEmpty;
  }
  void Set(int team_id, std::string abbreviation) {
    entries_.at(team_id) = std::move(abbreviation);
  }

 private:
  std::vector<std::string> entries_;
};

// Reads ENCTEAM.DAT in file order. A record is used when it is not deleted
// (record status 0), both its gate fields are 1 or more and its team id lies
// in 0 to 9999; it then sets its team's abbreviation (a later record wins).
// Every other record is skipped and reported with its reason.
TeamAbbreviations LoadTeamAbbreviations(const EncyclopediaFolder& folder, SkipReporter& reporter);

}  // namespace statcrane
