// Calls into the operating system that the rest of the program keeps out of
// its own code, so that a port to another system touches this module only:
// the output file (exclusive creation beside the target, replacement only of
// a regular file, removal on an interrupting signal) and reasons of failed
// calls in words. The POSIX implementation is used where <unistd.h> exists;
// elsewhere (or with STATCRANE_PORTABLE_PLATFORM) a fallback on the C++
// library only, with weaker guarantees where it cannot do better (see
// platform.cc).
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>

namespace statcrane {

// The reason of a failed call (an errno value) in words: "the disk is full",
// "permission denied", ...
std::string FailureReason(int error);

// True when something (a file, a folder, a link, even a dangling one) has
// the name `path`.
bool PathEntryExists(const std::filesystem::path& path);

// A file written under a temporary name and given the target's name only
// when it is complete.
//
// - The temporary file is created exclusively in a private folder (owner
//   only) made in the target's folder, and written through the descriptor it
//   was created with: it is never opened again by name, so nobody else can
//   slip a link or another file under the name it is written to. Its names
//   are short, so any name the target can have works.
// - Only a regular file, or a symbolic link to one (which is replaced as a
//   link, not followed), is ever replaced, and only with `overwrite`; a
//   folder, FIFO, device or socket under the target name is refused, checked
//   when the file is created and again right before it gets its name.
//   Without `overwrite` the name is taken atomically: a file that appears
//   under it meanwhile is not replaced either.
// - While the file is open, SIGINT, SIGTERM and SIGHUP (those not ignored)
//   remove the temporary file and its folder and end the program with 130,
//   143 and 129; SIGXFSZ is ignored, so a write beyond the file size limit
//   fails with a message instead of killing the program.
// - The destructor removes what Publish did not give its name.
//
// Every failure throws StatCraneError naming the target and the reason.
class OutputFile {
 public:
  OutputFile(const std::filesystem::path& target, bool overwrite);
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

}  // namespace statcrane
