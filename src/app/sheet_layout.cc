#include "app/sheet_layout.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "workbook/page_breaks.h"

namespace statcrane {
namespace {

// Which handle a sheet becomes.
enum class Role {
  kIndex,
  kTeamRecords,
  kTeamSeasonTotals,
  kTeamSeriesTotals,  // index: division series, league championship series, world series
  kPitchingSummary,   // index: regular season, then the three series
  kHittingSummary,
  kLetter,  // index: "A" to "Z", then names that do not begin with a letter
};

// What becomes of a sheet that nothing was written to.
enum class WhenEmpty {
  kKept,
  kRemoved,         // and noted in the run report
  kRemovedQuietly,  // a sheet that only exists for the players who need it
};

struct SheetEntry {
  std::string_view name;
  Role role;
  int index;
  WhenEmpty when_empty;
};

using enum Role;
using enum WhenEmpty;

// Every sheet, in tab order.
constexpr std::array<SheetEntry, 41> kSheets = {{
    {"Index", kIndex, 0, kKept},
    {"Team Records", kTeamRecords, 0, kKept},
    {"TeamRegTotals", kTeamSeasonTotals, 0, kKept},
    {"TeamDCSTotals", kTeamSeriesTotals, 0, kRemoved},
    {"TeamLCSTotals", kTeamSeriesTotals, 1, kRemoved},
    {"TeamWSTotals", kTeamSeriesTotals, 2, kRemoved},
    {"PitchRegTotals", kPitchingSummary, 0, kRemoved},
    {"PitchDCSTotals", kPitchingSummary, 1, kRemoved},
    {"PitchLCSTotals", kPitchingSummary, 2, kRemoved},
    {"PitchWSTotals", kPitchingSummary, 3, kRemoved},
    {"HitRegTotals", kHittingSummary, 0, kRemoved},
    {"HitDCSTotals", kHittingSummary, 1, kRemoved},
    {"HitLCSTotals", kHittingSummary, 2, kRemoved},
    {"HitWSTotals", kHittingSummary, 3, kRemoved},
    {"A", kLetter, 0, kKept},
    {"B", kLetter, 1, kKept},
    {"C", kLetter, 2, kKept},
    {"D", kLetter, 3, kKept},
    {"E", kLetter, 4, kKept},
    {"F", kLetter, 5, kKept},
    {"G", kLetter, 6, kKept},
    {"H", kLetter, 7, kKept},
    {"I", kLetter, 8, kKept},
    {"J", kLetter, 9, kKept},
    {"K", kLetter, 10, kKept},
    {"L", kLetter, 11, kKept},
    {"M", kLetter, 12, kKept},
    {"N", kLetter, 13, kKept},
    {"O", kLetter, 14, kKept},
    {"P", kLetter, 15, kKept},
    {"Q", kLetter, 16, kKept},
    {"R", kLetter, 17, kKept},
    {"S", kLetter, 18, kKept},
    {"T", kLetter, 19, kKept},
    {"U", kLetter, 20, kKept},
    {"V", kLetter, 21, kKept},
    {"W", kLetter, 22, kKept},
    {"X", kLetter, 23, kKept},
    {"Y", kLetter, 24, kKept},
    {"Z", kLetter, 25, kKept},
    {"#", kLetter, kOtherInitial, kRemovedQuietly},
}};

bool IsTeamSheet(Role role) {
  return role == kTeamRecords || role == kTeamSeasonTotals || role == kTeamSeriesTotals;
}

bool Wanted(const SheetEntry& entry, SheetChoice choice, IndexChoice index) {
  if (entry.role == kIndex) return index == IndexChoice::kIndex;
  return IsTeamSheet(entry.role) ? TeamsWanted(choice) : PlayersWanted(choice);
}

// Sheets of one table with its headings in row 1.
bool IsTable(Role role) {
  return role == kIndex || role == kTeamSeasonTotals || role == kTeamSeriesTotals ||
         role == kPitchingSummary || role == kHittingSummary;
}

// The table of a sheet whose headings are in row 1: from the first heading
// to the last, down to the last row. None when row 1 has no heading.
std::optional<CellRange> HeadingTable(const Worksheet& sheet) {
  int32_t first = 0, last = 0;
  sheet.ForEachCellInRow(1, [&](int32_t col, const CellView& cell) {
    if (cell.kind != CellKind::kText) return;
    if (first == 0) first = col;
    last = col;
  });
  if (first == 0) return std::nullopt;
  return CellRange{1, first, sheet.LastRow(), last};
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
void SetUpViewAndPrint(Worksheet& sheet, Role role) {
  PageSetup setup = SheetPageSetup();
  if (role == kIndex) {
    // A narrow list: upright pages, its columns apart.
    setup.orientation = PageOrientation::kPortrait;
    for (int32_t col = 2; col <= sheet.LastWidthColumn(); ++col) {
      if (sheet.ColumnWidth(col) > 0) {
        sheet.SetColumnWidth(col, sheet.ColumnWidth(col) + kIndexColumnGap);
      }
    }
  }
  if (IsTable(role)) {
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

// The sheets the workbook may open on, first choice first, before the
// letter sheet of the last player written. The index, when asked for, is
// what the reader starts from.
constexpr std::array<std::string_view, 10> kOpensOn = {
    "Index",        "Team Records",  "HitWSTotals",    "HitLCSTotals",   "HitDCSTotals",
    "HitRegTotals", "PitchWSTotals", "PitchLCSTotals", "PitchDCSTotals", "PitchRegTotals"};

const CellRange kFittedColumns = CellRange::Columns(1, 26);

}  // namespace

SheetLayout::SheetLayout(Workbook& workbook, SheetChoice choice, IndexChoice index)
    : workbook_(workbook) {
  for (const SheetEntry& entry : kSheets) {
    if (!Wanted(entry, choice, index)) continue;
    Worksheet* sheet = &workbook.AddSheet(std::string(entry.name));
    const auto i = static_cast<size_t>(entry.index);
    switch (entry.role) {
      case kIndex:
        index_ = sheet;
        break;
      case kTeamRecords:
        teams_.records = sheet;
        break;
      case kTeamSeasonTotals:
        teams_.season_totals = sheet;
        break;
      case kTeamSeriesTotals:
        teams_.series_totals[i] = sheet;
        break;
      case kPitchingSummary:
        players_.pitching_summaries[i] = sheet;
        break;
      case kHittingSummary:
        players_.hitting_summaries[i] = sheet;
        break;
      case kLetter:
        players_.letters[i] = sheet;
        break;
    }
  }
}

void SheetLayout::Finish(RunReport& report, const Worksheet* last_letter_sheet) {
  for (const SheetEntry& entry : kSheets) {
    Worksheet* sheet = workbook_.FindSheet(entry.name);
    if (sheet == nullptr || entry.when_empty == kKept || sheet->LastRow() > 0) continue;
    if (entry.when_empty == kRemoved) report.sheets_removed.emplace_back(entry.name);
    workbook_.RemoveSheet(*sheet);
  }
  for (size_t i = 0; i < workbook_.SheetCount(); ++i) {
    workbook_.SheetAt(i).AutoFitColumns(kFittedColumns);
  }
  for (const SheetEntry& entry : kSheets) {
    if (Worksheet* sheet = workbook_.FindSheet(entry.name)) SetUpViewAndPrint(*sheet, entry.role);
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
