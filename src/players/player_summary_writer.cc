#include "players/player_summary_writer.h"

#include <stdexcept>

#include "players/figure_cells.h"
#include "players/sheet_write_error.h"

namespace statcrane {
namespace {

constexpr int kA = 1, kB = 2, kC = 3, kT = 20;

}  // namespace

PlayerSummaryWriter::PlayerSummaryWriter(Worksheet& sheet, LineKind kind)
    : sheet_(&sheet), kind_(kind) {}

void PlayerSummaryWriter::WriteLine(std::string_view player, int32_t last_year,
                                    const HittingFigures& totals) {
  try {
    const int32_t row = StartLine(player, last_year, LineKind::kHitting);
    WriteHittingFigures(*sheet_, row, kC, totals);
    FrameLine(row);
  } catch (const StatCraneError& error) {
    throw SheetWriteError(*sheet_, error);
  }
}

void PlayerSummaryWriter::WriteLine(std::string_view player, int32_t last_year,
                                    const PitchingFigures& totals) {
  try {
    const int32_t row = StartLine(player, last_year, LineKind::kPitching);
    WritePitchingFigures(*sheet_, row, kC, totals);
    FrameLine(row);
  } catch (const StatCraneError& error) {
    throw SheetWriteError(*sheet_, error);
  }
}

int32_t PlayerSummaryWriter::StartLine(std::string_view player, int32_t last_year, LineKind kind) {
  if (kind != kind_) {
    throw std::logic_error("a line of the other kind for the summary sheet " + sheet_->name());
  }
  Worksheet& sheet = *sheet_;
  if (last_row_ == 0) {
    WriteHeadings(sheet, 1, kA, {"Player", "Last Yr"});
    if (kind_ == LineKind::kHitting) {
      WriteHeadings(sheet, 1, kC, kHittingFigureHeadings);
    } else {
      WriteHeadings(sheet, 1, kC, kPitchingFigureHeadings);
    }
    last_row_ = 1;
  }
  const int32_t row = last_row_ + 1;
  sheet.SetText(CellRange::Cell(kA, row), player);
  sheet.SetNumber(CellRange::Cell(kB, row), last_year);
  last_row_ = row;
  return row;
}

void PlayerSummaryWriter::FrameLine(int32_t row) {
  const CellRange whole = CellRange::Row(kA, kT, row);
  for (BorderSide side : kAllSides) sheet_->SetBorder(whole, side, LineStyle::kMedium);
}

}  // namespace statcrane
