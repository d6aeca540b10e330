// The leaders sheets, on request: "Career Leaders", "Season Leaders" and
// "League Leaders" (leaders.h computes what they show).
//
// "Career Leaders" and "Season Leaders" set the statistics' blocks side by
// side, kLeaderBlocksAcross to a band, the hitting statistics' bands first:
// every block has the same four columns (Rank, Player, the value, Years or
// Year), whose headings stand once in row 1 over every block (bold, on the
// summary headings' fill, framed), and a title row naming its statistic
// (merged over the block, bold, on the kind's fill, framed), then its
// entries; an empty column between blocks and an empty row between bands.
// A band prints on one page where it fits (Worksheet::KeepRowsTogether).
//
// "League Leaders" has one block per year and league ("1987 American
// League", merged over the block, bold, on the summary fill), hitting beside
// pitching: each statistic's leader (every player tied for the lead on a row
// of his own) with his value; "none qualified" when no player qualified for
// a rate, "none" when every value was 0.
//
// A rank tied with another shows as "T-24" (text), any other as a number. A
// value has the number format of its figure column; innings show their tenth
// on the season sheets, as on the letter sheets' lines. Each player's name
// is a link to his name row on his letter sheet (none when his block has no
// sheet).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "players/leaders.h"
#include "workbook/sheet_columns.h"
#include "workbook/workbook.h"

namespace statcrane {

inline constexpr int32_t kLeaderBlocksAcross = 4;

// What a line of a block shows.
struct LeaderLine {
  const LeaderEntry* entry = nullptr;
  const LeaderPlayer* player = nullptr;
  int32_t first_year = 0;  // a career's years
  int32_t last_year = 0;
};

// The rank: a number, or "T-24" when tied.
CellValue RankCell(const LeaderEntry& entry);

// Whose cells link to the player's block; whose number format is the
// statistic's.
enum class LeaderGroup { kPlain, kLink, kValue };

inline constexpr std::array<SheetColumn<LeaderLine, LeaderGroup>, 4> kCareerLeaderColumns = {{
    {"Rank",
     [](const LeaderLine& l) { return RankCell(*l.entry); },
     {},
     HorizontalAlignment::kRight},
    {"Player",
     [](const LeaderLine& l) -> CellValue { return l.player->name; },
     {},
     {},
     LeaderGroup::kLink},
    {"Value",
     [](const LeaderLine& l) -> CellValue { return l.entry->value; },
     {},
     HorizontalAlignment::kRight,
     LeaderGroup::kValue},
    {"Years",
     [](const LeaderLine& l) -> CellValue {
       if (l.first_year == l.last_year) return std::to_string(l.first_year);
       return std::to_string(l.first_year) + "-" + std::to_string(l.last_year);
     },
     {},
     HorizontalAlignment::kRight},
}};

inline constexpr std::array<SheetColumn<LeaderLine, LeaderGroup>, 4> kSeasonLeaderColumns = {{
    kCareerLeaderColumns[0],
    kCareerLeaderColumns[1],
    kCareerLeaderColumns[2],
    {"Year",
     [](const LeaderLine& l) -> CellValue { return static_cast<double>(l.entry->year); },
     {},
     HorizontalAlignment::kRight},
}};

// One side (hitting or pitching) of a "League Leaders" block; the first
// column's heading names the side, its cells the statistic.
struct LeagueLeaderLine {
  std::string_view stat;               // "" on the rows of further tied leaders
  const LeaderEntry* entry = nullptr;  // null: nobody
  const LeaderPlayer* player = nullptr;
  std::string_view nobody;  // what the player cell says when there is nobody
};

inline constexpr std::array<SheetColumn<LeagueLeaderLine, LeaderGroup>, 3> kLeagueLeaderColumns = {{
    {"Hitting", [](const LeagueLeaderLine& l) -> CellValue { return l.stat; }},
    {"Player",
     [](const LeagueLeaderLine& l) -> CellValue {
       if (l.entry == nullptr) return l.nobody;
       return l.player->name;
     },
     {},
     {},
     LeaderGroup::kLink},
    {"Value",
     [](const LeagueLeaderLine& l) -> CellValue {
       if (l.entry == nullptr) return {};
       return l.entry->value;
     },
     {},
     HorizontalAlignment::kRight,
     LeaderGroup::kValue},
}};

// Writes the three sheets. An error names the sheet (the sheet's own).
void WriteCareerLeaders(Worksheet& sheet, const Leaders& leaders);
void WriteSeasonLeaders(Worksheet& sheet, const Leaders& leaders);
void WriteLeagueLeaders(Worksheet& sheet, const Leaders& leaders);

}  // namespace statcrane
