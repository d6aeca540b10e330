// Shared by the player tests.
#pragma once

#include <string>
#include <string_view>

#include "players/letter_sheets.h"
#include "workbook/workbook.h"

namespace statcrane {

// The player sheets, named as a run names them, in a workbook of their own.
inline PlayerSheets AddPlayerSheets(Workbook& book) {
  PlayerSheets sheets;
  const char* hitting[] = {"HitRegTotals", "HitDCSTotals", "HitLCSTotals", "HitWSTotals"};
  const char* pitching[] = {"PitchRegTotals", "PitchDCSTotals", "PitchLCSTotals", "PitchWSTotals"};
  for (size_t s = 0; s < 4; ++s) {
    sheets.pitching_summaries[s] = &book.AddSheet(pitching[s]);
    sheets.hitting_summaries[s] = &book.AddSheet(hitting[s]);
  }
  for (int i = 0; i < 26; ++i) {
    sheets.letters[static_cast<size_t>(i)] =
        &book.AddSheet(std::string(1, static_cast<char>('A' + i)));
  }
  sheets.letters[kOtherInitial] = &book.AddSheet("#");
  return sheets;
}

// The sheet of that name; it must exist.
inline Worksheet& SheetNamed(Workbook& book, std::string_view name) {
  Worksheet* sheet = book.FindSheet(name);
  if (sheet == nullptr) throw std::logic_error("no sheet " + std::string(name));
  return *sheet;
}

}  // namespace statcrane
