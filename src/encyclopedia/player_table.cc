#include "encyclopedia/player_table.h"

#include "encyclopedia/record_layouts.h"

namespace statcrane {

PlayerBirthDateTable LoadPlayerTable(const EncyclopediaFolder& folder, SkipReporter& reporter) {
  return LoadPlayerTable(RecordFile::Read(folder, kPlayerFile, PlayerRecord::kSize, reporter),
                         reporter);
}

PlayerBirthDateTable LoadPlayerTable(const RecordFile& file, SkipReporter& reporter) {
  PlayerBirthDateTable table;
  const size_t count = file.RecordCount();
  for (size_t n = 1; n <= count; ++n) {
    const PlayerRecord record = PlayerRecord::Decode(file.Record(n));
    if (record.RecordStatus != 0) {
      reporter.RecordSkipped(kPlayerFile, "record status not 0");
      continue;
    }
    if (record.BirthYear < 1801) {
      reporter.RecordSkipped(kPlayerFile, "birth year before 1801");
      continue;
    }
    const int id = record.PlayerId;
    if (id < 0 || id > kMaxBirthDatePlayerId) {
      reporter.RecordSkipped(kPlayerFile, "player id outside 0 to 36500");
      continue;
    }
    // The date type reaches the year 9999.
    if (record.BirthYear > 9999 ||
        !IsCalendarDate(record.BirthYear, record.BirthMonth, record.BirthDay)) {
      reporter.RecordSkipped(kPlayerFile, "birth date is not a calendar date");
      continue;
    }
    table.Set(id, CivilDate{record.BirthYear, record.BirthMonth, record.BirthDay});
  }
  return table;
}

}  // namespace statcrane
