#include "players/player_summary_writer.h"

#include <span>
#include <stdexcept>
#include <type_traits>

#include "players/sheet_write_error.h"
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
  constexpr int32_t kFiguresFirst = static_cast<int32_t>(kSummaryLeadColumns.size()) + 1;
  try {
    if (last_row_ == 0) {
      WriteHeadingCells(sheet, 1, 1, kSummaryLeadColumns);
      WriteHeadingCells(sheet, 1, kFiguresFirst, FigureColumns<Figures>());
      last_row_ = 1;
    }
    const int32_t row = last_row_ + 1;
    WriteValueCells(sheet, row, 1, kSummaryLeadColumns, lead);
    last_row_ = row;
    WriteFigureCells(sheet, row, kFiguresFirst, totals);
    FrameMedium(sheet, CellRange::Row(1, SummaryLastColumn<Figures>(), row));
  } catch (const StatCraneError& error) {
    throw SheetWriteError(sheet, error);
  }
}

template void PlayerSummaryWriter::Write(const SummaryLead&, const HittingFigures&);
template void PlayerSummaryWriter::Write(const SummaryLead&, const PitchingFigures&);

}  // namespace statcrane
