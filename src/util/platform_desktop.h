// The desktop the program runs on: its folders and its applications
// (platform_desktop_posix.cc, platform_desktop_windows.cc).
#pragma once

#include <filesystem>
#include <string>

namespace statcrane {

// The folder that holds the running program; empty when the system does
// not tell.
std::filesystem::path ProgramFolder();

// The user's home folder (the profile folder on Windows).
std::filesystem::path HomeFolder();

// Where this program keeps the user's settings: $XDG_CONFIG_HOME/StatCrane
// (~/.config/StatCrane) on POSIX systems, %APPDATA%\StatCrane on Windows.
// Not created here.
std::filesystem::path UserSettingsFolder();

// The user's documents folder (XDG_DOCUMENTS_DIR of user-dirs.dirs, then
// ~/Documents; the Documents known folder on Windows); the home folder when
// there is none.
std::filesystem::path DocumentsFolder();

// Opens `file` in the desktop's application for its kind, without waiting
// for it. "" when the application was started, otherwise why not ("no
// desktop opener (xdg-open) was found").
std::string OpenInDesktopApplication(const std::filesystem::path& file);

}  // namespace statcrane
