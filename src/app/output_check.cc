#include "app/output_check.h"

#include <string_view>
#include <system_error>

#include "encyclopedia/encyclopedia_folder.h"
#include "util/platform_errors.h"
#include "util/platform_files.h"

namespace statcrane {
namespace {

namespace fs = std::filesystem;

std::string Quoted(const fs::path& path) { return "\"" + path.string() + "\""; }

}  // namespace

std::string CheckOutputFolder(const fs::path& folder) {
  std::error_code ec;
  const fs::file_status status = fs::status(folder, ec);
  if (!fs::exists(status)) return "The folder " + Quoted(folder) + " does not exist.";
  if (!fs::is_directory(status)) return Quoted(folder) + " is not a folder.";
  if (std::string refusal = FolderRefusal(folder); !refusal.empty()) {
    refusal[0] = 'T';
    return refusal + ".";
  }
  if (const std::error_code error = TryCreatingFileIn(folder)) {
    return "The folder " + Quoted(folder) + " cannot take a new file: " + FailureReason(error) +
           ".";
  }
  return "";
}

std::string CheckOutputFile(const fs::path& file, bool overwrite) {
  if (file.empty()) return "No workbook file was given.";
  std::error_code ec;
  const fs::file_status status = fs::status(file, ec);
  if (fs::is_directory(status)) return Quoted(file) + " is a folder, not a workbook file.";
  if (fs::exists(status) && !fs::is_regular_file(status)) {
    return Quoted(file) +
           " is not a regular file (a device, pipe or socket); choose a workbook file.";
  }
  const bool present = fs::exists(fs::symlink_status(file, ec));
  if (std::string refusal = ReplaceRefusal(file); !refusal.empty()) {
    return (present ? "Cannot replace " : "Cannot write ") + Quoted(file) + ": " + refusal + ".";
  }
  if (present && !overwrite) {
    return "The workbook " + Quoted(file) + " exists already; use --force to replace it.";
  }
  const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
  if (std::string problem = CheckOutputFolder(folder); !problem.empty()) {
    return "Cannot write " + Quoted(file) + ". " + problem;
  }
  return "";
}

std::string CheckEncyclopediaFolder(const fs::path& folder) {
  std::error_code ec;
  const fs::file_status status = fs::status(folder, ec);
  if (!fs::exists(status)) return "The folder " + Quoted(folder) + " does not exist.";
  if (!fs::is_directory(status)) return Quoted(folder) + " is not a folder.";
  if (const fs::directory_iterator listing(folder, ec); ec) {
    return "The folder " + Quoted(folder) + " cannot be read: " + FailureReason(ec) + ".";
  }
  if (!EncyclopediaFolder(folder).HasTeamFile()) {
    return "The folder " + Quoted(folder) +
           " holds no encteam.dat: it is not an encyclopedia folder.";
  }
  return "";
}

FolderVerdict JudgeEncyclopediaFolder(const fs::path& folder) {
  FolderVerdict verdict;
  if (folder.empty()) {
    verdict.hint = "Choose the encyclopedia folder.";
    return verdict;
  }
  std::error_code ec;
  const fs::file_status status = fs::status(folder, ec);
  const bool missing =
      ec == std::errc::no_such_file_or_directory || ec == std::errc::not_a_directory;
  if (ec && !missing) {
    verdict.hint = "This folder cannot be read.";
  } else if (!fs::exists(status)) {
    verdict.hint = "This folder does not exist.";
  } else if (!fs::is_directory(status)) {
    verdict.hint = "This is a file, not a folder.";
  } else if (fs::directory_iterator(folder, ec); ec) {
    verdict.hint = "This folder cannot be read.";
  } else {
    const EncyclopediaFolder encyclopedia(folder);
    if (!encyclopedia.HasTeamFile()) {
      verdict.hint =
          "Process needs ENCTEAM.DAT: choose the folder that holds the encyclopedia's .DAT files.";
      return verdict;
    }
    verdict.process_allowed = true;
    std::string missing_files;
    for (const std::string_view name :
         {kPlayerFile, kPlayerStatsFile, kLeagueFile, kLeagueYearFile, kTeamYearFile}) {
      if (encyclopedia.Find(name)) continue;
      if (!missing_files.empty()) missing_files += ", ";
      missing_files += name;
    }
    if (!missing_files.empty()) verdict.hint = "Missing here, read as empty: " + missing_files;
  }
  return verdict;
}

}  // namespace statcrane
