// Runs on damaged encyclopedia folders: a small generated encyclopedia with
// one of its six files damaged. Every run either completes with a workbook
// the independent reader opens and a report that accounts for the damaged
// file, or stops with an error naming the file; the half of the workbook that
// does not read the damaged file comes out as it does from the undamaged
// folder.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/processing_run.h"
#include "encyclopedia/encyclopedia_folder.h"
#include "encyclopedia/record_layouts.h"
#include "testing/child_process.h"
#include "testing/record_files.h"
#include "testing/skip.h"
#include "testing/temp_dir.h"
#include "testing/xlsx_reader.h"
#include "tools/encyclopedia_generator.h"
#include "util/error.h"

namespace statcrane {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;
using Bytes = std::vector<uint8_t>;

// Byte ranges [begin, end) of a record that hold its status, ids, year and
// kinds: the "enormous counts" damage keeps them and fills everything else.
using Ranges = std::vector<std::pair<size_t, size_t>>;

struct DataFile {
  std::string_view name;
  size_t record_length;
  bool read_for_players;
  bool read_for_teams;
  Ranges keys;
};

const DataFile kFiles[] = {
    {kTeamFile, TeamRecord::kSize, true, true, {{0, 4}}},
    {kPlayerFile, PlayerRecord::kSize, true, false, {{0, 4}}},
    {kPlayerStatsFile, PlayerStatsRecord::kSize, true, false, {{0, 12}, {14, 47}}},
    {kLeagueFile, LeagueRecord::kSize, false, true, {{0, 44}}},
    {kLeagueYearFile, LeagueYearRecord::kSize, false, true, {{0, 8}, {12, 260}}},
    {kTeamYearFile, TeamYearRecord::kSize, false, true, {{0, 46}, {120, 122}}},
};

enum class Damage {
  kEmpty,         // 0 bytes
  kTruncated,     // cut in the middle of a record
  kRandomBytes,   // random bytes of the same length, every RecordStatus 0
  kFolder,        // a folder of the file's name
  kDanglingLink,  // a link to a file that does not exist
  kUnreadable,    // no read permission
  kHugeIds,       // every 16-bit field 0x7FFF (RecordStatus 0)
  kAllOnes,       // every byte 0xFF: 16-bit fields -1, bytes 255 (RecordStatus 0)
  kHugeCounts,    // status, ids, years, kinds and names kept; every other field enormous
};

// kUnreadable has a test of its own, which the superuser skips.
const Damage kDamages[] = {Damage::kEmpty,   Damage::kTruncated,    Damage::kRandomBytes,
                           Damage::kFolder,  Damage::kDanglingLink, Damage::kHugeIds,
                           Damage::kAllOnes, Damage::kHugeCounts};

std::string DamageName(Damage damage) {
  switch (damage) {
    case Damage::kEmpty:
      return "Empty";
    case Damage::kTruncated:
      return "Truncated";
    case Damage::kRandomBytes:
      return "RandomBytes";
    case Damage::kFolder:
      return "Folder";
    case Damage::kDanglingLink:
      return "DanglingLink";
    case Damage::kUnreadable:
      return "Unreadable";
    case Damage::kHugeIds:
      return "HugeIds";
    case Damage::kAllOnes:
      return "AllOnes";
    case Damage::kHugeCounts:
      return "HugeCounts";
  }
  return "";
}

// Damages that leave nothing a reader can take as a file.
bool StopsTheRun(Damage damage) {
  return damage == Damage::kFolder || damage == Damage::kDanglingLink ||
         damage == Damage::kUnreadable;
}

bool InRanges(const Ranges& ranges, size_t offset) {
  for (const auto& [begin, end] : ranges) {
    if (offset >= begin && offset < end) return true;
  }
  return false;
}

// Fills every byte of every record outside `keep` with the little-endian
// 16-bit pattern (FF 7F at even offsets) or 0xFF, and sets RecordStatus 0.
void Fill(Bytes& bytes, size_t record_length, const Ranges& keep, bool all_ones) {
  for (size_t offset = 0; offset < bytes.size(); ++offset) {
    const size_t in_record = offset % record_length;
    if (in_record < 2) {
      bytes[offset] = 0;
    } else if (!InRanges(keep, in_record)) {
      bytes[offset] = all_ones || in_record % 2 == 0 ? 0xFF : 0x7F;
    }
  }
}

// A small encyclopedia: five players over two seasons, and of the teams
// only the first eight with their seasons, so that the workbook stays small.
void Generate(const fs::path& folder) {
  static const TempDir generated;
  static const bool made = [] {
    GeneratorOptions options;
    options.players = 5;
    options.years = 2;
    options.seed = 11;
    options.third_league = false;
    GenerateEncyclopedia(options, generated.path());
    auto teams = testing::ReadRecords<TeamRecord>(generated / kTeamFile);
    teams.resize(8);
    std::set<int> kept;
    for (const TeamRecord& team : teams) kept.insert(team.team_id);
    std::vector<TeamYearRecord> seasons;
    for (const auto& season : testing::ReadRecords<TeamYearRecord>(generated / kTeamYearFile)) {
      if (kept.count(season.team_id) != 0) seasons.push_back(season);
    }
    testing::WriteRecords(generated / kTeamFile, teams);
    testing::WriteRecords(generated / kTeamYearFile, seasons);
    return true;
  }();
  (void)made;
  for (const auto& entry : fs::directory_iterator(generated.path())) {
    fs::copy_file(entry.path(), folder / entry.path().filename());
  }
}

RunResult RunOn(const fs::path& folder, const fs::path& output) {
  RunOptions options;
  options.encyclopedia_folder = folder;
  options.output = output;
  RunObserver observer;
  return RunProcessing(options, observer, nullptr);
}

// The run on the undamaged folder.
const RunReport& Undamaged() {
  static const RunReport report = [] {
    TempDir folder;
    Generate(folder.path());
    const RunResult result = RunOn(folder.path(), folder / "reference.xlsx");
    EXPECT_EQ(result.outcome, RunOutcome::kCompleted);
    return result.report;
  }();
  return report;
}

// The sheets of the removed list that belong to the players' or the teams' half.
std::set<std::string> RemovedSheets(const RunReport& report, bool team_half) {
  std::set<std::string> removed;
  for (const std::string& name : report.sheets_removed) {
    if ((name.rfind("Team", 0) == 0) == team_half) removed.insert(name);
  }
  return removed;
}

// The damaged file as `damage` leaves it; false when it leaves no file
// content (a folder, a link, no permission) and has made the change itself.
bool DamageFile(const DataFile& file, Damage damage, const fs::path& path, Bytes& bytes) {
  const size_t records = bytes.size() / file.record_length;
  switch (damage) {
    case Damage::kEmpty:
      bytes.clear();
      return true;
    case Damage::kTruncated:
      bytes.resize((records / 2) * file.record_length + file.record_length / 2);
      return true;
    case Damage::kRandomBytes: {
      std::mt19937 random(static_cast<unsigned>(file.record_length));
      for (uint8_t& byte : bytes) byte = static_cast<uint8_t>(random());
      Fill(bytes, file.record_length, {{2, file.record_length}}, false);
      return true;
    }
    case Damage::kFolder:
      fs::remove(path);
      fs::create_directory(path);
      return false;
    case Damage::kDanglingLink:
      fs::remove(path);
      fs::create_symlink(path.parent_path() / "gone.dat", path);
      return false;
    case Damage::kUnreadable:
      fs::permissions(path, fs::perms::none);
      return false;
    case Damage::kHugeIds:
    case Damage::kAllOnes:
      Fill(bytes, file.record_length, {}, damage == Damage::kAllOnes);
      return true;
    case Damage::kHugeCounts:
      Fill(bytes, file.record_length, file.keys, false);
      return true;
  }
  return true;
}

// One file of the folder, every damage in turn. The workbooks of the runs
// that complete are read back together at the end (one start of the reader).
class DamagedFolderTest : public ::testing::TestWithParam<size_t> {};

TEST_P(DamagedFolderTest, EveryRunCompletesWithAReportOrStopsNamingTheFile) {
  const DataFile& file = kFiles[GetParam()];
  const RunReport& expected = Undamaged();
  TempDir out;
  struct Completed {
    Damage damage;
    fs::path output;
    RunReport report;
  };
  std::vector<Completed> completed;

  for (Damage damage : kDamages) {
#ifdef _WIN32
    if (damage == Damage::kDanglingLink) continue;  // no symbolic links for users on Windows
#endif
    SCOPED_TRACE(DamageName(damage));
    TempDir folder;
    Generate(folder.path());
    const fs::path path = folder / file.name;
    Bytes bytes = ReadBytes(path);
    ASSERT_GE(bytes.size() / file.record_length, 2u) << file.name;
    if (DamageFile(file, damage, path, bytes)) WriteBytes(path, bytes);

    const fs::path output = out / (DamageName(damage) + ".xlsx");
    const RunResult result = RunOn(folder.path(), output);
    const RunReport& report = result.report;

    if (StopsTheRun(damage)) {
      ASSERT_FALSE(result.error.empty()) << "the run went on without " << file.name;
      EXPECT_NE(result.error.find(std::string(file.name)), std::string::npos) << result.error;
      EXPECT_NE(result.outcome, RunOutcome::kCompleted);
      // What the run had built is kept beside the requested file, marked
      // incomplete.
      EXPECT_TRUE(result.outcome == RunOutcome::kFailedIncompleteSaved &&
                  fs::exists(result.output));
      EXPECT_FALSE(fs::exists(output));
      EXPECT_EQ(result.output.filename(), DamageName(damage) + " (incomplete).xlsx");
      continue;
    }

    ASSERT_EQ(result.outcome, RunOutcome::kCompleted) << result.error;
    // The report accounts for every whole record and the fragment.
    const FileReport& entry = report.files.at(std::string(file.name));
    EXPECT_EQ(entry.records_read, static_cast<int64_t>(bytes.size() / file.record_length));
    EXPECT_EQ(entry.trailing_bytes, static_cast<int64_t>(bytes.size() % file.record_length));
    int64_t skipped = 0;
    for (const auto& [reason, count] : entry.skipped) skipped += count;
    EXPECT_LE(skipped, entry.records_read);
    if (damage == Damage::kTruncated) {
      EXPECT_GT(entry.trailing_bytes, 0);
    }
    if (damage == Damage::kAllOnes) {
      // Gates, years, ids of -1 keep every record out, each with its reason.
      EXPECT_EQ(skipped, entry.records_read) << report.Format();
    }
    if (damage == Damage::kHugeIds) {
      EXPECT_TRUE(skipped > 0 || !report.unknown_season_types.empty()) << report.Format();
    }

    // The half that does not read the damaged file is what the undamaged
    // folder gives.
    if (!file.read_for_players || file.name == kPlayerFile) {
      // (Birth dates change ages only.)
      EXPECT_EQ(report.players_written, expected.players_written);
      EXPECT_EQ(RemovedSheets(report, false), RemovedSheets(expected, false));
    }
    if (!file.read_for_teams) {
      EXPECT_EQ(report.teams_written, expected.teams_written);
      EXPECT_EQ(RemovedSheets(report, true), RemovedSheets(expected, true));
    }
    completed.push_back({damage, output, report});
  }

  SKIP_ON_WINDOWS(testing::kNeedsReader);
  std::vector<fs::path> outputs;
  for (const Completed& run : completed) outputs.push_back(run.output);
  const std::vector<testing::XlsxBook> books = testing::ReadXlsxFiles(outputs);
  ASSERT_EQ(books.size(), completed.size());
  for (size_t i = 0; i < books.size(); ++i) {
    SCOPED_TRACE(DamageName(completed[i].damage));
    const testing::XlsxBook& book = books[i];
    const RunReport& report = completed[i].report;
    // The sheets the report says, "Team Records" active, every number finite.
    const std::set<std::string> removed(report.sheets_removed.begin(), report.sheets_removed.end());
    for (const std::string& name : book.sheet_names) EXPECT_EQ(removed.count(name), 0u) << name;
    const bool other_sheet =
        std::find(book.sheet_names.begin(), book.sheet_names.end(), "#") != book.sheet_names.end();
    EXPECT_EQ(book.sheets.size() + removed.size(), 39u + (other_sheet ? 1 : 0));
    EXPECT_EQ(book.active, "Team Records");
    for (const testing::XlsxSheet& sheet : book.sheets) {
      for (const auto& [where, cell] : sheet.cells) {
        if (cell.IsNumber()) {
          EXPECT_TRUE(std::isfinite(cell.number)) << sheet.name << " row " << where.first;
        }
      }
    }
  }
}

// File permissions do not bind the superuser: the run goes as nobody in a
// child process.
TEST_P(DamagedFolderTest, AnUnreadableFileStopsTheRunNamingIt) {
  SKIP_ON_WINDOWS(testing::kNeedsChildProcess);
  const DataFile& file = kFiles[GetParam()];
  TempDir folder;
  TempDir out;
  Generate(folder.path());
  testing::GiveToNobody(folder.path());
  testing::GiveToNobody(out.path());
  fs::permissions(folder / file.name, fs::perms::none);
  const testing::ChildOutcome outcome = testing::RunUnprivileged([&] {
    const RunResult result = RunOn(folder.path(), out / "book.xlsx");
    if (result.error.empty()) return 1;
    if (result.error.find(std::string(file.name)) == std::string::npos) {
      std::fprintf(stderr, "%s\n", result.error.c_str());
      return 2;
    }
    return result.outcome == RunOutcome::kFailedIncompleteSaved ? 0 : 3;
  });
  EXPECT_TRUE(outcome.exited) << "signal " << outcome.signal;
  EXPECT_EQ(outcome.status, 0);
  EXPECT_TRUE(fs::exists(out / "book (incomplete).xlsx"));
}

INSTANTIATE_TEST_SUITE_P(EveryFile, DamagedFolderTest,
                         ::testing::Range<size_t>(0, std::size(kFiles)),
                         [](const ::testing::TestParamInfo<size_t>& info) {
                           std::string name(kFiles[info.param].name);
                           std::erase(name, '.');
                           return name;
                         });

// Two files whose names differ only in case: the one spelled as the program
// names it is read, and the report says which.
TEST(DamagedFolderCaseTest, TwoSpellingsOfOneFile) {
  SKIP_ON_WINDOWS("a folder on Windows cannot hold names that differ only in capitals");
  const RunReport& expected = Undamaged();
  TempDir folder;
  TempDir out;
  Generate(folder.path());
  // A second statistics file in lower case, holding only rubbish.
  WriteBytes(folder / "encplstats.dat", Bytes(PlayerStatsRecord::kSize * 3, 0x41));
  // The league file only in a spelling the program does not use, twice.
  fs::rename(folder / kLeagueFile, folder / "ENCLEAG.DAT");
  WriteBytes(folder / "EncLeag.Dat", Bytes(LeagueRecord::kSize, 0xFF));

  const RunResult result = RunOn(folder.path(), out / "book.xlsx");
  ASSERT_EQ(result.outcome, RunOutcome::kCompleted) << result.error;
  const RunReport& report = result.report;
  EXPECT_EQ(report.players_written, expected.players_written);
  EXPECT_EQ(report.teams_written, expected.teams_written);
  EXPECT_EQ(report.sheets_removed, expected.sheets_removed);
  const auto& stats_notes = report.files.at(std::string(kPlayerStatsFile)).notes;
  ASSERT_EQ(stats_notes.size(), 1u);
  EXPECT_NE(stats_notes[0].find("ENCPLSTATS.DAT, encplstats.dat"), std::string::npos);
  EXPECT_NE(stats_notes[0].find("read ENCPLSTATS.DAT"), std::string::npos);
  // Of two spellings that are both not the program's, the first in byte order.
  const auto& league_notes = report.files.at(std::string(kLeagueFile)).notes;
  ASSERT_EQ(league_notes.size(), 1u);
  EXPECT_NE(league_notes[0].find("read ENCLEAG.DAT"), std::string::npos) << league_notes[0];
  EXPECT_NO_THROW(testing::ReadXlsx(out / "book.xlsx"));
}

}  // namespace
}  // namespace statcrane
