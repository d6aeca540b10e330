#include "players/player_summary_writer.h"

#include <span>
#include <stdexcept>
#include <type_traits>

#include "workbook/palette.h"

namespace statcrane {

PlayerSummaryWriter::PlayerSummaryWriter(Worksheet& sheet, LineKind kind)
    : sheet_(&sheet), kind_(kind) {}

template <typename Figures>
void PlayerSummaryWriter::Write(const SummaryLead& lead, const Figures& totals) {
  constexpr LineKind kind =
      std::is_same_v<Figures, HittingFigures> ? LineKind::kHitting : LineKind::kPitching;
  if (kind != kind_) {
    throw std::logic_error("a line of the other kind for the summary sheet " + sheet_->name());
  }
  Worksheet& sheet = *sheet_;
  constexpr Column kFirst("A");
  constexpr Column kFiguresFirst = LastColumnOf(kFirst, kSummaryLeadColumns) + 1;
  if (last_row_ == Row()) {
    WriteHeadingCells(sheet, Row(1), kFirst, kSummaryLeadColumns);
    WriteHeadingCells(sheet, Row(1), kFiguresFirst, FigureColumns<Figures>());
    last_row_ = Row(1);
  }
  const Row row = last_row_ + 1;
  WriteValueCells(sheet, row, kFirst, kSummaryLeadColumns, lead);
  last_row_ = row;
  WriteFigureCells(sheet, row, kFiguresFirst, totals);
  FrameMedium(sheet, CellRange::Across(row, kFirst, SummaryLastColumn<Figures>()));
}

template void PlayerSummaryWriter::Write(const SummaryLead&, const HittingFigures&);
template void PlayerSummaryWriter::Write(const SummaryLead&, const PitchingFigures&);

}  // namespace statcrane
