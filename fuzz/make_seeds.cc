// fuzz_make_seeds OUT: writes seed inputs for every fuzz target into
// OUT/<target>/, cut from a small generated encyclopedia: a few records of
// each file, so that the seeds stay a few KB and the fuzzers start from
// records that hang together (teams with their seasons, players with lines).
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "encyclopedia/record_layouts.h"
#include "encyclopedia/team_year_file.h"
#include "fuzz/fuzz_support.h"
#include "tools/encyclopedia_generator.h"

namespace fs = std::filesystem;
using namespace statcrane;

namespace {

using Bytes = std::vector<uint8_t>;

Bytes ReadFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

// The first `records` records of a file, or fewer when it has fewer.
Bytes Head(const Bytes& bytes, size_t record_length, size_t records) {
  return Bytes(bytes.begin(), bytes.begin() + std::min(bytes.size(), record_length * records));
}

// The records of enctmyr.dat that played a post-season, then the others,
// `records` in all: the team target starts from both kinds.
Bytes TeamSeasons(const Bytes& bytes, size_t records) {
  Bytes post, plain;
  for (size_t offset = 0; offset + TeamYearRecord::kSize <= bytes.size();
       offset += TeamYearRecord::kSize) {
    const RecordBytes record(bytes.data() + offset, TeamYearRecord::kSize);
    Bytes& into = HasPostSeasonGames(TeamYearRecord::Decode(record)) ? post : plain;
    into.insert(into.end(), record.begin(), record.end());
  }
  post.insert(post.end(), plain.begin(), plain.end());
  return Head(post, TeamYearRecord::kSize, records);
}

// The statistics records of the first player who played in a post-season
// series (all his lines, in file order), then the first records of the file,
// `records` in all: the player targets start from every kind of section.
Bytes StatsLines(const Bytes& bytes, size_t records) {
  const size_t size = PlayerStatsRecord::kSize;
  auto decode = [&](size_t offset) {
    return PlayerStatsRecord::Decode(RecordBytes(bytes.data() + offset, size));
  };
  int player = 0;
  for (size_t offset = 0; offset + size <= bytes.size() && player == 0; offset += size) {
    const PlayerStatsRecord record = decode(offset);
    if (record.season_type >= 5 && record.season_type <= 7) player = record.player_id;
  }
  Bytes chosen;
  for (int pass = 0; pass < 2; ++pass) {
    for (size_t offset = 0; offset + size <= bytes.size(); offset += size) {
      if (chosen.size() >= records * size) break;
      if ((decode(offset).player_id == player) == (pass == 0)) {
        chosen.insert(chosen.end(), bytes.begin() + offset, bytes.begin() + offset + size);
      }
    }
  }
  return chosen;
}

void Write(const fs::path& file, const Bytes& bytes) {
  fs::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out) {
    std::fprintf(stderr, "fuzz_make_seeds: cannot write %s\n", file.c_str());
    std::exit(1);
  }
}

void Append16(Bytes& out, size_t value) {
  out.push_back(static_cast<uint8_t>(value & 0xFF));
  out.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}

// The input of the run targets: options byte, six lengths, the files.
Bytes SixFiles(uint8_t options, const std::vector<Bytes>& files) {
  Bytes out{options};
  for (const Bytes& file : files) Append16(out, file.size());
  for (const Bytes& file : files) out.insert(out.end(), file.begin(), file.end());
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: fuzz_make_seeds OUT\n");
    return 2;
  }
  const fs::path out = argv[1];
  const fs::path folder = fuzz::ScratchFolder() / "generated";
  GeneratorOptions options;
  options.players = 6;
  options.years = 2;
  options.seed = 7;
  GenerateEncyclopedia(options, folder);
  const Bytes team = ReadFile(folder / "ENCTEAM.DAT");
  const Bytes player = ReadFile(folder / "ENCPLYR.DAT");
  const Bytes stats = ReadFile(folder / "ENCPLSTATS.DAT");
  const Bytes league = ReadFile(folder / "encleag.dat");
  const Bytes league_year = ReadFile(folder / "enclgyr.dat");
  const Bytes team_year = ReadFile(folder / "enctmyr.dat");

  Write(out / "team_table" / "seed-1", Head(team, TeamRecord::kSize, 8));
  Write(out / "player_table" / "seed-1", Head(player, PlayerRecord::kSize, 6));
  Write(out / "player_stats" / "seed-1", StatsLines(stats, 6));
  Bytes leagues;
  Append16(leagues, league.size());
  leagues.insert(leagues.end(), league.begin(), league.end());
  const Bytes league_years = Head(league_year, LeagueYearRecord::kSize, 2);
  leagues.insert(leagues.end(), league_years.begin(), league_years.end());
  Write(out / "league_files" / "seed-1", leagues);
  Write(out / "team_year_file" / "seed-1", TeamSeasons(team_year, 6));

  const std::vector<Bytes> small = {Head(team, TeamRecord::kSize, 8),
                                    Head(player, PlayerRecord::kSize, 6),
                                    StatsLines(stats, 6),
                                    league,
                                    Head(league_year, LeagueYearRecord::kSize, 1),
                                    TeamSeasons(team_year, 4)};
  for (const char* target : {"sheets", "run"}) {
    Write(out / target / "seed-1", SixFiles(0, small));
  }
  return 0;
}
