// Birth dates by player id, from ENCPLYR.DAT.
#pragma once

#include <vector>

#include "encyclopedia/encyclopedia_folder.h"
#include "encyclopedia/id_table.h"
#include "encyclopedia/record_file.h"
#include "util/dates.h"
#include "util/skip_report.h"

namespace statcrane {

// The birth date of each player id: the zero date (30 December 1899) for an
// id no used record names, also for ids outside 1 to 36500.
class BirthDates : public IdTable<CivilDate, kMaxPlayerId> {
 public:
  BirthDates() : IdTable(kZeroDate) {}
};

// Reads ENCPLYR.DAT in file order. A record is used when it is not deleted
// (record status 0), its birth year is 1801 or later, its player id lies in
// 1 to 36500 (no statistics line names a lower one) and its birth month and
// day form a calendar date with the year (years up to 9999); it then sets
// its player's birth date (a later record wins). Every other record is
// skipped and reported with its reason.
BirthDates LoadBirthDates(const EncyclopediaFolder& folder, SkipReporter& reporter);
BirthDates LoadBirthDates(const RecordFile& file, SkipReporter& reporter);

}  // namespace statcrane
