// Runs whose workbook cannot be written: a folder that does not exist or is
// a file, a folder without write permission, a full disk, a folder removed
// or made read-only while the workbook is written; and a run that fails
// before writing beside a workbook the user has. Each gives a clear message,
// leaves no half-written file and never touches a file the user already has
// under the target name.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "app/command_line.h"
#include "app/processing_run.h"
#include "testing/child_process.h"
#include "testing/skip.h"
#include "testing/temp_dir.h"
#include "testing/xlsx_reader.h"
#include "tools/encyclopedia_generator.h"
#include "util/error.h"
#include "util/utf8_path.h"

namespace statcrane {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

std::vector<std::string> Entries(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string Contents(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

class OutputFailureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    GeneratorOptions options;
    options.players = 40;
    options.seed = 2;
    GenerateEncyclopedia(options, encyclopedia_.path());
  }

  RunResult RunInto(const fs::path& output, bool overwrite) {
    RunOptions options;
    options.encyclopedia_folder = encyclopedia_.path();
    options.output = output;
    options.overwrite = overwrite;
    RunObserver observer;
    return RunProcessing(options, observer, nullptr);
  }

  // The command line's exit status; its messages in err_.
  int Command(const fs::path& output, bool force) {
    std::vector<std::string> args = {"process", encyclopedia_.path().string(), "-o",
                                     output.string()};
    if (force) args.push_back("--force");
    const ParsedCommandLine parsed = ParseCommandLine(args);
    std::ostringstream out;
    return RunCommand(*parsed.command, out, err_, false);
  }

  TempDir encyclopedia_;
  TempDir out_;
  std::ostringstream err_;
};

TEST_F(OutputFailureTest, FolderThatCannotHoldTheWorkbook) {
  { std::ofstream(out_ / "plain") << "a file"; }
  for (const fs::path& output : {out_ / "missing" / "book.xlsx", out_ / "plain" / "book.xlsx"}) {
    SCOPED_TRACE(output);
    const RunResult result = RunInto(output, true);
    ASSERT_FALSE(result.error.empty());
    EXPECT_TRUE(result.output.empty());
    EXPECT_NE(result.error.find(output.string()), std::string::npos) << result.error;
    EXPECT_EQ(Command(output, true), 1);
  }
  EXPECT_EQ(Entries(out_.path()), std::vector<std::string>{"plain"});
  EXPECT_EQ(Contents(out_ / "plain"), "a file");
}

// Folder permissions do not bind the superuser: the run goes as nobody in a
// child process.
TEST_F(OutputFailureTest, FolderWithoutWritePermission) {
  SKIP_ON_WINDOWS(testing::kNeedsChildProcess);
  fs::create_directory(out_ / "locked");
  { std::ofstream(out_ / "locked" / "book.xlsx") << "mine"; }
  testing::GiveToNobody(out_.path());
  testing::GiveToNobody(encyclopedia_.path());
  fs::permissions(out_ / "locked", fs::perms::owner_read | fs::perms::owner_exec);
  const testing::ChildOutcome outcome = testing::RunUnprivileged([&] {
    const RunResult result = RunInto(out_ / "locked" / "book.xlsx", true);
    if (result.error.empty() || !result.output.empty()) return 1;
    const std::string message = result.error;
    return message.find("permission denied") != std::string::npos &&
                   message.find((out_ / "locked" / "book.xlsx").string()) != std::string::npos
               ? 0
               : 2;
  });
  EXPECT_TRUE(outcome.exited && outcome.status == 0) << outcome.status;
  EXPECT_EQ(Entries(out_ / "locked"), std::vector<std::string>{"book.xlsx"});
  EXPECT_EQ(Contents(out_ / "locked" / "book.xlsx"), "mine");
}

// A run that fails before its workbook is written keeps what it built
// beside the requested file, never under its name and never replacing
// anything: "book (incomplete).xlsx", then "book (incomplete 2).xlsx".
TEST_F(OutputFailureTest, AFailedRunBesideAnExistingWorkbook) {
  { std::ofstream(out_ / "book.xlsx") << "the user's own workbook"; }
  // A folder where the player file should be stops the run.
  fs::remove(encyclopedia_ / "ENCPLYR.DAT");
  fs::create_directory(encyclopedia_ / "ENCPLYR.DAT");
  for (const char* expected : {"book (incomplete).xlsx", "book (incomplete 2).xlsx"}) {
    const RunResult result = RunInto(out_ / "book.xlsx", true);
    ASSERT_FALSE(result.error.empty());
    EXPECT_EQ(result.outcome, RunOutcome::kFailedIncompleteSaved);
    EXPECT_EQ(result.output, out_ / expected);
    EXPECT_NE(ReportText(result).find("Incomplete workbook saved: " + (out_ / expected).string()),
              std::string::npos);
    const std::string message = result.error;
    EXPECT_NE(message.find("ENCPLYR.DAT"), std::string::npos) << message;
#ifndef _WIN32
    EXPECT_NO_THROW(testing::ReadXlsx(out_ / expected));
#endif
  }
  EXPECT_EQ(Contents(out_ / "book.xlsx"), "the user's own workbook");
  EXPECT_EQ(Entries(out_.path()),
            (std::vector<std::string>{"book (incomplete 2).xlsx", "book (incomplete).xlsx",
                                      "book.xlsx"}));
}

// Names as long as the system allows: a name one longer is refused before
// anything is read; the incomplete workbook of a failed run with a long
// name is saved under a shortened one ("nnn... (incomplete).xlsx").
TEST_F(OutputFailureTest, LongNames) {
  const RunResult refused = RunInto(out_ / (std::string(251, 'n') + ".xlsx"), false);
  ASSERT_FALSE(refused.error.empty());
  EXPECT_NE(refused.error.find("is too long"), std::string::npos) << refused.error;
  EXPECT_TRUE(refused.report.files.empty()) << "nothing was read";
  EXPECT_TRUE(Entries(out_.path()).empty());

  fs::remove(encyclopedia_ / "ENCPLYR.DAT");
  fs::create_directory(encyclopedia_ / "ENCPLYR.DAT");
  const std::string stem = std::string(242, 'n') + "\xc3\xa9\xc3\xa9";  // ends in "éé"
  for (const char* mark : {" (incomplete).xlsx", " (incomplete 2).xlsx"}) {
    const RunResult result = RunInto(out_.path() / PathFromUtf8(stem + ".xlsx"), false);
    ASSERT_FALSE(result.error.empty());
    ASSERT_EQ(result.outcome, RunOutcome::kFailedIncompleteSaved) << result.not_saved;
    const std::string name = Utf8FromPath(result.output.filename());
    EXPECT_TRUE(name.ends_with(mark)) << name;
    EXPECT_LE(result.output.filename().native().size(), 255u);
    EXPECT_TRUE(stem.starts_with(name.substr(0, name.size() - std::string(mark).size())))
        << "shortened, never inside a character: " << name;
  }
}

// Reports that the incomplete workbook could not be saved, and why.
class RemoveFolderOnTeams : public RunObserver {
 public:
  explicit RemoveFolderOnTeams(fs::path folder) : folder_(std::move(folder)) {}
  void ProgressText(std::string_view text) override {
    if (text == "TEAMS COMPLETED") fs::remove_all(folder_);
  }

 private:
  fs::path folder_;
};

TEST_F(OutputFailureTest, AnIncompleteWorkbookThatCannotBeSavedSaysWhy) {
  fs::remove(encyclopedia_ / "ENCPLYR.DAT");
  fs::create_directory(encyclopedia_ / "ENCPLYR.DAT");
  fs::create_directory(out_ / "gone");
  RunOptions options;
  options.encyclopedia_folder = encyclopedia_.path();
  options.output = out_ / "gone" / "book.xlsx";
  RemoveFolderOnTeams remove(out_ / "gone");
  const RunResult result = RunProcessing(options, remove, nullptr);
  ASSERT_EQ(result.outcome, RunOutcome::kFailedIncompleteNotSaved);
  EXPECT_FALSE(result.error.empty());
  EXPECT_TRUE(result.output.empty());
  EXPECT_NE(result.not_saved.find("book (incomplete).xlsx"), std::string::npos) << result.not_saved;
  EXPECT_NE(result.not_saved.find("does not exist"), std::string::npos) << result.not_saved;
}

// Does something to the output folder at the first report of the writing.
class WhileWriting : public RunObserver {
 public:
  explicit WhileWriting(std::function<void()> action) : action_(std::move(action)) {}
  void PhaseProgress(std::string_view phase, int64_t, int64_t) override {
    if (phase == "writing" && action_) std::exchange(action_, nullptr)();
  }

 private:
  std::function<void()> action_;
};

TEST_F(OutputFailureTest, FolderRemovedWhileWriting) {
  SKIP_ON_WINDOWS("Windows does not let a folder go while the program holds a file in it");
  fs::create_directory(out_ / "gone");
  RunOptions options;
  options.encyclopedia_folder = encyclopedia_.path();
  options.output = out_ / "gone" / "book.xlsx";
  WhileWriting remove([&] { fs::remove_all(out_ / "gone"); });
  const RunResult result = RunProcessing(options, remove, nullptr);
  ASSERT_FALSE(result.error.empty());
  EXPECT_TRUE(result.output.empty());
  const std::string message = result.error;
  EXPECT_NE(message.find(options.output.string()), std::string::npos) << message;
  EXPECT_NE(message.find("was removed"), std::string::npos) << message;
  EXPECT_TRUE(Entries(out_.path()).empty());
}

// As nobody: a read-only folder binds the superuser not.
TEST_F(OutputFailureTest, FolderMadeReadOnlyWhileWriting) {
  SKIP_ON_WINDOWS(testing::kNeedsChildProcess);
  fs::create_directory(out_ / "shut");
  testing::GiveToNobody(out_.path());
  testing::GiveToNobody(encyclopedia_.path());
  const testing::ChildOutcome outcome = testing::RunUnprivileged([&] {
    RunOptions options;
    options.encyclopedia_folder = encyclopedia_.path();
    options.output = out_ / "shut" / "book.xlsx";
    WhileWriting shut(
        [&] { fs::permissions(out_ / "shut", fs::perms::owner_read | fs::perms::owner_exec); });
    const RunResult result = RunProcessing(options, shut, nullptr);
    if (result.error.empty() || !result.output.empty()) return 1;
    const std::string message = result.error;
    return message.find("permission denied") != std::string::npos &&
                   message.find(options.output.string()) != std::string::npos
               ? 0
               : 2;
  });
  EXPECT_TRUE(outcome.exited && outcome.status == 0) << outcome.status;
  // No workbook, and no file with its bytes: only the empty private folder,
  // which a read-only folder does not let anybody remove.
  fs::permissions(out_ / "shut", fs::perms::owner_all);
  EXPECT_FALSE(fs::exists(out_ / "shut" / "book.xlsx"));
  for (const auto& entry : fs::recursive_directory_iterator(out_ / "shut")) {
    EXPECT_TRUE(entry.is_directory()) << entry.path();
  }
}

// A file system of 16 KiB that already holds the user's file: the workbook
// (about 60 KB) does not fit.
class FullDiskTest : public OutputFailureTest {
 protected:
  void SetUp() override {
    SKIP_ON_WINDOWS("mounts a small tmpfs");
    OutputFailureTest::SetUp();
    disk_ = out_ / "disk";
    fs::create_directory(disk_);
#ifndef _WIN32
    if (::mount("tmpfs", disk_.c_str(), "tmpfs", 0, "size=16k") != 0) {
      GTEST_SKIP() << "cannot mount a small file system here (" << std::strerror(errno) << ")";
    }
    mounted_ = true;
    { std::ofstream(disk_ / "book.xlsx") << "the user's own file"; }
#endif
  }
  void TearDown() override {
#ifndef _WIN32
    if (mounted_) ::umount2(disk_.c_str(), MNT_DETACH);
#endif
  }

  fs::path disk_;
  bool mounted_ = false;
};

TEST_F(FullDiskTest, NothingHalfWrittenAndTheUsersFileKept) {
  const RunResult result = RunInto(disk_ / "book.xlsx", true);
  ASSERT_FALSE(result.error.empty());
  EXPECT_NE(result.error.find("the disk is full"), std::string::npos) << result.error;
  EXPECT_NE(result.error.find((disk_ / "book.xlsx").string()), std::string::npos) << result.error;
  EXPECT_TRUE(result.output.empty());
  EXPECT_NE(result.outcome, RunOutcome::kCompleted);
  EXPECT_EQ(Entries(disk_), std::vector<std::string>{"book.xlsx"});
  EXPECT_EQ(Contents(disk_ / "book.xlsx"), "the user's own file");

  // A new name on the full disk: no file at all.
  EXPECT_EQ(Command(disk_ / "new.xlsx", false), 1);
  EXPECT_NE(err_.str().find("the disk is full"), std::string::npos) << err_.str();
  EXPECT_NE(err_.str().find("no workbook was written"), std::string::npos) << err_.str();
  EXPECT_EQ(Entries(disk_), std::vector<std::string>{"book.xlsx"});
}

// The same with a file size limit, which needs no privileges: in a child
// process, so that the limit binds nothing else.
TEST_F(OutputFailureTest, FileSizeLimitInAChildProcess) {
  SKIP_ON_WINDOWS(testing::kNeedsChildProcess);
#ifndef _WIN32
  { std::ofstream(out_ / "book.xlsx") << "the user's own file"; }
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // No SIGXFSZ handling here: the program ignores it itself while it writes.
    const rlimit small{64 * 1024, 64 * 1024};
    setrlimit(RLIMIT_FSIZE, &small);
    const RunResult result = RunInto(out_ / "book.xlsx", true);
    const bool clear = result.error.find("larger than this system allows") != std::string::npos &&
                       result.output.empty() && result.error.find("book.xlsx") != std::string::npos;
    if (!clear) {
      std::fprintf(stderr, "%s\n", result.error.empty() ? "no error" : result.error.c_str());
    }
    _exit(clear ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status)) << "the run ended by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 0) << "no clear disk-full error";
  EXPECT_EQ(Entries(out_.path()), std::vector<std::string>{"book.xlsx"});
  EXPECT_EQ(Contents(out_ / "book.xlsx"), "the user's own file");
#endif
}

}  // namespace
}  // namespace statcrane
