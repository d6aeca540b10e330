#include "encyclopedia/team_table.h"

#include "encyclopedia/record_file.h"
#include "encyclopedia/record_layouts.h"

namespace statcrane {

TeamAbbreviations LoadTeamAbbreviations(const EncyclopediaFolder& folder, SkipReporter& reporter) {
  TeamAbbreviations abbreviations;
  const RecordFile file = RecordFile::Read(folder, kTeamFile, TeamRecord::kSize, reporter);
  for (size_t n = 1; n <= file.RecordCount(); ++n) {
    const TeamRecord record = TeamRecord::Decode(file.Record(n));
    if (record.record_status != 0) {
      reporter.RecordSkipped(kTeamFile, "record status not 0");
    } else if (record.gate_a < 1) {
      reporter.RecordSkipped(kTeamFile, "first gate field below 1");
    } else if (record.gate_b < 1) {
      reporter.RecordSkipped(kTeamFile, "second gate field below 1");
    } else if (record.team_id < 0 || record.team_id > kMaxTeamId) {
      reporter.RecordSkipped(kTeamFile, "team id outside 0 to 9999");
    } else {
      abbreviations.Set(record.team_id, record.abbreviation);
    }
  }
  return abbreviations;
}

}  // namespace statcrane
