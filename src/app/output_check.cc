#include "app/output_check.h"

#include <string_view>
#include <system_error>

#include "encyclopedia/encyclopedia_folder.h"
#include "util/platform_errors.h"
#include "util/platform_files.h"
#include "util/utf8_path.h"

namespace statcrane {
namespace {

namespace fs = std::filesystem;

std::string Quoted(const fs::path& path) { return "\"" + Utf8FromPath(path) + "\""; }

// "The folder ..." as the rest of a sentence: "the folder ...".
std::string LowerFirst(std::string text) {
  if (text.size() > 1 && text[0] >= 'A' && text[0] <= 'Z' && text[1] >= 'a' && text[1] <= 'z') {
    text[0] = static_cast<char>(text[0] - 'A' + 'a');
  }
  if (!text.empty() && text.back() == '.') text.pop_back();
  return text;
}

const char* kOnlyRead =
    "; the game's files are only read, never written: choose another name for the workbook.";

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
    return "Cannot write " + Quoted(file) + ": " + LowerFirst(problem) + ".";
  }
  return "";
}

std::string CheckNotEncyclopediaFile(const fs::path& encyclopedia_folder, const fs::path& file) {
  if (file.empty()) return "";
  std::error_code ec;
  const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
  const std::string name = Utf8FromPath(file.filename());
  if (IsDataFileName(name) && fs::equivalent(folder, encyclopedia_folder, ec)) {
    return Quoted(file) + " has the name of one of the encyclopedia's files in its folder" +
           kOnlyRead;
  }
  // The same file under another name or through a link.
  for (fs::directory_iterator it(encyclopedia_folder, ec), end; !ec && it != end;
       it.increment(ec)) {
    const std::string entry = Utf8FromPath(it->path().filename());
    std::error_code same_error;
    if (IsDataFileName(entry) && fs::equivalent(it->path(), file, same_error)) {
      return Quoted(file) + " is the encyclopedia's file " + entry + kOnlyRead;
    }
  }
  return "";
}

std::string CheckNameLength(const fs::path& file) {
  const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
  const size_t length = FileNameLength(file.filename());
  const size_t longest = LongestFileName(folder);
  if (length <= longest) return "";
  const std::string unit(FileNameLengthUnit());
  return "The name of " + Quoted(file) + " is too long: it has " + std::to_string(length) + " " +
         unit + ", and the folder's file system takes at most " + std::to_string(longest) + ".";
}

std::string CheckWorkbookName(const fs::path& file) {
  std::error_code ec;
  if (fs::is_directory(file, ec)) return Quoted(file) + " is a folder, not a workbook file.";
  if (file == "-") {
    return "-o - is not taken: a workbook is a file and cannot go to standard output; give a "
           "name that ends in .xlsx.";
  }
  std::string extension = Utf8FromPath(file.extension());
  for (char& c : extension) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  if (extension != ".xlsx") {
    return "The workbook's name must end in .xlsx, by which spreadsheet applications know a "
           "workbook; " +
           Quoted(file) + " does not.";
  }
  return "";
}

std::string CheckBeforeReading(const fs::path& encyclopedia_folder, const fs::path& file,
                               bool overwrite) {
  if (std::string problem = CheckNotEncyclopediaFile(encyclopedia_folder, file); !problem.empty()) {
    return problem;
  }
  if (std::string problem = CheckNameLength(file); !problem.empty()) return problem;
  return CheckOutputFile(file, overwrite);
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
