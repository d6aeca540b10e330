// Team abbreviations by team id, from ENCTEAM.DAT.
#pragma once

#include <string>
#include <vector>

#include "encyclopedia/encyclopedia_folder.h"
#include "encyclopedia/id_table.h"
#include "encyclopedia/record_file.h"
#include "util/skip_report.h"

namespace statcrane {

// The abbreviation of each team id: empty text for an id no used record
// names, also for ids outside 0 to 9999.
class TeamAbbreviations : public IdTable<std::string, kMaxTeamId> {};

// Reads ENCTEAM.DAT in file order. A record is used when it is not deleted
// (record status 0), both its gate fields are 1 or more and its team id lies
// in 0 to 9999; it then sets its team's abbreviation (a later record wins).
// Every other record is skipped and reported with its reason.
TeamAbbreviations LoadTeamAbbreviations(const EncyclopediaFolder& folder, SkipReporter& reporter);
TeamAbbreviations LoadTeamAbbreviations(const RecordFile& file, SkipReporter& reporter);

}  // namespace statcrane
