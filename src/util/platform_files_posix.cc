// Output files on POSIX systems (Linux): *at() calls on the descriptors of
// the target's folder and of the private folder, rename without replacing,
// a lock on the private folder, signal handlers that remove the temporary
// file.
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string_view>
#include <vector>

#include "util/platform_console.h"
#include "util/platform_errors.h"
#include "util/platform_files.h"
#include "util/platform_files_shared.h"

namespace statcrane {

namespace fs = std::filesystem;

namespace {

std::string Quoted(const fs::path& path) { return QuotedPath(path); }

[[noreturn]] void Fail(std::string_view what, const fs::path& target, const std::string& reason) {
  FailToSave(what, target, reason);
}

// ---------------------------------------------------------------------------
// Device and kernel file systems: nothing there is a user's file.

// The name of the kernel file system that `path` (or, with a descriptor,
// the file it refers to) lies on, "" when it is an ordinary one. devtmpfs
// reports itself as tmpfs; the mount table tells them apart.
std::string KernelFileSystemOf(const struct statfs& fs_info, dev_t device) {
  switch (static_cast<unsigned long>(fs_info.f_type)) {
    case 0x9fa0:
      return "proc";
    case 0x62656572:
      return "sysfs";
    case 0x1cd1:
      return "devpts";
    case 0x27e0eb:
    case 0x63677270:
      return "cgroup";
    case 0x64626720:
      return "debugfs";
    case 0x74726163:
      return "tracefs";
    case 0x73636673:
      return "securityfs";
    case 0xcafe4a11:
      return "bpf";
    case 0x6165676c:
      return "pstore";
    case 0xde5e81e4:
      return "efivarfs";
    case 0x62656570:
      return "configfs";
    case 0x65735543:
      return "fusectl";
    case 0x19800202:
      return "mqueue";
    case 0x01021994:
      break;  // tmpfs, or devtmpfs
    default:
      return "";
  }
  // /proc/self/mountinfo: "36 35 0:6 / /dev rw - devtmpfs devtmpfs rw".
  std::ifstream mounts("/proc/self/mountinfo");
  const std::string wanted = std::to_string(major(device)) + ":" + std::to_string(minor(device));
  std::string line;
  while (std::getline(mounts, line)) {
    std::istringstream fields(line);
    std::string id, parent, numbers;
    fields >> id >> parent >> numbers;
    if (numbers != wanted) continue;
    const size_t dash = line.find(" - ");
    if (dash == std::string::npos) continue;
    std::istringstream rest(line.substr(dash + 3));
    std::string type;
    rest >> type;
    if (type == "devtmpfs") return type;
  }
  return "";
}

std::string KernelFileSystemOfDescriptor(int fd) {
  struct statfs fs_info {};
  struct stat info {};
  if (::fstatfs(fd, &fs_info) != 0 || ::fstat(fd, &info) != 0) return "";
  return KernelFileSystemOf(fs_info, info.st_dev);
}

std::string KernelFileSystemOfPath(const fs::path& path) {
  struct statfs fs_info {};
  struct stat info {};
  if (::statfs(path.c_str(), &fs_info) != 0 || ::stat(path.c_str(), &info) != 0) return "";
  return KernelFileSystemOf(fs_info, info.st_dev);
}

std::string_view KindName(mode_t mode) {
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISFIFO(mode)) return "a named pipe (FIFO)";
  if (S_ISCHR(mode)) return "a character device";
  if (S_ISBLK(mode)) return "a block device";
  if (S_ISSOCK(mode)) return "a socket";
  return "not a regular file";
}

// What a replaced file had, for the file that takes its place.
struct Replaced {
  bool exists = false;
  struct stat file {};  // the regular file (a link's, after following it)
};

// Why the entry `name` of the folder `folder_fd` (whose path is `folder`)
// may not be replaced by a regular file; "" when it may (see
// ReplaceRefusal). Fills `replaced` when something has the name.
std::string Refusal(int folder_fd, const fs::path& folder, const std::string& name,
                    Replaced& replaced) {
  replaced = Replaced{};
  if (const std::string kernel = KernelFileSystemOfDescriptor(folder_fd); !kernel.empty()) {
    return "the folder " + Quoted(folder) + " is on a device or kernel file system (" + kernel +
           "), where no file is ever written";
  }
  struct stat entry {};
  if (::fstatat(folder_fd, name.c_str(), &entry, AT_SYMLINK_NOFOLLOW) != 0) {
    if (errno == ENOENT) return "";
    return FailureReason(errno);
  }
  replaced.exists = true;
  if (S_ISLNK(entry.st_mode)) {
    // Follow the chain link by link: each link must lie on an ordinary file
    // system (not /proc/self/fd/1 behind /dev/stdout), the end must be a
    // regular file.
    fs::path at = folder / name;
    struct stat step = entry;
    for (int hops = 0; S_ISLNK(step.st_mode); ++hops) {
      if (hops == 40) return FailureReason(ELOOP);
      if (const std::string kernel = KernelFileSystemOfPath(at.parent_path()); !kernel.empty()) {
        return "it is a symbolic link that leads through a device or kernel file system (" +
               kernel + "), which is never followed";
      }
      std::error_code error;
      const fs::path next = fs::read_symlink(at, error);
      if (error) return FailureReason(error);
      at = next.is_absolute() ? next : at.parent_path() / next;
      if (::lstat(at.c_str(), &step) != 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
          return "it is a symbolic link to something that does not exist; it was left as it was";
        }
        return FailureReason(errno);
      }
    }
    if (!S_ISREG(step.st_mode)) {
      return "it is a symbolic link to " + std::string(KindName(step.st_mode)) +
             ", which is never replaced";
    }
    if (const std::string kernel = KernelFileSystemOfPath(at); !kernel.empty()) {
      return "it is a symbolic link to a file on a device or kernel file system (" + kernel +
             "), which is never replaced";
    }
    replaced.file = step;
  } else if (!S_ISREG(entry.st_mode)) {
    return "it is " + std::string(KindName(entry.st_mode)) + ", which is never replaced";
  } else {
    replaced.file = entry;
  }
  if (replaced.file.st_uid != ::geteuid() && ::geteuid() != 0) {
    return "it belongs to another user, and only your own files are replaced";
  }
  return "";
}

// ---------------------------------------------------------------------------
// Interrupting signals: what the handler removes, in slots filled while an
// OutputFile lives.

struct SignalSlot {
  std::atomic<bool> used{false};
  std::atomic<bool> armed{false};
  int folder_fd = -1;   // the target's folder
  int private_fd = -1;  // the private folder in it
  char private_name[64] = {};
};
std::array<SignalSlot, 8> signal_slots;
std::atomic<int> armed_files{0};

constexpr int kCleanupSignals[] = {SIGINT, SIGTERM, SIGHUP};
struct sigaction previous_actions[3];
bool handled[3] = {};
struct sigaction previous_xfsz;

extern "C" void RemoveTemporaryFilesAndExit(int signal_number) {
  for (SignalSlot& slot : signal_slots) {
    if (!slot.armed.load()) continue;
    ::unlinkat(slot.private_fd, kTemporaryFileName.data(), 0);
    ::unlinkat(slot.folder_fd, slot.private_name, AT_REMOVEDIR);
  }
  WriteInterruptMessage();
  ::_exit(128 + signal_number);
}

// Installs the handlers when the first file is armed and restores the
// previous ones when the last is disarmed. Only the writing thread arms and
// disarms.
void InstallHandlers() {
  if (armed_files.fetch_add(1) != 0) return;
  struct sigaction action {};
  action.sa_handler = RemoveTemporaryFilesAndExit;
  sigemptyset(&action.sa_mask);
  for (int signal_number : kCleanupSignals) sigaddset(&action.sa_mask, signal_number);
  for (size_t i = 0; i < 3; ++i) {
    sigaction(kCleanupSignals[i], nullptr, &previous_actions[i]);
    // A signal the program was told to ignore (nohup) stays ignored.
    handled[i] = previous_actions[i].sa_handler != SIG_IGN;
    if (handled[i]) sigaction(kCleanupSignals[i], &action, nullptr);
  }
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  sigaction(SIGXFSZ, &ignore, &previous_xfsz);
}

void RestoreHandlers() {
  if (armed_files.fetch_sub(1) != 1) return;
  for (size_t i = 0; i < 3; ++i) {
    if (handled[i]) sigaction(kCleanupSignals[i], &previous_actions[i], nullptr);
  }
  sigaction(SIGXFSZ, &previous_xfsz, nullptr);
}

// ---------------------------------------------------------------------------
// Private folders left behind by killed programs.

// Removes the private folder `name` of `folder_fd` when it is a leftover:
// a folder (not a link) of this user with mode 0700 that nobody holds
// locked, holding nothing but the temporary file.
void RemoveLeftover(int folder_fd, const char* name) {
  struct stat entry {};
  if (::fstatat(folder_fd, name, &entry, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISDIR(entry.st_mode) ||
      entry.st_uid != ::geteuid() || (entry.st_mode & 07777) != 0700) {
    return;
  }
  const int fd = ::openat(folder_fd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return;
  struct stat opened {};
  // The same folder, and nobody's: a running program holds its lock.
  if (::fstat(fd, &opened) != 0 || opened.st_dev != entry.st_dev || opened.st_ino != entry.st_ino ||
      ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return;
  }
  struct stat file {};
  if (::fstatat(fd, kTemporaryFileName.data(), &file, AT_SYMLINK_NOFOLLOW) == 0 &&
      S_ISREG(file.st_mode)) {
    ::unlinkat(fd, kTemporaryFileName.data(), 0);
  }
  // Fails, as it should, when the folder holds anything else.
  ::unlinkat(folder_fd, name, AT_REMOVEDIR);
  ::close(fd);
}

void RemoveLeftovers(int folder_fd) {
  const int list_fd = ::openat(folder_fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (list_fd < 0) return;
  DIR* dir = ::fdopendir(list_fd);
  if (dir == nullptr) {
    ::close(list_fd);
    return;
  }
  std::vector<std::string> names;
  while (const dirent* entry = ::readdir(dir)) {
    if (IsPrivateFolderName(entry->d_name)) names.emplace_back(entry->d_name);
  }
  ::closedir(dir);
  for (const std::string& name : names) RemoveLeftover(folder_fd, name.c_str());
}

}  // namespace

struct OutputFile::State {
  fs::path folder;
  std::string name;          // the target's name in its folder
  std::string private_name;  // the private folder's name
  std::string what;          // "the workbook", ...
  int folder_fd = -1;
  int private_fd = -1;  // open for reading, and locked
  int fd = -1;
  bool overwrite = false;
  SignalSlot* slot = nullptr;

  // Refuses a target that may not be replaced; returns what it replaces.
  Replaced CheckTarget(const fs::path& target) {
    Replaced replaced;
    if (std::string refusal = Refusal(folder_fd, folder, name, replaced); !refusal.empty()) {
      Fail(what, target, refusal);
    }
    if (replaced.exists && !overwrite) FailExists(target);
    return replaced;
  }

  // Makes the private folder, opens and locks it. False when the name was
  // taken or the folder changed hands meanwhile (try another name).
  bool MakePrivateFolder(const fs::path& target) {
    private_name = NewPrivateFolderName();
    if (::mkdirat(folder_fd, private_name.c_str(), 0700) != 0) {
      if (errno == EEXIST) return false;
      Fail(what, target, "cannot create a file in " + Quoted(folder) + ": " + FailureReason(errno));
    }
    private_fd =
        ::openat(folder_fd, private_name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    struct stat made {};
    if (private_fd < 0 || ::fstat(private_fd, &made) != 0 || !S_ISDIR(made.st_mode) ||
        made.st_uid != ::geteuid() || (made.st_mode & 077) != 0) {
      if (private_fd >= 0) ::close(private_fd);
      private_fd = -1;
      ::unlinkat(folder_fd, private_name.c_str(), AT_REMOVEDIR);
      Fail(what, target,
           "the temporary folder in " + Quoted(folder) +
               " was replaced by someone else while it was made");
    }
    // Held while this file lives. Another program's clean-up that took the
    // lock first removes the folder: start again under another name. A file
    // system without locks leaves leftovers to the user.
    if (::flock(private_fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
      ::close(private_fd);
      private_fd = -1;
      return false;
    }
    struct stat named {};
    if (::fstatat(folder_fd, private_name.c_str(), &named, AT_SYMLINK_NOFOLLOW) != 0 ||
        named.st_dev != made.st_dev || named.st_ino != made.st_ino) {
      ::close(private_fd);
      private_fd = -1;
      return false;
    }
    return true;
  }

  void Arm() {
    for (SignalSlot& candidate : signal_slots) {
      bool expected = false;
      if (!candidate.used.compare_exchange_strong(expected, true)) continue;
      candidate.folder_fd = folder_fd;
      candidate.private_fd = private_fd;
      std::snprintf(candidate.private_name, sizeof candidate.private_name, "%s",
                    private_name.c_str());
      slot = &candidate;
      break;
    }
    InstallHandlers();
    if (slot != nullptr) slot->armed.store(true);
  }

  void Disarm() {
    if (slot != nullptr) {
      slot->armed.store(false);
      slot->used.store(false);
      slot = nullptr;
    }
    RestoreHandlers();
  }

  void Remove() {
    if (fd >= 0) ::close(fd);
    fd = -1;
    if (private_fd >= 0) {
      ::unlinkat(private_fd, kTemporaryFileName.data(), 0);
      ::unlinkat(folder_fd, private_name.c_str(), AT_REMOVEDIR);
    }
  }

  // Gives the written file the replaced file's permissions, and its owner
  // and group where the system lets this user (the superuser, or a group
  // the user belongs to).
  void TakeOverPermissions(const struct stat& replaced) {
    struct stat own {};
    if (::fstat(fd, &own) != 0) return;
    if (own.st_uid != replaced.st_uid || own.st_gid != replaced.st_gid) {
      if (::fchown(fd, replaced.st_uid, replaced.st_gid) != 0 && own.st_gid != replaced.st_gid) {
        [[maybe_unused]] const int ignored = ::fchown(fd, static_cast<uid_t>(-1), replaced.st_gid);
      }
    }
    // Set-user and set-group bits are never carried over.
    [[maybe_unused]] const int ignored = ::fchmod(fd, replaced.st_mode & 0777);
  }

  ~State() {
    if (fd >= 0) ::close(fd);
    if (private_fd >= 0) ::close(private_fd);
    if (folder_fd >= 0) ::close(folder_fd);
  }
};

bool PathEntryExists(const fs::path& path) {
  struct stat entry {};
  return ::lstat(path.c_str(), &entry) == 0;
}

std::error_code TryCreatingFileIn(const fs::path& folder) {
  const fs::path probe = folder / (".statcrane-check-" + NewPrivateFolderName().substr(11));
  const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return LastSystemError();
  ::close(fd);
  ::unlink(probe.c_str());
  return {};
}

std::string_view FileNameLengthUnit() { return "bytes"; }

size_t LongestFileName(const fs::path& folder) {
  const long longest = ::pathconf(folder.empty() ? "." : folder.c_str(), _PC_NAME_MAX);
  return longest > 0 ? static_cast<size_t>(longest) : 255;
}

std::string FolderRefusal(const fs::path& folder) {
  const std::string kernel = KernelFileSystemOfPath(folder);
  if (kernel.empty()) return "";
  return "the folder " + Quoted(folder) + " is on a device or kernel file system (" + kernel +
         "), where no file is ever written";
}

std::string ReplaceRefusal(const fs::path& target) {
  const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
  const int folder_fd = ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  if (folder_fd < 0) return "";  // the checks of the folder tell
  Replaced replaced;
  std::string refusal = Refusal(folder_fd, folder, target.filename().string(), replaced);
  ::close(folder_fd);
  return refusal;
}

OutputFile::OutputFile(const fs::path& target, bool overwrite, std::string_view what)
    : target_(target), state_(std::make_unique<State>()) {
  State& s = *state_;
  s.overwrite = overwrite;
  s.what = std::string(what);
  s.folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
  s.name = target.filename().string();
  if (s.name.empty() || s.name == "." || s.name == "..")
    Fail(what, target, "it is not a file name");

  s.folder_fd = ::open(s.folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  if (s.folder_fd < 0) {
    const int error = errno;
    if (error == ENOENT) Fail(what, target, "the folder " + Quoted(s.folder) + " does not exist");
    if (error == ENOTDIR) Fail(what, target, Quoted(s.folder) + " is not a folder");
    Fail(what, target, "cannot open the folder " + Quoted(s.folder) + ": " + FailureReason(error));
  }
  s.CheckTarget(target);
  RemoveLeftovers(s.folder_fd);

  // The private folder: made here, so nobody else can have made it.
  for (int attempt = 0; !s.MakePrivateFolder(target); ++attempt) {
    if (attempt == 100) {
      Fail(what, target,
           "cannot create a file in " + Quoted(s.folder) + ": " + FailureReason(EEXIST));
    }
  }
  s.Arm();
  s.fd = ::openat(s.private_fd, kTemporaryFileName.data(),
                  O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (s.fd < 0) {
    const int error = errno;
    s.Remove();
    s.Disarm();
    Fail(what, target, "cannot create a file in " + Quoted(s.folder) + ": " + FailureReason(error));
  }
}

OutputFile::~OutputFile() {
  if (state_->slot != nullptr || state_->fd >= 0) {
    state_->Remove();
    state_->Disarm();
  }
}

fs::path OutputFile::TemporaryPath() const {
  return state_->folder / state_->private_name / kTemporaryFileName;
}

void OutputFile::Write(std::span<const uint8_t> data) {
  const uint8_t* at = data.data();
  size_t left = data.size();
  while (left > 0) {
    const ssize_t written = ::write(state_->fd, at, left);
    if (written < 0) {
      if (errno == EINTR) continue;
      Fail(state_->what, target_, FailureReason(errno));
    }
    if (written == 0) Fail(state_->what, target_, FailureReason(ENOSPC));
    at += written;
    left -= static_cast<size_t>(written);
  }
}

void OutputFile::Publish() {
  State& s = *state_;
  // The file under the temporary name must still be the one written.
  struct stat written {
  }, named{};
  if (::fstat(s.fd, &written) != 0 ||
      ::fstatat(s.private_fd, kTemporaryFileName.data(), &named, AT_SYMLINK_NOFOLLOW) != 0 ||
      written.st_dev != named.st_dev || written.st_ino != named.st_ino) {
    Fail(s.what, target_, "the temporary file was removed or replaced while it was written");
  }
  const Replaced replaced = s.CheckTarget(target_);
  if (replaced.exists) {
    s.TakeOverPermissions(replaced.file);
    // The data is on the disk before the name of a file the user had points
    // to it.
    if (::fsync(s.fd) != 0) Fail(s.what, target_, FailureReason(errno));
  }
  const int fd = s.fd;
  s.fd = -1;
  if (::close(fd) != 0 && errno != EINTR) Fail(s.what, target_, FailureReason(errno));

  int result = 0;
  if (s.overwrite) {
    result = ::renameat(s.private_fd, kTemporaryFileName.data(), s.folder_fd, s.name.c_str());
  } else {
    result = ::renameat2(s.private_fd, kTemporaryFileName.data(), s.folder_fd, s.name.c_str(),
                         RENAME_NOREPLACE);
    if (result != 0 && (errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP)) {
      // The file system cannot rename without replacing: a hard link fails
      // just as atomically when the name is taken.
      result = ::linkat(s.private_fd, kTemporaryFileName.data(), s.folder_fd, s.name.c_str(), 0);
      if (result == 0) ::unlinkat(s.private_fd, kTemporaryFileName.data(), 0);
    }
  }
  if (result != 0) {
    const int error = errno;
    if (error == EEXIST) FailExists(target_);
    if (error == ENOENT) {
      Fail(s.what, target_,
           "the folder " + Quoted(s.folder) + " was removed while the file was written");
    }
    Fail(s.what, target_, FailureReason(error));
  }
  ::unlinkat(s.folder_fd, s.private_name.c_str(), AT_REMOVEDIR);
  s.Disarm();
}

}  // namespace statcrane
