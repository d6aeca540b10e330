// Calls into the operating system that the rest of the program keeps out of
// its own code, so that a port to another system touches this module only:
// reading data files (mapped read-only, or read without zero-filling memory
// first; platform_read.cc), the output file (exclusive creation beside the
// target, replacement only of a regular file, removal on an interrupting
// signal; platform.cc) and reasons of failed calls in words. The POSIX implementation is used where
// <unistd.h> exists; elsewhere (or with STATCRANE_PORTABLE_PLATFORM) a fallback on the C++ library
// only, with weaker guarantees where it cannot do better (see platform.cc).
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

// ---------------------------------------------------------------------------
// Reading data files: a whole file's bytes, read once, without zero-filling
// memory first. A file is mapped read-only where the system allows it (the
// kernel reads it in as it is used, sequential reading advised) and read
// into a buffer allocated without zero-filling otherwise.
//
// A mapped file that another program cuts short while it is mapped would
// make reading its lost bytes fault; a fault handler for that (SIGBUS)
// replaces the lost pages with zeros and marks the bytes as cut short, so
// that the reader can stop with a message instead of the program crashing.
// The handler passes other faults on to the handler before it.

// The bytes of a file. Move-only; unmaps or frees them when destroyed.
class FileBytes {
 public:
  FileBytes() = default;
  ~FileBytes();
  FileBytes(FileBytes&& other) noexcept;
  FileBytes& operator=(FileBytes&& other) noexcept;
  FileBytes(const FileBytes&) = delete;
  FileBytes& operator=(const FileBytes&) = delete;

  // A copy of bytes already in memory (tests, fuzzing).
  static FileBytes CopyOf(std::span<const uint8_t> bytes);

  std::span<const uint8_t> bytes() const { return {data_, size_}; }
  bool mapped() const { return guard_ >= 0; }
  // True once reading found the mapped file cut short by another program:
  // the bytes past its new end read as zeros.
  bool cut_short() const;
  // Lets the system take back the memory that holds the mapped bytes from
  // `offset` for `length` bytes (whole pages inside that range) until they
  // are read again: a pass over a large file then holds only what it reads
  // at the moment. The bytes stay the file's. A buffer keeps its memory.
  void Forget(size_t offset, size_t length) const;

 private:
  friend class ReadOnlyFile;
  void Release();

  const uint8_t* data_ = nullptr;
  size_t size_ = 0;
  std::unique_ptr<uint8_t[]> buffer_;  // when read
  void* mapping_ = nullptr;            // when mapped
  size_t mapping_length_ = 0;
  int guard_ = -1;  // the mapping's slot in the fault handler's list
};

enum class FileKind { kRegular, kFolder, kOther };
enum class ReadMethod { kMapOrRead, kRead };

// A file opened for reading. Move-only; closes the file when destroyed.
class ReadOnlyFile {
 public:
  // Opens `path` for reading; a named pipe does not block the open. Throws
  // std::system_error when the file cannot be opened or examined.
  explicit ReadOnlyFile(const std::filesystem::path& path);
  ~ReadOnlyFile();
  ReadOnlyFile(const ReadOnlyFile&) = delete;
  ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

  FileKind kind() const { return kind_; }
  // The size when the file was opened.
  uint64_t size() const { return size_; }

  // The file's first `length` bytes (at most size()): mapped read-only, or,
  // where the system cannot map the file or `method` is kRead, read into a
  // buffer. A file that has become shorter gives fewer bytes when read.
  // Throws std::system_error when reading fails, std::bad_alloc when no
  // buffer can be had.
  FileBytes ReadAll(size_t length, ReadMethod method = ReadMethod::kMapOrRead) const;

 private:
  struct Stream;  // the portable fallback's open file
  int fd_ = -1;
  std::unique_ptr<Stream> stream_;
  FileKind kind_ = FileKind::kOther;
  uint64_t size_ = 0;
};

}  // namespace statcrane
