#include "encyclopedia/league_files.h"

#include <algorithm>
#include <string>
#include <utility>

#include "encyclopedia/record_layouts.h"
#include "encyclopedia/team_abbreviations.h"
#include "util/error.h"

namespace statcrane {

void Divisions::Create(int lowest_team, int highest_team, int lowest_year, int highest_year) {
  created_ = true;
  lowest_team_ = lowest_team;
  highest_team_ = highest_team;
  lowest_year_ = lowest_year;
  highest_year_ = highest_year;
  entries_.clear();
}

const std::string& Divisions::operator()(int team_id, int year) const {
  static const std::string kEmpty;
  if (!Contains(team_id, year)) return kEmpty;
  const auto it = entries_.find(Key(team_id, year));
  return it == entries_.end() ? kEmpty : it->second;
}

void Divisions::Set(int team_id, int year, std::string text) {
  if (!Contains(team_id, year)) {
    throw StatCraneError("The division of team " + std::to_string(team_id) + " in " +
                         std::to_string(year) + " (" + std::string(kLeagueYearFile) +
                         ") lies outside the division table");
  }
  entries_[Key(team_id, year)] = std::move(text);
}

namespace {

// Pass 1: the numbers of the used league-year records, in file order (the
// others are reported here), and the team ids and years they span.
std::vector<size_t> BoundsPass(const RecordFile& file, Divisions& table, SkipReporter& reporter) {
  std::vector<size_t> used;
  int lowest_year = 0, highest_year = 0, lowest_team = 0, highest_team = 0;
  file.ForEachRecord([&](size_t n) {
    const LeagueYearRecord record = LeagueYearRecord::Decode(file.Record(n));
    bool team_out_of_range = false;
    for (const auto& division : record.division_teams) {
      for (int16_t team : division) team_out_of_range |= team > kMaxTeamId;
    }
    if (record.record_status != 0) {
      reporter.RecordSkipped(kLeagueYearFile, kDeletedRecords);
    } else if (record.year < 1) {
      reporter.RecordSkipped(kLeagueYearFile, kYearsBefore1);
    } else if (record.league_id < 0 || record.league_id > kMaxLeagueId) {
      reporter.RecordSkipped(kLeagueYearFile, kLeagueIdsOutOfRange);
    } else if (team_out_of_range) {
      reporter.RecordSkipped(kLeagueYearFile, kTeamIdsOutOfRange);
    } else {
      if (used.empty()) {
        lowest_year = highest_year = record.year;
        // Seeded from the first slot even when it is empty (negative).
        lowest_team = highest_team = record.division_teams[0][0];
      }
      used.push_back(n);
      lowest_year = std::min<int>(lowest_year, record.year);
      highest_year = std::max<int>(highest_year, record.year);
      for (const auto& division : record.division_teams) {
        for (const int team : division) {
          if (team >= 0 && team < lowest_team) lowest_team = team;
          if (team >= 0 && team > highest_team) highest_team = team;
        }
      }
    }
  });
  if (!used.empty()) table.Create(lowest_team, highest_team, lowest_year, highest_year);
  return used;
}

// Pass 2: the first two accepted leagues get their colours.
void LeaguePass(const RecordFile& file, ColouredLeagues& colours, SkipReporter& reporter) {
  int accepted = 0;
  file.ForEachRecord([&](size_t n) {
    const LeagueRecord record = LeagueRecord::Decode(file.Record(n));
    if (record.record_status != 0) {
      reporter.RecordSkipped(kLeagueFile, kDeletedRecords);
    } else if (!record.league_name_present()) {
      reporter.RecordSkipped(kLeagueFile, {"league without a name", "leagues without a name"});
    } else if (record.use_mark <= 0) {
      reporter.RecordSkipped(kLeagueFile, {"league not in use", "leagues not in use"});
    } else if (record.league_id < 0 || record.league_id > kMaxLeagueId) {
      reporter.RecordSkipped(kLeagueFile, kLeagueIdsOutOfRange);
    } else {
      ++accepted;
      if (accepted == 1) colours.Set(record.league_id, LeagueColour::kFirstLeague);
      if (accepted == 2) colours.Set(record.league_id, LeagueColour::kSecondLeague);
    }
  });
}

// Pass 3: league names (the last record of a league wins) and divisions.
void DivisionPass(const RecordFile& file, const std::vector<size_t>& used,
                  LeagueDisplayNames& names, Divisions& table) {
  const std::string no_division(20, ' ');
  for (const size_t n : used) {
    const LeagueYearRecord record = file.Decode<LeagueYearRecord>(n);
    names.Set(record.league_id, record.league_name);
    const bool has_divisions = record.division_name_present(0) && record.division_name_present(1);
    for (int d = 0; d < LeagueYearRecord::kDivisions; ++d) {
      if (has_divisions && !record.division_name_present(d)) continue;
      for (const int team : record.division_teams[d]) {
        if (team < 0) continue;
        table.Set(team, record.year, has_divisions ? record.division_names[d] : no_division);
      }
    }
  }
}

}  // namespace

LeagueFiles LoadLeagueFiles(const RecordFile& leagues, const RecordFile& league_years,
                            SkipReporter& reporter) {
  LeagueFiles tables;
  const std::vector<size_t> used = BoundsPass(league_years, tables.divisions, reporter);
  LeaguePass(leagues, tables.colours, reporter);
  DivisionPass(league_years, used, tables.names, tables.divisions);
  return tables;
}

LeagueFiles LoadLeagueFiles(const EncyclopediaFolder& folder, SkipReporter& reporter) {
  const RecordFile league_years =
      RecordFile::Read(folder, kLeagueYearFile, LeagueYearRecord::kSize, reporter);
  const RecordFile leagues = RecordFile::Read(folder, kLeagueFile, LeagueRecord::kSize, reporter);
  return LoadLeagueFiles(leagues, league_years, reporter);
}

}  // namespace statcrane
