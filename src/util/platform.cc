#include "util/platform.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <random>
#include <string_view>

#include "util/error.h"

#if !defined(STATCRANE_PORTABLE_PLATFORM) && __has_include(<unistd.h>)
#define STATCRANE_POSIX_PLATFORM 1
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace statcrane {

namespace fs = std::filesystem;

std::string FailureReason(int error) {
  switch (error) {
    case ENOSPC:
      return "the disk is full";
#ifdef EDQUOT
    case EDQUOT:
      return "the disk quota is used up";
#endif
    case EFBIG:
      return "the file would be larger than this system allows";
    case EACCES:
    case EPERM:
      return "permission denied";
    case EROFS:
      return "the disk is read-only";
    case ENOENT:
      return "the folder does not exist";
    case ENOTDIR:
      return "a part of the path is not a folder";
    case ENAMETOOLONG:
      return "the name is too long";
    case EIO:
      return "the disk reported an input/output error";
    case EISDIR:
      return "it is a folder";
    case ENOMEM:
      return "out of memory";
    case EMFILE:
    case ENFILE:
      return "too many open files";
#ifdef ELOOP
    case ELOOP:
      return "too many levels of symbolic links";
#endif
    case EXDEV:
      return "the temporary file is on another disk";
    case EBUSY:
      return "the file is in use";
    default:
      return std::strerror(error);
  }
}

namespace {

std::string Quoted(const fs::path& path) { return "\"" + path.string() + "\""; }

[[noreturn]] void Fail(const fs::path& target, const std::string& reason) {
  throw StatCraneError("cannot save the workbook as " + Quoted(target) + ": " + reason);
}

std::string RandomSuffix() {
  static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  thread_local std::mt19937 random{std::random_device{}()};
  std::string suffix;
  for (int i = 0; i < 8; ++i) suffix += kLetters[random() % 36];
  return suffix;
}

}  // namespace

#ifdef STATCRANE_POSIX_PLATFORM

namespace {

constexpr const char* kTemporaryName = "workbook.xlsx";

// What the signal handler removes: slots filled while an OutputFile lives.
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
    ::unlinkat(slot.private_fd, kTemporaryName, 0);
    ::unlinkat(slot.folder_fd, slot.private_name, AT_REMOVEDIR);
  }
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

std::string_view KindName(mode_t mode) {
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISFIFO(mode)) return "a named pipe (FIFO)";
  if (S_ISCHR(mode)) return "a character device";
  if (S_ISBLK(mode)) return "a block device";
  if (S_ISSOCK(mode)) return "a socket";
  return "not a regular file";
}

}  // namespace

struct OutputFile::State {
  fs::path folder;
  std::string name;          // the target's name in its folder
  std::string private_name;  // the private folder's name
  int folder_fd = -1;
  int private_fd = -1;
  int fd = -1;
  bool overwrite = false;
  bool replacing = false;  // a file had the target name when writing began
  SignalSlot* slot = nullptr;

  // Refuses a target that may not be replaced.
  void CheckTarget(const fs::path& target) {
    struct stat entry {};
    if (::fstatat(folder_fd, name.c_str(), &entry, AT_SYMLINK_NOFOLLOW) != 0) {
      if (errno == ENOENT) return;
      Fail(target, FailureReason(errno));
    }
    if (S_ISLNK(entry.st_mode)) {
      struct stat linked {};
      if (::fstatat(folder_fd, name.c_str(), &linked, 0) != 0) {
        Fail(target,
             "it is a symbolic link to something that does not exist; it was left as it was");
      }
      if (!S_ISREG(linked.st_mode)) {
        Fail(target, "it is a symbolic link to " + std::string(KindName(linked.st_mode)) +
                         ", which is never replaced");
      }
    } else if (!S_ISREG(entry.st_mode)) {
      Fail(target, "it is " + std::string(KindName(entry.st_mode)) + ", which is never replaced");
    }
    if (!overwrite) {
      throw StatCraneError("the file " + Quoted(target) + " already exists; it was left as it was");
    }
    replacing = true;
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
      ::unlinkat(private_fd, kTemporaryName, 0);
      ::unlinkat(folder_fd, private_name.c_str(), AT_REMOVEDIR);
    }
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

OutputFile::OutputFile(const fs::path& target, bool overwrite)
    : target_(target), state_(std::make_unique<State>()) {
  State& s = *state_;
  s.overwrite = overwrite;
  s.folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
  s.name = target.filename().string();
  if (s.name.empty() || s.name == "." || s.name == "..") Fail(target, "it is not a file name");

  s.folder_fd = ::open(s.folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  if (s.folder_fd < 0) {
    const int error = errno;
    if (error == ENOENT) Fail(target, "the folder " + Quoted(s.folder) + " does not exist");
    if (error == ENOTDIR) Fail(target, Quoted(s.folder) + " is not a folder");
    Fail(target, "cannot open the folder " + Quoted(s.folder) + ": " + FailureReason(error));
  }
  s.CheckTarget(target);

  // The private folder: made here, so nobody else can have made it.
  for (int attempt = 0;; ++attempt) {
    s.private_name = ".statcrane-" + RandomSuffix();
    if (::mkdirat(s.folder_fd, s.private_name.c_str(), 0700) == 0) break;
    if (errno != EEXIST || attempt == 100) {
      Fail(target, "cannot create a file in " + Quoted(s.folder) + ": " + FailureReason(errno));
    }
  }
  s.private_fd =
      ::openat(s.folder_fd, s.private_name.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  struct stat made {};
  if (s.private_fd < 0 || ::fstat(s.private_fd, &made) != 0 || !S_ISDIR(made.st_mode) ||
      made.st_uid != ::geteuid() || (made.st_mode & 077) != 0) {
    if (s.private_fd >= 0) ::close(s.private_fd);
    s.private_fd = -1;
    ::unlinkat(s.folder_fd, s.private_name.c_str(), AT_REMOVEDIR);
    Fail(target, "the temporary folder in " + Quoted(s.folder) +
                     " was replaced by someone else while it was made");
  }
  s.Arm();
  s.fd = ::openat(s.private_fd, kTemporaryName,
                  O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (s.fd < 0) {
    const int error = errno;
    s.Remove();
    s.Disarm();
    Fail(target, "cannot create a file in " + Quoted(s.folder) + ": " + FailureReason(error));
  }
}

OutputFile::~OutputFile() {
  if (state_->slot != nullptr || state_->fd >= 0) {
    state_->Remove();
    state_->Disarm();
  }
}

fs::path OutputFile::TemporaryPath() const {
  return state_->folder / state_->private_name / kTemporaryName;
}

void OutputFile::Write(std::span<const uint8_t> data) {
  const uint8_t* at = data.data();
  size_t left = data.size();
  while (left > 0) {
    const ssize_t written = ::write(state_->fd, at, left);
    if (written < 0) {
      if (errno == EINTR) continue;
      Fail(target_, FailureReason(errno));
    }
    if (written == 0) Fail(target_, FailureReason(ENOSPC));
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
      ::fstatat(s.private_fd, kTemporaryName, &named, AT_SYMLINK_NOFOLLOW) != 0 ||
      written.st_dev != named.st_dev || written.st_ino != named.st_ino) {
    Fail(target_, "the temporary file was removed or replaced while the workbook was written");
  }
  // The data is on the disk before the name of a file the user had points
  // to it.
  if (s.replacing && ::fsync(s.fd) != 0) Fail(target_, FailureReason(errno));
  const int fd = s.fd;
  s.fd = -1;
  if (::close(fd) != 0 && errno != EINTR) Fail(target_, FailureReason(errno));
  s.CheckTarget(target_);

  int result = 0;
  if (s.overwrite) {
    result = ::renameat(s.private_fd, kTemporaryName, s.folder_fd, s.name.c_str());
  } else {
    result =
        ::renameat2(s.private_fd, kTemporaryName, s.folder_fd, s.name.c_str(), RENAME_NOREPLACE);
    if (result != 0 && (errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP)) {
      // The file system cannot rename without replacing: a hard link fails
      // just as atomically when the name is taken.
      result = ::linkat(s.private_fd, kTemporaryName, s.folder_fd, s.name.c_str(), 0);
      if (result == 0) ::unlinkat(s.private_fd, kTemporaryName, 0);
    }
  }
  if (result != 0) {
    const int error = errno;
    if (error == EEXIST) {
      throw StatCraneError("the file " + Quoted(target_) +
                           " already exists; it was left as it was");
    }
    if (error == ENOENT) {
      Fail(target_,
           "the folder " + Quoted(s.folder) + " was removed while the workbook was written");
    }
    Fail(target_, FailureReason(error));
  }
  ::unlinkat(s.folder_fd, s.private_name.c_str(), AT_REMOVEDIR);
  s.Disarm();
}

#else  // the portable fallback

// Without the POSIX calls: the temporary file is created exclusively ("x")
// in the target's folder and written through the stream it was opened with;
// the check of the target and the rename are not one atomic step, and an
// interrupting signal leaves the temporary file behind.
struct OutputFile::State {
  fs::path temporary;
  std::FILE* file = nullptr;
  bool overwrite = false;
  bool published = false;

  static std::string KindName(const fs::file_status& status) {
    switch (status.type()) {
      case fs::file_type::directory:
        return "a folder";
      case fs::file_type::fifo:
        return "a named pipe (FIFO)";
      case fs::file_type::character:
        return "a character device";
      case fs::file_type::block:
        return "a block device";
      case fs::file_type::socket:
        return "a socket";
      default:
        return "not a regular file";
    }
  }

  void CheckTarget(const fs::path& target) {
    std::error_code error;
    const fs::file_status entry = fs::symlink_status(target, error);
    if (!fs::exists(entry)) return;
    const fs::file_status linked = fs::status(target, error);
    if (fs::is_symlink(entry) && !fs::exists(linked)) {
      Fail(target, "it is a symbolic link to something that does not exist; it was left as it was");
    }
    if (!fs::is_regular_file(linked)) {
      Fail(target, std::string(fs::is_symlink(entry) ? "it is a symbolic link to " : "it is ") +
                       KindName(linked) + ", which is never replaced");
    }
    if (!overwrite) {
      throw StatCraneError("the file " + Quoted(target) + " already exists; it was left as it was");
    }
  }
};

bool PathEntryExists(const fs::path& path) {
  std::error_code error;
  return fs::exists(fs::symlink_status(path, error));
}

OutputFile::OutputFile(const fs::path& target, bool overwrite)
    : target_(target), state_(std::make_unique<State>()) {
  State& s = *state_;
  s.overwrite = overwrite;
  const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
  std::error_code error;
  const fs::file_status folder_status = fs::status(folder, error);
  if (!fs::exists(folder_status)) Fail(target, "the folder " + Quoted(folder) + " does not exist");
  if (!fs::is_directory(folder_status)) Fail(target, Quoted(folder) + " is not a folder");
  s.CheckTarget(target);
  for (int attempt = 0; s.file == nullptr; ++attempt) {
    s.temporary = folder / ("~sc" + RandomSuffix() + ".tmp");
    errno = 0;
    s.file = std::fopen(s.temporary.string().c_str(), "wbx");
    if (s.file == nullptr && (attempt == 100 || (errno != EEXIST && errno != 0))) {
      Fail(target, "cannot create a file in " + Quoted(folder) + ": " + FailureReason(errno));
    }
  }
#ifdef SIGXFSZ
  std::signal(SIGXFSZ, SIG_IGN);
#endif
}

OutputFile::~OutputFile() {
  if (state_->file != nullptr) std::fclose(state_->file);
  if (!state_->published) {
    std::error_code error;
    fs::remove(state_->temporary, error);
  }
}

fs::path OutputFile::TemporaryPath() const { return state_->temporary; }

void OutputFile::Write(std::span<const uint8_t> data) {
  errno = 0;
  if (std::fwrite(data.data(), 1, data.size(), state_->file) != data.size()) {
    Fail(target_, FailureReason(errno != 0 ? errno : EIO));
  }
}

void OutputFile::Publish() {
  State& s = *state_;
  errno = 0;
  const int closed = std::fclose(s.file);
  s.file = nullptr;
  if (closed != 0) Fail(target_, FailureReason(errno != 0 ? errno : EIO));
  s.CheckTarget(target_);
  if (!s.overwrite && PathEntryExists(target_)) {
    throw StatCraneError("the file " + Quoted(target_) + " already exists; it was left as it was");
  }
  std::error_code error;
  fs::rename(s.temporary, target_, error);
  if (error) Fail(target_, FailureReason(error.value()));
  s.published = true;
}

#endif

}  // namespace statcrane
