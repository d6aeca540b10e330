// Reading data files on POSIX systems: mapped read-only (mmap) with a guard
// against files cut short, else read with pread into a buffer allocated
// without zero-filling.
#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <system_error>

#include "util/platform_read.h"

namespace statcrane {

namespace {

[[noreturn]] void ThrowErrno() { throw std::system_error(errno, std::generic_category()); }

// The mappings the fault handler looks after. A slot is taken before its
// mapping is made and given back after it is unmapped; `begin` is 0 while
// the slot holds no live mapping.
struct GuardSlot {
  std::atomic<bool> taken{false};
  std::atomic<uintptr_t> begin{0};
  std::atomic<uintptr_t> end{0};
  std::atomic<bool> cut{false};
};
constexpr int kGuardSlots = 64;
GuardSlot guard_slots[kGuardSlots];
uintptr_t page_size = 4096;
struct sigaction previous_bus_action;
std::once_flag install_once;

// SIGBUS on a guarded mapping: the file is shorter than its mapping. Zero
// pages take the place of the lost ones from the faulting page to the end
// (mmap is a plain system call on the systems this runs on), the slot is
// marked, and the access is retried.
void OnBusError(int signal_number, siginfo_t* info, void* context) {
  const auto address = reinterpret_cast<uintptr_t>(info->si_addr);
  for (GuardSlot& slot : guard_slots) {
    const uintptr_t begin = slot.begin.load(std::memory_order_acquire);
    const uintptr_t end = slot.end.load(std::memory_order_acquire);
    if (begin == 0 || address < begin || address >= end) continue;
    const uintptr_t page = address & ~(page_size - 1);
    void* zeros = ::mmap(reinterpret_cast<void*>(page), end - page, PROT_READ,
                         MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0);
    if (zeros != MAP_FAILED) {
      slot.cut.store(true, std::memory_order_release);
      return;
    }
    break;
  }
  // Not a guarded mapping: the handler before this one decides.
  if ((previous_bus_action.sa_flags & SA_SIGINFO) != 0 &&
      previous_bus_action.sa_sigaction != nullptr) {
    previous_bus_action.sa_sigaction(signal_number, info, context);
    return;
  }
  if ((previous_bus_action.sa_flags & SA_SIGINFO) == 0 &&
      previous_bus_action.sa_handler != SIG_DFL && previous_bus_action.sa_handler != SIG_IGN) {
    previous_bus_action.sa_handler(signal_number);
    return;
  }
  // The default action: returning retries the access, which faults again.
  struct sigaction fallback {};
  fallback.sa_handler = SIG_DFL;
  ::sigaction(SIGBUS, &fallback, nullptr);
}

void InstallBusErrorHandler() {
  std::call_once(install_once, [] {
    const long size = ::sysconf(_SC_PAGESIZE);
    if (size > 0) page_size = static_cast<uintptr_t>(size);
    struct sigaction action {};
    action.sa_sigaction = OnBusError;
    action.sa_flags = SA_SIGINFO;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGBUS, &action, &previous_bus_action);
  });
}

int TakeGuardSlot() {
  for (int i = 0; i < kGuardSlots; ++i) {
    bool expected = false;
    if (guard_slots[i].taken.compare_exchange_strong(expected, true)) {
      guard_slots[i].cut.store(false);
      return i;
    }
  }
  return -1;
}

}  // namespace

void FileBytes::Release() {
  if (mapping_ != nullptr) {
    GuardSlot& slot = guard_slots[guard_];
    slot.begin.store(0, std::memory_order_release);
    slot.end.store(0, std::memory_order_release);
    ::munmap(mapping_, mapping_length_);
    slot.taken.store(false);
  }
  mapping_ = nullptr;
  mapping_length_ = 0;
  guard_ = -1;
  buffer_.reset();
  data_ = nullptr;
  size_ = 0;
}

bool FileBytes::cut_short() const {
  return guard_ >= 0 && guard_slots[guard_].cut.load(std::memory_order_acquire);
}

void FileBytes::Forget(size_t offset, size_t length) const {
  if (mapping_ == nullptr || offset >= size_) return;
  length = std::min(length, size_ - offset);
  const auto base = reinterpret_cast<uintptr_t>(mapping_);
  const uintptr_t begin = (base + offset + page_size - 1) & ~(page_size - 1);
  const uintptr_t end = (base + offset + length) & ~(page_size - 1);
  // The mapping is private and read-only: dropped pages are read again from
  // the file (or are zeros where it was cut short).
  if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_DONTNEED);
}

ReadOnlyFile::ReadOnlyFile(const std::filesystem::path& path) {
  // O_NONBLOCK keeps a named pipe from blocking the open.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) ThrowErrno();
  handle_ = fd;
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    const int error = errno;
    ::close(fd);
    throw std::system_error(error, std::generic_category());
  }
  kind_ = S_ISREG(info.st_mode)   ? FileKind::kRegular
          : S_ISDIR(info.st_mode) ? FileKind::kFolder
                                  : FileKind::kOther;
  size_ = info.st_size > 0 ? static_cast<uint64_t>(info.st_size) : 0;
}

ReadOnlyFile::~ReadOnlyFile() { ::close(static_cast<int>(handle_)); }

FileBytes ReadOnlyFile::ReadAll(size_t length, ReadMethod method) const {
  const int fd = static_cast<int>(handle_);
  FileBytes result;
  if (length == 0) return result;
  if (method == ReadMethod::kMapOrRead) {
    const int slot = TakeGuardSlot();
    void* mapping = slot < 0 ? MAP_FAILED : ::mmap(nullptr, length, PROT_READ, MAP_PRIVATE, fd, 0);
    if (mapping != MAP_FAILED) {
      InstallBusErrorHandler();
      ::madvise(mapping, length, MADV_SEQUENTIAL);
      const auto begin = reinterpret_cast<uintptr_t>(mapping);
      const uintptr_t end = (begin + length + page_size - 1) & ~(page_size - 1);
      guard_slots[slot].end.store(end, std::memory_order_release);
      guard_slots[slot].begin.store(begin, std::memory_order_release);
      result.mapping_ = mapping;
      result.mapping_length_ = length;
      result.guard_ = slot;
      result.data_ = static_cast<const uint8_t*>(mapping);
      result.size_ = length;
      return result;
    }
    if (slot >= 0) guard_slots[slot].taken.store(false);
  }
  // Reading: every byte of the buffer is written before it is used.
  result.buffer_ = std::make_unique_for_overwrite<uint8_t[]>(length);
  size_t filled = 0;
  while (filled < length) {
    const ssize_t got =
        ::pread(fd, result.buffer_.get() + filled, length - filled, static_cast<off_t>(filled));
    if (got < 0) {
      if (errno == EINTR || errno == EAGAIN) continue;
      ThrowErrno();
    }
    if (got == 0) break;  // the file became shorter
    filled += static_cast<size_t>(got);
  }
  result.data_ = result.buffer_.get();
  result.size_ = filled;
  return result;
}

}  // namespace statcrane
