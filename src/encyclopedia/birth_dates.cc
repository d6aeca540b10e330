#include "encyclopedia/birth_dates.h"

#include "encyclopedia/record_layouts.h"

namespace statcrane {

BirthDates LoadBirthDates(const EncyclopediaFolder& folder, SkipReporter& reporter) {
  return LoadBirthDates(RecordFile::Read(folder, kPlayerFile, PlayerRecord::kSize, reporter),
                        reporter);
}

BirthDates LoadBirthDates(const RecordFile& file, SkipReporter& reporter) {
  BirthDates birth_dates;
  file.ForEachRecord([&](size_t n) {
    const PlayerRecord record = PlayerRecord::Decode(file.Record(n));
    if (record.record_status != 0) {
      reporter.RecordSkipped(kPlayerFile, kDeletedRecords);
    } else if (record.birth_year < 1801) {
      reporter.RecordSkipped(kPlayerFile, {"player born before 1801", "players born before 1801"});
    } else if (record.player_id < 1 || record.player_id > kMaxPlayerId) {
      reporter.RecordSkipped(kPlayerFile, kPlayerIdsOutOfRange);
    } else if (record.birth_year > 9999 ||  // the date type reaches the year 9999
               !IsCalendarDate(record.birth_year, record.birth_month, record.birth_day)) {
      reporter.RecordSkipped(kPlayerFile, {"birth date that is not a calendar date",
                                           "birth dates that are not calendar dates"});
    } else {
      birth_dates.Set(record.player_id,
                      CivilDate{record.birth_year, record.birth_month, record.birth_day});
    }
  });
  return birth_dates;
}

}  // namespace statcrane
