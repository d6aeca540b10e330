// Shared by the player tests.
#pragma once

#include <string>

#include "workbook/workbook.h"

namespace statcrane {

// The player sheets as the run creates them: "A" to "Z", then the summary
// sheets, the workbook's own sheet removed.
inline void AddPlayerSheets(Workbook& book) {
  for (char c = 'Z'; c >= 'A'; --c) book.AddSheet(std::string(1, c));
  for (const char* name : {"HitWSTotals", "HitLCSTotals", "HitDCSTotals", "HitRegTotals",
                           "PitchWSTotals", "PitchLCSTotals", "PitchDCSTotals", "PitchRegTotals"}) {
    book.AddSheet(name);
  }
  book.Delete("Sheet1");
}

}  // namespace statcrane
