#include "app/sheet_layout.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "workbook/page_breaks.h"

namespace statcrane {
namespace {

// The handles a run writes through.
struct Handles {
  PlayerSheets* players;
  TeamSheets* teams;
  Worksheet** index;
};

// The phase a sheet belongs to: which choice wants it.
enum class Phase { kIndex, kTeams, kPlayers };

// What a sheet holds: one table with its headings in row 1, or blocks one
// under the other.
enum class Shape { kTable, kBlocks };

// What becomes of a sheet that nothing was written to.
enum class WhenEmpty {
  kKept,
  kRemoved,         // and noted in the run report
  kRemovedQuietly,  // a sheet that only exists for the players who need it
};

struct SheetEntry {
  std::string_view name;
  Phase phase;
  Shape shape;
  WhenEmpty when_empty;
  // The handle the sheet becomes.
  Worksheet** (*handle)(const Handles&);
  // The workbook opens on the first sheet left of those with a place here,
  // in the order of the places (1 first); 0: not one of them.
  int opens_on = 0;
};

using enum Phase;
using enum Shape;
using enum WhenEmpty;

template <size_t kSeries>
Worksheet** TeamSeries(const Handles& h) {
  return &h.teams->series_totals[kSeries];
}
template <size_t kSection>
Worksheet** Pitching(const Handles& h) {
  return &h.players->pitching_summaries[kSection];
}
template <size_t kSection>
Worksheet** Hitting(const Handles& h) {
  return &h.players->hitting_summaries[kSection];
}
template <size_t kLetter>
Worksheet** Letter(const Handles& h) {
  return &h.players->letters[kLetter];
}

constexpr std::string_view kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";

// The letter sheets "A" to "Z", then "#" for names that do not begin with a
// letter.
template <size_t... kLetters>
constexpr std::array<SheetEntry, sizeof...(kLetters) + 1> LetterSheets(
    std::index_sequence<kLetters...>) {
  return {{{kAlphabet.substr(kLetters, 1), kPlayers, kBlocks, kKept, Letter<kLetters>}...,
           {"#", kPlayers, kBlocks, kRemovedQuietly, Letter<kOtherInitial>}}};
}

template <typename T, size_t... N>
constexpr auto Join(const std::array<T, N>&... parts) {
  std::array<T, (N + ...)> all{};
  size_t i = 0;
  ((std::copy(parts.begin(), parts.end(), all.begin() + i), i += N), ...);
  return all;
}

// Every sheet, in tab order.
constexpr auto kSheets =
    Join(std::to_array<SheetEntry>({
             {"Index", kIndex, kTable, kKept, [](const Handles& h) { return h.index; }, 1},
             {"Team Records", kTeams, kBlocks, kKept,
              [](const Handles& h) { return &h.teams->records; }, 2},
             {"TeamRegTotals", kTeams, kTable, kKept,
              [](const Handles& h) { return &h.teams->season_totals; }},
             {"TeamDCSTotals", kTeams, kTable, kRemoved, TeamSeries<0>},
             {"TeamLCSTotals", kTeams, kTable, kRemoved, TeamSeries<1>},
             {"TeamWSTotals", kTeams, kTable, kRemoved, TeamSeries<2>},
             {"PitchRegTotals", kPlayers, kTable, kRemoved, Pitching<0>, 10},
             {"PitchDCSTotals", kPlayers, kTable, kRemoved, Pitching<1>, 9},
             {"PitchLCSTotals", kPlayers, kTable, kRemoved, Pitching<2>, 8},
             {"PitchWSTotals", kPlayers, kTable, kRemoved, Pitching<3>, 7},
             {"HitRegTotals", kPlayers, kTable, kRemoved, Hitting<0>, 6},
             {"HitDCSTotals", kPlayers, kTable, kRemoved, Hitting<1>, 5},
             {"HitLCSTotals", kPlayers, kTable, kRemoved, Hitting<2>, 4},
             {"HitWSTotals", kPlayers, kTable, kRemoved, Hitting<3>, 3},
         }),
         LetterSheets(std::make_index_sequence<kAlphabet.size()>()));
static_assert(kAlphabet.size() == kOtherInitial);

// The sheets the workbook may open on, first choice first.
constexpr auto kOpensOn = [] {
  constexpr size_t kCount = [] {
    size_t n = 0;
    for (const SheetEntry& entry : kSheets) n += entry.opens_on > 0 ? 1 : 0;
    return n;
  }();
  std::array<std::string_view, kCount> names{};
  for (const SheetEntry& entry : kSheets) {
    if (entry.opens_on > 0) names[static_cast<size_t>(entry.opens_on - 1)] = entry.name;
  }
  return names;
}();

bool Wanted(const SheetEntry& entry, SheetChoice choice, IndexChoice index) {
  switch (entry.phase) {
    case kIndex:
      return index == IndexChoice::kIndex;
    case kTeams:
      return TeamsWanted(choice);
    case kPlayers:
      return PlayersWanted(choice);
  }
  return false;
}

// The table of a sheet whose headings are in row 1: from the first heading
// to the last, down to the last row. None when row 1 has no heading.
std::optional<CellRange> HeadingTable(const Worksheet& sheet) {
  Column first, last;
  sheet.ForEachCellInRow(Row(1), [&](Column col, const CellView& cell) {
    if (cell.kind != CellKind::kText) return;
    if (first == Column()) first = col;
    last = col;
  });
  if (first == Column()) return std::nullopt;
  return CellRange(Row(1), first, sheet.LastRow(), last);
}

// How every sheet prints ("Index" upright): landscape, one page wide, the sheet's name at the
// left of the footer and "Page N of M" at its right.
PageSetup SheetPageSetup() {
  PageSetup setup;
  setup.orientation = PageOrientation::kLandscape;
  setup.fit_to_width = true;
  setup.footer.left = kFooterSheetName;
  setup.footer.right =
      "Page " + std::string(kFooterPageNumber) + " of " + std::string(kFooterPageCount);
  return setup;
}

// Characters added to each fitted column of "Index" but the first, so that
// a column's figures or words stand apart from the column before.
constexpr double kIndexColumnGap = 3;

// The view and print settings of a sheet whose columns are fitted.
void SetUpViewAndPrint(Worksheet& sheet, Phase phase, Shape shape) {
  PageSetup setup = SheetPageSetup();
  if (phase == kIndex) {
    // A narrow list: upright pages, its columns apart.
    setup.orientation = PageOrientation::kPortrait;
    for (Column col("B"); col <= sheet.LastWidthColumn(); ++col) {
      if (sheet.ColumnWidth(col) > 0) {
        sheet.SetColumnWidth(col, sheet.ColumnWidth(col) + kIndexColumnGap);
      }
    }
  }
  if (shape == kTable) {
    if (const std::optional<CellRange> table = HeadingTable(sheet)) {
      sheet.FreezeRows(1);
      sheet.SetAutoFilter(*table);
      setup.title_rows = 1;
    }
    sheet.SetPageSetup(setup);
  } else {
    sheet.SetPageSetup(setup);
    PlaceRowBreaks(sheet);  // the letter sheets and "Team Records"
  }
}

const CellRange kFittedColumns = CellRange::Columns(Column("A"), Column("Z"));

}  // namespace

SheetLayout::SheetLayout(Workbook& workbook, SheetChoice choice, IndexChoice index)
    : workbook_(workbook) {
  const Handles handles{&players_, &teams_, &index_};
  for (const SheetEntry& entry : kSheets) {
    if (!Wanted(entry, choice, index)) continue;
    *entry.handle(handles) = &workbook.AddSheet(std::string(entry.name));
  }
}

void SheetLayout::Finish(RunReport& report, const Worksheet* last_letter_sheet) {
  for (const SheetEntry& entry : kSheets) {
    Worksheet* sheet = workbook_.FindSheet(entry.name);
    if (sheet == nullptr || entry.when_empty == kKept || sheet->LastRow() > Row()) continue;
    if (entry.when_empty == kRemoved) report.sheets_removed.emplace_back(entry.name);
    workbook_.RemoveSheet(*sheet);
  }
  for (size_t i = 0; i < workbook_.SheetCount(); ++i) {
    workbook_.SheetAt(i).AutoFitColumns(kFittedColumns);
  }
  for (const SheetEntry& entry : kSheets) {
    if (Worksheet* sheet = workbook_.FindSheet(entry.name))
      SetUpViewAndPrint(*sheet, entry.phase, entry.shape);
  }
  for (std::string_view name : kOpensOn) {
    if (const Worksheet* sheet = workbook_.FindSheet(name)) {
      workbook_.SetOpeningSheet(*sheet);
      return;
    }
  }
  if (last_letter_sheet == nullptr) last_letter_sheet = workbook_.FindSheet("A");
  if (last_letter_sheet != nullptr) workbook_.SetOpeningSheet(*last_letter_sheet);
}

}  // namespace statcrane
