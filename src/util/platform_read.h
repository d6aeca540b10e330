// Reading data files: a whole file's bytes, read once, without zero-filling
// memory first (platform_read_posix.cc, platform_read_windows.cc). A file is
// mapped read-only where the system allows it (the system reads it in as it
// is used, sequential reading advised) and read into a buffer allocated
// without zero-filling otherwise.
//
// A mapped file that another program cuts short while it is mapped would
// make reading its lost bytes fault on POSIX systems; a fault handler for
// that (SIGBUS) replaces the lost pages with zeros and marks the bytes as cut
// short, so that the reader can stop with a message instead of the program
// crashing. The handler passes other faults on to the handler before it.
// Windows does not let a mapped file be cut short.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>

namespace statcrane {

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
  bool mapped() const { return mapping_ != nullptr; }
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
  int guard_ = -1;  // the mapping's slot in the fault handler's list (POSIX)
};

enum class FileKind { kRegular, kFolder, kOther };
enum class ReadMethod { kMapOrRead, kRead };

// A file opened for reading. Move-only; closes the file when destroyed.
class ReadOnlyFile {
 public:
  // Opens `path` for reading; a named pipe does not block the open. Throws
  // std::system_error (see FailureReason) when the file cannot be opened or
  // examined.
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
  intptr_t handle_ = -1;  // a descriptor (POSIX) or a HANDLE (Windows)
  FileKind kind_ = FileKind::kOther;
  uint64_t size_ = 0;
};

}  // namespace statcrane
