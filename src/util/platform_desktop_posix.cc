#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <string_view>
#include <system_error>

#include "util/platform_desktop.h"

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
  const std::string path = Environment("PATH");
  std::string_view folders = path.empty() ? std::string_view("/usr/bin:/bin") : path;
  std::optional<fs::path> opener;
  while (!folders.empty() && !opener) {
    const size_t end = std::min(folders.find(':'), folders.size());
    const fs::path candidate = fs::path(folders.substr(0, end)) / "xdg-open";
    if (::access(candidate.c_str(), X_OK) == 0) opener = candidate;
    folders.remove_prefix(std::min(end + 1, folders.size()));
  }
  if (!opener) return "no desktop opener (xdg-open) was found";
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::setsid();
    ::execl(opener->c_str(), "xdg-open", file.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  if (pid < 0) return "cannot start " + opener->string();
  return "";
}

}  // namespace statcrane
