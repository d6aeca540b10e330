// The output file on both systems: names in any script, what is replaced
// and what never is, what a killed program leaves and who removes it.
#include "util/platform_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <span>
#include <string>
#include <vector>

#include "testing/child_process.h"
#include "testing/skip.h"
#include "testing/temp_dir.h"
#include "util/error.h"
#include "util/utf8_path.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace statcrane {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

std::string Contents(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

std::vector<std::string> Entries(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.push_back(Utf8FromPath(entry.path().filename()));
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string MessageOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const StatCraneError& error) {
    return error.message();
  }
  return "";
}

TEST(OutputFileTest, NamesInAnyScriptAndOfAnyLength) {
  TempDir dir;
  const std::string long_name = std::string(235, 'n') + ".xlsx";  // 240 characters
  for (const char* folder : {"Лига €", "Sortie été", "with a space"}) {
    for (const std::string& name : {std::string("Ligue € été.xlsx"), long_name}) {
      const fs::path target = dir.path() / PathFromUtf8(folder) / PathFromUtf8(name);
      fs::create_directories(target.parent_path());
      WriteWholeFile(target, "content of " + name, false, "the workbook");
      EXPECT_EQ(Contents(target), "content of " + name) << Utf8FromPath(target);
    }
    EXPECT_EQ(Entries(dir.path() / PathFromUtf8(folder)),
              (std::vector<std::string>{"Ligue € été.xlsx", long_name}));
  }
}

TEST(OutputFileTest, ReplacesOnlyWhenToldAndNeverWhatIsNoFile) {
  TempDir dir;
  const fs::path target = dir / "book.xlsx";
  { std::ofstream(target) << "the user's own"; }
  const std::string exists =
      MessageOf([&] { WriteWholeFile(target, "new", false, "the workbook"); });
  EXPECT_NE(exists.find("already exists"), std::string::npos) << exists;
  EXPECT_EQ(Contents(target), "the user's own");
  WriteWholeFile(target, "new", true, "the workbook");
  EXPECT_EQ(Contents(target), "new");

  fs::create_directory(dir / "folder.xlsx");
  const std::string folder =
      MessageOf([&] { WriteWholeFile(dir / "folder.xlsx", "x", true, "the settings"); });
  EXPECT_NE(folder.find("cannot save the settings as"), std::string::npos) << folder;
  EXPECT_NE(folder.find("a folder"), std::string::npos) << folder;
  EXPECT_EQ(ReplaceRefusal(dir / "folder.xlsx"), folder.substr(folder.rfind(": ") + 2));
  EXPECT_EQ(ReplaceRefusal(target), "");
  EXPECT_EQ(ReplaceRefusal(dir / "new.xlsx"), "");
  EXPECT_EQ(Entries(dir.path()), (std::vector<std::string>{"book.xlsx", "folder.xlsx"}));

  EXPECT_FALSE(TryCreatingFileIn(dir.path()));
  EXPECT_TRUE(TryCreatingFileIn(dir / "missing"));
  EXPECT_EQ(Entries(dir.path()), (std::vector<std::string>{"book.xlsx", "folder.xlsx"}));
}

// The private folder of a program that was killed is removed by the next
// output file in that folder; one that a living output file holds is not.
TEST(OutputFileTest, LeftoversOfAKilledProgramGoWhenTheNextFileIsWritten) {
  TempDir dir;
  // As a killed program leaves it: the folder and the temporary file.
  const fs::path leftover = dir / ".statcrane-k1lled00";
  fs::create_directory(leftover);
  fs::permissions(leftover, fs::perms::owner_all, fs::perm_options::replace);
  { std::ofstream(leftover / "workbook.xlsx") << "half a workbook"; }
  // Not ours: another name, or a folder holding something else.
  fs::create_directory(dir / ".statcrane-other");
  const fs::path busy = dir / ".statcrane-0therf11";
  fs::create_directory(busy);
  fs::permissions(busy, fs::perms::owner_all, fs::perm_options::replace);
  { std::ofstream(busy / "notes.txt") << "somebody's"; }

  OutputFile living(dir / "living.xlsx", false);
  const fs::path held = living.TemporaryPath().parent_path();
  EXPECT_FALSE(fs::exists(leftover));
  WriteWholeFile(dir / "next.xlsx", "next", false, "the workbook");
  EXPECT_TRUE(fs::exists(living.TemporaryPath())) << "a living file's folder was removed";
  living.Write(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>("ok"), 2));
  living.Publish();
  EXPECT_FALSE(fs::exists(held));
  EXPECT_EQ(Contents(dir / "living.xlsx"), "ok");
  EXPECT_EQ(Entries(dir.path()),
            (std::vector<std::string>{".statcrane-0therf11", ".statcrane-other", "living.xlsx",
                                      "next.xlsx"}));
}

#ifndef _WIN32
// A run killed in the middle of writing (SIGKILL, as the out-of-memory
// killer does) cannot remove its folder; the next run there does. Another
// user's leftover and a link that looks like one stay.
TEST(OutputFileTest, ARunKilledWhileWritingIsCleanedUpByTheNext) {
  TempDir dir;
  TempDir elsewhere;
  const fs::path victim = elsewhere / ".statcrane-v1ct1m00";
  fs::create_directory(victim);
  fs::permissions(victim, fs::perms::owner_all, fs::perm_options::replace);
  { std::ofstream(victim / "workbook.xlsx") << "not a leftover of this folder"; }
  fs::create_directory_symlink(victim, dir / ".statcrane-l1nk0000");

  const testing::ChildOutcome killed = testing::RunInChild([&] {
    OutputFile file(dir / "book.xlsx", false);
    const std::string half(100000, 'x');
    file.Write(
        std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(half.data()), half.size()));
    ::raise(SIGKILL);
    return 1;
  });
  ASSERT_EQ(killed.signal, SIGKILL);
  std::vector<std::string> left = Entries(dir.path());
  std::erase(left, ".statcrane-l1nk0000");
  ASSERT_EQ(left.size(), 1u);
  const fs::path leftover = dir / left[0];
  EXPECT_TRUE(IsPrivateFolderName(left[0])) << left[0];
  EXPECT_TRUE(fs::exists(leftover / "workbook.xlsx"));

  if (::geteuid() == 0) {
    // Another user's leftover is theirs to remove.
    const fs::path theirs = dir / ".statcrane-the1rs00";
    fs::create_directory(theirs);
    fs::permissions(theirs, fs::perms::owner_all, fs::perm_options::replace);
    ASSERT_EQ(::chown(theirs.c_str(), testing::kNobody, testing::kNobody), 0);
  }
  WriteWholeFile(dir / "book.xlsx", "the next run", false, "the workbook");
  EXPECT_FALSE(fs::exists(leftover));
  EXPECT_EQ(Contents(dir / "book.xlsx"), "the next run");
  EXPECT_TRUE(fs::is_symlink(dir / ".statcrane-l1nk0000"));
  EXPECT_EQ(Contents(victim / "workbook.xlsx"), "not a leftover of this folder");
  EXPECT_EQ(fs::exists(dir / ".statcrane-the1rs00"), ::geteuid() == 0);
}

// A replaced workbook keeps its permissions (and, for the superuser, its
// owner), whatever the umask.
TEST(OutputFileTest, AReplacedFileKeepsItsModeAndOwner) {
  TempDir dir;
  const fs::path target = dir / "book.xlsx";
  { std::ofstream(target) << "old"; }
  ASSERT_EQ(::chmod(target.c_str(), 0600), 0);
  const mode_t umask_before = ::umask(022);
  WriteWholeFile(target, "new", true, "the workbook");
  struct stat replaced {};
  ASSERT_EQ(::stat(target.c_str(), &replaced), 0);
  EXPECT_EQ(replaced.st_mode & 07777, 0600u);
  EXPECT_EQ(Contents(target), "new");

  ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
  if (::geteuid() == 0) {
    ASSERT_EQ(::chown(target.c_str(), testing::kNobody, testing::kNobody), 0);
  }
  WriteWholeFile(target, "newer", true, "the workbook");
  ::umask(umask_before);
  ASSERT_EQ(::stat(target.c_str(), &replaced), 0);
  EXPECT_EQ(replaced.st_mode & 07777, 0640u);
  if (::geteuid() == 0) {
    EXPECT_EQ(replaced.st_uid, testing::kNobody);
    EXPECT_EQ(replaced.st_gid, testing::kNobody);
  }
}

// Only the user's own file is replaced: as nobody, a file of root's in a
// folder nobody may write to stays.
TEST(OutputFileTest, AnotherUsersFileIsNeverReplaced) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to make a file of another user";
  TempDir dir;
  { std::ofstream(dir / "roots.xlsx") << "root's"; }
  testing::GiveToNobody(dir.path());
  ASSERT_EQ(::chown((dir / "roots.xlsx").c_str(), 0, 0), 0);
  const testing::ChildOutcome outcome = testing::RunUnprivileged([&] {
    const std::string message =
        MessageOf([&] { WriteWholeFile(dir / "roots.xlsx", "x", true, "the workbook"); });
    return message.find("belongs to another user") != std::string::npos ? 0 : 1;
  });
  EXPECT_TRUE(outcome.exited && outcome.status == 0) << outcome.status;
  EXPECT_EQ(Contents(dir / "roots.xlsx"), "root's");
}

// As root, with standard output redirected to a file, "/dev/stdout" is a
// link to /proc/self/fd/1, a link to that file: neither it nor /dev/stderr
// is ever replaced. In a private mount namespace with a scratch /dev, so
// that the system's own is never at stake.
TEST(OutputFileTest, SystemLinksToTheStandardStreamsAreNeverReplaced) {
  // On the system's /dev (devtmpfs, or whatever a container has) too.
  EXPECT_NE(ReplaceRefusal("/dev/stdout"), "");
  EXPECT_NE(ReplaceRefusal("/dev/null"), "");
  EXPECT_NE(FolderRefusal("/proc/self"), "");
  EXPECT_EQ(FolderRefusal("/tmp"), "");
  TempDir dir;
  const testing::ChildOutcome outcome = testing::RunInChild([&] {
    if (::unshare(CLONE_NEWNS) != 0 ||
        ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        ::mount("tmpfs", "/dev", "tmpfs", 0, "mode=0755") != 0) {
      return 77;  // no private namespace here
    }
    if (::symlink("/proc/self/fd/1", "/dev/stdout") != 0 ||
        ::symlink("/proc/self/fd/2", "/dev/stderr") != 0) {
      return 2;
    }
    for (int fd : {1, 2}) {
      const fs::path redirected = dir / ("redirected" + std::to_string(fd));
      const int file = ::open(redirected.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      if (file < 0 || ::dup2(file, fd) != fd) return 3;
      ::close(file);
      const fs::path link = fd == 1 ? "/dev/stdout" : "/dev/stderr";
      const std::string message =
          MessageOf([&] { WriteWholeFile(link, "a workbook", true, "the workbook"); });
      struct stat entry {};
      if (message.find("kernel file system (proc)") == std::string::npos ||
          ReplaceRefusal(link).empty() || ::lstat(link.c_str(), &entry) != 0 ||
          !S_ISLNK(entry.st_mode) || fs::file_size(redirected) != 0) {
        return 10 + fd;
      }
    }
    return 0;
  });
  if (outcome.exited && outcome.status == 77) GTEST_SKIP() << "no private mount namespace here";
  EXPECT_TRUE(outcome.exited && outcome.status == 0) << outcome.status;
  EXPECT_TRUE(fs::is_symlink("/dev/stdout"));
}
#endif

#ifdef _WIN32
// Device names exist in every folder; the device namespace holds no files.
TEST(OutputFileTest, WindowsDevicesAreNeverWritten) {
  TempDir dir;
  for (const fs::path& target :
       {dir / "CON", dir / "nul.xlsx", dir / "Com1.xlsx", dir / "LPT9", dir / "conout$",
        fs::path("\\\\.\\PhysicalDrive0"), fs::path("\\\\.\\C:")}) {
    SCOPED_TRACE(Utf8FromPath(target));
    EXPECT_NE(ReplaceRefusal(target), "");
    EXPECT_THROW(WriteWholeFile(target, "x", true, "the workbook"), StatCraneError);
  }
  EXPECT_EQ(ReplaceRefusal(dir / "CONTRACT.xlsx"), "");
  EXPECT_TRUE(Entries(dir.path()).empty());
}

// A replaced workbook keeps its attributes.
TEST(OutputFileTest, AReplacedFileKeepsItsAttributes) {
  TempDir dir;
  const fs::path target = dir / "book.xlsx";
  { std::ofstream(target) << "old"; }
  ASSERT_TRUE(::SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_HIDDEN));
  WriteWholeFile(target, "new", true, "the workbook");
  EXPECT_EQ(Contents(target), "new");
  EXPECT_NE(::GetFileAttributesW(target.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
}
#endif

}  // namespace
}  // namespace statcrane
