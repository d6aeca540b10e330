#include "encyclopedia/team_table.h"

#include "encyclopedia/record_file.h"
#include "encyclopedia/record_layouts.h"

namespace statcrane {

TeamAbbrevTable LoadTeamTable(const EncyclopediaFolder& folder, SkipReporter& reporter) {
  TeamAbbrevTable TeamAbbrev;
  const RecordFile file = RecordFile::Read(folder, kTeamFile, TeamRecord::kSize, reporter);
  for (size_t n = 1; n <= file.RecordCount(); ++n) {
    const TeamRecord record = TeamRecord::Decode(file.Record(n));
    if (record.RecordStatus != 0) {
      reporter.RecordSkipped(kTeamFile, "record status not 0");
    } else if (record.GateA < 1) {
      reporter.RecordSkipped(kTeamFile, "first gate field below 1");
    } else if (record.GateB < 1) {
      reporter.RecordSkipped(kTeamFile, "second gate field below 1");
    } else if (record.TeamId < 0 || record.TeamId > kMaxTeamId) {
      reporter.RecordSkipped(kTeamFile, "team id outside 0 to 9999");
    } else {
      TeamAbbrev.Set(record.TeamId, record.Abbrev);
    }
  }
  return TeamAbbrev;
}

}  // namespace statcrane
