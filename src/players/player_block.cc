#include "players/player_block.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>

#include "util/dates.h"

namespace statcrane {
namespace {

constexpr uint8_t kHittingRecord = 1;
constexpr uint8_t kPitchingRecord = 2;

// Writes `value` at `out` as decimal digits, at least `min_digits` of them.
char* AppendNumber(char* out, char* end, int64_t value, int min_digits = 1) {
  char digits[24];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  const int count = static_cast<int>(result.ptr - digits);
  for (int i = count; i < min_digits && out < end; ++i) *out++ = '0';
  for (int i = 0; i < count && out < end; ++i) *out++ = digits[i];
  return out;
}

template <typename Figures>
void ClearGroup(LineGroup<Figures>& group) {
  group.lines.clear();
  group.totals = Figures{};
}

// Adds the kind of a line to the kinds of its section unless a line of that
// kind came before.
void NoteKind(LineKind kind, std::vector<LineKind>& kinds) {
  if (std::find(kinds.begin(), kinds.end(), kind) == kinds.end()) kinds.push_back(kind);
}

}  // namespace

PlayerBlockBuilder::PlayerBlockBuilder(const PlayerStatsFile& stats,
                                       const TeamAbbreviations& team_abbrevs,
                                       const BirthDates& birth_dates)
    : stats_(stats), team_abbrevs_(team_abbrevs), birth_dates_(birth_dates) {}

bool PlayerBlockBuilder::Build(int32_t player_id, PlayerBlock& block) {
  for (std::vector<SortItem>& items : items_) items.clear();
  for (int64_t k : stats_.PlayerRecords(player_id)) {
    const StatsKey& row = stats_.Key(k);
    if (row.season_type == 1) continue;
    const std::optional<Series> section = SeriesOfSeasonType(row.season_type);
    if (!section) {
      ++unknown_season_types_[row.season_type];
      continue;
    }
    // The order key: the year as "0000" (a sign before a negative one), a
    // slash, the record number; compared as text.
    SortItem item{};
    char* out = item.key.data();
    char* const end = out + item.key.size();
    if (row.year < 0) *out++ = '-';
    out = AppendNumber(out, end, std::abs(int64_t{row.year}), 4);
    *out++ = '/';
    out = AppendNumber(out, end, k);
    item.key_size = static_cast<uint8_t>(out - item.key.data());
    item.record = k;
    items_[static_cast<size_t>(*section)].push_back(item);
  }
  if (items_[static_cast<size_t>(Series::kRegularSeason)].empty()) return false;

  block.player_id = player_id;
  birth_date_ = birth_dates_[player_id];
  for (Series s : kAllSeries) {
    std::vector<SortItem>& items = items_[static_cast<size_t>(s)];
    std::stable_sort(items.begin(), items.end(),
                     [](const SortItem& a, const SortItem& b) { return a.Key() < b.Key(); });
    SectionLines& section = block.sections[static_cast<size_t>(s)];
    ClearGroup(section.hitting);
    ClearGroup(section.pitching);
    section.kinds.clear();
    for (size_t q = 0; q < items.size(); ++q) {
      const PlayerStatsRecord record = stats_.Record(items[q].record);
      if (s == Series::kRegularSeason) {
        if (q == 0) block.name = PlayerDisplayName(record);
        if (q + 1 == items.size()) block.summary_name = PlayerDisplayName(record);
      }
      AddLine(items[q].record, record, section);
    }
    section.hitting.totals = HittingFiguresOf(section.hitting.totals.counts);
    section.pitching.totals = PitchingFiguresOf(section.pitching.totals.counts);
  }
  return true;
}

void PlayerBlockBuilder::AddLine(int64_t k, const PlayerStatsRecord& record,
                                 SectionLines& section) {
  const int32_t team_id = stats_.Key(k).team_id;
  const std::string_view club = team_abbrevs_[team_id];
  const int64_t age = YearBoundariesBetween(birth_date_, CivilDate{record.year, 7, 1});
  if (record.line_kind == kHittingRecord) {
    const HittingCounts counts = HittingCountsOf(record);
    section.hitting.lines.push_back({record.year, club, age, HittingFiguresOf(counts), team_id});
    section.hitting.totals.counts += counts;
    NoteKind(LineKind::kHitting, section.kinds);
  } else if (record.line_kind == kPitchingRecord) {
    const PitchingCounts counts = PitchingCountsOf(record);
    section.pitching.lines.push_back({record.year, club, age, PitchingFiguresOf(counts), team_id});
    section.pitching.totals.counts += counts;
    NoteKind(LineKind::kPitching, section.kinds);
  }
}

}  // namespace statcrane
