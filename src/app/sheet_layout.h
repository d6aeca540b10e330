// The sheets of a workbook: their names and tab order, which sheet choice
// creates them, which are removed when they stay empty, the tab the
// workbook opens on, and how each sheet is viewed and printed. The table in
// sheet_layout.cc is the only place that names sheets.
#pragma once

#include "app/run_report.h"
#include "players/letter_sheets.h"
#include "teams/team_sheets.h"
#include "workbook/workbook.h"

namespace statcrane {

enum class SheetChoice { kPlayersAndTeams, kTeamsOnly, kPlayersOnly };
inline bool PlayersWanted(SheetChoice choice) { return choice != SheetChoice::kTeamsOnly; }
inline bool TeamsWanted(SheetChoice choice) { return choice != SheetChoice::kPlayersOnly; }

enum class IndexChoice { kNone, kIndex };

// The sheets of leaders ("Career Leaders", "Season Leaders", "League
// Leaders"); they need the players, so a choice of team sheets only has none.
enum class LeadersChoice { kNone, kLeaders };

// The leaders sheets; all null when not asked for.
struct LeadersSheets {
  Worksheet* career = nullptr;
  Worksheet* season = nullptr;
  Worksheet* league = nullptr;
};

class SheetLayout {
 public:
  // Adds the sheets the choice wants to the (empty) workbook, in tab order:
  // "Index" when asked for, the leaders sheets when asked for, the team sheets ("Team Records",
  // "TeamRegTotals", the three post-season team summaries), the pitching and hitting summary sheets
  // by season type, then the letter sheets "A" to "Z" and "#".
  SheetLayout(Workbook& workbook, SheetChoice choice, IndexChoice index = IndexChoice::kNone,
              LeadersChoice leaders = LeadersChoice::kNone);

  // The sheets of each phase; all null when the choice does not want it.
  const PlayerSheets& player_sheets() const { return players_; }
  const TeamSheets& team_sheets() const { return teams_; }
  // "Index"; null when not asked for.
  Worksheet* index_sheet() const { return index_; }
  const LeadersSheets& leaders_sheets() const { return leaders_; }

  // Once the phases are done: removes the sheets that stayed empty and may
  // go (noted in the report), fits the columns of every sheet, sets up how
  // each sheet is viewed and printed, and sets the tab the workbook opens
  // on: "Index" when asked for, else "Career Leaders" when asked for, else
  // "Team Records" when there is one, else
  // the last player summary sheet left (hitting before pitching, world
  // series back to regular season), else `last_letter_sheet` ("A" when
  // null).
  //
  // Every sheet opens at A1 and prints landscape, one page wide, with the
  // sheet's name and "Page N of M" in the footer. The tables (the summary
  // sheets and "Index") keep their heading row in view, filter the whole
  // table, and print the heading row on every page; on the sheets of blocks
  // (the letter sheets and "Team Records") a block the page would cut
  // starts a new page where it fits on one (page_breaks.h). The leaders
  // sheets keep their heading row in view and print it on every page, keep
  // their bands or blocks on one page where they fit, and narrow the empty
  // columns between their blocks.
  void Finish(RunReport& report, const Worksheet* last_letter_sheet);

 private:
  Workbook& workbook_;
  PlayerSheets players_;
  TeamSheets teams_;
  Worksheet* index_ = nullptr;
  LeadersSheets leaders_;
};

}  // namespace statcrane
