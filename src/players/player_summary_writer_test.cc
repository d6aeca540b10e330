#include "players/player_summary_writer.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "players/player_test_support.h"
#include "workbook/cell_style.h"

namespace statcrane {
namespace {

const BorderLine kMedium{LineStyle::kMedium, {}};

// The headings of a summary line of the kind, from its tables.
template <typename Figures>
std::vector<std::string> HeadingsOf() {
  std::vector<std::string> headings;
  for (const auto& column : kSummaryLeadColumns) headings.emplace_back(column.heading);
  for (const auto& column : FigureColumns<Figures>()) headings.emplace_back(column.heading);
  return headings;
}

std::string TextAt(const Worksheet& sheet, int32_t row, int col) {
  return std::string(sheet.Cell(Row(row), Column(col)).text);
}

TEST(PlayerSummaryWriterTest, HeadingsAreRightAlignedWithoutBordersOrFill) {
  Workbook book;
  PlayerSummaryWriter hitting(book.AddSheet("HitRegTotals"), LineKind::kHitting);
  PlayerSummaryWriter pitching(book.AddSheet("PitchRegTotals"), LineKind::kPitching);
  EXPECT_EQ(hitting.sheet().LastRow().number(), 0);  // nothing before the first line
  hitting.WriteLine("A,B", 1990, HittingFigures{});
  pitching.WriteLine("A,B", 1990, PitchingFigures{});
  CellStyle expected;
  expected.alignment = HorizontalAlignment::kRight;
  const auto check = [&](const Worksheet& sheet, const std::vector<std::string>& headings) {
    for (int col = 1; col <= static_cast<int>(headings.size()); ++col) {
      EXPECT_EQ(TextAt(sheet, 1, col), headings[col - 1]);
      EXPECT_EQ(*sheet.Cell(Row(1), Column(col)).style, expected);
    }
    EXPECT_EQ(sheet.Cell(Row(1), Column(static_cast<int>(headings.size()) + 1)).kind,
              CellKind::kEmpty);
  };
  check(hitting.sheet(), HeadingsOf<HittingFigures>());
  check(pitching.sheet(), HeadingsOf<PitchingFigures>());
}

TEST(PlayerSummaryWriterTest, HittingLinesFollowOneAnotherFromRowTwo) {
  Workbook book;
  PlayerSummaryWriter writer(book.AddSheet("HitRegTotals"), LineKind::kHitting);
  HittingGroup group;
  HittingCounts counts;
  counts.at_bats = 20;
  counts.hits = 7;
  counts.total_bases = 7;
  group.lines = {HittingLineOf(1997, counts), HittingLineOf(1999, counts)};
  group.totals = HittingFiguresOf(counts);
  writer.WriteLine("Smith,John", group);
  writer.WriteLine("Stone,Jo", 2001, HittingFigures{});
  const Worksheet& sheet = writer.sheet();

  EXPECT_EQ(TextAt(sheet, 2, 1), "Smith,John");
  EXPECT_EQ(sheet.Cell(Row(2), Column(2)).number, 1999);  // the year of the group's last line
  EXPECT_EQ(sheet.Cell(Row(2), Column(3)).number, 0.35);
  EXPECT_EQ(sheet.Cell(Row(2), Column(6)).number, 20);
  EXPECT_EQ(sheet.Cell(Row(2), Column(7)).number, 7);
  EXPECT_EQ(sheet.Cell(Row(2), Column(20)).number, 7);
  constexpr int kLast = SummaryLastColumn<HittingFigures>().number();
  EXPECT_EQ(sheet.Cell(Row(2), Column(kLast + 1)).kind, CellKind::kEmpty);
  for (int col = 1; col <= kLast; ++col) {
    const CellStyle& style = *sheet.Cell(Row(2), Column(col)).style;
    EXPECT_EQ(style.number_format, col >= 3 && col <= 5 ? "#.000" : "") << col;
    for (BorderSide side : kAllSides) EXPECT_EQ(style.border(side), kMedium) << col;
  }
  EXPECT_EQ(TextAt(sheet, 3, 1), "Stone,Jo");
  EXPECT_EQ(writer.last_row().number(), 3);
}

TEST(PlayerSummaryWriterTest, PitchingLineUsesTheTotalsAndTheirInnings) {
  Workbook book;
  PlayerSummaryWriter writer(book.AddSheet("PitchRegTotals"), LineKind::kPitching);
  PitchingCounts totals;
  totals.outs = 600;
  totals.earned_runs = 66;
  totals.wins = 30;
  totals.losses = 15;
  totals.saves = 3;
  writer.WriteLine("Ace,Al", 1992, PitchingFiguresOf(totals));
  const Worksheet& sheet = writer.sheet();
  const std::vector<double> values = {0, 1992, 2.97, 30, 15, 0.667, 3, 0, 0, 0,
                                      0, 200,  0,    0,  0,  66,    0, 0, 0, 0};
  EXPECT_EQ(TextAt(sheet, 2, 1), "Ace,Al");
  constexpr int kLast = SummaryLastColumn<PitchingFigures>().number();
  ASSERT_EQ(values.size(), static_cast<size_t>(kLast));
  for (int col = 2; col <= kLast; ++col)
    EXPECT_EQ(sheet.Cell(Row(2), Column(col)).number, values[col - 1]) << col;
  for (int col = 1; col <= kLast; ++col) {
    const CellStyle& style = *sheet.Cell(Row(2), Column(col)).style;
    const char* format = col == 3 ? "##0.00" : col == 6 || col == 14 ? "#.000" : "";
    EXPECT_EQ(style.number_format, format) << col;  // no format on the innings
    for (BorderSide side : kAllSides) EXPECT_EQ(style.border(side), kMedium) << col;
  }
  EXPECT_EQ(sheet.Cell(Row(2), Column(kLast + 1)).kind, CellKind::kEmpty);
  EXPECT_THROW(writer.WriteLine("Smith,John", 1990, HittingFigures{}), std::logic_error);
}

}  // namespace
}  // namespace statcrane
