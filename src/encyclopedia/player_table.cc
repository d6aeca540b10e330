#include "encyclopedia/player_table.h"

#include "encyclopedia/record_layouts.h"

namespace statcrane {

BirthDates LoadBirthDates(const EncyclopediaFolder& folder, SkipReporter& reporter) {
  return LoadPlayerTable(RecordFile::Read(folder, kPlayerFile, PlayerRecord::kSize, reporter),
                         reporter);
}

BirthDates LoadPlayerTable(const RecordFile& file, SkipReporter& reporter) {
  BirthDates table;
  const size_t count = file.RecordCount();
  for (size_t n = 1; n <= count; ++n) {
    const PlayerRecord record = PlayerRecord::Decode(file.Record(n));
    if (record.record_status != 0) {
      reporter.RecordSkipped(kPlayerFile, "record status not 0");
      continue;
    }
    if (record.birth_year < 1801) {
      reporter.RecordSkipped(kPlayerFile, "birth year before 1801");
      continue;
    }
    const int id = record.player_id;
    if (id < 0 || id > kMaxPlayerId) {
      reporter.RecordSkipped(kPlayerFile, "player id outside 0 to 36500");
      continue;
    }
    // The date type reaches the year 9999.
    if (record.birth_year > 9999 ||
        !IsCalendarDate(record.birth_year, record.birth_month, record.birth_day)) {
      reporter.RecordSkipped(kPlayerFile, "birth date is not a calendar date");
      continue;
    }
    table.Set(id, CivilDate{record.birth_year, record.birth_month, record.birth_day});
  }
  return table;
}

}  // namespace statcrane
