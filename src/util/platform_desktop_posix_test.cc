// Opening a file in the desktop's application: the opener found on PATH is
// started and left to the system, so that a window that opens many
// workbooks gathers no finished openers (zombies) as children.
#include <errno.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <chrono>
#include <fstream>
#include <string>
#include <thread>

#include "testing/temp_dir.h"
#include "util/platform_desktop.h"

namespace statcrane {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

// PATH set to one folder for the test's duration.
class PathOnly {
 public:
  explicit PathOnly(const fs::path& folder) {
    if (const char* old = ::getenv("PATH"); old != nullptr) old_ = old;
    ::setenv("PATH", folder.c_str(), 1);
  }
  ~PathOnly() { ::setenv("PATH", old_.c_str(), 1); }

 private:
  std::string old_ = "/usr/bin:/bin";
};

void WriteOpener(const fs::path& folder, const std::string& content) {
  fs::create_directories(folder);
  std::ofstream(folder / "xdg-open") << content;
  fs::permissions(folder / "xdg-open", fs::perms::owner_all | fs::perms::group_read |
                                           fs::perms::group_exec | fs::perms::others_read |
                                           fs::perms::others_exec);
}

// True when this process has no child at all, running or ended.
bool NoChildren() { return ::waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD; }

bool AppearsWithin(const fs::path& file, std::chrono::seconds limit) {
  const auto until = std::chrono::steady_clock::now() + limit;
  while (!fs::exists(file)) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

TEST(OpenInDesktopApplication, StartsTheOpenerWithTheFileAndKeepsNoChild) {
  TempDir dir;
  // The opener marks the file it was given, then lingers a little: neither
  // while it runs nor after it ended is it a child of this process.
  WriteOpener(dir / "bin", "#!/bin/sh\n: > \"$1.opened\"\n/bin/sleep 0.2\n");
  const PathOnly path(dir / "bin");
  ASSERT_TRUE(NoChildren());
  for (const char* name : {"first.xlsx", "second book.xlsx", "third.xlsx"}) {
    EXPECT_EQ(OpenInDesktopApplication(dir / name), "") << name;
    EXPECT_TRUE(NoChildren()) << name;
  }
  for (const char* name : {"first.xlsx", "second book.xlsx", "third.xlsx"}) {
    EXPECT_TRUE(AppearsWithin(dir / (std::string(name) + ".opened"), std::chrono::seconds(20)))
        << name;
  }
  EXPECT_TRUE(NoChildren());
}

TEST(OpenInDesktopApplication, TellsWhenTheOpenerCannotBeStarted) {
  TempDir dir;
  const PathOnly path(dir / "bin");
  EXPECT_EQ(OpenInDesktopApplication(dir / "book.xlsx"), "no desktop opener (xdg-open) was found");

  // Executable by its mode, but no program the system can start.
  WriteOpener(dir / "bin", std::string("\x7f"
                                       "ELF not really",
                                       15));
  const std::string problem = OpenInDesktopApplication(dir / "book.xlsx");
  EXPECT_EQ(problem.rfind("cannot start " + (dir / "bin" / "xdg-open").string() + ": ", 0), 0u)
      << problem;
  EXPECT_TRUE(NoChildren());
}

}  // namespace
}  // namespace statcrane
