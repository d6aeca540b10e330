// ENCPLYR.DAT: the input is the whole file.
#include <cstddef>
#include <cstdint>

#include "encyclopedia/birth_dates.h"
#include "encyclopedia/record_layouts.h"
#include "fuzz/fuzz_support.h"
#include "util/dates.h"

using namespace statcrane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  const fuzz::NamedBytes files[] = {{kPlayerFile, bytes}};
  const EncyclopediaFolder folder(fuzz::WriteFolder("player", files));
  SkipReport report;
  const BirthDates birth_dates = LoadBirthDates(folder, report);
  fuzz::CheckFileReport(report, kPlayerFile, size, PlayerRecord::kSize);
  // Every date the table holds is the zero date or a calendar date from 1801 on.
  for (size_t offset = 0; offset + PlayerRecord::kSize <= size; offset += PlayerRecord::kSize) {
    const int id = static_cast<int16_t>(data[offset + 2] | (data[offset + 3] << 8));
    const CivilDate& date = birth_dates[id];
    if (date == kZeroDate) continue;
    if (date.year < 1801 || date.year > 9999 || !IsCalendarDate(date.year, date.month, date.day)) {
      fuzz::Finding("the player table holds a date that is not a calendar date");
    }
    // The age the walk computes from it must not overflow.
    (void)YearBoundariesBetween(date, CivilDate{-32768, 7, 1});
    (void)YearBoundariesBetween(date, CivilDate{32767, 7, 1});
  }
  return 0;
}
