#include "app/processing_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "testing/skip.h"
#include "testing/temp_dir.h"
#include "testing/xlsx_reader.h"

namespace statcrane {
namespace {

using testing::TempDir;

class RecordingObserver : public RunObserver {
 public:
  void ProgressText(std::string_view text) override { texts.emplace_back(text); }
  void StartTime(std::string_view stamp) override { start = stamp; }
  void EndTime(std::string_view stamp) override { end = stamp; }
  void ViewingTookEffect() override { ++viewing; }
  void PhaseProgress(std::string_view phase, int64_t, int64_t) override {
    if (phase == stop_in_phase) stop = true;
  }
  bool StopRequested() const override { return stop; }

  std::string stop_in_phase;

  std::vector<std::string> texts;
  std::string start;
  std::string end;
  int viewing = 0;
  bool stop = false;
};

class Remembered : public RememberedFolder {
 public:
  void Save(const std::filesystem::path& folder) override { saved = folder; }
  std::filesystem::path saved;
};

// The bundled sample's files named, copied into `folder`.
void CopySample(const std::filesystem::path& folder, std::initializer_list<const char*> names) {
  const std::filesystem::path sample =
      std::filesystem::path(STATCRANE_SOURCE_DIR) / "samples" / "sample-encyclopedia";
  for (const char* name : names) std::filesystem::copy_file(sample / name, folder / name);
}

// A run of the team file and the team-year file: teams to write, no players.
class ProcessingRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CopySample(encyclopedia_.path(), {"ENCTEAM.DAT", "enctmyr.dat"});
    options_.encyclopedia_folder = encyclopedia_.path();
    options_.output = out_ / "book.xlsx";
  }
  TempDir encyclopedia_;
  TempDir out_;
  RunOptions options_;
  RecordingObserver observer_;
  Remembered remembered_;
};

TEST_F(ProcessingRunTest, TeamsOnlyRun) {
  options_.sheets = SheetChoice::kTeamsOnly;
  options_.viewing = ViewingChoice::kViewAfterCompleted;
  const RunResult result = RunProcessing(options_, observer_, &remembered_);
  ASSERT_EQ(result.outcome, RunOutcome::kCompleted) << result.error;
  EXPECT_EQ(observer_.texts, (std::vector<std::string>{"TEAMS COMPLETED", "Processing Completed"}));
  EXPECT_FALSE(observer_.start.empty());
  EXPECT_FALSE(observer_.end.empty());
  EXPECT_EQ(observer_.viewing, 1);
  EXPECT_EQ(remembered_.saved, encyclopedia_.path());

  SKIP_ON_WINDOWS(testing::kNeedsReader);
  const auto book = testing::ReadXlsx(options_.output);
  EXPECT_EQ(book.sheet_names.front(), "Team Records");
  EXPECT_EQ(book.active_sheet, "Team Records");
  EXPECT_EQ(book.properties.at("title"),
            "Statistics of " + encyclopedia_.path().filename().string());

  // With the index: the first sheet, and the one the workbook opens on.
  options_.index = IndexChoice::kIndex;
  options_.overwrite = true;
  ASSERT_TRUE(RunProcessing(options_, observer_, nullptr).outcome == RunOutcome::kCompleted);
  const auto indexed = testing::ReadXlsx(options_.output);
  EXPECT_EQ(indexed.sheet_names.front(), "Index");
  EXPECT_EQ(indexed.sheet_names[1], "Team Records");
  EXPECT_EQ(indexed.active_sheet, "Index");
}

// No player and no team: no workbook, and an error that says so.
TEST_F(ProcessingRunTest, NothingToWriteWritesNoWorkbook) {
  options_.sheets = SheetChoice::kPlayersOnly;
  const RunResult result = RunProcessing(options_, observer_, &remembered_);
  ASSERT_EQ(result.outcome, RunOutcome::kNothingToWrite);
  EXPECT_TRUE(result.output.empty());
  EXPECT_EQ(result.error,
            "nothing to write: no player of the encyclopedia has a statistics line (2 files "
            "missing: ENCPLSTATS.DAT, ENCPLYR.DAT); no workbook was written");
  EXPECT_TRUE(std::filesystem::is_empty(out_.path())) << "not even an incomplete workbook";
  EXPECT_TRUE(remembered_.saved.empty());
}

TEST(WorkbookTitle, TheEncyclopediaFolderByItsLastName) {
  EXPECT_EQ(WorkbookTitle("/games/Baseball 2024/league"), "Statistics of league");
  EXPECT_EQ(WorkbookTitle("/games/league/"), "Statistics of league");
  EXPECT_EQ(WorkbookTitle("/games/league/."), "Statistics of league");
  EXPECT_EQ(WorkbookTitle("/games/league/old/.."), "Statistics of league");
  EXPECT_EQ(WorkbookTitle("samples/sample-encyclopedia"), "Statistics of sample-encyclopedia");
  EXPECT_EQ(WorkbookTitle("."),
            "Statistics of " + std::filesystem::current_path().filename().string());
#ifdef _WIN32
  EXPECT_EQ(WorkbookTitle("C:\\"), "Statistics of C:\\");
  EXPECT_EQ(WorkbookTitle(u8"C:\\Jeux\\Ligue \u00e9t\u00e9\\"),
            "Statistics of Ligue \u00e9t\u00e9");
#else
  EXPECT_EQ(WorkbookTitle("/"), "Statistics of /");
#endif
}

TEST_F(ProcessingRunTest, PlayersAndTeamsWithoutStatisticsKeepsTheLetterSheets) {
  const RunResult result = RunProcessing(options_, observer_, nullptr);
  ASSERT_EQ(result.outcome, RunOutcome::kCompleted);
  EXPECT_EQ(result.report.players_written, 0);
  SKIP_ON_WINDOWS(testing::kNeedsReader);
  const auto book = testing::ReadXlsx(options_.output);
  const auto& names = book.sheet_names;
  EXPECT_EQ(std::find(names.begin(), names.end(), "Z") - std::find(names.begin(), names.end(), "A"),
            25);
  int player_summaries_removed = 0;
  for (const std::string& name : result.report.sheets_removed) {
    player_summaries_removed += name.starts_with("Hit") || name.starts_with("Pitch");
  }
  EXPECT_EQ(player_summaries_removed, 8);
}

TEST_F(ProcessingRunTest, AFailedWriteIsAnErrorAndRemembersNothing) {
  options_.output = out_ / "no-such-folder" / "book.xlsx";
  const RunResult result = RunProcessing(options_, observer_, &remembered_);
  EXPECT_NE(result.outcome, RunOutcome::kCompleted);
  ASSERT_FALSE(result.error.empty());
  EXPECT_TRUE(result.output.empty());
  EXPECT_TRUE(remembered_.saved.empty());
  EXPECT_TRUE(observer_.texts.empty()) << "refused before reading";
}

TEST_F(ProcessingRunTest, AStoppedRunWritesNothing) {
  observer_.stop = true;
  const RunResult result = RunProcessing(options_, observer_, &remembered_);
  EXPECT_EQ(result.outcome, RunOutcome::kStopped);
  EXPECT_TRUE(result.output.empty());
  EXPECT_FALSE(std::filesystem::exists(options_.output));
}

TEST_F(ProcessingRunTest, AStopWhileWritingLeavesNoFileAndTheTimingsNameEachPhase) {
  observer_.stop_in_phase = "writing";
  const RunResult stopped = RunProcessing(options_, observer_, &remembered_);
  EXPECT_EQ(stopped.outcome, RunOutcome::kStopped);
  EXPECT_TRUE(stopped.output.empty());
  EXPECT_TRUE(std::filesystem::is_empty(out_.path()));
  EXPECT_TRUE(remembered_.saved.empty());

  observer_.stop_in_phase.clear();
  observer_.stop = false;
  const RunResult result = RunProcessing(options_, observer_, &remembered_);
  ASSERT_EQ(result.outcome, RunOutcome::kCompleted);
  std::vector<std::string> phases;
  for (const auto& [phase, time] : result.timings) {
    phases.push_back(phase);
    EXPECT_GE(time.elapsed, 0);
    EXPECT_GE(time.processor, 0);
  }
  EXPECT_EQ(phases, (std::vector<std::string>{"reading", "player walk", "team phase",
                                              "finishing sheets", "writing"}));
}

}  // namespace
}  // namespace statcrane
