#include "encyclopedia/league_files.h"

#include <string>
#include <utility>

#include "encyclopedia/record_layouts.h"
#include "encyclopedia/team_table.h"
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
    throw StatCraneError("Division of team " + std::to_string(team_id) + " in " +
                         std::to_string(year) + " lies outside the division table");
  }
  entries_[Key(team_id, year)] = std::move(text);
}

namespace {

// The league-year records every pass over enclgyr.dat takes, in file order;
// the others are reported once here.
std::vector<LeagueYearRecord> UsedLeagueYears(const RecordFile& file, SkipReporter& reporter) {
  std::vector<LeagueYearRecord> used;
  for (size_t n = 1; n <= file.RecordCount(); ++n) {
    LeagueYearRecord record = LeagueYearRecord::Decode(file.Record(n));
    if (record.record_status != 0) {
      reporter.RecordSkipped(kLeagueYearFile, "record status not 0");
      continue;
    }
    if (record.year < 1) {
      reporter.RecordSkipped(kLeagueYearFile, "year below 1");
      continue;
    }
    if (record.league_id < 0 || record.league_id > kMaxLeagueId) {
      reporter.RecordSkipped(kLeagueYearFile, "league id outside 0 to 9999");
      continue;
    }
    bool team_out_of_range = false;
    for (const auto& division : record.division_teams) {
      for (int16_t team : division) team_out_of_range |= team > kMaxTeamId;
    }
    if (team_out_of_range) {
      reporter.RecordSkipped(kLeagueYearFile, "team id outside 0 to 9999");
      continue;
    }
    used.push_back(std::move(record));
  }
  return used;
}

// Pass 1: the team ids and years the used records span.
void BoundsPass(const std::vector<LeagueYearRecord>& league_years, Divisions& table) {
  if (league_years.empty()) return;
  const LeagueYearRecord& first = league_years.front();
  int lowest_year = first.year;
  int highest_year = first.year;
  // Seeded from the first slot even when it is empty (negative).
  int lowest_team = first.division_teams[0][0];
  int highest_team = first.division_teams[0][0];
  for (const LeagueYearRecord& record : league_years) {
    if (record.year < lowest_year) lowest_year = record.year;
    if (record.year > highest_year) highest_year = record.year;
    for (int k = 0; k < LeagueYearRecord::kSlots; ++k) {
      for (int d = 0; d < LeagueYearRecord::kDivisions; ++d) {
        const int team = record.division_teams[d][k];
        if (team >= 0 && team < lowest_team) lowest_team = team;
        if (team >= 0 && team > highest_team) highest_team = team;
      }
    }
  }
  table.Create(lowest_team, highest_team, lowest_year, highest_year);
}

// Pass 2: the first two accepted leagues get their colours.
void LeaguePass(const RecordFile& file, LeagueColours& league_colours, SkipReporter& reporter) {
  int accepted = 0;
  for (size_t n = 1; n <= file.RecordCount(); ++n) {
    const LeagueRecord record = LeagueRecord::Decode(file.Record(n));
    if (record.record_status != 0) {
      reporter.RecordSkipped(kLeagueFile, "record status not 0");
      continue;
    }
    if (!record.league_name_present()) {
      reporter.RecordSkipped(kLeagueFile, "league name absent");
      continue;
    }
    if (record.use_mark <= 0) {
      reporter.RecordSkipped(kLeagueFile, "league not in use");
      continue;
    }
    if (record.league_id < 0 || record.league_id > kMaxLeagueId) {
      reporter.RecordSkipped(kLeagueFile, "league id outside 0 to 9999");
      continue;
    }
    ++accepted;
    if (accepted == 1) league_colours.Set(record.league_id, kFirstLeagueColour);
    if (accepted == 2) league_colours.Set(record.league_id, kSecondLeagueColour);
  }
}

// Pass 3: league names (the last record of a league wins) and divisions.
void DivisionPass(const std::vector<LeagueYearRecord>& league_years, LeagueNames& league_names,
                  Divisions& table) {
  const std::string no_division(20, ' ');
  for (const LeagueYearRecord& record : league_years) {
    league_names.Set(record.league_id, record.league_name);
    const bool has_divisions = record.division_name_present(0) && record.division_name_present(1);
    for (int d = 0; d < LeagueYearRecord::kDivisions; ++d) {
      if (has_divisions && !record.division_name_present(d)) continue;
      for (int k = 0; k < LeagueYearRecord::kSlots; ++k) {
        const int team = record.division_teams[d][k];
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
  const std::vector<LeagueYearRecord> used = UsedLeagueYears(league_years, reporter);
  BoundsPass(used, tables.divisions);
  LeaguePass(leagues, tables.colours, reporter);
  DivisionPass(used, tables.names, tables.divisions);
  return tables;
}

LeagueFiles LoadLeagueFiles(const EncyclopediaFolder& folder, SkipReporter& reporter) {
  const RecordFile league_years =
      RecordFile::Read(folder, kLeagueYearFile, LeagueYearRecord::kSize, reporter);
  const RecordFile leagues = RecordFile::Read(folder, kLeagueFile, LeagueRecord::kSize, reporter);
  return LoadLeagueFiles(leagues, league_years, reporter);
}

}  // namespace statcrane
