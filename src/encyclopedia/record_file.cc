#include "encyclopedia/record_file.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <utility>

#include "util/error.h"

namespace statcrane {
namespace {

[[noreturn]] void Fail(std::string_view name, const std::filesystem::path& path,
                       const std::string& what) {
  throw StatCraneError("Cannot read " + std::string(name) + " (" + path.string() + "): " + what);
}

// Closes the descriptor when the read is done or fails.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

// Backs a large buffer with huge pages where the system allows it: on some
// systems touching a 168 MB buffer 4 KiB page by page costs seconds.
void AdviseHugePages(const std::vector<uint8_t>& bytes) {
  constexpr uintptr_t kHugePage = uintptr_t{2} << 20;
  const auto start = reinterpret_cast<uintptr_t>(bytes.data());
  const uintptr_t begin = (start + kHugePage - 1) & ~(kHugePage - 1);
  const uintptr_t end = (start + bytes.capacity()) & ~(kHugePage - 1);
  if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
}

std::vector<uint8_t> ReadWholeFile(std::string_view name, const std::filesystem::path& path) {
  // O_NONBLOCK keeps a named pipe in the folder from blocking the open; it
  // is refused below as not a regular file.
  Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (fd.get() < 0) {
    const int open_error = errno;
    std::error_code ignored;
    if (open_error == ENOENT &&
        std::filesystem::is_symlink(std::filesystem::symlink_status(path, ignored))) {
      Fail(name, path, "it is a link to a file that does not exist");
    }
    Fail(name, path, std::strerror(open_error));
  }
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0) Fail(name, path, std::strerror(errno));
  if (S_ISDIR(info.st_mode)) Fail(name, path, "it is a folder, not a file");
  if (!S_ISREG(info.st_mode)) Fail(name, path, "it is not a regular file");

  std::vector<uint8_t> bytes;
  try {
    // One byte more than the file, so that reaching its end needs no growth.
    bytes.reserve(static_cast<size_t>(info.st_size) + 1);
    AdviseHugePages(bytes);
    bytes.resize(static_cast<size_t>(info.st_size) + 1);
  } catch (const std::bad_alloc&) {
    Fail(name, path, "not enough memory to hold the file");
  }
  size_t filled = 0;
  while (true) {
    if (filled == bytes.size()) bytes.resize(bytes.size() + 65536);  // the file grew
    const ssize_t got = ::read(fd.get(), bytes.data() + filled, bytes.size() - filled);
    if (got < 0) {
      if (errno == EINTR || errno == EAGAIN) continue;
      Fail(name, path, std::strerror(errno));
    }
    if (got == 0) break;
    filled += static_cast<size_t>(got);
  }
  bytes.resize(filled);
  return bytes;
}

}  // namespace

RecordFile RecordFile::Read(const EncyclopediaFolder& folder, std::string_view name,
                            size_t record_length, SkipReporter& reporter) {
  RecordFile file;
  file.record_length_ = record_length;
  const std::optional<std::filesystem::path> path = folder.Find(name, &reporter);
  if (!path) {
    reporter.FileNote(name, "not found in the folder; read as a file with no records");
    reporter.RecordsRead(name, 0);
    return file;
  }
  file.bytes_ = ReadWholeFile(name, *path);
  file.exists_ = true;
  const size_t fragment = record_length ? file.bytes_.size() % record_length : 0;
  if (fragment != 0) {
    reporter.TrailingFragment(name, static_cast<int64_t>(fragment));
    file.bytes_.resize(file.bytes_.size() - fragment);
  }
  reporter.RecordsRead(name, static_cast<int64_t>(file.RecordCount()));
  return file;
}

RecordFile RecordFile::FromBytes(std::vector<uint8_t> bytes, size_t record_length) {
  RecordFile file;
  file.bytes_ = std::move(bytes);
  file.record_length_ = record_length;
  file.exists_ = true;
  return file;
}

}  // namespace statcrane
