#include "players/letter_sheet_writer.h"

#include <initializer_list>
#include <string_view>
#include <type_traits>

#include "players/figure_cells.h"
#include "players/sheet_write_error.h"

namespace statcrane {
namespace {

constexpr int kA = 1, kB = 2, kC = 3, kD = 4, kE = 5, kR = 18, kU = 21;
constexpr int kInningsColumn = InningsColumn(kD);
constexpr std::string_view kInningsFormat = "0.0";

Rgb FillOf(LineKind kind) { return kind == LineKind::kHitting ? kHittingFill : kPitchingFill; }

void DrawMedium(Worksheet& sheet, const CellRange& range, std::initializer_list<BorderSide> sides) {
  for (BorderSide side : sides) sheet.SetBorder(range, side, LineStyle::kMedium);
}

// The player's name merged over A:E and his id over R:U, bold, size 12; the
// tops and sides of the two merged cells and the bottom of A:U in medium
// lines. The heading row below fills it.
void WriteNameRow(Worksheet& sheet, int32_t row, std::string_view name, int32_t player_id) {
  const CellRange name_cells = CellRange::Row(kA, kE, row);
  const CellRange id_cells = CellRange::Row(kR, kU, row);
  sheet.Merge(name_cells);
  sheet.SetText(CellRange::Cell(kA, row), name);
  sheet.Merge(id_cells);
  sheet.SetNumber(CellRange::Cell(kR, row), player_id);
  const CellRange whole = CellRange::Row(kA, kU, row);
  sheet.SetBold(whole, true);
  sheet.SetFontSize(whole, 12);
  DrawMedium(sheet, name_cells, {BorderSide::kTop, BorderSide::kLeft, BorderSide::kRight});
  DrawMedium(sheet, id_cells, {BorderSide::kTop, BorderSide::kLeft, BorderSide::kRight});
  DrawMedium(sheet, whole, {BorderSide::kBottom});
}

enum class NameRowFill { kFill, kLeave };

// The 21 column headings of the kind, right-aligned, framed on every side,
// on the kind's fill; with kFill, the fill also colours the two merged cells
// of the name row above.
void WriteHeadingRow(Worksheet& sheet, int32_t row, LineKind kind, NameRowFill name_row) {
  WriteHeadings(sheet, row, kA, {"Year", "Team", "Age"});
  if (kind == LineKind::kHitting) {
    WriteHeadings(sheet, row, kD, kHittingFigureHeadings);
  } else {
    WriteHeadings(sheet, row, kD, kPitchingFigureHeadings);
  }
  const CellRange whole = CellRange::Row(kA, kU, row);
  for (BorderSide side : kAllSides) sheet.SetBorder(whole, side, LineStyle::kMedium);
  sheet.SetFill(whole, FillOf(kind));
  if (name_row == NameRowFill::kFill) {
    sheet.SetFill(CellRange::Row(kA, kE, row - 1), FillOf(kind));
    sheet.SetFill(CellRange::Row(kR, kU, row - 1), FillOf(kind));
  }
}

std::string_view SeparatorTitle(Section section, LineKind kind) {
  switch (section) {
    case Section::kDivisionSeries:
      return "- - L D S - -";
    case Section::kLeagueChampionshipSeries:
      return "- - L C S - -";
    case Section::kWorldSeries:
      return kind == LineKind::kHitting ? "- - W  S - -" : "- -  W  S  - -";
    case Section::kRegularSeason:
      break;
  }
  return "";
}

// The title of a post-season section merged over A:C, bold, on the kind's
// fill; the tops and sides of A:C and the bottom of A:U in medium lines.
void WriteSeparatorRow(Worksheet& sheet, int32_t row, Section section, LineKind kind) {
  const CellRange title_cells = CellRange::Row(kA, kC, row);
  sheet.Merge(title_cells);
  const CellRange title = CellRange::Cell(kA, row);
  sheet.SetText(title, SeparatorTitle(section, kind));
  sheet.SetBold(title, true);
  sheet.SetFill(title, FillOf(kind));
  DrawMedium(sheet, title_cells, {BorderSide::kTop, BorderSide::kLeft, BorderSide::kRight});
  DrawMedium(sheet, CellRange::Row(kA, kU, row), {BorderSide::kBottom});
}

template <typename Figures>
void WriteLineStart(Worksheet& sheet, int32_t row, const SeasonLine<Figures>& line) {
  sheet.SetNumber(CellRange::Cell(kA, row), line.year);
  sheet.SetText(CellRange::Cell(kB, row), line.club);
  sheet.SetNumber(CellRange::Cell(kC, row), static_cast<double>(line.age));
}

void DrawLineSides(Worksheet& sheet, int32_t row) {
  DrawMedium(sheet, CellRange::Row(kA, kU, row), {BorderSide::kRight, BorderSide::kLeft});
}

void WriteLineRow(Worksheet& sheet, int32_t row, const HittingLine& line) {
  WriteLineStart(sheet, row, line);
  WriteHittingFigures(sheet, row, kD, line.figures);
  DrawLineSides(sheet, row);
}

void WriteLineRow(Worksheet& sheet, int32_t row, const PitchingLine& line) {
  WriteLineStart(sheet, row, line);
  WritePitchingFigures(sheet, row, kD, line.figures);
  sheet.SetNumberFormat(CellRange::Cell(kInningsColumn, row), kInningsFormat);
  DrawLineSides(sheet, row);
}

// " " and "Totals", then the figures; a medium line above A:U and a medium
// red frame around every cell of B:U.
template <typename Figures>
void WriteTotalsRow(Worksheet& sheet, int32_t row, const Figures& totals) {
  sheet.SetText(CellRange::Cell(kA, row), " ");
  sheet.SetText(CellRange::Cell(kB, row), "Totals");
  if constexpr (std::is_same_v<Figures, HittingFigures>) {
    WriteHittingFigures(sheet, row, kD, totals);
  } else {
    WritePitchingFigures(sheet, row, kD, totals);
  }
  sheet.SetBorder(CellRange::Row(kA, kU, row), BorderSide::kTop, LineStyle::kMedium);
  const CellRange frame = CellRange::Row(kB, kU, row);
  for (BorderSide side : {BorderSide::kBottom, BorderSide::kRight, BorderSide::kLeft}) {
    sheet.SetBorder(frame, side, LineStyle::kMedium, kRed);
  }
}

// The group's lines from `row` on, then its totals line; returns the row
// after the totals.
template <typename Figures>
int32_t WriteGroup(Worksheet& sheet, int32_t row, const LineGroup<Figures>& group) {
  for (const SeasonLine<Figures>& line : group.lines) WriteLineRow(sheet, row++, line);
  WriteTotalsRow(sheet, row++, group.totals);
  return row;
}

}  // namespace

LetterSheetWriter::LetterSheetWriter(Worksheet& sheet, int32_t first_row)
    : sheet_(&sheet), next_row_(first_row) {}

RowSpan LetterSheetWriter::WriteBlock(const PlayerBlock& block) {
  Worksheet& sheet = *sheet_;
  try {
    int32_t row = next_row_;
    WriteNameRow(sheet, row++, block.name, block.player_id);
    // The name, a section's title or headings print on the page of the
    // section's first line.
    int32_t lead_in = next_row_;  // the name row, then each title or heading row
    for (Section s : kAllSections) {
      const SectionLines& section = block.section(s);
      bool first = true;
      for (LineKind kind : section.kinds) {
        if (s != Section::kRegularSeason) {
          WriteSeparatorRow(sheet, row++, s, kind);
        } else {
          WriteHeadingRow(sheet, row++, kind, first ? NameRowFill::kFill : NameRowFill::kLeave);
        }
        sheet.KeepWithNext({lead_in, row - 1});
        row = kind == LineKind::kHitting ? WriteGroup(sheet, row, section.hitting)
                                         : WriteGroup(sheet, row, section.pitching);
        lead_in = row;
        first = false;
      }
    }
    const RowSpan rows{next_row_, row - 1};
    sheet.KeepRowsTogether(rows);
    next_row_ = row + 1;
    return rows;
  } catch (const StatCraneError& error) {
    throw SheetWriteError(sheet, error);
  }
}

}  // namespace statcrane
