// The remembered folder: "data/STATCRANE.txt" beside the program holds the
// encyclopedia folder of the last completed run, so the window opens on it at
// the next start. The window's output folder is kept the same way, in
// "data/OUTPUT.txt" beside it.
//
// Each file holds one line: the folder in double quotes followed by CR LF.
// It is read back by skipping leading blanks and taking the text between the
// quotes.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "app/processing_run.h"

namespace statcrane {

inline constexpr std::string_view kDataFolderName = "data";
inline constexpr std::string_view kRememberedFolderFileName = "STATCRANE.txt";
inline constexpr std::string_view kOutputFolderFileName = "OUTPUT.txt";

// The line written for `folder`: "\"<folder>\"\r\n" (the path as UTF-8).
std::string FormatRememberedValue(const std::filesystem::path& folder);

// The folder a file's content names: leading blanks (spaces, tabs, line
// breaks) skipped, then the text between the double quotes. A value without
// an opening quote runs to the end of its line; one without a closing quote
// to the end of the content. nullopt when the value is empty.
std::optional<std::filesystem::path> ParseRememberedValue(std::string_view content);

// Where the files live and how they are read and written.
//
// The files belong in `program_folder`/data. When that folder cannot be
// created or the file in it cannot be written (an installed program), they
// live in `fallback_folder` instead (the user's configuration folder).
class RememberedFolderFile : public RememberedFolder {
 public:
  RememberedFolderFile(std::filesystem::path program_folder, std::filesystem::path fallback_folder);

  // Restores the remembered folder. On first start (no file in either place)
  // creates the folder and the file holding the program's own folder and
  // returns nullopt. Throws StatCraneError (75) when neither place can be
  // written, or when the file exists but cannot be read.
  std::optional<std::filesystem::path> read_path();

  // Saves `folder` as the remembered folder, replacing the file's content.
  // Called by the run on its own thread; throws StatCraneError (75) when the
  // file cannot be written.
  void Save(const std::filesystem::path& folder) override;

  // The output folder kept beside the remembered folder; nullopt when none
  // was saved (or the file cannot be read).
  std::optional<std::filesystem::path> ReadOutputFolder();
  // Throws StatCraneError (75) when the file cannot be written.
  void SaveOutputFolder(const std::filesystem::path& folder);

  // The folder holding the files, once found (empty before the first call
  // above).
  const std::filesystem::path& data_folder() const { return data_folder_; }
  std::filesystem::path file() const {
    return data_folder_ / std::string(kRememberedFolderFileName);
  }

 private:
  // Finds the folder that holds (or can hold) the remembered-folder file,
  // creating the file on first start. Returns true when it was created.
  bool Locate();

  std::filesystem::path program_folder_;
  std::filesystem::path fallback_folder_;
  std::filesystem::path data_folder_;
};

}  // namespace statcrane
