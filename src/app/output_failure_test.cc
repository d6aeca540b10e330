// Runs whose workbook cannot be written: a folder that does not exist or is
// a file, a folder without write permission, a full disk. Each gives a clear
// message, leaves no half-written file and never touches a file the user
// already has under the target name.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/processing_run.h"
#include "testing/temp_dir.h"
#include "tools/encyclopedia_generator.h"
#include "util/error.h"

namespace statcrane {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

std::vector<std::string> Entries(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename());
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
    options.EncyclopediaFolder = encyclopedia_.path();
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
    ASSERT_TRUE(result.error);
    EXPECT_FALSE(result.saved);
    EXPECT_NE(result.error->message().find(output.string()), std::string::npos)
        << result.error->message();
    EXPECT_EQ(Command(output, true), 1);
  }
  EXPECT_EQ(Entries(out_.path()), std::vector<std::string>{"plain"});
  EXPECT_EQ(Contents(out_ / "plain"), "a file");
}

TEST_F(OutputFailureTest, FolderWithoutWritePermission) {
  if (geteuid() == 0) GTEST_SKIP() << "folder permissions do not bind the superuser";
  fs::create_directory(out_ / "locked");
  { std::ofstream(out_ / "locked" / "book.xlsx") << "mine"; }
  fs::permissions(out_ / "locked", fs::perms::owner_read | fs::perms::owner_exec);
  const RunResult result = RunInto(out_ / "locked" / "book.xlsx", true);
  ASSERT_TRUE(result.error);
  EXPECT_FALSE(result.saved);
  EXPECT_EQ(Entries(out_ / "locked"), std::vector<std::string>{"book.xlsx"});
  EXPECT_EQ(Contents(out_ / "locked" / "book.xlsx"), "mine");
}

// A file system of 256 KiB that already holds the user's file: the workbook
// (about half a megabyte) does not fit.
class FullDiskTest : public OutputFailureTest {
 protected:
  void SetUp() override {
    OutputFailureTest::SetUp();
    disk_ = out_ / "disk";
    fs::create_directory(disk_);
    if (::mount("tmpfs", disk_.c_str(), "tmpfs", 0, "size=256k") != 0) {
      GTEST_SKIP() << "cannot mount a small file system here (" << std::strerror(errno) << ")";
    }
    mounted_ = true;
    { std::ofstream(disk_ / "book.xlsx") << "the user's own file"; }
  }
  void TearDown() override {
    if (mounted_) ::umount2(disk_.c_str(), MNT_DETACH);
  }

  fs::path disk_;
  bool mounted_ = false;
};

TEST_F(FullDiskTest, NothingHalfWrittenAndTheUsersFileKept) {
  const RunResult result = RunInto(disk_ / "book.xlsx", true);
  ASSERT_TRUE(result.error);
  EXPECT_NE(result.error->message().find("the disk is full"), std::string::npos)
      << result.error->message();
  EXPECT_NE(result.error->message().find((disk_ / "book.xlsx").string()), std::string::npos)
      << result.error->message();
  EXPECT_FALSE(result.saved);
  EXPECT_FALSE(result.completed);
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
  { std::ofstream(out_ / "book.xlsx") << "the user's own file"; }
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN);
    const rlimit small{64 * 1024, 64 * 1024};
    setrlimit(RLIMIT_FSIZE, &small);
    const RunResult result = RunInto(out_ / "book.xlsx", true);
    const bool clear =
        result.error &&
        result.error->message().find("larger than this system allows") != std::string::npos &&
        !result.saved && result.error->message().find("book.xlsx") != std::string::npos;
    if (!clear) {
      std::fprintf(stderr, "%s\n", result.error ? result.error->message().c_str() : "no error");
    }
    _exit(clear ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status)) << "the run ended by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 0) << "no clear disk-full error";
  EXPECT_EQ(Entries(out_.path()), std::vector<std::string>{"book.xlsx"});
  EXPECT_EQ(Contents(out_ / "book.xlsx"), "the user's own file");
}

}  // namespace
}  // namespace statcrane
