#include <fcntl.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string_view>
#include <system_error>

#include "util/platform_desktop.h"
#include "util/platform_errors.h"

namespace statcrane {

namespace fs = std::filesystem;

namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

fs::path ConfigurationHome() {
  const fs::path configured = Environment("XDG_CONFIG_HOME");
  return configured.is_absolute() ? configured : HomeFolder() / ".config";
}

bool IsFolder(const fs::path& path) {
  std::error_code error;
  return !path.empty() && fs::is_directory(path, error);
}

// XDG_DOCUMENTS_DIR of user-dirs.dirs: a line `XDG_DOCUMENTS_DIR="$HOME/Documents"`.
std::optional<fs::path> UserDirsDocuments() {
  std::ifstream in(ConfigurationHome() / "user-dirs.dirs");
  std::string line;
  constexpr std::string_view kKey = "XDG_DOCUMENTS_DIR=\"";
  while (std::getline(in, line)) {
    if (!line.starts_with(kKey)) continue;
    std::string value = line.substr(kKey.size());
    const size_t quote = value.rfind('"');
    if (quote == std::string::npos) return std::nullopt;
    value.resize(quote);
    if (value.starts_with("$HOME/")) return HomeFolder() / value.substr(6);
    if (value.starts_with("/")) return fs::path(value);
    return std::nullopt;
  }
  return std::nullopt;
}

// The program `name` in a folder of PATH.
std::optional<fs::path> FindInPath(std::string_view name) {
  const std::string path = Environment("PATH");
  std::string_view folders = path.empty() ? std::string_view("/usr/bin:/bin") : path;
  while (!folders.empty()) {
    const size_t end = std::min(folders.find(':'), folders.size());
    const fs::path candidate = fs::path(folders.substr(0, end)) / name;
    if (::access(candidate.c_str(), X_OK) == 0) return candidate;
    folders.remove_prefix(std::min(end + 1, folders.size()));
  }
  return std::nullopt;
}

// The desktop's default application for files of the type `mime`, as
// xdg-mime names it ("" for none); nullopt when xdg-mime cannot tell.
std::optional<std::string> DefaultApplication(const char* mime) {
  const std::optional<fs::path> xdg_mime = FindInPath("xdg-mime");
  int pipe_fds[2];
  if (!xdg_mime || ::pipe2(pipe_fds, O_CLOEXEC) != 0) return std::nullopt;
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(pipe_fds[1], STDOUT_FILENO);
    if (const int null = ::open("/dev/null", O_WRONLY); null >= 0) ::dup2(null, STDERR_FILENO);
    ::execl(xdg_mime->c_str(), "xdg-mime", "query", "default", mime, static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::close(pipe_fds[1]);
  std::string answer;
  char buffer[512];
  for (ssize_t n; pid > 0 && (n = ::read(pipe_fds[0], buffer, sizeof buffer)) != 0;) {
    if (n < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (answer.size() < 4096) answer.append(buffer, static_cast<size_t>(n));
  }
  ::close(pipe_fds[0]);
  if (pid < 0) return std::nullopt;
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
  while (!answer.empty() && std::isspace(static_cast<unsigned char>(answer.back())))
    answer.pop_back();
  return answer;
}

}  // namespace

fs::path ProgramFolder() {
  std::error_code error;
  const fs::path program = fs::read_symlink("/proc/self/exe", error);
  return error ? fs::path() : program.parent_path();
}

fs::path HomeFolder() {
  if (const std::string home = Environment("HOME"); !home.empty()) return home;
  if (const passwd* user = ::getpwuid(::geteuid()); user != nullptr && user->pw_dir != nullptr) {
    return user->pw_dir;
  }
  return "/";
}

fs::path UserSettingsFolder() { return ConfigurationHome() / "StatCrane"; }

fs::path DocumentsFolder() {
  if (const std::optional<fs::path> documents = UserDirsDocuments();
      documents && IsFolder(*documents)) {
    return *documents;
  }
  if (IsFolder(HomeFolder() / "Documents")) return HomeFolder() / "Documents";
  return HomeFolder();
}

std::string OpenInDesktopApplication(const fs::path& file) {
  // The desktop's opener, from PATH.
  const std::optional<fs::path> opener = FindInPath("xdg-open");
  if (!opener) return "no desktop opener (xdg-open) was found";
  // xdg-open does not tell when nothing opens the file (it may wait for
  // the application it starts): the desktop's choice is asked first.
  std::string extension = file.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(), [](char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  });
  if (extension == ".xlsx") {
    const std::optional<std::string> application =
        DefaultApplication("application/vnd.openxmlformats-officedocument.spreadsheetml.sheet");
    if (application && application->empty()) return "no application is set to open .xlsx files";
  }

  // The opener runs in a grandchild, in a session of its own. The child
  // that starts it ends at once and is waited for here; the grandchild is
  // left to the system, which reaps it, so no opener that ended stays
  // behind as a zombie of this long-lived process. A pipe closed on exec
  // tells whether it started: end of file when it did, its errno when not.
  int report[2];
  if (::pipe2(report, O_CLOEXEC) != 0) {
    return "cannot start " + opener->string() + ": " + FailureReason(errno);
  }
  // Only async-signal-safe calls between fork and exec: what they need is
  // made here.
  const char* const program = opener->c_str();
  const char* const argument = file.c_str();
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(report[0]);
    const pid_t grandchild = ::fork();
    if (grandchild == 0) {
      ::setsid();
      ::execl(program, "xdg-open", argument, static_cast<char*>(nullptr));
    }
    if (grandchild <= 0) {
      const int error = errno;
      [[maybe_unused]] const ssize_t written = ::write(report[1], &error, sizeof error);
    }
    ::_exit(grandchild == 0 ? 127 : 0);
  }
  const int fork_error = errno;
  ::close(report[1]);
  if (child < 0) {
    ::close(report[0]);
    return "cannot start " + opener->string() + ": " + FailureReason(fork_error);
  }
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  int error = 0;
  ssize_t got = 0;
  while ((got = ::read(report[0], &error, sizeof error)) < 0 && errno == EINTR) {
  }
  ::close(report[0]);
  if (got == static_cast<ssize_t>(sizeof error)) {
    return "cannot start " + opener->string() + ": " + FailureReason(error);
  }
  return "";
}

}  // namespace statcrane
