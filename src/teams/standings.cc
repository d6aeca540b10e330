#include "teams/standings.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>
#include <utility>

#include "teams/finish_names.h"
#include "util/sorted_work_list.h"

namespace statcrane {
namespace {

// Fields compare as they would inside one comma-joined line of all the
// fields: a field ends as a comma does, which sorts after a space and before
// the digits. In the fields where a comma may not end the field (the
// division in the division order, the abbreviation in the team order), a
// comma of the text sorts as the pair 0x1F '+' and a 0x1F as 0x1F 0x1F, so
// that a text with a comma never sorts among the continuations of its
// first part.
constexpr unsigned char kFieldEnd = ',';
constexpr unsigned char kEscape = 0x1F;

template <typename Number>
int CompareNumbers(Number a, Number b) {
  return (a > b) - (a < b);
}

int CompareBytes(unsigned char a, unsigned char b) { return CompareNumbers(a, b); }

// Two folded texts as fields. `escaped`: a comma of the text does not end
// the field (see above). Texts that only differ where one ends and the other
// has a comma compare in length order when not escaped (the standings never
// compare such fields: see SeasonStanding).
int CompareFields(std::string_view a, std::string_view b, bool escaped) {
  const size_t common = std::min(a.size(), b.size());
  size_t i = 0;
  while (i < common && a[i] == b[i]) ++i;
  if (i == a.size() && i == b.size()) return 0;
  const auto lead = [&](std::string_view text) -> unsigned char {
    if (i == text.size()) return kFieldEnd;
    const auto c = static_cast<unsigned char>(text[i]);
    return escaped && (c == kFieldEnd || c == kEscape) ? kEscape : c;
  };
  const unsigned char lead_a = lead(a);
  const unsigned char lead_b = lead(b);
  if (lead_a != lead_b) return CompareBytes(lead_a, lead_b);
  if (escaped) {
    // One holds a comma (0x1F '+'), the other 0x1F (0x1F 0x1F).
    return static_cast<unsigned char>(a[i]) == kEscape ? -1 : 1;
  }
  return CompareNumbers(a.size(), b.size());
}

// The last field: plain text order, a text before its continuations.
int CompareLastField(std::string_view a, std::string_view b) {
  const int c = a.compare(b);
  return (c > 0) - (c < 0);
}

// Decimal texts ("-5", "10", "4.5", "2nd") hold no character that sorts
// before a comma, so they compare as plain texts.
int CompareDecimalText(int64_t a, int64_t b) {
  if (a == b) return 0;
  char text_a[24];
  char text_b[24];
  const char* end_a = std::to_chars(text_a, text_a + sizeof text_a, a).ptr;
  const char* end_b = std::to_chars(text_b, text_b + sizeof text_b, b).ptr;
  return CompareLastField(std::string_view(text_a, static_cast<size_t>(end_a - text_a)),
                          std::string_view(text_b, static_cast<size_t>(end_b - text_b)));
}

// Games behind as text: "0", "12", "4.5", "-1", "-0.5".
std::string_view GamesBehindText(double games_behind, char (&text)[32]) {
  const long long halves = std::llround(games_behind * 2);
  const long long whole = (halves < 0 ? -halves : halves) / 2;
  char* end = text;
  if (halves < 0) *end++ = '-';
  end = std::to_chars(end, text + sizeof text - 2, whole).ptr;
  if (halves % 2 != 0) {
    *end++ = '.';
    *end++ = '5';
  }
  return std::string_view(text, static_cast<size_t>(end - text));
}

int CompareGamesBehind(double a, double b) {
  if (a == b) return 0;
  char text_a[32];
  char text_b[32];
  return CompareLastField(GamesBehindText(a, text_a), GamesBehindText(b, text_b));
}

int CompareFinish(int a, int b) {
  if (a == b) return 0;
  return CompareLastField(FinishName(a), FinishName(b));
}

// A season with its texts folded by the list collation, for the sorts.
struct SortEntry {
  SeasonStanding* season;
  std::string division;
  std::string abbreviation;
  std::string team_name;
};

int CompareFiguresAsText(const TeamFigures& a, const TeamFigures& b) {
  if (int c = CompareDecimalText(a.scored, b.scored)) return c;
  if (int c = CompareDecimalText(a.allowed, b.allowed)) return c;
  if (int c = CompareDecimalText(a.sho, b.sho)) return c;
  if (int c = CompareDecimalText(a.gdp, b.gdp)) return c;
  return CompareDecimalText(a.lob, b.lob);
}

int CompareForRanking(const SortEntry& a, const SortEntry& b) {
  const SeasonStanding& x = *a.season;
  const SeasonStanding& y = *b.season;
  if (int c = CompareNumbers(x.year, y.year)) return c;
  if (int c = CompareDecimalText(x.league_id, y.league_id)) return c;
  if (int c = CompareFields(a.division, b.division, /*escaped=*/true)) return c;
  if (int c = CompareNumbers(y.figures.won, x.figures.won)) return c;
  if (int c = CompareNumbers(y.figures.lost, x.figures.lost)) return c;
  if (int c = CompareFiguresAsText(x.figures, y.figures)) return c;
  if (int c = CompareDecimalText(x.team_id, y.team_id)) return c;
  if (int c = CompareDecimalText(x.post_season_record, y.post_season_record)) return c;
  if (int c = CompareFields(a.abbreviation, b.abbreviation, /*escaped=*/false)) return c;
  return CompareLastField(a.team_name, b.team_name);
}

int CompareForTeamOrder(const SortEntry& a, const SortEntry& b) {
  const SeasonStanding& x = *a.season;
  const SeasonStanding& y = *b.season;
  if (int c = CompareFields(a.abbreviation, b.abbreviation, /*escaped=*/true)) return c;
  if (int c = CompareDecimalText(x.team_id, y.team_id)) return c;
  if (int c = CompareNumbers(x.year, y.year)) return c;
  if (int c = CompareDecimalText(x.league_id, y.league_id)) return c;
  if (int c = CompareFields(a.division, b.division, /*escaped=*/false)) return c;
  if (int c = CompareDecimalText(x.figures.won, y.figures.won)) return c;
  if (int c = CompareDecimalText(x.figures.lost, y.figures.lost)) return c;
  if (int c = CompareGamesBehind(x.games_behind, y.games_behind)) return c;
  if (int c = CompareFinish(x.place, y.place)) return c;
  if (int c = CompareFiguresAsText(x.figures, y.figures)) return c;
  if (int c = CompareDecimalText(x.post_season_record, y.post_season_record)) return c;
  return CompareLastField(a.team_name, b.team_name);
}

template <typename Compare>
void StableSort(std::vector<SeasonStanding>& standings, Compare compare) {
  std::vector<SortEntry> entries;
  entries.reserve(standings.size());
  for (SeasonStanding& season : standings) {
    entries.push_back(SortEntry{&season, ListCollationKey(season.division),
                                ListCollationKey(season.abbreviation),
                                ListCollationKey(season.team_name)});
  }
  std::stable_sort(entries.begin(), entries.end(),
                   [&](const SortEntry& a, const SortEntry& b) { return compare(a, b) < 0; });
  std::vector<SeasonStanding> sorted;
  sorted.reserve(standings.size());
  for (SortEntry& entry : entries) sorted.push_back(std::move(*entry.season));
  standings = std::move(sorted);
}

}  // namespace

SeasonStanding UnrankedStanding(const TeamSeason& season, const TeamAbbreviations& abbreviations,
                                const Divisions& divisions) {
  SeasonStanding standing;
  standing.team_id = season.team_id;
  standing.year = season.year;
  standing.league_id = season.league_id;
  standing.division = divisions(season.team_id, season.year);
  standing.abbreviation = abbreviations[season.team_id];
  standing.team_name = season.display_name;
  standing.figures = TeamFigures::Of(season.regular_season);
  standing.post_season_record = season.post_season_record_number;
  return standing;
}

void SortIntoDivisions(std::vector<SeasonStanding>& standings) {
  StableSort(standings, CompareForRanking);
}

void SortByTeamAndYear(std::vector<SeasonStanding>& standings) {
  StableSort(standings, CompareForTeamOrder);
}

void RankWithinDivisions(std::vector<SeasonStanding>& standings) {
  const SeasonStanding* leader = nullptr;
  int teams_seen = 0;
  double last_games_behind = 0;
  int place = 1;
  for (SeasonStanding& season : standings) {
    if (leader != nullptr && season.year == leader->year && season.league_id == leader->league_id &&
        season.division == leader->division) {
      ++teams_seen;
      season.games_behind = static_cast<double>((leader->figures.won - season.figures.won) +
                                                (season.figures.lost - leader->figures.lost)) /
                            2.0;
      // Equal games behind above 0 share the place of the season above.
      if (!(season.games_behind == last_games_behind && season.games_behind > 0)) {
        place = teams_seen;
      }
    } else {
      leader = &season;
      teams_seen = 1;
      season.games_behind = 0;
      place = 1;
    }
    last_games_behind = season.games_behind;
    season.place = place;
  }
}

std::vector<SeasonStanding> TeamStandings(const std::vector<TeamSeason>& seasons,
                                          const TeamAbbreviations& abbreviations,
                                          const Divisions& divisions) {
  std::vector<SeasonStanding> standings;
  standings.reserve(seasons.size());
  for (const TeamSeason& season : seasons) {
    standings.push_back(UnrankedStanding(season, abbreviations, divisions));
  }
  SortIntoDivisions(standings);
  RankWithinDivisions(standings);
  SortByTeamAndYear(standings);
  return standings;
}

}  // namespace statcrane
