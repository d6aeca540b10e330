#include "players/letter_sheet_writer.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "players/player_test_support.h"
#include "workbook/cell_style.h"

namespace statcrane {
namespace {

const BorderLine kNone{};
const BorderLine kMedium{LineStyle::kMedium, {}};
const BorderLine kMediumRed{LineStyle::kMedium, kRed};

// The headings of a line of the kind, from its tables.
template <typename Figures>
std::vector<std::string> HeadingsOf() {
  std::vector<std::string> headings;
  for (const auto& column : kLetterLeadColumns<Figures>) headings.emplace_back(column.heading);
  for (const auto& column : FigureColumns<Figures>()) headings.emplace_back(column.heading);
  return headings;
}
const std::vector<std::string> kHittingHeadings = HeadingsOf<HittingFigures>();
const std::vector<std::string> kPitchingHeadings = HeadingsOf<PitchingFigures>();
// The last columns of a hitting line, a pitching line and the name row, and
// the first of the id's merged cells.
constexpr int kHitLast = LetterLastColumn<HittingFigures>().number();
constexpr int kPitchLast = LetterLastColumn<PitchingFigures>().number();
constexpr int kBlockLast = kLetterBlockLastColumn.number();
constexpr int kIdFirst = kBlockLast - 3;

HittingCounts Hits(int64_t at_bats, int64_t hits) {
  HittingCounts c;
  c.at_bats = at_bats;
  c.hits = hits;
  c.total_bases = hits;
  c.on_base_chances = at_bats;
  c.on_base_times = hits;
  return c;
}

PitchingCounts Outs(int64_t outs, int64_t earned_runs) {
  PitchingCounts c;
  c.outs = outs;
  c.earned_runs = earned_runs;
  return c;
}

PlayerBlock BlockOf(std::string name, int32_t id) {
  PlayerBlock block;
  block.player_id = id;
  block.name = name;
  block.summary_name = std::move(name);
  return block;
}

SectionLines& Regular(PlayerBlock& block) {
  return block.sections[static_cast<size_t>(Series::kRegularSeason)];
}
SectionLines& Post(PlayerBlock& block, Series s) { return block.sections[static_cast<size_t>(s)]; }

class LetterSheetWriterTest : public ::testing::Test {
 protected:
  const CellStyle& Style(int32_t row, int col) { return *sheet.Cell(Row(row), Column(col)).style; }
  std::string Text(int32_t row, int col) {
    return std::string(sheet.Cell(Row(row), Column(col)).text);
  }
  double Number(int32_t row, int col) {
    EXPECT_EQ(sheet.Cell(Row(row), Column(col)).kind, CellKind::kNumber)
        << "row " << row << " col " << col;
    return sheet.Cell(Row(row), Column(col)).number;
  }

  Workbook book;
  Worksheet& sheet = book.AddSheet("S");
};

TEST_F(LetterSheetWriterTest, NameRowAndHittingHeadingFollowTheBlockPattern) {
  PlayerBlock block = BlockOf("Smith,John", 1234);
  AppendLine(Regular(block), HittingLineOf(1998, Hits(4, 1)));
  LetterSheetWriter writer(sheet, Row(5));
  EXPECT_EQ(writer.WriteBlock(block), (RowSpan{Row(5), Row(8)}));

  // Row 5: merged name A5:E5 and id R5:U5, bold 12, on the hitting fill.
  EXPECT_EQ(Text(5, 1), "Smith,John");
  EXPECT_EQ(Number(5, kIdFirst), 1234);
  const std::vector<CellRange> merges = {
      CellRange::Across(Row(5), Column(1), Column(5)),
      CellRange::Across(Row(5), Column(kIdFirst), Column(kBlockLast))};
  EXPECT_EQ(sheet.merges(), merges);
  for (int col = 1; col <= kBlockLast; ++col) {
    const CellStyle& style = Style(5, col);
    EXPECT_TRUE(style.bold) << col;
    EXPECT_EQ(style.font_size, 12) << col;
    const bool merged = col <= 5 || col >= kIdFirst;
    EXPECT_EQ(style.fill, merged ? std::optional<Rgb>(kHittingFill) : std::nullopt) << col;
    // Tops and sides on the merged cells only; the bottom under the whole row.
    EXPECT_EQ(style.top(), merged ? kMedium : kNone) << col;
    EXPECT_EQ(style.left(), merged ? kMedium : kNone) << col;
    EXPECT_EQ(style.right(), merged ? kMedium : kNone) << col;
    EXPECT_EQ(style.bottom(), kMedium) << col;
  }

  // Row 6: the right-aligned headings, framed on every side, on the fill.
  ASSERT_EQ(kHittingHeadings.size(), static_cast<size_t>(kHitLast));
  for (int col = 1; col <= kHitLast; ++col) {
    const CellStyle& style = Style(6, col);
    EXPECT_EQ(Text(6, col), kHittingHeadings[col - 1]);
    EXPECT_EQ(style.alignment, HorizontalAlignment::kRight);
    EXPECT_EQ(style.fill, kHittingFill);
    EXPECT_FALSE(style.bold);
    for (BorderSide side : kAllSides) EXPECT_EQ(style.border(side), kMedium) << col;
  }
  EXPECT_EQ(sheet.Cell(Row(6), Column(kHitLast + 1)).kind, CellKind::kEmpty);
  // Row 7 the line, row 8 the totals, row 9 empty, the next block at 10.
  EXPECT_EQ(Number(7, 1), 1998);
  EXPECT_EQ(Text(8, 2), "Totals");
  EXPECT_EQ(sheet.LastRow().number(), 8);
  EXPECT_EQ(writer.next_row().number(), 10);
  // The block's rows are kept together on a printed page.
  EXPECT_EQ(sheet.kept_together(), (std::vector<RowSpan>{{Row(5), Row(8)}}));
}

TEST_F(LetterSheetWriterTest, PitchingHeadingUsesThePitchingTextsAndFill) {
  PlayerBlock block = BlockOf("Ace,Al", 7);
  AppendLine(Regular(block), PitchingLineOf(1990, Outs(27, 3)));
  LetterSheetWriter(sheet).WriteBlock(block);
  for (int col = 1; col <= kPitchLast; ++col) {
    EXPECT_EQ(Text(2, col), kPitchingHeadings[col - 1]);
    EXPECT_EQ(Style(2, col).fill, kPitchingFill);
    for (BorderSide side : kAllSides) EXPECT_EQ(Style(2, col).border(side), kMedium) << col;
  }
  for (int col = 1; col <= kBlockLast; ++col) {
    EXPECT_EQ(Style(1, col).fill,
              col <= 5 || col >= kIdFirst ? std::optional<Rgb>(kPitchingFill) : std::nullopt);
  }
}

TEST_F(LetterSheetWriterTest, HittingLineWritesEveryColumnWithFormatsAndSideBorders) {
  HittingCounts c;
  c.at_bats = 500;
  c.hits = 150;
  c.doubles = 30;
  c.triples = 5;
  c.home_runs = 20;
  c.runs = 90;
  c.runs_batted_in = 80;
  c.hit_by_pitch = 4;
  c.walks = 60;
  c.strikeouts = 100;
  c.stolen_bases = 12;
  c.caught_stealing = 3;
  c.sacrifice_hits = 2;
  c.sacrifice_flies = 6;
  c.total_bases = 250;
  c.on_base_chances = 570;
  c.on_base_times = 214;
  PlayerBlock block = BlockOf("Smith,John", 1);
  AppendLine(Regular(block), HittingLine{1998, "NY", 28, HittingFiguresOf(c)});
  LetterSheetWriter(sheet).WriteBlock(block);

  EXPECT_EQ(Number(3, 1), 1998);
  EXPECT_EQ(Text(3, 2), "NY");
  EXPECT_EQ(Number(3, 3), 28);
  EXPECT_EQ(Number(3, 4), 0.3);
  EXPECT_EQ(Number(3, 5), 0.375);  // 214 / 570
  EXPECT_EQ(Number(3, 6), 0.5);    // 250 / 500
  const std::vector<double> counts = {500, 150, 30, 5, 20, 90, 80, 4, 60, 100, 12, 3, 2, 6, 250};
  for (int col = 7; col <= 21; ++col) EXPECT_EQ(Number(3, col), counts[col - 7]) << col;
  for (int col = 1; col <= kHitLast; ++col) {
    const CellStyle& style = Style(3, col);
    EXPECT_EQ(style.number_format, col >= 4 && col <= 6 ? "#.000" : "") << col;
    EXPECT_EQ(style.left(), kMedium) << col;
    EXPECT_EQ(style.right(), kMedium) << col;
    EXPECT_EQ(style.top(), kNone) << col;
    EXPECT_EQ(style.bottom(), kNone) << col;
    EXPECT_FALSE(style.fill.has_value()) << col;
  }
}

TEST_F(LetterSheetWriterTest, PitchingLineWritesEveryColumnWithItsFormat) {
  PitchingCounts c;
  c.wins = 12;
  c.losses = 8;
  c.saves = 1;
  c.games = 33;
  c.games_started = 30;
  c.complete_games = 4;
  c.shutouts = 2;
  c.outs = 200;
  c.hits_allowed = 180;
  c.runs_allowed = 25;
  c.earned_runs = 20;
  c.walks_allowed = 50;
  c.strikeouts = 150;
  c.home_runs_allowed = 15;
  c.double_plays_induced = 11;
  c.opponents_at_bats = 600;
  PlayerBlock block = BlockOf("Ace,Al", 1);
  AppendLine(Regular(block), PitchingLine{1987, "BOS", 31, PitchingFiguresOf(c)});
  LetterSheetWriter(sheet).WriteBlock(block);

  const std::vector<double> values = {1987, 0,    31,  2.7, 12, 8,  0.6, 1,   33, 30, 4,
                                      2,    66.2, 180, 0.3, 25, 20, 50,  150, 15, 11};
  EXPECT_EQ(Text(3, 2), "BOS");
  ASSERT_EQ(values.size(), static_cast<size_t>(kPitchLast));
  for (int col = 1; col <= kPitchLast; ++col) {
    if (col != 2) {
      EXPECT_EQ(Number(3, col), values[col - 1]) << col;
    }
    const CellStyle& style = Style(3, col);
    const char* format = col == 4                ? "##0.00"
                         : col == 7 || col == 15 ? "#.000"
                         : col == 13             ? "0.0"
                                                 : "";
    EXPECT_EQ(style.number_format, format) << col;
    EXPECT_EQ(style.left(), kMedium) << col;
    EXPECT_EQ(style.right(), kMedium) << col;
  }
  // The totals line: the same figures, but the innings without a format.
  EXPECT_EQ(Number(4, 13), 66.2);
  EXPECT_EQ(Style(4, 13).number_format, "");
  EXPECT_EQ(Style(4, 4).number_format, "##0.00");
  EXPECT_EQ(Style(4, 15).number_format, "#.000");
}

TEST_F(LetterSheetWriterTest, TotalsLineHasAMediumLineAboveAndARedFrameFromBToTheLastColumn) {
  PlayerBlock block = BlockOf("Smith,John", 1);
  AppendLine(Regular(block), HittingLineOf(1997, Hits(10, 3)));
  AppendLine(Regular(block), HittingLineOf(1999, Hits(10, 4)));
  LetterSheetWriter(sheet).WriteBlock(block);

  EXPECT_EQ(Text(5, 1), " ");
  EXPECT_EQ(Text(5, 2), "Totals");
  EXPECT_EQ(sheet.Cell(Row(5), Column(3)).kind, CellKind::kEmpty);
  EXPECT_EQ(Number(5, 4), 0.35);
  EXPECT_EQ(Number(5, 7), 20);
  EXPECT_EQ(Number(5, 8), 7);
  EXPECT_EQ(Number(5, 21), 7);  // total bases
  const CellStyle& a = Style(5, 1);
  EXPECT_EQ(a.top(), kMedium);
  EXPECT_EQ(a.left(), kNone);
  EXPECT_EQ(a.bottom(), kNone);
  for (int col = 2; col <= kHitLast; ++col) {
    const CellStyle& style = Style(5, col);
    EXPECT_EQ(style.top(), kMedium) << col;
    EXPECT_EQ(style.bottom(), kMediumRed) << col;
    EXPECT_EQ(style.left(), kMediumRed) << col;
    EXPECT_EQ(style.right(), kMediumRed) << col;
    EXPECT_EQ(style.number_format, col >= 4 && col <= 6 ? "#.000" : "") << col;
  }
}

TEST_F(LetterSheetWriterTest, PostSeasonTitlesSitDirectlyUnderTheTotals) {
  PlayerBlock block = BlockOf("Smith,John", 1);
  AppendLine(Regular(block), HittingLineOf(1998, Hits(4, 1)));
  AppendLine(Post(block, Series::kDivisionSeries), HittingLineOf(1998, Hits(10, 3)));
  AppendLine(Post(block, Series::kWorldSeries), PitchingLineOf(1998, Outs(7, 0)));
  LetterSheetWriter writer(sheet);
  writer.WriteBlock(block);

  // 1 name, 2 heading, 3 line, 4 totals, 5 title, 6 line, 7 totals, 8 title,
  // 9 line, 10 totals.
  EXPECT_EQ(Text(5, 1), "- - L D S - -");
  EXPECT_EQ(Text(8, 1), "- -  W  S  - -");  // the pitching spacing
  EXPECT_EQ(Style(8, 1).fill, kPitchingFill);
  const std::vector<CellRange> merges = {
      CellRange::Across(Row(1), Column(1), Column(5)),
      CellRange::Across(Row(1), Column(kIdFirst), Column(kBlockLast)),
      CellRange::Across(Row(5), Column(1), Column(3)),
      CellRange::Across(Row(8), Column(1), Column(3))};
  EXPECT_EQ(sheet.merges(), merges);
  for (int col = 1; col <= kHitLast; ++col) {
    const CellStyle& style = Style(5, col);
    EXPECT_EQ(style.bold, col == 1) << col;
    EXPECT_EQ(style.fill, col == 1 ? std::optional<Rgb>(kHittingFill) : std::nullopt) << col;
    EXPECT_EQ(style.top(), col <= 3 ? kMedium : kNone) << col;
    EXPECT_EQ(style.left(), col <= 3 ? kMedium : kNone) << col;
    EXPECT_EQ(style.right(), col <= 3 ? kMedium : kNone) << col;
    EXPECT_EQ(style.bottom(), kMedium) << col;
  }
  EXPECT_EQ(Number(6, 7), 10);
  EXPECT_EQ(Number(7, 4), 0.3);
  EXPECT_EQ(Number(9, 13), 2.1);
  EXPECT_EQ(Text(10, 2), "Totals");
  EXPECT_EQ(writer.next_row().number(), 12);

  // The hitting title of the world series has its own spacing.
  PlayerBlock hitter = BlockOf("Stone,Jo", 2);
  AppendLine(Regular(hitter), HittingLineOf(1998, Hits(4, 1)));
  AppendLine(Post(hitter, Series::kWorldSeries), HittingLineOf(1998, Hits(4, 1)));
  writer.WriteBlock(hitter);
  EXPECT_EQ(Text(12, 1), "Stone,Jo");
  EXPECT_EQ(Text(16, 1), "- - W  S - -");
}

TEST_F(LetterSheetWriterTest, AWritePastTheLastRowNamesTheSheet) {
  PlayerBlock block = BlockOf("Long,Jo", 1);
  AppendLine(Regular(block), HittingLineOf(1990, Hits(4, 1)));
  AppendLine(Regular(block), HittingLineOf(1991, Hits(4, 1)));
  LetterSheetWriter writer(sheet, Row(kMaxRows - 3));
  try {
    writer.WriteBlock(block);
    FAIL() << "no error";
  } catch (const SheetError& error) {
    EXPECT_EQ(error.sheet(), "S");
    EXPECT_NE(error.cause().find("1048577"), std::string::npos) << error.what();
    EXPECT_NE(error.message().find("\"S\""), std::string::npos) << error.what();
  }
}

}  // namespace
}  // namespace statcrane
