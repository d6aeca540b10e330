#include "encyclopedia/team_abbreviations.h"

#include "encyclopedia/record_file.h"
#include "encyclopedia/record_layouts.h"

namespace statcrane {

TeamAbbreviations LoadTeamAbbreviations(const EncyclopediaFolder& folder, SkipReporter& reporter) {
  return LoadTeamAbbreviations(RecordFile::Read(folder, kTeamFile, TeamRecord::kSize, reporter),
                               reporter);
}

TeamAbbreviations LoadTeamAbbreviations(const RecordFile& file, SkipReporter& reporter) {
  TeamAbbreviations abbreviations;
  file.ForEachRecord([&](size_t n) {
    const TeamRecord record = TeamRecord::Decode(file.Record(n));
    if (record.record_status != 0) {
      reporter.RecordSkipped(kTeamFile, kDeletedRecords);
    } else if (record.gate_a < 1 || record.gate_b < 1) {
      reporter.RecordSkipped(kTeamFile, {"team not in use", "teams not in use"});
    } else if (record.team_id < 0 || record.team_id > kMaxTeamId) {
      reporter.RecordSkipped(kTeamFile, kTeamIdsOutOfRange);
    } else {
      abbreviations.Set(record.team_id, record.abbreviation);
    }
  });
  return abbreviations;
}

}  // namespace statcrane
