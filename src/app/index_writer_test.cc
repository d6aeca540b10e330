#include "app/index_writer.h"

#include <gtest/gtest.h>

#include <string>

#include "util/error.h"
#include "workbook/palette.h"

namespace statcrane {
namespace {

template <typename Figures>
void AddLine(LineGroup<Figures>& group, int32_t year) {
  group.lines.push_back(SeasonLine<Figures>{year, "BOS", 25, Figures{}});
}

class IndexWriterTest : public ::testing::Test {
 protected:
  std::string Text(int32_t row, int32_t col) {
    return std::string(index.Cell(Row(row), Column(col)).text);
  }
  double Number(int32_t row, int32_t col) {
    EXPECT_EQ(index.Cell(Row(row), Column(col)).kind, CellKind::kNumber) << row << "," << col;
    return index.Cell(Row(row), Column(col)).number;
  }

  Workbook book;
  Worksheet& index = book.AddSheet("Index");
  Worksheet& letter = book.AddSheet("S");
  Worksheet& records = book.AddSheet("Team Records");
};

TEST_F(IndexWriterTest, OneLinePerBlockWithALinkToItsFirstRow) {
  IndexWriter writer(index);
  EXPECT_EQ(writer.last_row().number(), 1);
  const char* headings[] = {"Name", "Id", "First Yr", "Last Yr", "Sheet"};
  for (int32_t col = 1; col <= 5; ++col) {
    EXPECT_EQ(Text(1, col), headings[col - 1]);
    EXPECT_TRUE(index.Cell(Row(1), Column(col)).style->bold);
    EXPECT_EQ(index.Cell(Row(1), Column(col)).style->fill, kSummaryHeaderFill);
  }

  // A player whose years come from every section and kind: a pitching line
  // before his first hitting line, a series after his last regular season.
  PlayerBlock player;
  player.player_id = 4321;
  player.name = "Smith,Jo";
  player.summary_name = "Smith,Joe";
  AddLine(player.sections[0].hitting, 1991);
  AddLine(player.sections[0].hitting, 1994);
  AddLine(player.sections[0].pitching, 1989);
  AddLine(player.sections[3].hitting, 1995);
  writer.AddPlayer(PlacedPlayerBlock{player, letter, RowSpan{Row(12), Row(20)}});

  // A block with no line of a known kind gets no years.
  PlayerBlock odd;
  odd.player_id = 7;
  odd.name = "Stone,Al";
  writer.AddPlayer(PlacedPlayerBlock{odd, letter, RowSpan{Row(22), Row(23)}});

  TeamBlock team;
  team.team_id = 12;
  team.team_name = "Boston Reds";
  team.seasons.resize(3);
  team.seasons[0].year = 1990;
  team.seasons[1].year = 1991;
  team.seasons[2].year = 1993;
  writer.AddTeam(PlacedTeamBlock{team, records, RowSpan{Row(31), Row(40)}});
  EXPECT_EQ(writer.last_row().number(), 4);

  EXPECT_EQ(Text(2, 1), "Smith,Jo");  // the name the block shows
  EXPECT_EQ(index.Cell(Row(2), Column(1)).style->font_color, kLinkColor);  // looks like a link
  EXPECT_TRUE(index.Cell(Row(2), Column(1)).style->underline);
  EXPECT_EQ(Number(2, 2), 4321);
  EXPECT_EQ(Number(2, 3), 1989);
  EXPECT_EQ(Number(2, 4), 1995);
  EXPECT_EQ(Text(2, 5), "S");
  EXPECT_EQ(Text(3, 1), "Stone,Al");
  EXPECT_EQ(index.Cell(Row(3), Column(3)).kind, CellKind::kEmpty);
  EXPECT_EQ(index.Cell(Row(3), Column(4)).kind, CellKind::kEmpty);
  EXPECT_EQ(Text(4, 1), "Boston Reds");
  EXPECT_EQ(Number(4, 2), 12);
  EXPECT_EQ(Number(4, 3), 1990);
  EXPECT_EQ(Number(4, 4), 1993);
  EXPECT_EQ(Text(4, 5), "Team Records");
  EXPECT_EQ(index.links(),
            (std::vector<CellLink>{
                {2, 1, "S", 12, 1}, {3, 1, "S", 22, 1}, {4, 1, "Team Records", 31, 1}}));
}

TEST_F(IndexWriterTest, AnErrorNamesTheSheetAndTheCell) {
  IndexWriter writer(index);
  PlayerBlock player;
  player.player_id = 9;
  player.name = std::string(40000, 'x');  // more than a cell holds
  try {
    writer.AddPlayer(PlacedPlayerBlock{player, letter, RowSpan{Row(1), Row(4)}});
    FAIL() << "no error";
  } catch (const SheetError& error) {
    EXPECT_EQ(error.message(),
              "on the sheet \"Index\": a cell can hold at most 32,767 characters (A2)");
  }
  TeamBlock team;
  team.team_id = 3;
  team.team_name = std::string(40000, 'y');
  try {
    writer.AddTeam(PlacedTeamBlock{team, records, RowSpan{Row(1), Row(4)}});
    FAIL() << "no error";
  } catch (const SheetError& error) {
    EXPECT_EQ(error.sheet(), "Index");
    EXPECT_EQ(error.cause(), "a cell can hold at most 32,767 characters (A2)");
  }
}

}  // namespace
}  // namespace statcrane
