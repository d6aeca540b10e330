// What a player's block holds, as plain data: his season lines grouped by
// section (regular season and the three post-season series) and by kind
// (hitting, pitching), each group with its totals. The letter-sheet writer
// lays a block out; the player-summary writers take one line per group.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "encyclopedia/birth_dates.h"
#include "encyclopedia/player_stats_file.h"
#include "encyclopedia/series.h"
#include "encyclopedia/team_abbreviations.h"
#include "players/season_figures.h"

namespace statcrane {

enum class LineKind : uint8_t { kHitting, kPitching };

template <typename Figures>
struct SeasonLine {
  int32_t year = 0;
  std::string_view club;  // the team's abbreviation, from the team table
  int64_t age = 0;        // calendar-year boundaries from the birth date to 1 July of the year
  Figures figures;
  int32_t team_id = 0;  // the record's team
};
using HittingLine = SeasonLine<HittingFigures>;
using PitchingLine = SeasonLine<PitchingFigures>;

// The lines of one kind in one section, in the section's order, and their
// totals.
template <typename Figures>
struct LineGroup {
  std::vector<SeasonLine<Figures>> lines;
  Figures totals;
};
using HittingGroup = LineGroup<HittingFigures>;
using PitchingGroup = LineGroup<PitchingFigures>;

// One section of a player: his records of its season type, ordered by year,
// then by record number compared as text (record 1500 before record 200),
// as a group of hitting lines and a group of pitching lines. A record whose
// line kind is neither is left out.
struct SectionLines {
  HittingGroup hitting;
  PitchingGroup pitching;

  // The kinds the section has lines of, each once, in the order of their
  // first lines: none, one or both. Each is written as a sub-section.
  std::vector<LineKind> kinds;
};

struct PlayerBlock {
  int32_t player_id = 0;
  // The display name of his first regular-season record (the name row, and
  // the letter sheet) and of his last one (the summary lines).
  std::string name;
  std::string summary_name;
  std::array<SectionLines, kNumSeries> sections;

  const SectionLines& section(Series s) const { return sections[static_cast<size_t>(s)]; }
};

// Builds the blocks of one player after another, reusing its memory.
class PlayerBlockBuilder {
 public:
  PlayerBlockBuilder(const PlayerStatsFile& stats, const TeamAbbreviations& team_abbrevs,
                     const BirthDates& birth_dates);

  // Fills `block` with the player's records of the four sections; records
  // of season type 1 are left out, and those of another unplaced type are
  // counted in unknown_season_types() and left out. False, with `block` in no particular state, for
  // a player without a regular-season record: he gets no block.
  bool Build(int32_t player_id, PlayerBlock& block);

  // The records left out for a season type the program does not know, by
  // type, over every block built.
  const std::map<int, int64_t>& unknown_season_types() const { return unknown_season_types_; }

 private:
  // A record of a section and its place in the section's order.
  struct SortItem {
    std::array<char, 31> key;  // the year as "0000", "/", the record number
    uint8_t key_size;
    int64_t record;
    std::string_view Key() const { return {key.data(), key_size}; }
  };

  void AddLine(int64_t record, const PlayerStatsRecord& line, SectionLines& section);

  const PlayerStatsFile& stats_;
  const TeamAbbreviations& team_abbrevs_;
  const BirthDates& birth_dates_;
  std::map<int, int64_t> unknown_season_types_;
  std::array<std::vector<SortItem>, kNumSeries> items_;
  CivilDate birth_date_;
};

}  // namespace statcrane
