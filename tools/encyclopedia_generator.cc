#include "tools/encyclopedia_generator.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <fstream>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include "encyclopedia/encyclopedia_folder.h"
#include "encyclopedia/record_layouts.h"
#include "util/error.h"

namespace statcrane {
namespace {

namespace fs = std::filesystem;

// xoshiro256** seeded through splitmix64: the same numbers on every
// platform, unlike the distributions of the standard library.
class Rng {
 public:
  explicit Rng(uint64_t seed) {
    for (auto& word : state_) {
      seed += 0x9E3779B97F4A7C15ull;
      uint64_t z = seed;
      z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
      z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
      word = z ^ (z >> 31);
    }
  }
  uint64_t Next() {
    const uint64_t result = Rotl(state_[1] * 5, 7) * 9;
    const uint64_t t = state_[1] << 17;
    state_[2] ^= state_[0];
    state_[3] ^= state_[1];
    state_[1] ^= state_[2];
    state_[0] ^= state_[3];
    state_[2] ^= t;
    state_[3] = Rotl(state_[3], 45);
    return result;
  }
  // 0 to n - 1.
  int Below(int n) {
    return static_cast<int>((static_cast<unsigned __int128>(Next()) * static_cast<uint64_t>(n)) >>
                            64);
  }
  int Range(int lo, int hi) { return lo + Below(hi - lo + 1); }
  double Real() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }
  bool Chance(double p) { return Real() < p; }
  // Roughly normal: the sum of twelve uniform numbers.
  double Normal(double mean, double sd) {
    double sum = 0;
    for (int i = 0; i < 12; ++i) sum += Real();
    return mean + (sum - 6.0) * sd;
  }
  int Binomial(int n, double p) {
    if (n <= 0 || p <= 0) return 0;
    if (p >= 1) return n;
    if (n <= 40) {
      int k = 0;
      for (int i = 0; i < n; ++i) k += Chance(p);
      return k;
    }
    const double mean = n * p;
    const int k = static_cast<int>(std::lround(Normal(mean, std::sqrt(mean * (1 - p)))));
    return std::clamp(k, 0, n);
  }
  template <typename T, size_t N>
  const T& Pick(const T (&items)[N]) {
    return items[Below(static_cast<int>(N))];
  }

 private:
  static uint64_t Rotl(uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
  uint64_t state_[4];
};

// ---------------------------------------------------------------------------
// Names.

struct City {
  const char* name;
  const char* abbrev;
  double longitude;
};

// Cities of the first two leagues' founding members.
const City kFoundingCities[] = {
    {"Boston", "BOS", -71.1},      {"Philadelphia", "PHI", -75.2}, {"Baltimore", "BAL", -76.6},
    {"Pittsburgh", "PIT", -80.0},  {"Cleveland", "CLE", -81.7},    {"Detroit", "DET", -83.0},
    {"Cincinnati", "CIN", -84.5},  {"Chicago", "CHI", -87.6},      {"St. Louis", "STL", -90.2},
    {"Brooklyn", "BRO", -73.9},    {"Washington", "WAS", -77.0},   {"New York", "NYC", -74.0},
    {"Milwaukee", "MIL", -87.9},   {"Toronto", "TOR", -79.4},      {"Montréal", "MTL", -73.6},
    {"Kansas City", "KCY", -94.6},
};
// Cities of the third league.
const City kThirdLeagueCities[] = {
    {"Buffalo", "BUF", -78.9},    {"Indianapolis", "IND", -86.2}, {"Newark", "NEW", -74.2},
    {"Louisville", "LOU", -85.8}, {"Providence", "PRO", -71.4},   {"Hartford", "HFD", -72.7},
    {"Columbus", "COL", -83.0},   {"Richmond", "RIC", -77.4},
};
// Cities of expansion teams and of teams that move.
const City kLaterCities[] = {
    {"Atlanta", "ATL", -84.4},         {"Houston", "HOU", -95.4},
    {"Dallas", "DAL", -96.8},          {"Denver", "DEN", -105.0},
    {"Phoenix", "PHX", -112.1},        {"Seattle", "SEA", -122.3},
    {"Portland", "POR", -122.7},       {"San Francisco", "SFR", -122.4},
    {"Los Angeles", "LAN", -118.2},    {"San Diego", "SDG", -117.2},
    {"Miami", "MIA", -80.2},           {"Tampa", "TAM", -82.5},
    {"Minneapolis", "MIN", -93.3},     {"Nashville", "NSH", -86.8},
    {"Memphis", "MEM", -90.0},         {"New Orleans", "NOR", -90.1},
    {"Salt Lake City", "SLC", -111.9}, {"Sacramento", "SAC", -121.5},
    {"San Antonio", "SAN", -98.5},     {"Charlotte", "CHA", -80.8},
    {"Las Vegas", "LVG", -115.1},      {"Vancouver", "VAN", -123.1},
    {"San José", "SJO", -121.9},       {"Québec", "QUE", -71.2},
    {"Oakland", "OAK", -122.3},        {"Omaha", "OMA", -95.9},
};

const char* const kNicknames[] = {
    "Comets",      "Pilots",     "Foxes",        "Miners",      "Sentinels",  "Lumberjacks",
    "Stallions",   "Hornets",    "Ironmen",      "Voyagers",    "Barons",     "Rivermen",
    "Clippers",    "Thunder",    "Wolves",       "Bison",       "Owls",       "Herons",
    "Keepers",     "Quakers",    "Sailors",      "Mustangs",    "Condors",    "Ospreys",
    "Badgers",     "Gulls",      "Copperheads",  "Harvesters",  "Night Owls", "Highlanders",
    "Steamers",    "Skippers",   "Millers",      "Kingfishers", "Roughnecks", "Flyers",
    "Anglers",     "Drovers",    "Lamplighters", "Surveyors",   "Wranglers",  "Foresters",
    "Tigersharks", "Ridgebacks",
};

const char* const kFirstNames[] = {
    "John",     "James",    "Robert",   "Michael", "William", "David",   "Richard",   "Joseph",
    "Thomas",   "Charles",  "Chris",    "Daniel",  "Matthew", "Anthony", "Mark",      "Donald",
    "Steven",   "Paul",     "Andrew",   "Joshua",  "Kenneth", "Kevin",   "Brian",     "George",
    "Edward",   "Ronald",   "Timothy",  "Jason",   "Jeffrey", "Ryan",    "Jacob",     "Gary",
    "Nicholas", "Eric",     "Jonathan", "Stephen", "Larry",   "Justin",  "Scott",     "Brandon",
    "Frank",    "Benjamin", "Gregory",  "Samuel",  "Raymond", "Patrick", "Alexander", "Jack",
    "Dennis",   "Jerry",    "Tyler",    "Aaron",   "Henry",   "Adam",    "Douglas",   "Nathan",
    "Peter",    "Zachary",  "Kyle",     "Walter",  "Harold",  "Carl",    "Arthur",    "Gerald",
    "Roger",    "Keith",    "Lawrence", "Terry",   "Albert",  "Joe",     "Willie",    "Bobby",
    "Al",       "Bo",       "Ed",       "Lou",     "Ty",      "Cy",      "Mel",       "Hank",
    "Luis",     "Carlos",   "Juan",     "Miguel",  "Pedro",   "Manny",   "Ken",       "Hideo",
};
const char* const kAccentedFirstNames[] = {
    "José",    "Andrés",    "Jesús",    "Rubén",  "Félix", "Iván",  "Ramón", "Adrián",
    "Joaquín", "Sébastien", "François", "Jürgen", "Björn", "Ángel", "Raúl",  "Óscar",
};
const char* const kLastNames[] = {
    "Smith",    "Johnson",  "Williams",   "Brown",     "Jones",     "Miller",    "Davis",
    "Wilson",   "Anderson", "Taylor",     "Thomas",    "Moore",     "Martin",    "Jackson",
    "Thompson", "White",    "Harris",     "Clark",     "Lewis",     "Robinson",  "Walker",
    "Young",    "Allen",    "King",       "Wright",    "Scott",     "Hill",      "Green",
    "Adams",    "Baker",    "Nelson",     "Carter",    "Mitchell",  "Roberts",   "Turner",
    "Phillips", "Campbell", "Parker",     "Evans",     "Edwards",   "Collins",   "Stewart",
    "Morris",   "Rogers",   "Reed",       "Cook",      "Morgan",    "Bell",      "Murphy",
    "Bailey",   "Cooper",   "Richardson", "Cox",       "Howard",    "Ward",      "Peterson",
    "Gray",     "James",    "Watson",     "Brooks",    "Kelly",     "Sanders",   "Price",
    "Bennett",  "Wood",     "Barnes",     "Ross",      "Henderson", "Coleman",   "Jenkins",
    "Perry",    "Powell",   "Long",       "Patterson", "Hughes",    "Flores",    "Washington",
    "Butler",   "Simmons",  "Foster",     "Bryant",    "Alexander", "Russell",   "Griffin",
    "Diaz",     "Hayes",    "Myers",      "Ford",      "Hamilton",  "Graham",    "Sullivan",
    "Wallace",  "Woods",    "Cole",       "West",      "Jordan",    "Owens",     "Reynolds",
    "Fisher",   "Ellis",    "Harrison",   "Gibson",    "McDonald",  "Cruz",      "Marshall",
    "Ortiz",    "Gomez",    "Murray",     "Freeman",   "Wells",     "Webb",      "Simpson",
    "Stevens",  "Tucker",   "Porter",     "Hunter",    "Hicks",     "Crawford",  "Henry",
    "Boyd",     "Mason",    "Morales",    "Kennedy",   "Warren",    "Dixon",     "Ramos",
    "Reyes",    "Burns",    "Gordon",     "Shaw",      "Holmes",    "Rice",      "Robertson",
    "Hunt",     "Black",    "Daniels",    "Palmer",    "Mills",     "Nichols",   "Grant",
    "Knight",   "Ferguson", "Rose",       "Stone",     "Hawkins",   "Dunn",      "Perkins",
    "Hudson",   "Spencer",  "Gardner",    "Stephens",  "Payne",     "O'Brien",   "O'Neill",
    "McGraw",   "Tanaka",   "Suzuki",     "Kowalski",  "Schmidt",   "Lindqvist",
};
const char* const kAccentedLastNames[] = {
    "Peña",    "Muñoz",   "Ramírez", "Hernández", "Gómez",   "Martínez", "Núñez",     "Ibáñez",
    "Sánchez", "Pérez",   "Álvarez", "Müller",    "Løvstad", "Ordóñez",  "Báez",      "Rodríguez",
    "Jiménez", "Castaño", "Gürel",   "Brûlé",     "Zoëller", "Céspedes", "Domínguez", "Benítez",
};
// Family names that begin with a lower-case letter.
const char* const kLowerCaseLastNames[] = {
    "de la Cruz", "van der Berg", "d'Angelo", "de Jong",  "du Pont", "von Haller",
    "le Clerc",   "da Silva",     "de Aza",   "van Dyke", "del Rio", "di Marco",
};

// ---------------------------------------------------------------------------
// The league structure by era. `f` runs from 0 (first season) to 1 (last).

constexpr int kLeagues = 3;
constexpr int kLeagueIds[kLeagues] = {1, 2, 3};

int TeamCount(int league, double f) {
  switch (league) {
    case 0:
      return f < 0.55 ? 8 : f < 0.8 ? 10 : 14;
    case 1:
      return f < 0.5 ? 8 : f < 0.8 ? 10 : 15;
    default:
      return 6;
  }
}

int DivisionCount(int league, double f) {
  switch (league) {
    case 0:
      return f < 0.8 ? 2 : 3;
    case 1:
      return f < 0.5 ? 0 : f < 0.8 ? 2 : 3;
    default:
      return 0;
  }
}

const char* DivisionName(int league, int divisions, int d) {
  static const char* const kFirst2[] = {"East", "West"};
  static const char* const kFirst3[] = {"East", "Central", "West"};
  static const char* const kSecond2[] = {"North", "South"};
  static const char* const kSecond3[] = {"North", "Central", "South"};
  if (league == 0) return divisions == 2 ? kFirst2[d] : kFirst3[d];
  return divisions == 2 ? kSecond2[d] : kSecond3[d];
}

// The share of players whose role changes once in their career.
constexpr double kRoleChanges = 0.004;

int SeasonLength(int league, double f) { return league == 2 ? 140 : f < 0.4 ? 154 : 162; }

// ---------------------------------------------------------------------------
// The world being generated.

struct Home {
  int from_index;  // the first season (index) played there
  City city;
};

struct Franchise {
  int id = 0;
  int league = 0;
  std::string nickname;
  std::vector<Home> homes;
  int first_index = 0;
  int last_index = -1;  // -1 while it plays on
  int seasons = 0;
  double strength = 0;

  const City& CityIn(int index) const {
    const City* city = &homes.front().city;
    for (const auto& home : homes) {
      if (home.from_index <= index) city = &home.city;
    }
    return *city;
  }
  bool ActiveIn(int index) const {
    return first_index <= index && (last_index < 0 || index <= last_index);
  }
};

// What a player does on the field: pitch (as a starter or in relief) or
// hit, and how well.
struct Role {
  bool pitcher = false;
  bool starter = false;
  bool closer = false;
  // Hitting.
  double avg = 0.26, power = 0.02, eye = 0.08, contact = 0.16, speed = 0.05;
  // Pitching, per nine innings.
  double ra9 = 4.3, k9 = 6, bb9 = 3.2;
};

// Players planted for tests: each has one shape of season lines.
enum class Plant {
  kNone,
  kPitchingThenHitting,  // a pitcher who becomes a hitter halfway
  kHittingThenPitching,  // a hitter who becomes a pitcher halfway
  kBothKindsSameYear,    // a hitter traded in mid-career who pitches for his new team
  kOtherKindFirst,       // the first season's lines of line kind 0
  kOtherKindMiddle,      // a middle season's lines of line kind 3
  kOtherKindLast,        // the last season's lines of line kind 0
  kOnlyOtherKinds,       // every regular-season line of line kind 3 or 0
  kPostSeasonBothKinds,  // a hitter who also pitches in a post-season series
};

struct Player {
  int id = 0;
  std::string first;
  std::string last;
  Role role;
  // From season index `switch_index` on (when not -1) the player has
  // `later_role`: a role change.
  Role later_role;
  int switch_index = -1;
  Plant plant = Plant::kNone;
  int plant_index = -1;  // the season the plant concerns
  int debut = 0;         // season index of the debut; may lie before the span
  int first_index = 0;
  int last_index = 0;
  int birth_year = 0;
  int birth_month = 1;
  int birth_day = 1;
  double quality = 0.5;
  int team = -1;  // franchise index of the last season played

  const Role& RoleIn(int index) const {
    return switch_index >= 0 && index >= switch_index ? later_role : role;
  }
};

// One player's regular season with the team he finished it with.
struct SeasonEntry {
  int player;
  bool pitcher;  // his role in that season
  int at_bats;   // all teams together
  int outs;
};

// A post-season series of one year.
struct Series {
  int season_type;
  int team[2];
  int won[2];
};

bool IsLeap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeap(year) ? 29 : kDays[month - 1];
}

uint8_t Byte(int value) { return static_cast<uint8_t>(std::clamp(value, 0, 255)); }
int16_t Word(int value) { return static_cast<int16_t>(std::clamp(value, -32768, 32767)); }

// Writes records of one type to a file through a buffer.
class RecordWriter {
 public:
  RecordWriter(const fs::path& path, size_t record_size) : path_(path), size_(record_size) {
    out_.open(path, std::ios::binary | std::ios::trunc);
    if (!out_) Fail();
    buffer_.reserve(kFlushAt + record_size);
  }
  template <typename Record>
  void Add(const Record& record) {
    const size_t at = buffer_.size();
    buffer_.resize(at + size_);
    record.Encode(MutableRecordBytes(buffer_.data() + at, size_));
    ++count_;
    if (buffer_.size() >= kFlushAt) Flush();
  }
  int64_t Finish() {
    Flush();
    out_.close();
    if (!out_) Fail();
    return count_;
  }

 private:
  static constexpr size_t kFlushAt = 1 << 22;
  void Flush() {
    out_.write(reinterpret_cast<const char*>(buffer_.data()),
               static_cast<std::streamsize>(buffer_.size()));
    if (!out_) Fail();
    buffer_.clear();
  }
  [[noreturn]] void Fail() const { throw StatCraneError("Cannot write " + path_.string()); }
  fs::path path_;
  size_t size_;
  std::ofstream out_;
  std::vector<uint8_t> buffer_;
  int64_t count_ = 0;
};

class Generator {
 public:
  Generator(const GeneratorOptions& options, const fs::path& out)
      : options_(options), out_(out), rng_(options.seed) {
    years_ = options.years > 0
                 ? options.years
                 : std::clamp(static_cast<int>(std::lround(options.players / 220.0)), 3, 150);
    first_year_ = options.last_year - years_ + 1;
    if (first_year_ < 1) {
      throw std::invalid_argument("the first season would be " + std::to_string(first_year_) +
                                  "; it must be 1 or later");
    }
    third_first_ = (years_ - 1) / 5;
    third_last_ = std::min(years_ - 1, third_first_ + std::max(2, years_ / 25) - 1);
  }

  GeneratorSummary Run() {
    std::error_code error;
    fs::create_directories(out_, error);
    if (!fs::is_directory(out_, error)) {
      throw StatCraneError("Cannot create the folder " + out_.string());
    }
    BuildFranchises();
    BuildPlayers();

    RecordWriter stats(out_ / kPlayerStatsFile, PlayerStatsRecord::kSize);
    RecordWriter team_years(out_ / kTeamYearFile, TeamYearRecord::kSize);
    RecordWriter league_years(out_ / kLeagueYearFile, LeagueYearRecord::kSize);
    for (int index = 0; index < years_; ++index) {
      PlayYear(index, stats, team_years, league_years);
    }
    GeneratorSummary summary;
    summary.first_year = first_year_;
    summary.last_year = options_.last_year;
    summary.stats_records = stats.Finish();
    summary.team_seasons = team_years.Finish();
    summary.league_years = league_years.Finish();
    summary.teams = WriteTeams();
    summary.players = WritePlayers();
    summary.leagues = WriteLeagues();
    summary.planted = planted_;
    return summary;
  }

 private:
  double Fraction(int index) const {
    return years_ == 1 ? 1.0 : static_cast<double>(index) / (years_ - 1);
  }
  bool LeagueActive(int league, int index) const {
    if (league < 2) return true;
    return options_.third_league && third_first_ <= index && index <= third_last_;
  }

  // Franchises join as the leagues grow; the third league's fold after its
  // last season; two franchises move to new cities along the way.
  void BuildFranchises() {
    std::vector<City> founding(std::begin(kFoundingCities), std::end(kFoundingCities));
    std::vector<City> third(std::begin(kThirdLeagueCities), std::end(kThirdLeagueCities));
    std::vector<City> later(std::begin(kLaterCities), std::end(kLaterCities));
    Shuffle(founding);
    Shuffle(third);
    Shuffle(later);
    std::vector<const char*> nicknames(std::begin(kNicknames), std::end(kNicknames));
    Shuffle(nicknames);
    size_t next_founding = 0, next_third = 0, next_later = 0, next_nickname = 0;

    auto take_city = [&](int league, int index) {
      if (league == 2) return third[next_third++ % third.size()];
      if (index == 0 && next_founding < founding.size()) return founding[next_founding++];
      return later[next_later++ % later.size()];
    };
    for (int index = 0; index < years_; ++index) {
      const double f = Fraction(index);
      for (int league = 0; league < kLeagues; ++league) {
        if (!LeagueActive(league, index)) continue;
        int active = 0;
        for (const auto& franchise : franchises_) {
          active += franchise.league == league && franchise.ActiveIn(index);
        }
        for (; active < TeamCount(league, f); ++active) {
          Franchise franchise;
          franchise.id = static_cast<int>(franchises_.size()) + 1;
          franchise.league = league;
          franchise.nickname = nicknames[next_nickname++ % nicknames.size()];
          franchise.homes.push_back({index, take_city(league, index)});
          franchise.first_index = index;
          if (league == 2) franchise.last_index = third_last_;
          franchise.strength = rng_.Normal(0, 0.04);
          franchises_.push_back(std::move(franchise));
        }
      }
    }
    if (years_ >= 8) {
      const int moves[2][2] = {{0, static_cast<int>(std::lround(0.4 * (years_ - 1)))},
                               {1, static_cast<int>(std::lround(0.65 * (years_ - 1)))}};
      for (const auto& [league, index] : moves) {
        std::vector<int> candidates;
        for (size_t i = 0; i < franchises_.size(); ++i) {
          if (franchises_[i].league == league && franchises_[i].first_index == 0) {
            candidates.push_back(static_cast<int>(i));
          }
        }
        if (candidates.empty()) continue;
        Franchise& moving =
            franchises_[candidates[rng_.Below(static_cast<int>(candidates.size()))]];
        moving.homes.push_back({index, later[next_later++ % later.size()]});
      }
    }
  }

  void BuildPlayers() {
    // Debuts are spread over the seasons in proportion to the number of
    // teams, so rosters keep a similar size as the leagues grow.
    std::vector<double> cumulative(years_);
    double total = 0;
    for (int index = 0; index < years_; ++index) {
      int teams = 0;
      for (const auto& franchise : franchises_) teams += franchise.ActiveIn(index);
      total += teams;
      cumulative[index] = total;
    }
    players_.resize(options_.players);
    for (auto& p : players_) {
      const double r = rng_.Real();
      const int length = r < 0.25  ? rng_.Range(1, 4)
                         : r < 0.6 ? rng_.Range(5, 14)
                                   : rng_.Range(16, 33);
      const double pick = rng_.Real() * total;
      const int anchor = static_cast<int>(
          std::upper_bound(cumulative.begin(), cumulative.end(), pick) - cumulative.begin());
      p.debut = std::min(anchor, years_ - 1) - rng_.Below(length);
      p.first_index = std::max(p.debut, 0);
      p.last_index = std::min(p.debut + length - 1, years_ - 1);
      p.birth_year = first_year_ + p.debut - rng_.Range(19, 26);
      p.birth_month = rng_.Range(1, 12);
      p.birth_day = rng_.Range(1, DaysInMonth(p.birth_year, p.birth_month));
      p.quality = std::clamp(rng_.Normal(0.45, 0.2) + length * 0.012, 0.0, 1.0);
      p.role = MakeRole(rng_.Chance(0.45), p.quality);
      // A rare role change: a hitter becomes a pitcher, or the reverse.
      if (p.last_index > p.first_index && rng_.Chance(kRoleChanges)) {
        p.switch_index = rng_.Range(p.first_index + 1, p.last_index);
        p.later_role = MakeRole(!p.role.pitcher, p.quality * 0.5);
      }
      NamePlayer(p);
    }
    // Ids follow the debuts, as an encyclopedia that grew season by season.
    std::stable_sort(players_.begin(), players_.end(),
                     [](const Player& a, const Player& b) { return a.debut < b.debut; });
    for (size_t i = 0; i < players_.size(); ++i) players_[i].id = static_cast<int>(i) + 1;
    PlantPlayers();
  }

  // A pitcher's or a hitter's skills.
  Role MakeRole(bool pitcher, double quality) {
    Role role;
    role.pitcher = pitcher;
    role.starter = pitcher && rng_.Chance(0.4);
    role.closer = pitcher && !role.starter && rng_.Chance(0.12);
    if (pitcher) {
      role.avg = std::clamp(rng_.Normal(0.150, 0.03), 0.05, 0.26);
      role.power = 0.004;
      role.eye = 0.04;
      role.contact = 0.33;
      role.speed = 0.01;
      role.ra9 = std::clamp(rng_.Normal(4.8, 0.7) - quality, 2.0, 8.0);
      role.k9 = std::clamp(rng_.Normal(6.5, 1.4), 2.5, 12.5);
      role.bb9 = std::clamp(rng_.Normal(3.2, 0.6), 1.2, 6.0);
    } else {
      role.avg = std::clamp(rng_.Normal(0.255, 0.018) + quality * 0.02, 0.18, 0.35);
      role.power = std::clamp(rng_.Normal(0.025, 0.012), 0.002, 0.08);
      role.eye = std::clamp(rng_.Normal(0.09, 0.025), 0.03, 0.2);
      role.contact = std::clamp(rng_.Normal(0.17, 0.05), 0.05, 0.35);
      role.speed = std::clamp(rng_.Normal(0.05, 0.04), 0.0, 0.3);
    }
    return role;
  }

  // The planted players: for each shape in turn, the first player in id
  // order who fits it and is not planted yet. A shape no player fits (a
  // span too short) has none.
  void PlantPlayers() {
    auto plant = [&](Plant shape, auto fits, auto apply) -> int32_t {
      for (Player& p : players_) {
        if (p.plant != Plant::kNone || p.switch_index >= 0 || !fits(p)) continue;
        p.plant = shape;
        apply(p);
        return p.id;
      }
      return 0;
    };
    auto seasons = [](const Player& p) { return p.last_index - p.first_index + 1; };
    auto middle = [](const Player& p) { return (p.first_index + p.last_index + 1) / 2; };
    planted_.pitching_then_hitting = plant(
        Plant::kPitchingThenHitting,
        [&](const Player& p) { return p.role.pitcher && seasons(p) >= 2; },
        [&](Player& p) {
          p.switch_index = middle(p);
          p.later_role = MakeRole(false, p.quality);
        });
    planted_.hitting_then_pitching = plant(
        Plant::kHittingThenPitching,
        [&](const Player& p) { return !p.role.pitcher && seasons(p) >= 2; },
        [&](Player& p) {
          p.switch_index = middle(p);
          p.later_role = MakeRole(true, p.quality);
        });
    planted_.both_kinds_same_year = plant(
        Plant::kBothKindsSameYear,
        [&](const Player& p) { return !p.role.pitcher && seasons(p) >= 2; },
        [&](Player& p) {
          p.plant_index = middle(p);
          p.later_role = MakeRole(true, 0.0);
        });
    planted_.other_kind_first = plant(
        Plant::kOtherKindFirst, [&](const Player& p) { return seasons(p) >= 3; },
        [&](Player& p) { p.plant_index = p.first_index; });
    planted_.other_kind_middle = plant(
        Plant::kOtherKindMiddle, [&](const Player& p) { return seasons(p) >= 3; },
        [&](Player& p) { p.plant_index = middle(p); });
    planted_.other_kind_last = plant(
        Plant::kOtherKindLast, [&](const Player& p) { return seasons(p) >= 3; },
        [&](Player& p) { p.plant_index = p.last_index; });
    planted_.only_other_kinds = plant(
        Plant::kOnlyOtherKinds, [](const Player&) { return true; }, [](Player&) {});
  }

  void NamePlayer(Player& p) {
    const double r = rng_.Real();
    p.first = rng_.Pick(kFirstNames);
    p.last = rng_.Pick(kLastNames);
    if (r < 0.02) {
      p.first = rng_.Pick(kAccentedFirstNames);
    } else if (r < 0.045) {
      p.last = rng_.Pick(kAccentedLastNames);
    } else if (r < 0.055) {
      p.first = rng_.Pick(kAccentedFirstNames);
      p.last = rng_.Pick(kAccentedLastNames);
    } else if (r < 0.07) {
      p.last = rng_.Pick(kLowerCaseLastNames);
    }
  }

  template <typename T>
  void Shuffle(std::vector<T>& items) {
    for (size_t i = items.size(); i > 1; --i) {
      std::swap(items[i - 1], items[rng_.Below(static_cast<int>(i))]);
    }
  }

  // ---- One season -------------------------------------------------------

  void PlayYear(int index, RecordWriter& stats, RecordWriter& team_years,
                RecordWriter& league_years) {
    const int year = first_year_ + index;
    const double f = Fraction(index);
    std::vector<int> active;  // franchise indexes, by id
    for (size_t i = 0; i < franchises_.size(); ++i) {
      if (franchises_[i].ActiveIn(index) && LeagueActive(franchises_[i].league, index)) {
        active.push_back(static_cast<int>(i));
        ++franchises_[i].seasons;
      }
    }

    // Divisions: the league's teams from east to west, cut into equal parts.
    std::array<std::vector<std::vector<int>>, kLeagues> divisions;
    for (int league = 0; league < kLeagues; ++league) {
      if (!LeagueActive(league, index)) continue;
      std::vector<int> teams;
      for (int i : active) {
        if (franchises_[i].league == league) teams.push_back(i);
      }
      std::stable_sort(teams.begin(), teams.end(), [&](int a, int b) {
        return franchises_[a].CityIn(index).longitude > franchises_[b].CityIn(index).longitude;
      });
      const int parts = std::max(1, DivisionCount(league, f));
      size_t at = 0;
      for (int d = 0; d < parts; ++d) {
        const size_t size = teams.size() / parts + (static_cast<size_t>(d) < teams.size() % parts);
        divisions[league].emplace_back(teams.begin() + at, teams.begin() + at + size);
        at += size;
      }
    }

    std::vector<TeamYearRecord> seasons(franchises_.size());
    std::vector<double> win_pct(franchises_.size(), 0.5);
    for (int league = 0; league < kLeagues; ++league) {
      if (!LeagueActive(league, index)) continue;
      PlayRegularSeason(league, index, divisions[league], seasons, win_pct);
    }
    std::vector<Series> series = PlayPostSeason(index, divisions, seasons, win_pct);

    for (int i : active) {
      TeamYearRecord& t = seasons[i];
      const Franchise& franchise = franchises_[i];
      t.team_id = Word(franchise.id);
      t.year = Word(year);
      t.name_part_1 = franchise.CityIn(index).name;
      t.name_part_2 = franchise.nickname;
      t.season_abbreviation = franchise.CityIn(index).abbrev;
      t.league_id = Word(kLeagueIds[franchise.league]);
      team_years.Add(t);
    }
    for (int league = 0; league < kLeagues; ++league) {
      if (!LeagueActive(league, index)) continue;
      LeagueYearRecord r;
      r.league_id = Word(kLeagueIds[league]);
      r.year = Word(year);
      r.league_name = LeagueName(league, index);
      for (auto& slots : r.division_teams) slots.fill(-1);
      const int named = DivisionCount(league, f);
      for (size_t d = 0; d < divisions[league].size(); ++d) {
        if (named > 0) r.division_names[d] = DivisionName(league, named, static_cast<int>(d));
        for (size_t k = 0; k < divisions[league][d].size() && k < 16; ++k) {
          r.division_teams[d][k] = Word(franchises_[divisions[league][d][k]].id);
        }
      }
      league_years.Add(r);
    }

    PlayPlayers(index, active, series, win_pct, stats);
  }

  std::string LeagueName(int league, int index) const {
    switch (league) {
      case 0:
        return "Meridian League";
      case 1:
        return index < std::lround(0.3 * (years_ - 1)) ? "Keystone Association" : "Keystone League";
      default:
        return "Frontier Federation";
    }
  }

  void PlayRegularSeason(int league, int index, const std::vector<std::vector<int>>& divisions,
                         std::vector<TeamYearRecord>& seasons, std::vector<double>& win_pct) {
    const double f = Fraction(index);
    const int games = SeasonLength(league, f);
    std::vector<int> teams;
    for (const auto& division : divisions)
      teams.insert(teams.end(), division.begin(), division.end());
    if (teams.empty()) return;
    std::vector<int> won(teams.size());
    int sum = 0;
    for (size_t t = 0; t < teams.size(); ++t) {
      Franchise& franchise = franchises_[teams[t]];
      franchise.strength = 0.75 * franchise.strength + rng_.Normal(0, 0.035);
      const double p = 0.5 + franchise.strength + rng_.Normal(0, 0.03);
      won[t] = std::clamp(static_cast<int>(std::lround(games * p)), games * 3 / 10, games * 7 / 10);
      sum += won[t];
    }
    // Every game has a winner and a loser within the league.
    const int target = static_cast<int>(teams.size()) * games / 2;
    while (sum != target) {
      const int t = rng_.Below(static_cast<int>(teams.size()));
      const int step = sum > target ? -1 : 1;
      if (won[t] + step < 0 || won[t] + step > games) continue;
      won[t] += step;
      sum += step;
    }
    const double runs_per_game = f < 0.3 ? 4.8 : 4.5;
    for (size_t t = 0; t < teams.size(); ++t) {
      const double pct = static_cast<double>(won[t]) / games;
      win_pct[teams[t]] = pct;
      TeamStatBlock& reg = seasons[teams[t]].regular_season;
      reg.won = Byte(won[t]);
      reg.lost = Byte(games - won[t]);
      reg.runs_scored = Word(static_cast<int>(
          std::lround(games * (runs_per_game + (pct - 0.5) * 5 + rng_.Normal(0, 0.15)))));
      reg.runs_allowed = Word(static_cast<int>(
          std::lround(games * (runs_per_game - (pct - 0.5) * 5 + rng_.Normal(0, 0.15)))));
      reg.shutouts = Byte(rng_.Range(4, 12) + static_cast<int>(std::lround((pct - 0.5) * 20)));
      reg.left_on_base = Word(static_cast<int>(std::lround(games * rng_.Normal(6.9, 0.3))));
      reg.grounded_into_double_plays =
          Word(static_cast<int>(std::lround(games * rng_.Normal(0.85, 0.08))));
    }
  }

  // Division winners (and a wild card) meet in the division series when a
  // league has three divisions; the two division winners of a league with
  // two meet in the championship series; a league without divisions sends
  // its pennant winner straight to the world series.
  std::vector<Series> PlayPostSeason(
      int index, const std::array<std::vector<std::vector<int>>, kLeagues>& divisions,
      std::vector<TeamYearRecord>& seasons, const std::vector<double>& win_pct) {
    const double f = Fraction(index);
    std::vector<Series> series;
    auto best = [&](const std::vector<int>& teams, const std::vector<int>& except) {
      int chosen = -1;
      for (int t : teams) {
        if (std::find(except.begin(), except.end(), t) != except.end()) continue;
        if (chosen < 0 || win_pct[t] > win_pct[chosen]) chosen = t;
      }
      return chosen;
    };
    int pennant[2] = {-1, -1};
    for (int league = 0; league < 2; ++league) {
      const int named = DivisionCount(league, f);
      std::vector<int> all;
      for (const auto& division : divisions[league])
        all.insert(all.end(), division.begin(), division.end());
      if (all.empty()) continue;
      if (named == 0) {
        pennant[league] = best(all, {});
        continue;
      }
      std::vector<int> winners;
      for (const auto& division : divisions[league]) winners.push_back(best(division, {}));
      if (named == 2) {
        pennant[league] = Play(6, winners[0], winners[1], 7, seasons, win_pct, series);
        continue;
      }
      winners.push_back(best(all, winners));  // the wild card
      std::stable_sort(winners.begin(), winners.end(),
                       [&](int a, int b) { return win_pct[a] > win_pct[b]; });
      const int first = Play(5, winners[0], winners[3], 5, seasons, win_pct, series);
      const int second = Play(5, winners[1], winners[2], 5, seasons, win_pct, series);
      pennant[league] = Play(6, first, second, 7, seasons, win_pct, series);
    }
    if (pennant[0] >= 0 && pennant[1] >= 0) {
      Play(7, pennant[0], pennant[1], 7, seasons, win_pct, series);
    }
    return series;
  }

  // Plays a best-of-`length` series game by game; returns the winner.
  int Play(int season_type, int a, int b, int length, std::vector<TeamYearRecord>& seasons,
           const std::vector<double>& win_pct, std::vector<Series>& series) {
    const int need = length / 2 + 1;
    auto block = [&](int team) -> TeamStatBlock& {
      TeamYearRecord& t = seasons[team];
      return season_type == 5   ? t.division_series
             : season_type == 6 ? t.league_championship_series
                                : t.world_series;
    };
    const double p_a = std::clamp(0.5 + (win_pct[a] - win_pct[b]) * 1.5, 0.25, 0.75);
    int won[2] = {0, 0};
    while (won[0] < need && won[1] < need) {
      const int w = rng_.Chance(p_a) ? 0 : 1;
      const int winner = w == 0 ? a : b;
      const int loser = w == 0 ? b : a;
      ++won[w];
      const int winner_runs = rng_.Chance(0.1) ? rng_.Range(8, 13) : rng_.Range(2, 7);
      const int loser_runs = rng_.Range(0, winner_runs - 1);
      TeamStatBlock& bw = block(winner);
      TeamStatBlock& bl = block(loser);
      bw.won = Byte(bw.won + 1);
      bl.lost = Byte(bl.lost + 1);
      bw.runs_scored = Word(bw.runs_scored + winner_runs);
      bw.runs_allowed = Word(bw.runs_allowed + loser_runs);
      bl.runs_scored = Word(bl.runs_scored + loser_runs);
      bl.runs_allowed = Word(bl.runs_allowed + winner_runs);
      if (loser_runs == 0) bw.shutouts = Byte(bw.shutouts + 1);
      for (TeamStatBlock* x : {&bw, &bl}) {
        x->left_on_base = Word(x->left_on_base + rng_.Range(3, 11));
        x->grounded_into_double_plays = Word(x->grounded_into_double_plays + rng_.Range(0, 2));
      }
    }
    series.push_back(Series{season_type, {a, b}, {won[0], won[1]}});
    return won[0] == need ? a : b;
  }

  // ---- Players ----------------------------------------------------------

  PlayerStatsRecord Line(const Player& p, int year, int team, int season_type, int kind) const {
    PlayerStatsRecord r;
    r.player_id = Word(p.id);
    r.season_type = Byte(season_type);
    r.year = Word(year);
    r.team_id = Word(franchises_[team].id);
    r.first_name = p.first;
    r.last_name = p.last;
    r.line_kind = Byte(kind);
    return r;
  }

  void FillHitting(const Role& p, int at_bats, PlayerStatsRecord& r) {
    const int ab = std::clamp(at_bats, 0, 750);
    const int hits = rng_.Binomial(ab, p.avg);
    int hr = std::min(rng_.Binomial(ab, p.power), hits);
    int triples = std::min(rng_.Binomial(hits, 0.005 + p.speed * 0.1), hits - hr);
    int doubles = std::min(rng_.Binomial(hits, rng_.Normal(0.19, 0.02)), hits - hr - triples);
    const int walks = rng_.Binomial(ab, p.eye);
    const int hbp = rng_.Binomial(ab, 0.008);
    const int on_base = hits - hr + walks + hbp;
    const int sb = rng_.Binomial(on_base, p.speed);
    const int sf = rng_.Binomial(ab, 0.008);
    r.at_bats = Word(ab);
    r.hits = Word(hits);
    r.home_runs = Byte(hr);
    r.triples = Byte(triples);
    r.doubles = Byte(doubles);
    r.walks = Word(walks);
    r.strikeouts = Word(rng_.Binomial(ab, p.contact));
    r.hit_by_pitch = Byte(hbp);
    r.stolen_bases = Byte(sb);
    r.caught_stealing = Byte(rng_.Binomial(sb + 2, 0.25));
    r.sacrifice_hits = Byte(rng_.Binomial(ab, p.pitcher ? 0.04 : 0.005));
    r.sacrifice_flies = Byte(sf);
    r.runs = Word(hr + rng_.Binomial(on_base, 0.32));
    r.runs_batted_in =
        Word(hr + rng_.Binomial(hits - hr, 0.24) + sf + rng_.Binomial(walks + hbp, 0.03));
  }

  void FillPitching(const Role& p, int games, int starts, int outs, double team_pct, double f,
                    PlayerStatsRecord& r) {
    const double innings = outs / 3.0;
    const int hits = rng_.Binomial(outs, std::clamp((8.6 + (p.ra9 - 4.3) * 1.2) / 27, 0.1, 0.6));
    int runs = static_cast<int>(std::lround(innings * p.ra9 / 9 * rng_.Normal(1.0, 0.15)));
    const int hr = std::min(rng_.Binomial(outs, (0.95 + (p.ra9 - 4.3) * 0.2) / 27), hits);
    runs = std::max(runs, hr);
    r.games_pitched = Byte(games);
    r.games_started = Byte(starts);
    r.outs_pitched = Word(outs);
    r.hits_allowed = Word(hits);
    r.opponent_at_bats = Word(std::max(hits, outs + hits - rng_.Binomial(outs, 0.03)));
    r.strikeouts_pitched = Word(rng_.Binomial(outs, std::clamp(p.k9 / 27, 0.0, 0.9)));
    r.walks_allowed = Word(rng_.Binomial(outs, std::clamp(p.bb9 / 27, 0.0, 0.9)));
    r.home_runs_allowed = Byte(hr);
    r.runs_allowed = Word(runs);
    r.earned_runs = Word(runs - rng_.Binomial(runs, 0.09));
    r.double_plays_induced = Byte(rng_.Binomial(outs, 0.03));
    const int complete = rng_.Binomial(starts, f < 0.3 ? 0.35 : f < 0.6 ? 0.15 : 0.03);
    r.complete_games = Byte(complete);
    r.shutouts = Byte(rng_.Binomial(complete, 0.2));
    const int decisions = rng_.Binomial(starts, 0.72) + rng_.Binomial(games - starts, 0.1);
    const int wins =
        rng_.Binomial(decisions, std::clamp(team_pct + (4.3 - p.ra9) * 0.05, 0.15, 0.85));
    r.wins = Byte(wins);
    r.losses = Byte(decisions - wins);
    r.saves = Byte(starts > 0 ? 0 : rng_.Binomial(games, p.closer ? 0.55 : 0.03));
  }

  void PlayPlayers(int index, const std::vector<int>& active, const std::vector<Series>& series,
                   const std::vector<double>& win_pct, RecordWriter& stats) {
    const int year = first_year_ + index;
    const double f = Fraction(index);
    std::vector<int> roster(franchises_.size(), 0);
    std::vector<std::vector<SeasonEntry>> finished_with(franchises_.size());
    auto choose_team = [&](int except) {
      // The smaller of two random rosters keeps the teams about even.
      int best = -1;
      for (int tries = 0; tries < 20 && (tries < 2 || best < 0); ++tries) {
        const int t = active[rng_.Below(static_cast<int>(active.size()))];
        if (t == except && active.size() > 1) continue;
        if (best < 0 || roster[t] < roster[best]) best = t;
      }
      return best >= 0 ? best : active.front();
    };
    auto is_active = [&](int team) {
      return team >= 0 && std::find(active.begin(), active.end(), team) != active.end();
    };

    for (Player& p : players_) {
      if (index < p.first_index || index > p.last_index) continue;
      const Role& role = p.RoleIn(index);
      // The planted hitter who pitches for the team he is traded to.
      const bool pitches_after_trade =
          p.plant == Plant::kBothKindsSameYear && index == p.plant_index;
      int team = p.team;
      if (!is_active(team) || rng_.Chance(0.15)) team = choose_team(team);
      ++roster[team];
      int stints = 1;
      int teams[2] = {team, team};
      double share[2] = {1.0, 0.0};
      if (active.size() > 1 && (pitches_after_trade || rng_.Chance(0.06))) {
        teams[1] = choose_team(team);
        ++roster[teams[1]];
        share[0] = rng_.Real() * 0.6 + 0.2;
        share[1] = 1.0 - share[0];
        stints = 2;
      }
      p.team = teams[stints - 1];

      const int games = SeasonLength(franchises_[team].league, f);
      const double scale = games / 162.0;
      const double level = p.quality + rng_.Normal(0, 0.15);
      int at_bats = 0, outs = 0, appearances = 0, starts = 0;
      if (!role.pitcher) {
        at_bats = level > 0.6    ? rng_.Range(480, 680)
                  : level > 0.35 ? rng_.Range(180, 480)
                                 : rng_.Range(5, 180);
      } else if (role.starter) {
        starts = level > 0.55  ? rng_.Range(28, 36)
                 : level > 0.3 ? rng_.Range(12, 27)
                               : rng_.Range(1, 11);
        appearances = starts + rng_.Range(0, 4);
        outs =
            starts * rng_.Range(15, f < 0.3 ? 25 : 20) + (appearances - starts) * rng_.Range(2, 6);
      } else {
        appearances = role.closer   ? rng_.Range(45, 75)
                      : level > 0.3 ? rng_.Range(25, 75)
                                    : rng_.Range(3, 25);
        outs = appearances * rng_.Range(2, 4) + rng_.Range(0, 2);
      }
      at_bats = static_cast<int>(at_bats * scale);
      starts = static_cast<int>(starts * scale);
      appearances = std::max(1, static_cast<int>(appearances * scale));
      outs = static_cast<int>(outs * scale);

      // One line per team: a hitting or a pitching line, by the player's role.
      for (int s = 0; s < stints; ++s) {
        const int t = teams[s];
        PlayerStatsRecord r;
        if (pitches_after_trade && s == 1) {
          r = Line(p, year, t, 2, 2);
          FillPitching(p.later_role, rng_.Range(1, 4), 0, rng_.Range(1, 9), win_pct[t], f, r);
        } else if (role.pitcher) {
          const int g = std::max(1, static_cast<int>(std::lround(appearances * share[s])));
          const int gs = std::min(g, static_cast<int>(std::lround(starts * share[s])));
          const int o = std::max(1, static_cast<int>(std::lround(outs * share[s])));
          r = Line(p, year, t, 2, 2);
          FillPitching(role, g, gs, o, win_pct[t], f, r);
        } else {
          r = Line(p, year, t, 2, 1);
          FillHitting(role, std::max(1, static_cast<int>(std::lround(at_bats * share[s]))), r);
        }
        PlantOtherKind(p, index, r);
        stats.Add(r);
      }
      if (rng_.Chance(0.02)) {
        // A season-type 1 line, which readers leave out.
        PlayerStatsRecord r = Line(p, year, p.team, 1, role.pitcher ? 2 : 1);
        if (role.pitcher) {
          FillPitching(role, rng_.Range(1, 8), 0, rng_.Range(3, 40), 0.5, f, r);
        } else {
          FillHitting(role, rng_.Range(5, 60), r);
        }
        stats.Add(r);
      }
      finished_with[p.team].push_back(
          SeasonEntry{static_cast<int>(&p - players_.data()), role.pitcher, at_bats, outs});
    }

    for (const Series& s : series) {
      for (int side = 0; side < 2; ++side) {
        PlayPostSeasonLines(index, s, side, finished_with[s.team[side]], stats);
      }
    }
  }

  // The line kinds of the players planted with lines of other kinds.
  static void PlantOtherKind(const Player& p, int index, PlayerStatsRecord& r) {
    switch (p.plant) {
      case Plant::kOtherKindFirst:
      case Plant::kOtherKindLast:
        if (index == p.plant_index) r.line_kind = 0;
        break;
      case Plant::kOtherKindMiddle:
        if (index == p.plant_index) r.line_kind = 3;
        break;
      case Plant::kOnlyOtherKinds:
        r.line_kind = index % 2 == 0 ? 3 : 0;
        break;
      default:
        break;
    }
  }

  // The lines of one team in one post-season series: its regulars and
  // busiest pitchers. The first hitter of the first series who is not
  // planted otherwise also pitches in it: a post-season section of both kinds.
  void PlayPostSeasonLines(int index, const Series& s, int side,
                           const std::vector<SeasonEntry>& entries, RecordWriter& stats) {
    const int year = first_year_ + index;
    const double f = Fraction(index);
    const int team = s.team[side];
    const int games = s.won[0] + s.won[1];
    const int won = s.won[side];
    const int lost = games - won;
    const double pct = static_cast<double>(won) / games;
    std::vector<SeasonEntry> hitters, pitchers;
    for (const auto& e : entries) (e.pitcher ? pitchers : hitters).push_back(e);
    std::stable_sort(
        hitters.begin(), hitters.end(),
        [](const SeasonEntry& a, const SeasonEntry& b) { return a.at_bats > b.at_bats; });
    std::stable_sort(pitchers.begin(), pitchers.end(),
                     [](const SeasonEntry& a, const SeasonEntry& b) { return a.outs > b.outs; });
    if (hitters.size() > 14) hitters.resize(14);
    if (pitchers.size() > 11) pitchers.resize(11);

    for (size_t i = 0; i < hitters.size(); ++i) {
      Player& p = players_[hitters[i].player];
      const Role& role = p.RoleIn(index);
      const int ab = i < 9 ? rng_.Binomial(games * 4, 0.93) : rng_.Binomial(games * 2, 0.3);
      if (ab == 0) continue;
      PlayerStatsRecord r = Line(p, year, team, s.season_type, 1);
      FillHitting(role, ab, r);
      stats.Add(r);
      if (planted_.post_season_both_kinds == 0 && p.plant == Plant::kNone && p.switch_index < 0) {
        p.plant = Plant::kPostSeasonBothKinds;
        planted_.post_season_both_kinds = p.id;
        PlayerStatsRecord mop_up = Line(p, year, team, s.season_type, 2);
        Role pitching = role;
        pitching.ra9 = 7.5;
        FillPitching(pitching, 1, 0, rng_.Range(1, 6), pct, f, mop_up);
        mop_up.wins = mop_up.losses = mop_up.saves = 0;
        stats.Add(mop_up);
      }
    }
    // Starts go round the rotation; relievers fill in.
    std::vector<int> starts(pitchers.size(), 0);
    std::vector<size_t> rotation;
    for (size_t i = 0; i < pitchers.size() && rotation.size() < 4; ++i) {
      if (players_[pitchers[i].player].RoleIn(index).starter) rotation.push_back(i);
    }
    if (rotation.empty() && !pitchers.empty()) rotation.push_back(0);
    for (int g = 0; g < games && !rotation.empty(); ++g) ++starts[rotation[g % rotation.size()]];
    for (size_t i = 0; i < pitchers.size(); ++i) {
      const Player& p = players_[pitchers[i].player];
      const Role& role = p.RoleIn(index);
      const int relief = rng_.Binomial(games, role.closer ? 0.6 : 0.3);
      const int g = starts[i] + relief;
      if (g == 0) continue;
      const int outs = starts[i] * rng_.Range(12, f < 0.3 ? 27 : 21) + relief * rng_.Range(1, 4);
      PlayerStatsRecord r = Line(p, year, team, s.season_type, 2);
      FillPitching(role, g, starts[i], std::max(1, outs), pct, f, r);
      // A team's pitchers share its wins and losses; saves only in wins.
      r.wins = Byte(std::min<int>(r.wins, won));
      r.losses = Byte(std::min<int>(r.losses, lost));
      r.saves = Byte(std::min<int>(r.saves, won));
      stats.Add(r);
    }
  }

  // ---- The small files --------------------------------------------------

  int64_t WriteTeams() {
    RecordWriter out(out_ / kTeamFile, TeamRecord::kSize);
    for (const auto& franchise : franchises_) {
      const City& city = franchise.homes.back().city;
      TeamRecord t;
      t.team_id = Word(franchise.id);
      t.abbreviation = city.abbrev;
      t.short_name = city.abbrev;
      t.city = city.name;
      t.nickname = franchise.nickname;
      t.gate_a = 1;
      t.gate_b = Word(std::max(1, franchise.seasons));
      t.spare = Word(first_year_ + franchise.first_index);
      out.Add(t);
    }
    return out.Finish();
  }

  int64_t WritePlayers() {
    RecordWriter out(out_ / kPlayerFile, PlayerRecord::kSize);
    for (const auto& p : players_) {
      PlayerRecord r;
      r.player_id = Word(p.id);
      r.first_name = p.first;
      r.last_name = p.last;
      r.birth_year = Word(p.birth_year);
      r.birth_month = Byte(p.birth_month);
      r.birth_day = Byte(p.birth_day);
      out.Add(r);
    }
    return out.Finish();
  }

  int64_t WriteLeagues() {
    RecordWriter out(out_ / kLeagueFile, LeagueRecord::kSize);
    for (int league = 0; league < kLeagues; ++league) {
      int seasons = 0;
      for (int index = 0; index < years_; ++index) seasons += LeagueActive(league, index);
      if (seasons == 0) continue;
      LeagueRecord r;
      r.league_id = Word(kLeagueIds[league]);
      r.league_name = LeagueName(league, years_ - 1);
      r.use_mark = Word(seasons);
      out.Add(r);
    }
    return out.Finish();
  }

  GeneratorOptions options_;
  fs::path out_;
  Rng rng_;
  int years_ = 0;
  int first_year_ = 0;
  int third_first_ = 0;
  int third_last_ = 0;
  std::vector<Franchise> franchises_;
  std::vector<Player> players_;
  PlantedPlayers planted_;
};

}  // namespace

GeneratorSummary GenerateEncyclopedia(const GeneratorOptions& options, const fs::path& out) {
  if (options.players < 1 || options.players > 32767) {
    throw std::invalid_argument("the number of players must lie between 1 and 32767");
  }
  if (options.years < 0 || options.years > 1000) {
    throw std::invalid_argument("the number of seasons must lie between 1 and 1000");
  }
  if (options.last_year > 9999)
    throw std::invalid_argument("the last season must be 9999 or earlier");
  Generator generator(options, out);
  GeneratorSummary summary = generator.Run();
  return summary;
}

}  // namespace statcrane
