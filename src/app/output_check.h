// The checks made before a run starts, so that a workbook that cannot be
// written is found before the encyclopedia is read. Both front-ends use
// them: the command line for -o, the window for its workbook folder (when
// chosen and before each run). Each returns "" when all is well, otherwise
// the message for the user.
#pragma once

#include <filesystem>
#include <string>

namespace statcrane {

// The folder exists, is a folder and a new file can be made in it (tried
// with a scratch file that is removed at once, since permission bits do not
// tell for the superuser or for file systems such as /proc).
std::string CheckOutputFolder(const std::filesystem::path& folder);

// The workbook `file` can be written: its folder passes CheckOutputFolder,
// it is not a folder, a device or a pipe, and it does not exist unless
// `overwrite` (an existing workbook is replaced only when asked).
std::string CheckOutputFile(const std::filesystem::path& file, bool overwrite);

// The workbook `file` is none of the encyclopedia's files, whose game only
// reads them: not the same file as one of them (also through a link or
// another name for it), and, in the encyclopedia's folder, not one of the
// six names in any mix of capitals, whether a file has it or not. With or
// without permission to replace.
std::string CheckNotEncyclopediaFile(const std::filesystem::path& encyclopedia_folder,
                                     const std::filesystem::path& file);

// The name of `file` is not longer than its folder's file system takes.
std::string CheckNameLength(const std::filesystem::path& file);

// The command line's rules for the name it is given: a file name (not "-",
// standard output) that ends in .xlsx, by which spreadsheet applications
// know a workbook.
std::string CheckWorkbookName(const std::filesystem::path& file);

// What a run checks before it reads anything, in this order:
// CheckNotEncyclopediaFile, CheckNameLength, CheckOutputFile.
std::string CheckBeforeReading(const std::filesystem::path& encyclopedia_folder,
                               const std::filesystem::path& file, bool overwrite);

// The encyclopedia folder exists, can be listed and holds encteam.dat.
std::string CheckEncyclopediaFolder(const std::filesystem::path& folder);

// The window's check of the encyclopedia folder: whether Process may run on
// it, and the line shown under the path: why not ("This folder does not
// exist."), which encyclopedia files are missing, or "" when all are there.
struct FolderVerdict {
  bool process_allowed = false;
  std::string hint;
};
FolderVerdict JudgeEncyclopediaFolder(const std::filesystem::path& folder);

}  // namespace statcrane
