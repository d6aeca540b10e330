// The remembered settings: "data/STATCRANE.txt" beside the program holds the
// encyclopedia folder of the last completed run, so the window opens on it at
// the next start, followed by the window's other settings.
//
// The first line is the folder in double quotes followed by CR LF; it is read
// back by skipping leading blanks and taking the text between the quotes. A
// file holding only that line is a complete file. Each further line is one
// setting: its name, a blank, the value in double quotes, CR LF
// (`workbook-folder "/home/me/Workbooks"`). Names this program does not know
// are kept as they are when the file is written again, so a later version's
// settings survive an earlier version, and an earlier version reads only the
// first line.
//
// Between the quotes, '%', '"' and control characters (line breaks, tabs) are
// written as %XX (hexadecimal), so that every value, also a folder whose name
// holds a line break or a quote, is one line and reads back as one value. A
// '%' not followed by two hexadecimal digits reads as itself.
//
// The file is read only when it is a regular file of at most
// kMaxSettingsBytes, opened without blocking: a folder, pipe, device or
// anything larger is ignored, and the window starts as on a first start.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/processing_run.h"

namespace statcrane {

inline constexpr std::string_view kDataFolderName = "data";
inline constexpr std::string_view kRememberedFolderFileName = "STATCRANE.txt";
// Where earlier versions kept the workbook folder; read when the settings
// have none.
inline constexpr std::string_view kOutputFolderFileName = "OUTPUT.txt";
inline constexpr size_t kMaxSettingsBytes = 16 * 1024;
// The setting that holds the window's workbook folder.
inline constexpr std::string_view kWorkbookFolderSetting = "workbook-folder";
// The setting that holds the window's "Player index" choice of the last
// completed run: "1" checked, "0" not.
inline constexpr std::string_view kPlayerIndexSetting = "player-index";
// The window's "Leaders" choice of the last completed run: "1" checked, "0"
// not.
inline constexpr std::string_view kLeadersSetting = "leaders";
// The window's "Spreadsheets Desired" choice of the last completed run:
// "players-and-teams", "teams-only" or "players-only" (the command line's words).
inline constexpr std::string_view kSheetsSetting = "sheets";
// The window's "Spreadsheet Viewing" choice of the last completed run:
// "view-after-completed" or "dont-open".
inline constexpr std::string_view kViewingSetting = "viewing";

// The line written for `folder`: "\"<folder>\"\r\n" (the path as UTF-8,
// encoded as above).
std::string FormatRememberedValue(const std::filesystem::path& folder);

// The folder a file's content names: leading blanks (spaces, tabs, line
// breaks) skipped, then the text between the double quotes. A value without
// an opening quote runs to the end of its line; one without a closing quote
// to the end of the content. nullopt when the value is empty.
std::optional<std::filesystem::path> ParseRememberedValue(std::string_view content);

struct RememberedSettings {
  std::optional<std::filesystem::path> folder;
  // Name and value of each further line, in file order.
  std::vector<std::pair<std::string, std::string>> values;

  std::optional<std::string> Get(std::string_view name) const;
  void Set(std::string_view name, std::string_view value);
};

std::string FormatRememberedSettings(const RememberedSettings& settings);
// Lines that are not `name "value"` are ignored.
RememberedSettings ParseRememberedSettings(std::string_view content);

// The content of `file` when it is a regular file (after following links) of
// at most `max_bytes`; nullopt otherwise, or when it cannot be read. Never
// blocks on a pipe and never reads more than `max_bytes` bytes.
std::optional<std::string> ReadSmallRegularFile(const std::filesystem::path& file,
                                                size_t max_bytes);

// Where the settings live and how they are read and written.
//
// The file belongs in `program_folder`/data. When that folder cannot be
// created or written (an installed program), or the entry of the file's name
// there is not a regular file, it lives in `fallback_folder` instead (the
// user's configuration folder). An empty `program_folder` means the
// fallback folder only (an installed program). Files are written whole under a scratch name
// and renamed into place.
class RememberedFolderFile : public RememberedFolder {
 public:
  RememberedFolderFile(std::filesystem::path program_folder, std::filesystem::path fallback_folder);

  // Finds the file and restores the remembered folder. On first start (no
  // file in either place) creates the file holding the program's own folder
  // and returns nullopt. Never throws: when neither place can hold the file,
  // problem() says so and nothing is remembered.
  std::optional<std::filesystem::path> ReadFolder();

  // Saves `folder` as the remembered folder, keeping the other settings.
  // Throws StatCraneError when the file cannot be written.
  void Save(const std::filesystem::path& folder) override;

  // A setting of the file; nullopt when it has none.
  std::optional<std::string> ReadSetting(std::string_view name);
  // Throws StatCraneError when the file cannot be written.
  void SaveSetting(std::string_view name, std::string_view value);

  // The window's workbook folder (the setting, or an earlier version's
  // OUTPUT.txt); nullopt when none was saved.
  std::optional<std::filesystem::path> ReadOutputFolder();
  void SaveOutputFolder(const std::filesystem::path& folder);

  // Why nothing can be remembered; "" when the file has a place.
  const std::string& problem() const { return problem_; }
  // The folder holding the file, once found (empty before, or without one).
  const std::filesystem::path& data_folder() const { return data_folder_; }
  std::filesystem::path file() const {
    return data_folder_ / std::string(kRememberedFolderFileName);
  }

 private:
  // Finds the folder that holds (or can hold) the file and reads it, creating
  // it on first start. Returns true when it was created.
  bool Locate();
  void Write();

  std::filesystem::path program_folder_;
  std::filesystem::path fallback_folder_;
  std::filesystem::path data_folder_;
  bool located_ = false;
  std::string problem_;
  RememberedSettings settings_;
};

}  // namespace statcrane
