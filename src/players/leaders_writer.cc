#include "players/leaders_writer.h"

#include <algorithm>
#include <span>
#include <vector>

#include "workbook/palette.h"

namespace statcrane {
namespace {

using LeaderColumns = std::span<const SheetColumn<LeaderLine, LeaderGroup>>;
using LeagueColumns = std::span<const SheetColumn<LeagueLeaderLine, LeaderGroup>>;

constexpr int32_t kBlockWidth = static_cast<int32_t>(kCareerLeaderColumns.size());
constexpr Column kA("A");
static_assert(kSeasonLeaderColumns.size() == kCareerLeaderColumns.size());

constexpr std::string_view kNoneQualified = "none qualified";
constexpr std::string_view kNone = "none";

// The first column of the block-th block of a band (an empty column between
// blocks).
constexpr Column BlockColumn(int32_t block) { return kA + block * (kBlockWidth + 1); }

// The figure column a statistic shows.
struct StatFormat {
  std::string_view number_format;
  bool innings = false;
};
template <typename Figures>
StatFormat FormatOf(std::string_view heading) {
  const auto& column = FigureColumns<Figures>()[FigureColumnIndex<Figures>(heading)];
  return {column.number_format, column.group == FigureGroup::kInnings};
}
// The number format of statistic i on a sheet of careers or of seasons.
std::string_view ValueFormat(size_t i, bool seasons) {
  const LeaderStat& stat = LeaderStatAt(i);
  const StatFormat format = IsHittingStat(i) ? FormatOf<HittingFigures>(stat.heading)
                                             : FormatOf<PitchingFigures>(stat.heading);
  if (format.innings && seasons) return kInningsFormat;
  return format.number_format;
}

Rgb FillOfStat(size_t i) { return IsHittingStat(i) ? kHittingFill : kPitchingFill; }

std::string StatTitle(const LeaderStat& stat) {
  return std::string(stat.title) + " (" + std::string(stat.heading) + ")";
}

// The heading row: bold, on the summary fill, framed.
template <typename Columns>
void WriteHeadings(Worksheet& sheet, Column first, const Columns& columns) {
  WriteHeadingCells(sheet, Row(1), first, columns);
  const CellRange row = CellRange::Across(Row(1), first, LastColumnOf(first, columns));
  sheet.SetBold(row, true);
  sheet.SetFill(row, kSummaryHeaderFill);
  FrameMedium(sheet, row);
}

// The line's cells from `first` on; the name linked to its block, the value
// in the statistic's format.
template <typename Columns, typename Line>
void WriteLine(Worksheet& sheet, Row row, Column first, const Columns& columns, const Line& line,
               const LeaderPlayer* player, std::string_view value_format) {
  WriteValueCells(sheet, row, first, columns, line);
  Column col = first;
  for (const auto& column : columns) {
    if (column.group == LeaderGroup::kLink && player != nullptr && !player->sheet.empty()) {
      LinkToRow(sheet, row, col, player->sheet, player->row);
    } else if (column.group == LeaderGroup::kValue && !value_format.empty()) {
      sheet.SetNumberFormat(CellRange::Cell(row, col), value_format);
    }
    ++col;
  }
}

// Medium lines at the sides of columns first..last of the rows and under the
// last row.
void FrameSides(Worksheet& sheet, Column first, Column last, RowSpan rows) {
  if (rows.count() <= 0) return;
  DrawMedium(sheet, CellRange{rows.first, first, rows.last, first}, {BorderSide::kLeft});
  DrawMedium(sheet, CellRange{rows.first, last, rows.last, last}, {BorderSide::kRight});
  DrawMedium(sheet, CellRange::Across(rows.last, first, last), {BorderSide::kBottom});
}

// A statistic's block at `row` from column `first`: the title row, then the
// entries; returns its last row.
Row WriteStatBlock(Worksheet& sheet, Row row, Column first, size_t i, const LeaderList& list,
                   const Leaders& leaders, LeaderColumns columns, bool seasons) {
  const LeaderStat& stat = LeaderStatAt(i);
  const Column last = LastColumnOf(first, columns);
  const CellRange title = CellRange::Across(row, first, last);
  sheet.Merge(title);
  sheet.SetText(CellRange::Cell(row, first), StatTitle(stat));
  sheet.SetBold(title, true);
  sheet.SetFill(title, FillOfStat(i));
  FrameMedium(sheet, title);
  const std::string_view format = ValueFormat(i, seasons);
  Row r = row;
  for (const LeaderEntry& entry : list) {
    const LeaderPlayer& player = leaders.players[static_cast<size_t>(entry.player)];
    LeaderLine line{&entry, &player};
    if (IsHittingStat(i)) {
      line.first_year = player.hitting_first;
      line.last_year = player.hitting_last;
    } else {
      line.first_year = player.pitching_first;
      line.last_year = player.pitching_last;
    }
    WriteLine(sheet, ++r, first, columns, line, &player, format);
    // "T-24" under the numbers.
    if (entry.tied) sheet.SetAlignment(CellRange::Cell(r, first), HorizontalAlignment::kRight);
  }
  if (list.empty()) {
    const std::string_view nobody = stat.qualifier == Qualifier::kNone ? kNone : kNoneQualified;
    sheet.SetText(CellRange::Cell(++r, first + 1), nobody);
  }
  FrameSides(sheet, first, last, {row + 1, r});
  return r;
}

// The blocks of the statistics first..end-1, kLeaderBlocksAcross to a band,
// from `row` on; returns the row after the last band's empty row.
Row WriteBands(Worksheet& sheet, Row row, size_t first_stat, size_t end_stat,
               const std::array<LeaderList, kLeaderStatCount>& lists, const Leaders& leaders,
               LeaderColumns columns, bool seasons) {
  for (size_t band = first_stat; band < end_stat; band += kLeaderBlocksAcross) {
    Row last = row;
    for (int32_t b = 0; b < kLeaderBlocksAcross && band + static_cast<size_t>(b) < end_stat; ++b) {
      const size_t i = band + static_cast<size_t>(b);
      last = std::max(
          last, WriteStatBlock(sheet, row, BlockColumn(b), i, lists[i], leaders, columns, seasons));
    }
    sheet.KeepWithNext({row, row});
    sheet.KeepRowsTogether({row, last});
    row = last + 2;
  }
  return row;
}

void WriteRankedSheet(Worksheet& sheet, const std::array<LeaderList, kLeaderStatCount>& lists,
                      const Leaders& leaders, LeaderColumns columns, bool seasons) {
  for (int32_t b = 0; b < kLeaderBlocksAcross; ++b) {
    WriteHeadings(sheet, BlockColumn(b), columns);
  }
  const Row pitching =
      WriteBands(sheet, Row(2), 0, kHittingLeaderStats.size(), lists, leaders, columns, seasons);
  WriteBands(sheet, pitching, kHittingLeaderStats.size(), kLeaderStatCount, lists, leaders, columns,
             seasons);
}

constexpr auto kLeaguePitchingColumns = [] {
  auto columns = kLeagueLeaderColumns;
  columns[0].heading = "Pitching";
  return columns;
}();
constexpr Column kLeagueHittingFirst = kA;
constexpr Column kLeaguePitchingFirst =
    kLeagueHittingFirst + static_cast<int32_t>(kLeagueLeaderColumns.size()) + 1;
constexpr Column kLeagueLast = LastColumnOf(kLeaguePitchingFirst, kLeaguePitchingColumns);

// One side of a league's block from `row` on; returns its last row.
Row WriteLeagueSide(Worksheet& sheet, Row row, Column first, size_t first_stat, size_t end_stat,
                    const LeagueSeasonLeaders& league, const Leaders& leaders,
                    LeagueColumns columns) {
  Row r = row - 1;
  for (size_t i = first_stat; i < end_stat; ++i) {
    const LeaderStat& stat = LeaderStatAt(i);
    const std::string_view format = ValueFormat(i, true);
    const LeaderList& list = league.leaders[i];
    if (list.empty()) {
      const LeagueLeaderLine line{stat.heading, nullptr, nullptr,
                                  stat.qualifier == Qualifier::kNone ? kNone : kNoneQualified};
      WriteLine(sheet, ++r, first, columns, line, nullptr, format);
      continue;
    }
    bool first_entry = true;
    for (const LeaderEntry& entry : list) {
      const LeaderPlayer& player = leaders.players[static_cast<size_t>(entry.player)];
      const LeagueLeaderLine line{
          first_entry ? stat.heading : std::string_view(), &entry, &player, {}};
      WriteLine(sheet, ++r, first, columns, line, &player, format);
      first_entry = false;
    }
  }
  return r;
}

}  // namespace

CellValue RankCell(const LeaderEntry& entry) {
  if (entry.tied) return "T-" + std::to_string(entry.rank);
  return static_cast<double>(entry.rank);
}

void WriteCareerLeaders(Worksheet& sheet, const Leaders& leaders) {
  WriteRankedSheet(sheet, leaders.career, leaders, kCareerLeaderColumns, false);
}

void WriteSeasonLeaders(Worksheet& sheet, const Leaders& leaders) {
  WriteRankedSheet(sheet, leaders.season, leaders, kSeasonLeaderColumns, true);
}

void WriteLeagueLeaders(Worksheet& sheet, const Leaders& leaders) {
  {
    WriteHeadings(sheet, kLeagueHittingFirst, kLeagueLeaderColumns);
    WriteHeadings(sheet, kLeaguePitchingFirst, kLeaguePitchingColumns);
    Row row(2);
    for (const LeagueSeasonLeaders& league : leaders.leagues) {
      const CellRange title = CellRange::Across(row, kLeagueHittingFirst, kLeagueLast);
      sheet.Merge(title);
      sheet.SetText(CellRange::Cell(row, kLeagueHittingFirst),
                    std::to_string(league.year) + " " + league.league_name);
      sheet.SetBold(title, true);
      sheet.SetFill(title, kSummaryHeaderFill);
      FrameMedium(sheet, title);
      const Row hitting_last =
          WriteLeagueSide(sheet, row + 1, kLeagueHittingFirst, 0, kHittingLeaderStats.size(),
                          league, leaders, kLeagueLeaderColumns);
      const Row pitching_last =
          WriteLeagueSide(sheet, row + 1, kLeaguePitchingFirst, kHittingLeaderStats.size(),
                          kLeaderStatCount, league, leaders, kLeaguePitchingColumns);
      FrameSides(sheet, kLeagueHittingFirst,
                 LastColumnOf(kLeagueHittingFirst, kLeagueLeaderColumns), {row + 1, hitting_last});
      FrameSides(sheet, kLeaguePitchingFirst, kLeagueLast, {row + 1, pitching_last});
      const Row last = std::max(hitting_last, pitching_last);
      sheet.KeepWithNext({row, row});
      sheet.KeepRowsTogether({row, last});
      row = last + 2;
    }
  }
}

}  // namespace statcrane
