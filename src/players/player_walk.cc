#include "players/player_walk.h"

#include <string_view>

#include "players/block_headers.h"
#include "players/hitting_lines.h"
#include "players/pitching_lines.h"
#include "players/player_phase.h"
#include "util/dates.h"
#include "util/error.h"
#include "workbook/cell_style.h"

namespace statcrane {
namespace {

constexpr int kHittingLine = 1;
constexpr int kPitchingLine = 2;
constexpr int64_t kProgressEvery = 256;

struct SectionInfo {
  int season_type;
  std::string_view hitting_separator;
  std::string_view pitching_separator;
  int hitting_summary;  // position in kPlayerSummarySheets
  int pitching_summary;
};

constexpr std::array<SectionInfo, 4> kSections = {{
    {2, "", "", 4, 0},
    {5, "- - L D S - -", "- - L D S - -", 5, 1},
    {6, "- - L C S - -", "- - L C S - -", 6, 2},
    {7, "- - W  S - -", "- -  W  S  - -", 7, 3},
}};
static_assert(kPlayerSummarySheets[0] == "PitchRegTotals" &&
              kPlayerSummarySheets[3] == "PitchWSTotals" &&
              kPlayerSummarySheets[4] == "HitRegTotals" &&
              kPlayerSummarySheets[7] == "HitWSTotals");

// The season type's section, or -1 for a type the walk does not place.
int SectionOf(int season_type) {
  for (int s = 0; s < 4; ++s) {
    if (kSections[s].season_type == season_type) return s;
  }
  return -1;
}

// Year written with the format "0000".
std::string FourDigitYear(int32_t year) {
  std::string digits = std::to_string(year < 0 ? -int64_t{year} : int64_t{year});
  if (digits.size() < 4) digits.insert(0, 4 - digits.size(), '0');
  return year < 0 ? "-" + digits : digits;
}

class Walker {
 public:
  Walker(const PlayerWalkInput& input, Workbook& workbook, PlayerWalk& walk,
         ProgressObserver& progress, SkipReporter& reporter)
      : in_(input),
        book_(workbook),
        w_(walk),
        line_(walk.line),
        progress_(progress),
        reporter_(reporter) {}

  void Run() {
    const size_t count = in_.player_order.Count();
    for (size_t p = 0; p < count; ++p) {
      if (p % kProgressEvery == 0) {
        CheckStop(progress_);
        progress_.PhaseProgress("players", static_cast<int64_t>(p), static_cast<int64_t>(count));
      }
      if (p + 1 < count) in_.stats.Prefetch(in_.player_order.At(p + 1));
      try {
        WritePlayer(in_.player_order.At(p));
      } catch (const StatCraneError& error) {
        // Say where: a sheet past its last row names the row only.
        throw StatCraneError("Writing player " + in_.player_order.TextAt(p) + " on sheet \"" +
                             book_.ActiveSheet().name() + "\": " + error.message());
      }
    }
    progress_.PhaseProgress("players", static_cast<int64_t>(count), static_cast<int64_t>(count));
  }

 private:
  void GatherSections(int32_t player_id) {
    Reset_Totals(line_);
    for (WalkSection& section : w_.sections) {
      section.list.Clear();
      section.SectionCount = 0;
    }
    w_.FirstRegularRecord = 0;
    for (int64_t k : in_.stats.PlayerRecords(player_id)) {
      const StatsKey& row = in_.stats.Key(k);
      if (row.season_type == 1) continue;
      const int s = SectionOf(row.season_type);
      if (s < 0) {
        reporter_.UnknownSeasonType(row.season_type);
        continue;
      }
      WalkSection& section = w_.sections[s];
      if (s == kRegular && section.SectionCount == 0) w_.FirstRegularRecord = k;
      ++section.SectionCount;
      section.list.Add(
          std::to_string(row.season_type) + FourDigitYear(row.year) + "/" + std::to_string(k), k);
    }
  }

  void WritePlayer(int32_t player_id) {
    w_.CurrentPlayerId = player_id;
    GatherSections(player_id);
    if (w_.sections[kRegular].SectionCount == 0) return;

    WalkSection& regular = w_.sections[kRegular];
    int last_kind = 0;
    for (size_t q = 0; q < regular.list.Count(); ++q) {
      const int64_t k = regular.list.At(q);
      const PlayerStatsRecord record = in_.stats.Record(k);
      PrepareLine(k, record);
      line_.CurrentPlayerName = PlayerDisplayName(record);
      if (q == 0) OpenBlock();
      last_kind = record.line_kind;
      if (record.line_kind == kHittingLine) {
        ++line_.CurrentRow;
        if (q == 0) Hitting_Header(Sheet(), line_);
        Hitter_EntryLine(Sheet(), record, line_);
      } else if (record.line_kind == kPitchingLine) {
        ++line_.CurrentRow;
        line_.OutsForInnings = record.outs_pitched;
        CALC_INNINGS(line_);
        if (q == 0) Pitching_Header(Sheet(), line_);
        Pitcher_EntryLine(Sheet(), record, line_);
      }
    }
    CloseSection(kRegular, last_kind);
    book_.Activate(w_.CurrentLetter);
    Reset_Totals(line_);

    for (int s = kDivision; s <= kWorldSeries; ++s) {
      WalkSection& section = w_.sections[s];
      last_kind = 0;
      for (size_t q = 0; q < section.list.Count(); ++q) {
        const int64_t k = section.list.At(q);
        const PlayerStatsRecord record = in_.stats.Record(k);
        PrepareLine(k, record);
        last_kind = record.line_kind;
        if (record.line_kind == kHittingLine) {
          ++line_.CurrentRow;
          if (q == 0) Separator(kSections[s].hitting_separator, kFillHitting);
          Hitter_EntryLine(Sheet(), record, line_);
        } else if (record.line_kind == kPitchingLine) {
          ++line_.CurrentRow;
          line_.OutsForInnings = record.outs_pitched;
          CALC_INNINGS(line_);
          if (q == 0) Separator(kSections[s].pitching_separator, kFillPitching);
          Pitcher_EntryLine(Sheet(), record, line_);
        }
      }
      if (section.SectionCount > 0) CloseSection(s, last_kind);
      if (s != kWorldSeries) Reset_Totals(line_);
      book_.Activate(w_.CurrentLetter);
    }

    w_.NextRow[static_cast<size_t>(LetterSheetPosition(w_.CurrentLetter))] = line_.CurrentRow + 1;
    ++w_.players_written;
  }

  Worksheet& Sheet() { return book_.ActiveSheet(); }

  // Club and age of record k's line.
  void PrepareLine(int64_t k, const PlayerStatsRecord& record) {
    line_.ClubAbbrev = in_.team_abbreviations[in_.stats.Key(k).team_id];
    line_.Age =
        YearBoundariesBetween(in_.birth_dates[w_.CurrentPlayerId], CivilDate{record.year, 7, 1});
  }

  // The letter sheet of the player's name, his block's first row, and the name
  // row there.
  void OpenBlock() {
    w_.CurrentLetter = LetterSheetFor(line_.CurrentPlayerName);
    if (book_.ActiveSheet().name() != w_.CurrentLetter) {
      book_.ActiveSheet().AutoFitColumns(CellRange::Columns(1, 26));
      if (w_.CurrentLetter == kOtherInitialSheet && !book_.HasSheet(kOtherInitialSheet)) {
        book_.InsertSheetAfter("Z", std::string(kOtherInitialSheet));
      }
      book_.Activate(w_.CurrentLetter);
    }
    line_.CurrentRow = w_.NextRow[static_cast<size_t>(LetterSheetPosition(w_.CurrentLetter))];
    progress_.ProgressText(line_.CurrentPlayerName);
    Name_Header(Sheet(), line_, in_.stats.Key(w_.FirstRegularRecord).player_id);
  }

  // The title row of a post-season section, directly below what precedes it.
  void Separator(std::string_view text, int fill) {
    --line_.CurrentRow;
    Worksheet& sheet = Sheet();
    const int32_t row = line_.CurrentRow;
    sheet.Merge(CellRange::Row(1, 3, row));
    const CellRange title = CellRange::Cell(1, row);
    sheet.SetText(title, text);
    sheet.SetBold(title, true);
    sheet.SetFillColorIndex(title, fill);
    postseason_border(sheet, row);
    ++line_.CurrentRow;
  }

  // The totals line of section s and its summary line, after the kind of the
  // section's last line; nothing for any other kind.
  void CloseSection(int s, int last_kind) {
    if (last_kind == kHittingLine) {
      ++line_.CurrentRow;
      Hitter_TotalLine(Sheet(), line_);
      ++line_.CurrentRow;
      const int32_t row = NextSummaryRow(kSections[s].hitting_summary, HitSumHeader);
      HitSumTotals(Sheet(), line_, row);
    } else if (last_kind == kPitchingLine) {
      line_.OutsForInnings = line_.PitchingTotals.Outs;
      CALC_INNINGS(line_);
      ++line_.CurrentRow;
      Pitcher_TotalLine(Sheet(), line_);
      ++line_.CurrentRow;
      const int32_t row = NextSummaryRow(kSections[s].pitching_summary, PitchSumHeader);
      PitchSumTotals(Sheet(), line_, row);
    }
  }

  // Activates the summary sheet, writes its heading row 1 the first time, and
  // returns the row for the next line.
  int32_t NextSummaryRow(int summary, void (*header)(Worksheet&, int32_t)) {
    book_.Activate(kPlayerSummarySheets[static_cast<size_t>(summary)]);
    int32_t& row = w_.SummaryRow[static_cast<size_t>(summary)];
    if (row == 0) {
      row = 1;
      header(Sheet(), 1);
    }
    return ++row;
  }

  const PlayerWalkInput& in_;
  Workbook& book_;
  PlayerWalk& w_;
  LineState& line_;
  ProgressObserver& progress_;
  SkipReporter& reporter_;
};

}  // namespace

void RunPlayerWalk(const PlayerWalkInput& input, Workbook& workbook, PlayerWalk& walk,
                   ProgressObserver& progress, SkipReporter& reporter) {
  Walker(input, workbook, walk, progress, reporter).Run();
}

}  // namespace statcrane
