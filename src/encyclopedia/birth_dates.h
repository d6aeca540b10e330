// Birth dates by player id, from ENCPLYR.DAT.
#pragma once

#include <vector>

#include "encyclopedia/encyclopedia_folder.h"
#include "encyclopedia/record_file.h"
#include "util/dates.h"
#include "util/skip_report.h"

namespace statcrane {

class BirthDates {
 public:
  BirthDates() : entries_(kMaxPlayerId + 1, kZeroDate) {}
  // The birth date of the player; the zero date (30 December 1899) for an id
  // no used record names, also for ids outside 1 to 36500.
  const CivilDate& operator[](int player_id) const {
    return player_id >= 0 && player_id <= kMaxPlayerId ? entries_[player_id] : kZeroDate;
  }
  void Set(int player_id, const CivilDate& date) { entries_.at(player_id) = date; }

 private:
  std::vector<CivilDate> entries_;
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
