// The leaders sheets of a run against leaders worked out here, from the
// encyclopedia's records, without the program's blocks, figures or ranking.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "app/processing_run.h"
#include "encyclopedia/encyclopedia_folder.h"
#include "encyclopedia/record_layouts.h"
#include "players/letter_sheet_writer.h"
#include "testing/record_files.h"
#include "testing/skip.h"
#include "testing/temp_dir.h"
#include "testing/xlsx_reader.h"
#include "tools/encyclopedia_generator.h"
#include "util/three_decimals.h"
#include "workbook/palette.h"

namespace statcrane {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;
using testing::XlsxBook;
using testing::XlsxCell;
using testing::XlsxSheet;

// ---- The leaders worked out from the records ----

struct Hitting {
  int64_t ab = 0, h = 0, d = 0, t = 0, hr = 0, r = 0, rbi = 0, hbp = 0, bb = 0, sb = 0, sh = 0,
          sf = 0;
  void Add(const PlayerStatsRecord& x) {
    ab += x.at_bats, h += x.hits, d += x.doubles, t += x.triples, hr += x.home_runs;
    r += x.runs, rbi += x.runs_batted_in, hbp += x.hit_by_pitch, bb += x.walks;
    sb += x.stolen_bases, sh += x.sacrifice_hits, sf += x.sacrifice_flies;
  }
  int64_t pa() const { return ab + bb + hbp + sf + sh; }
};
struct Pitching {
  int64_t w = 0, l = 0, sv = 0, k = 0, outs = 0, g = 0, gs = 0, cg = 0, sho = 0, er = 0, h = 0,
          oab = 0;
  void Add(const PlayerStatsRecord& x) {
    w += x.wins, l += x.losses, sv += x.saves, k += x.strikeouts_pitched, outs += x.outs_pitched;
    g += x.games_pitched, gs += x.games_started, cg += x.complete_games, sho += x.shutouts;
    er += x.earned_runs, h += x.hits_allowed, oab += x.opponent_at_bats;
  }
};

double Rate(int64_t a, int64_t b) {
  return b > 0 ? RoundThreeDecimals(static_cast<double>(a) / static_cast<double>(b)) : 0;
}

enum class Need { kNone, kPa, kOuts, kDecisions };
struct Stat {
  std::string heading;
  bool hitting;
  Need need;
  bool lower_first;
};
const std::vector<Stat> kStats = {
    {"H", true, Need::kNone, false},   {"HR", true, Need::kNone, false},
    {"RBI", true, Need::kNone, false}, {"R", true, Need::kNone, false},
    {"2B", true, Need::kNone, false},  {"3B", true, Need::kNone, false},
    {"SB", true, Need::kNone, false},  {"BB", true, Need::kNone, false},
    {"TB", true, Need::kNone, false},  {"BAVG", true, Need::kPa, false},
    {"OBP", true, Need::kPa, false},   {"SPC", true, Need::kPa, false},
    {"W", false, Need::kNone, false},  {"SV", false, Need::kNone, false},
    {"K", false, Need::kNone, false},  {"IP", false, Need::kNone, false},
    {"G", false, Need::kNone, false},  {"GS", false, Need::kNone, false},
    {"CG", false, Need::kNone, false}, {"SHO", false, Need::kNone, false},
    {"ERA", false, Need::kOuts, true}, {"PCT", false, Need::kDecisions, false},
    {"OBA", false, Need::kOuts, true},
};

double HittingValue(const std::string& s, const Hitting& x) {
  const int64_t tb = x.h + x.d + 2 * x.t + 3 * x.hr;
  if (s == "H") return x.h;
  if (s == "HR") return x.hr;
  if (s == "RBI") return x.rbi;
  if (s == "R") return x.r;
  if (s == "2B") return x.d;
  if (s == "3B") return x.t;
  if (s == "SB") return x.sb;
  if (s == "BB") return x.bb;
  if (s == "TB") return tb;
  if (s == "BAVG") return Rate(x.h, x.ab);
  if (s == "OBP") return Rate(x.h + x.bb + x.hbp, x.ab + x.bb + x.hbp + x.sf);
  return Rate(tb, x.ab);  // SPC
}
double PitchingValue(const std::string& s, const Pitching& x) {
  if (s == "W") return x.w;
  if (s == "SV") return x.sv;
  if (s == "K") return x.k;
  if (s == "IP") return static_cast<double>(x.outs / 3) + static_cast<double>(x.outs % 3) / 10;
  if (s == "G") return x.g;
  if (s == "GS") return x.gs;
  if (s == "CG") return x.cg;
  if (s == "SHO") return x.sho;
  if (s == "ERA") return x.outs > 0 ? RoundThreeDecimals(27.0 * x.er / x.outs) : 0;
  if (s == "PCT") return Rate(x.w, x.w + x.l);
  return Rate(x.h, x.oab);  // OBA
}

// A career (games 0) or a season of a player.
struct Line {
  int32_t id = 0;
  int32_t year = 0;
  int64_t games = 0;  // the team games that set the minimums; 0 for a career
  Hitting hitting;
  Pitching pitching;
  bool has_hitting = false, has_pitching = false;
};

bool Qualified(const Stat& stat, const Line& line) {
  const bool career = line.games == 0;
  switch (stat.need) {
    case Need::kNone:
      return true;
    case Need::kPa:
      return line.hitting.pa() >=
             (career ? 3000 : std::lround(3.1 * static_cast<double>(line.games)));
    case Need::kOuts:
      return line.pitching.outs >= (career ? 3000 : 3 * line.games);
    case Need::kDecisions:
      return line.pitching.w + line.pitching.l >= (career ? 100 : 10);
  }
  return false;
}

struct Ranked {
  std::string rank;  // "7" or "T-7"
  int32_t id = 0;
  double value = 0;
  int32_t year = 0;
  bool operator==(const Ranked&) const = default;
};

// Best first; ties by player and year.
void SortRanked(std::vector<Ranked>& list) {
  auto key = [](const Ranked& r) {
    const int rank = std::stoi(r.rank.empty() ? "0" : r.rank.substr(r.rank[0] == 'T' ? 2 : 0));
    return std::tuple(rank, r.id, r.year, r.value);
  };
  std::sort(list.begin(), list.end(),
            [&](const Ranked& a, const Ranked& b) { return key(a) < key(b); });
}

// The entries ranked 25th or better (top_n 25), or the leaders (top_n 1).
std::vector<Ranked> Rank(const Stat& stat, const std::vector<Line>& lines, size_t top_n) {
  std::vector<std::pair<double, const Line*>> values;
  for (const Line& line : lines) {
    if (stat.hitting ? !line.has_hitting : !line.has_pitching) continue;
    const double value = stat.hitting ? HittingValue(stat.heading, line.hitting)
                                      : PitchingValue(stat.heading, line.pitching);
    if (stat.need == Need::kNone ? value == 0 : !Qualified(stat, line)) continue;
    values.emplace_back(value, &line);
  }
  std::vector<Ranked> out;
  for (const auto& [value, line] : values) {
    size_t better = 0, same = 0;
    for (const auto& other : values) {
      if (stat.lower_first ? other.first < value : other.first > value) ++better;
      if (other.first == value) ++same;
    }
    if (better + 1 > top_n) continue;
    const std::string rank = std::to_string(better + 1);
    out.push_back({same > 1 ? "T-" + rank : rank, line->id, value, line->year});
  }
  SortRanked(out);
  return out;
}

struct Expected {
  std::map<std::string, std::vector<Ranked>> career, season;
  // (year, league name) -> statistic -> leaders
  std::map<std::pair<int32_t, std::string>, std::map<std::string, std::vector<Ranked>>> leagues;
};

Expected WorkOut(const fs::path& folder) {
  std::map<std::pair<int32_t, int32_t>, std::pair<int64_t, int32_t>> team_years;  // games, league
  for (const auto& t : testing::ReadRecords<TeamYearRecord>(folder / kTeamYearFile)) {
    if (t.record_status != 0 || t.year < 1) continue;
    team_years[{t.team_id, t.year}] = {t.regular_season.won + t.regular_season.lost, t.league_id};
  }
  std::map<int32_t, std::string> league_names;
  for (const auto& l : testing::ReadRecords<LeagueYearRecord>(folder / kLeagueYearFile)) {
    if (l.record_status != 0 || l.year < 1) continue;
    league_names[l.league_id] = l.league_name.substr(0, l.league_name.find('\0'));
  }
  auto league_name = [&](int32_t id) {
    const auto it = league_names.find(id);
    return it != league_names.end() && !it->second.empty() ? it->second
                                                           : "League " + std::to_string(id);
  };

  std::map<int32_t, Line> careers;
  // (id, year) and (id, year, league) -> line, with the most games of its teams per kind
  std::map<std::pair<int32_t, int32_t>, std::pair<Line, std::pair<int64_t, int64_t>>> seasons;
  std::map<std::tuple<int32_t, int32_t, int32_t>, std::pair<Line, std::pair<int64_t, int64_t>>>
      league_seasons;
  auto add = [](Line& line, std::pair<int64_t, int64_t>& games, const PlayerStatsRecord& r,
                int64_t team_games) {
    if (r.line_kind == 1) {
      line.hitting.Add(r), line.has_hitting = true;
      games.first = std::max(games.first, team_games);
    } else {
      line.pitching.Add(r), line.has_pitching = true;
      games.second = std::max(games.second, team_games);
    }
  };
  for (const auto& r : testing::ReadRecords<PlayerStatsRecord>(folder / kPlayerStatsFile)) {
    if (r.record_status != 0 || r.player_id < 1 || r.season_type != 2) continue;
    if (r.line_kind != 1 && r.line_kind != 2) continue;
    const auto team = team_years.find({r.team_id, r.year});
    const int64_t team_games = team == team_years.end() ? 0 : team->second.first;
    Line& career = careers[r.player_id];
    career.id = r.player_id;
    std::pair<int64_t, int64_t> unused;
    add(career, unused, r, 0);
    auto& season = seasons[{r.player_id, r.year}];
    season.first.id = r.player_id, season.first.year = r.year;
    add(season.first, season.second, r, team_games);
    if (team != team_years.end()) {
      auto& in_league = league_seasons[{r.player_id, r.year, team->second.second}];
      in_league.first.id = r.player_id, in_league.first.year = r.year;
      add(in_league.first, in_league.second, r, team_games);
    }
  }
  auto games_or_default = [](int64_t g) { return g > 0 ? g : 162; };
  Expected expected;
  std::vector<Line> career_lines, season_lines;
  for (const auto& [id, line] : careers) career_lines.push_back(line);
  for (const auto& stat : kStats) {
    season_lines.clear();
    for (const auto& [key, entry] : seasons) {
      Line line = entry.first;
      line.games = games_or_default(stat.hitting ? entry.second.first : entry.second.second);
      season_lines.push_back(line);
    }
    expected.career[stat.heading] = Rank(stat, career_lines, 25);
    for (Ranked& r : expected.career[stat.heading]) r.year = 0;
    SortRanked(expected.career[stat.heading]);
    expected.season[stat.heading] = Rank(stat, season_lines, 25);
    std::map<std::pair<int32_t, int32_t>, std::vector<Line>> by_league;
    for (const auto& [key, entry] : league_seasons) {
      Line line = entry.first;
      line.games = games_or_default(stat.hitting ? entry.second.first : entry.second.second);
      by_league[{std::get<1>(key), std::get<2>(key)}].push_back(line);
    }
    for (const auto& [key, lines] : by_league) {
      std::vector<Ranked> leaders = Rank(stat, lines, 1);
      for (Ranked& r : leaders) r.rank.clear(), r.year = 0;
      SortRanked(leaders);
      expected.leagues[{key.first, league_name(key.second)}][stat.heading] = leaders;
    }
  }
  return expected;
}

// ---- The leaders as the workbook shows them ----

// The player a name links to: his id from his block's name row, after
// checking that the link lands on that row and the row shows the name.
int32_t LinkedPlayer(const XlsxBook& book, const XlsxSheet& sheet, int32_t row, int32_t col) {
  const std::string a1 = std::string(1, static_cast<char>('A' + col - 1)) + std::to_string(row);
  const XlsxCell& name = sheet.Cell(row, col);
  const auto link = sheet.links.find(a1);
  if (link == sheet.links.end()) {
    ADD_FAILURE() << sheet.name << "!" << a1 << " has no link";
    return 0;
  }
  EXPECT_EQ(name.font_color, testing::RgbText(kLinkColor)) << a1;
  EXPECT_TRUE(name.underline) << a1;
  // "'S'!A123"
  const std::string& to = link->second;
  const size_t bang = to.rfind('!');
  const std::string target_sheet = to.substr(1, bang - 2);
  EXPECT_EQ(to.substr(bang + 1, 1), "A") << to;
  const int32_t target_row = std::stoi(to.substr(bang + 2));
  const XlsxSheet& letter = book.Sheet(target_sheet);
  EXPECT_EQ(letter.Cell(target_row, 1).text, name.text) << sheet.name << "!" << a1 << " -> " << to;
  EXPECT_TRUE(letter.Cell(target_row, 1).bold) << to;  // the name row
  // The player id over the last four columns of the block.
  return static_cast<int32_t>(letter.Cell(target_row, kLetterBlockLastColumn.number() - 3).number);
}

std::string RankText(const XlsxCell& cell) {
  return cell.IsNumber() ? std::to_string(static_cast<int>(cell.number)) : cell.text;
}

// The blocks of "Career Leaders" or "Season Leaders", by statistic.
std::map<std::string, std::vector<Ranked>> ReadRankedSheet(const XlsxBook& book,
                                                           const std::string& name, bool seasons) {
  const XlsxSheet& sheet = book.Sheet(name);
  std::map<std::string, std::vector<Ranked>> blocks;
  for (int32_t col = 1; col <= 16; col += 5) {
    std::string stat;
    for (int32_t row = 2; row <= sheet.LastRow(); ++row) {
      const XlsxCell& first = sheet.Cell(row, col);
      if (first.IsText() && first.text.back() == ')') {
        const std::string& t = first.text;
        stat = t.substr(t.rfind('(') + 1, t.size() - t.rfind('(') - 2);
        blocks[stat];
        continue;
      }
      if (first.IsEmpty()) {
        if (!sheet.Cell(row, col + 1).IsEmpty()) {
          EXPECT_TRUE(blocks[stat].empty()) << name << " " << stat;  // "none qualified"
        }
        stat.clear();
        continue;
      }
      Ranked r;
      r.rank = RankText(first);
      r.id = LinkedPlayer(book, sheet, row, col + 1);
      r.value = sheet.Cell(row, col + 2).number;
      if (seasons) r.year = static_cast<int32_t>(sheet.Cell(row, col + 3).number);
      blocks[stat].push_back(r);
    }
  }
  for (auto& [stat, list] : blocks) SortRanked(list);
  return blocks;
}

std::map<std::pair<int32_t, std::string>, std::map<std::string, std::vector<Ranked>>>
ReadLeagueSheet(const XlsxBook& book) {
  const XlsxSheet& sheet = book.Sheet("League Leaders");
  std::map<std::pair<int32_t, std::string>, std::map<std::string, std::vector<Ranked>>> blocks;
  std::map<std::string, std::vector<Ranked>>* block = nullptr;
  std::string stats[2];
  for (int32_t row = 2; row <= sheet.LastRow(); ++row) {
    const XlsxCell& a = sheet.Cell(row, 1);
    if (sheet.IsMerged("A" + std::to_string(row) + ":G" + std::to_string(row))) {
      const size_t space = a.text.find(' ');
      block = &blocks[{std::stoi(a.text.substr(0, space)), a.text.substr(space + 1)}];
      continue;
    }
    if (block == nullptr) continue;
    for (int side = 0; side < 2; ++side) {
      const int32_t col = 1 + 4 * side;
      const XlsxCell& stat = sheet.Cell(row, col);
      if (stat.IsText()) stats[side] = stat.text;
      if (sheet.Cell(row, col + 1).IsEmpty()) continue;
      std::vector<Ranked>& list = (*block)[stats[side]];
      if (sheet.Cell(row, col + 2).IsEmpty()) continue;  // "none", "none qualified"
      list.push_back(
          {"", LinkedPlayer(book, sheet, row, col + 1), sheet.Cell(row, col + 2).number, 0});
    }
  }
  for (auto& [key, stats_of] : blocks) {
    for (auto& [stat, list] : stats_of) SortRanked(list);
  }
  return blocks;
}

// ---- The encyclopedia ----

PlayerStatsRecord Hitter(int16_t id, std::string last, int16_t year, int16_t team, int16_t ab,
                         int16_t h) {
  PlayerStatsRecord r;
  r.player_id = id;
  r.season_type = 2;
  r.year = year;
  r.team_id = team;
  r.first_name = "Pl";
  r.last_name = std::move(last);
  r.line_kind = 1;
  r.at_bats = ab;
  r.hits = h;
  return r;
}
PlayerStatsRecord Pitcher(int16_t id, std::string last, int16_t year, int16_t team, int16_t outs,
                          int16_t er, uint8_t w, uint8_t l) {
  PlayerStatsRecord r = Hitter(id, std::move(last), year, team, 0, 0);
  r.line_kind = 2;
  r.outs_pitched = outs;
  r.earned_runs = er;
  r.opponent_at_bats = static_cast<int16_t>(outs + 2 * er);
  r.hits_allowed = er;
  r.wins = w;
  r.losses = l;
  return r;
}

struct Planted {
  int32_t year = 0;
  int64_t games = 0;  // of the team with the most games
  int16_t tied[3] = {};
  int16_t traded_enough = 0, traded_short = 0;
  int16_t innings_enough = 0, innings_short = 0, decisions_enough = 0, decisions_short = 0;
  int16_t career_enough = 0, career_short = 0, career_arm = 0, career_arm_short = 0;
  int16_t lone = 0;
};

// A generated encyclopedia with players planted: ties, seasons on two teams
// of unequal games, players just above and below each minimum, and a league
// of one team whose one player qualifies for nothing.
Planted MakeEncyclopedia(const fs::path& folder) {
  GeneratorOptions options;
  options.players = 200;
  options.years = 12;
  options.seed = 21;
  GenerateEncyclopedia(options, folder);
  Planted p;
  auto seasons = testing::ReadRecords<TeamYearRecord>(folder / kTeamYearFile);
  // Two teams of one league in a middle year; the second plays fewer games.
  const int32_t year = options.last_year - 5;
  std::vector<size_t> of_year;
  for (size_t i = 0; i < seasons.size(); ++i) {
    if (seasons[i].year == year && seasons[i].league_id == seasons[0].league_id) {
      of_year.push_back(i);
    }
  }
  EXPECT_GE(of_year.size(), 2u);
  TeamYearRecord& big = seasons[of_year[0]];
  TeamYearRecord& small = seasons[of_year[1]];
  small.regular_season.won = 50;
  small.regular_season.lost = 50;
  p.year = year;
  p.games = big.regular_season.won + big.regular_season.lost;
  EXPECT_GT(p.games, 100);
  const int16_t t1 = big.team_id, t2 = small.team_id;
  TeamYearRecord lone_team = big;
  lone_team.team_id = 9000;
  lone_team.league_id = 77;
  lone_team.division_series = lone_team.league_championship_series = lone_team.world_series = {};
  seasons.push_back(lone_team);
  testing::WriteRecords(folder / kTeamYearFile, seasons);

  auto stats = testing::ReadRecords<PlayerStatsRecord>(folder / kPlayerStatsFile);
  int16_t next = 30000;
  const int16_t y = static_cast<int16_t>(year);
  // Three players with 510 home runs in one season, 255 for each of two
  // teams: tied first for the season, the career and the league.
  for (int16_t& id : p.tied) {
    id = next++;
    for (int16_t team : {t2, t1}) {
      PlayerStatsRecord r = Hitter(id, "Tied", y, team, 300, 90);
      r.home_runs = 255;
      stats.push_back(r);
    }
  }
  // 3.1 plate appearances a game of the team with the more games, split
  // over both teams (the one of fewer games first), and one short of it.
  const int16_t pa = static_cast<int16_t>((31 * p.games + 5) / 10);
  p.traded_enough = next++;
  stats.push_back(Hitter(p.traded_enough, "Traded", y, t2, 300, 240));
  stats.push_back(Hitter(p.traded_enough, "Traded", y, t1, static_cast<int16_t>(pa - 300), 150));
  p.traded_short = next++;
  stats.push_back(Hitter(p.traded_short, "Short", y, t2, 300, 280));
  stats.push_back(Hitter(p.traded_short, "Short", y, t1, static_cast<int16_t>(pa - 301), 200));
  // An inning a game, and one out short; 10 decisions, and 9.
  const int16_t outs = static_cast<int16_t>(3 * p.games);
  p.innings_enough = next++;
  stats.push_back(Pitcher(p.innings_enough, "Arm", y, t1, outs, 1, 0, 0));
  p.innings_short = next++;
  stats.push_back(
      Pitcher(p.innings_short, "Armshort", y, t1, static_cast<int16_t>(outs - 1), 0, 0, 0));
  p.decisions_enough = next++;
  stats.push_back(Pitcher(p.decisions_enough, "Decided", y, t1, 30, 5, 10, 0));
  p.decisions_short = next++;
  stats.push_back(Pitcher(p.decisions_short, "Undecided", y, t1, 30, 5, 9, 0));
  // Careers: 3,000 plate appearances and 2,999; 1,000 innings and 100
  // decisions, and one out and one decision short.
  p.career_enough = next++;
  p.career_short = next++;
  p.career_arm = next++;
  p.career_arm_short = next++;
  for (int16_t k = 0; k < 10; ++k) {
    const int16_t cy = static_cast<int16_t>(options.last_year - 11 + k);
    stats.push_back(Hitter(p.career_enough, "Career", cy, t1, 300, 140));
    stats.push_back(Hitter(p.career_short, "Careershort", cy, t1,
                           static_cast<int16_t>(k == 0 ? 299 : 300), 145));
    stats.push_back(Pitcher(p.career_arm, "Careerarm", cy, t1, 300, 10, 10, 0));
    stats.push_back(Pitcher(p.career_arm_short, "Careerarmshort", cy, t1,
                            static_cast<int16_t>(k == 0 ? 299 : 300), 5,
                            static_cast<uint8_t>(k == 0 ? 9 : 10), 0));
  }
  // The one player of league 77: a few at-bats.
  p.lone = next++;
  PlayerStatsRecord lone = Hitter(p.lone, "Lone", y, 9000, 20, 6);
  lone.doubles = 2;
  stats.push_back(lone);
  testing::WriteRecords(folder / kPlayerStatsFile, stats);
  return p;
}

class LeadersTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = new TempDir;
    planted_ = MakeEncyclopedia(folder_->path());
  }
  static void TearDownTestSuite() { delete folder_; }

  static RunResult Run(const fs::path& output, LeadersChoice leaders,
                       IndexChoice index = IndexChoice::kNone,
                       SheetChoice sheets = SheetChoice::kPlayersAndTeams) {
    RunOptions options;
    options.encyclopedia_folder = folder_->path();
    options.output = output;
    options.leaders = leaders;
    options.index = index;
    options.sheets = sheets;
    RunObserver observer;
    return RunProcessing(options, observer, nullptr);
  }

  static TempDir* folder_;
  static Planted planted_;
  TempDir out_;
};
TempDir* LeadersTest::folder_ = nullptr;
Planted LeadersTest::planted_;

bool Lists(const std::vector<Ranked>& list, int32_t id) {
  return std::any_of(list.begin(), list.end(), [id](const Ranked& r) { return r.id == id; });
}

TEST_F(LeadersTest, TheSheetsShowTheLeadersWorkedOutFromTheRecords) {
  SKIP_ON_WINDOWS(testing::kNeedsReader);
  const fs::path output = out_ / "leaders.xlsx";
  ASSERT_EQ(Run(output, LeadersChoice::kLeaders, IndexChoice::kIndex).outcome,
            RunOutcome::kCompleted);
  const XlsxBook book = testing::ReadXlsx(output);
  const Expected expected = WorkOut(folder_->path());

  const auto career = ReadRankedSheet(book, "Career Leaders", false);
  const auto season = ReadRankedSheet(book, "Season Leaders", true);
  ASSERT_EQ(career.size(), kStats.size());
  ASSERT_EQ(season.size(), kStats.size());
  for (const Stat& stat : kStats) {
    EXPECT_EQ(career.at(stat.heading), expected.career.at(stat.heading)) << stat.heading;
    EXPECT_EQ(season.at(stat.heading), expected.season.at(stat.heading)) << stat.heading;
  }
  const auto leagues = ReadLeagueSheet(book);
  EXPECT_EQ(leagues, expected.leagues);

  // What was planted shows as planted.
  const Planted& p = planted_;
  const std::vector<Ranked>& hr = season.at("HR");
  ASSERT_GE(hr.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(hr[static_cast<size_t>(i)].rank, "T-1");
    EXPECT_EQ(hr[static_cast<size_t>(i)].value, 510);
  }
  EXPECT_EQ(career.at("HR").front().rank, "T-1");
  EXPECT_EQ(season.at("BAVG").front().id, p.traded_enough);  // .600 over two teams
  EXPECT_FALSE(Lists(season.at("BAVG"), p.traded_short));
  EXPECT_TRUE(Lists(season.at("ERA"), p.innings_enough));
  EXPECT_FALSE(Lists(season.at("ERA"), p.innings_short));
  EXPECT_TRUE(Lists(season.at("PCT"), p.decisions_enough));
  EXPECT_FALSE(Lists(season.at("PCT"), p.decisions_short));
  EXPECT_EQ(career.at("BAVG").front().id, p.career_enough);
  EXPECT_FALSE(Lists(career.at("BAVG"), p.career_short));
  EXPECT_TRUE(Lists(career.at("ERA"), p.career_arm));
  EXPECT_FALSE(Lists(career.at("ERA"), p.career_arm_short));
  EXPECT_TRUE(Lists(career.at("PCT"), p.career_arm));
  EXPECT_FALSE(Lists(career.at("PCT"), p.career_arm_short));
  // League 77: its one player leads in hits and doubles; nobody qualifies
  // for a rate, nobody pitched.
  const auto& lone = leagues.at({p.year, "League 77"});
  EXPECT_EQ(lone.at("H"), (std::vector<Ranked>{{"", p.lone, 6, 0}}));
  EXPECT_EQ(lone.at("2B"), (std::vector<Ranked>{{"", p.lone, 2, 0}}));
  EXPECT_TRUE(lone.at("BAVG").empty());
  EXPECT_TRUE(lone.at("ERA").empty());
  EXPECT_TRUE(lone.at("W").empty());

  // After "Index", headings frozen and printed on every page, landscape.
  const std::vector<std::string> names = book.SheetNames();
  ASSERT_GE(names.size(), 5u);
  EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 5),
            (std::vector<std::string>{"Index", "Career Leaders", "Season Leaders", "League Leaders",
                                      "Team Records"}));
  EXPECT_EQ(book.active, "Index");
  for (const char* name : {"Career Leaders", "Season Leaders", "League Leaders"}) {
    const XlsxSheet& sheet = book.Sheet(name);
    EXPECT_EQ(sheet.frozen_at, "A2") << name;
    EXPECT_EQ(sheet.title_rows, "$1:$1") << name;
    EXPECT_EQ(sheet.page.orientation, "landscape") << name;
    EXPECT_TRUE(sheet.page.fit_to_page) << name;
    EXPECT_EQ(sheet.Cell("A1").fill, testing::RgbText(kSummaryHeaderFill)) << name;
    EXPECT_TRUE(sheet.Cell("A1").bold) << name;
    EXPECT_EQ(sheet.Cell("B1").text, "Player") << name;
    EXPECT_LT(sheet.Width(std::string(name) == "League Leaders" ? "D" : "E"), 3)
        << name;  // the gap between blocks
  }
}

TEST_F(LeadersTest, WithoutTheOptionTheWorkbookIsTheSame) {
  SKIP_ON_WINDOWS(testing::kNeedsReader);
  const fs::path plain = out_ / "plain.xlsx";
  const fs::path with = out_ / "with.xlsx";
  ASSERT_EQ(Run(plain, LeadersChoice::kNone).outcome, RunOutcome::kCompleted);
  ASSERT_EQ(Run(with, LeadersChoice::kLeaders).outcome, RunOutcome::kCompleted);
  const std::vector<XlsxBook> books = testing::ReadXlsxFiles({plain, with});
  // The leaders first, the workbook opening on them.
  EXPECT_EQ(books[1].SheetNames().front(), "Career Leaders");
  EXPECT_EQ(books[1].active, "Career Leaders");
  const std::set<std::string> leaders = {"Career Leaders", "Season Leaders", "League Leaders"};
  std::vector<std::string> others;
  for (const std::string& name : books[1].SheetNames()) {
    if (leaders.count(name) == 0) others.push_back(name);
  }
  EXPECT_EQ(books[0].SheetNames(), others);
  for (const std::string& name : others) {
    const XlsxSheet& a = books[0].Sheet(name);
    const XlsxSheet& b = books[1].Sheet(name);
    EXPECT_EQ(a.links, b.links) << name;
    EXPECT_EQ(a.merges, b.merges) << name;
    EXPECT_EQ(a.widths, b.widths) << name;
    EXPECT_EQ(a.breaks, b.breaks) << name;
    ASSERT_EQ(a.cells.size(), b.cells.size()) << name;
    for (const auto& [at, cell] : a.cells) {
      const XlsxCell& other = b.cells.at(at);
      EXPECT_TRUE(cell.kind == other.kind && cell.number == other.number &&
                  cell.text == other.text && cell.number_format == other.number_format &&
                  cell.fill == other.fill && cell.bold == other.bold && cell.top == other.top &&
                  cell.bottom == other.bottom)
          << name << " " << at.first << "," << at.second;
    }
  }
}

TEST_F(LeadersTest, TeamSheetsOnlyHaveNoLeaders) {
  const fs::path output = out_ / "teams.xlsx";
  ASSERT_EQ(
      Run(output, LeadersChoice::kLeaders, IndexChoice::kNone, SheetChoice::kTeamsOnly).outcome,
      RunOutcome::kCompleted);
  SKIP_ON_WINDOWS(testing::kNeedsReader);
  const XlsxBook book = testing::ReadXlsx(output);
  EXPECT_EQ(book.SheetNames().front(), "Team Records");
}

}  // namespace
}  // namespace statcrane
