#include "players/letter_sheet_writer.h"

#include <string_view>

#include "workbook/palette.h"

namespace statcrane {
namespace {

constexpr Column kA("A"), kB("B");
// The name is merged over A:E, the id over the block's last four columns.
constexpr Column kNameLast("E");
constexpr Column kIdFirst = kLetterBlockLastColumn - 3;
// A post-season title is merged over the lead columns (A:C).
constexpr Column kTitleLast(kLetterLeadCount);
constexpr Column kFiguresFirst(kLetterLeadCount + 1);

Rgb FillOf(LineKind kind) { return kind == LineKind::kHitting ? kHittingFill : kPitchingFill; }

Column LastColumnOf(LineKind kind) {
  return kind == LineKind::kHitting ? LetterLastColumn<HittingFigures>()
                                    : LetterLastColumn<PitchingFigures>();
}

// The player's name merged over A:E and his id over the last four columns,
// bold, size 12; the tops and sides of the two merged cells and the bottom
// of the whole row in medium lines. The heading row below fills it.
void WriteNameRow(Worksheet& sheet, Row row, std::string_view name, int32_t player_id) {
  const CellRange name_cells = CellRange::Across(row, kA, kNameLast);
  const CellRange id_cells = CellRange::Across(row, kIdFirst, kLetterBlockLastColumn);
  sheet.Merge(name_cells);
  sheet.SetText(CellRange::Cell(row, kA), name);
  sheet.Merge(id_cells);
  sheet.SetNumber(CellRange::Cell(row, kIdFirst), player_id);
  const CellRange whole = CellRange::Across(row, kA, kLetterBlockLastColumn);
  sheet.SetBold(whole, true);
  sheet.SetFontSize(whole, kBlockTitleSize);
  DrawMedium(sheet, name_cells, {BorderSide::kTop, BorderSide::kLeft, BorderSide::kRight});
  DrawMedium(sheet, id_cells, {BorderSide::kTop, BorderSide::kLeft, BorderSide::kRight});
  DrawMedium(sheet, whole, {BorderSide::kBottom});
}

enum class NameRowFill { kFill, kLeave };

// The column headings of the kind, right-aligned, framed on every side, on
// the kind's fill; with kFill, the fill also colours the two merged cells
// of the name row above.
template <typename Figures>
void WriteHeadingRow(Worksheet& sheet, Row row, LineKind kind, NameRowFill name_row) {
  WriteHeadingCells(sheet, row, kA, kLetterLeadColumns<Figures>);
  WriteHeadingCells(sheet, row, kFiguresFirst, FigureColumns<Figures>());
  const CellRange whole = CellRange::Across(row, kA, LetterLastColumn<Figures>());
  FrameMedium(sheet, whole);
  sheet.SetFill(whole, FillOf(kind));
  if (name_row == NameRowFill::kFill) {
    sheet.SetFill(CellRange::Across(row - 1, kA, kNameLast), FillOf(kind));
    sheet.SetFill(CellRange::Across(row - 1, kIdFirst, kLetterBlockLastColumn), FillOf(kind));
  }
}

std::string_view SeparatorTitle(Series section, LineKind kind) {
  switch (section) {
    case Series::kDivisionSeries:
      return "- - L D S - -";
    case Series::kLeagueChampionshipSeries:
      return "- - L C S - -";
    case Series::kWorldSeries:
      return kind == LineKind::kHitting ? "- - W  S - -" : "- -  W  S  - -";
    case Series::kRegularSeason:
      break;
  }
  return "";
}

// The title of a post-season section merged over A:C, bold, on the kind's
// fill; the tops and sides of A:C and the bottom of the kind's row in
// medium lines.
void WriteSeparatorRow(Worksheet& sheet, Row row, Series section, LineKind kind) {
  const CellRange title_cells = CellRange::Across(row, kA, kTitleLast);
  sheet.Merge(title_cells);
  const CellRange title = CellRange::Cell(row, kA);
  sheet.SetText(title, SeparatorTitle(section, kind));
  sheet.SetBold(title, true);
  sheet.SetFill(title, FillOf(kind));
  DrawMedium(sheet, title_cells, {BorderSide::kTop, BorderSide::kLeft, BorderSide::kRight});
  DrawMedium(sheet, CellRange::Across(row, kA, LastColumnOf(kind)), {BorderSide::kBottom});
}

// Year, Team, Age and the figures between medium side lines; innings show
// their tenth.
template <typename Figures>
void WriteLineRow(Worksheet& sheet, Row row, const SeasonLine<Figures>& line) {
  WriteValueCells(sheet, row, kA, kLetterLeadColumns<Figures>, line);
  WriteFigureCells(sheet, row, kFiguresFirst, line.figures);
  Column col = kFiguresFirst;
  for (const FigureColumn<Figures>& column : FigureColumns<Figures>()) {
    if (column.group == FigureGroup::kInnings) {
      sheet.SetNumberFormat(CellRange::Cell(row, col), kInningsFormat);
    }
    ++col;
  }
  DrawMedium(sheet, CellRange::Across(row, kA, LetterLastColumn<Figures>()),
             {BorderSide::kRight, BorderSide::kLeft});
}

// " " and "Totals", then the figures; a medium line above the row and a
// medium red frame around every cell from B on.
template <typename Figures>
void WriteTotalsRow(Worksheet& sheet, Row row, const Figures& totals) {
  sheet.SetText(CellRange::Cell(row, kA), " ");
  sheet.SetText(CellRange::Cell(row, kB), "Totals");
  WriteFigureCells(sheet, row, kFiguresFirst, totals);
  const Column last = LetterLastColumn<Figures>();
  sheet.SetBorder(CellRange::Across(row, kA, last), BorderSide::kTop, LineStyle::kMedium);
  DrawMedium(sheet, CellRange::Across(row, kB, last), kSidesAndBottom, kTotalsFrame);
}

// The group's lines from `row` on, then its totals line; returns the row
// after the totals.
template <typename Figures>
Row WriteGroup(Worksheet& sheet, Row row, const LineGroup<Figures>& group) {
  for (const SeasonLine<Figures>& line : group.lines) WriteLineRow(sheet, row++, line);
  WriteTotalsRow(sheet, row++, group.totals);
  return row;
}

}  // namespace

LetterSheetWriter::LetterSheetWriter(Worksheet& sheet, Row first_row)
    : sheet_(&sheet), next_row_(first_row) {}

RowSpan LetterSheetWriter::WriteBlock(const PlayerBlock& block) {
  Worksheet& sheet = *sheet_;
  Row row = next_row_;
  WriteNameRow(sheet, row++, block.name, block.player_id);
  // The name, a section's title or headings print on the page of the
  // section's first line.
  Row lead_in = next_row_;  // the name row, then each title or heading row
  for (Series s : kAllSeries) {
    const SectionLines& section = block.section(s);
    bool first = true;
    for (LineKind kind : section.kinds) {
      const NameRowFill fill = first ? NameRowFill::kFill : NameRowFill::kLeave;
      if (s != Series::kRegularSeason) {
        WriteSeparatorRow(sheet, row++, s, kind);
      } else if (kind == LineKind::kHitting) {
        WriteHeadingRow<HittingFigures>(sheet, row++, kind, fill);
      } else {
        WriteHeadingRow<PitchingFigures>(sheet, row++, kind, fill);
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
}

}  // namespace statcrane
