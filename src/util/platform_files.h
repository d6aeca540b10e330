// The files the program writes (the workbook, the remembered settings, a
// saved run report), written whole or not at all, on POSIX systems and on
// Windows alike (platform_files_posix.cc, platform_files_windows.cc).
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <system_error>

namespace statcrane {

// True when something (a file, a folder, a link, even a dangling one) has
// the name `path`.
bool PathEntryExists(const std::filesystem::path& path);

// The length of the file name `name` as the system counts it: bytes (of
// UTF-8) on POSIX systems, UTF-16 code units on Windows.
inline size_t FileNameLength(const std::filesystem::path& name) { return name.native().size(); }
// What FileNameLength counts, in words: "bytes" or "characters".
std::string_view FileNameLengthUnit();
// The longest file name the file system of `folder` takes, in the units of
// FileNameLength (255 when it does not tell).
size_t LongestFileName(const std::filesystem::path& folder);

// Creates a scratch file in `folder` and removes it at once: whether a new
// file can be made there, which permission bits do not tell for the
// superuser, for access lists or for file systems such as /proc. An empty
// code when it can.
std::error_code TryCreatingFileIn(const std::filesystem::path& folder);

// Why no file is ever written in `folder`, in words ("the folder "/dev" is
// on a device or kernel file system (devtmpfs), where no file is ever
// written"); "" for an ordinary folder, or one that cannot be examined.
std::string FolderRefusal(const std::filesystem::path& folder);

// Why a written file may not be given the name `target`, in words ("it is a
// folder, which is never replaced"); "" when it may: nothing has the name
// yet, or a file the user may replace has it. Only a regular file the user
// owns (on POSIX systems, or any for the superuser), or a symbolic link to
// one, is ever replaced; never anything on a device or kernel file system
// (devtmpfs, proc, sysfs) nor a link that passes through one, and on Windows
// never a reparse point or a device name (CON, NUL, \\.\...). OutputFile
// checks the same when it starts and right before it gives the file its
// name; this is for checks before a run.
std::string ReplaceRefusal(const std::filesystem::path& target);

// A file written under a temporary name and given the target's name only
// when it is complete.
//
// - The temporary file is created exclusively in a private folder
//   (".statcrane-" and eight letters or digits, owner only) made in the
//   target's folder, and written through the handle it was created with: it
//   is never opened again by name, so nobody else can slip a link or another
//   file under the name it is written to. Its names are short, so any name
//   the target can have works.
// - The private folder is held (locked) while the file lives. A private
//   folder that a killed program left behind is removed by the next
//   OutputFile in that folder: only one of this user's, of the name and
//   mode this class gives, that nobody holds, holding nothing but the
//   temporary file, and never through a link.
// - Only what ReplaceRefusal allows is replaced, and only with `overwrite`;
//   checked when the file is created and again right before it gets its
//   name. Without `overwrite` the name is taken atomically: a file that
//   appears under it meanwhile is not replaced either. A replaced file's
//   permissions (mode on POSIX, attributes on Windows) carry over to the new
//   one, and its owner and group where the system allows it.
// - While the file is open, an interruption (SIGINT, SIGTERM and SIGHUP not
//   ignored; Ctrl-C, Ctrl-Break and closing the console on Windows) removes
//   the temporary file and its folder and ends the program with 130 (143
//   for SIGTERM, 129 for SIGHUP). SIGXFSZ is ignored, so a write beyond the
//   file size limit fails with a message instead of killing the program.
// - The destructor removes what Publish did not give its name.
//
// Every failure throws StatCraneError: "cannot save <what> as "<target>":
// <reason>", or "the file "<target>" already exists; it was left as it was".
class OutputFile {
 public:
  // `what` names the file in messages: "the workbook", "the settings", ...
  OutputFile(const std::filesystem::path& target, bool overwrite,
             std::string_view what = "the workbook");
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  void Write(std::span<const uint8_t> data);
  // Gives the complete file the target's name.
  void Publish();

  const std::filesystem::path& target() const { return target_; }
  // Where the file is written until it is published (for tests).
  std::filesystem::path TemporaryPath() const;

  struct State;

 private:
  std::filesystem::path target_;
  std::unique_ptr<State> state_;
};

// Writes `content` as the file `target` through an OutputFile: the file is
// complete or untouched. Throws StatCraneError as OutputFile does.
void WriteWholeFile(const std::filesystem::path& target, std::string_view content, bool overwrite,
                    std::string_view what);

// The private folder an OutputFile writes in: ".statcrane-" and eight
// lower-case letters or digits. A new random name, and the test of a name
// (for the clean-up of leftovers and for tests).
std::string NewPrivateFolderName();
bool IsPrivateFolderName(std::string_view name);
// The temporary file's name in its private folder.
inline constexpr std::string_view kTemporaryFileName = "workbook.xlsx";

}  // namespace statcrane
