// Reading data files on Windows: mapped read-only (CreateFileMappingW,
// MapViewOfFile), else read with ReadFile into a buffer allocated without
// zero-filling. A mapped file cannot be cut short while it is mapped
// (Windows refuses to), so nothing needs guarding.
#include <windows.h>

#include <algorithm>
#include <system_error>

#include "util/platform_errors.h"
#include "util/platform_read.h"
#include "util/platform_text_windows.h"

namespace statcrane {
namespace {

[[noreturn]] void ThrowLastError() { throw std::system_error(LastSystemError()); }

HANDLE AsHandle(intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

uintptr_t PageSize() {
  SYSTEM_INFO info{};
  ::GetSystemInfo(&info);
  return info.dwPageSize > 0 ? info.dwPageSize : 4096;
}

}  // namespace

void FileBytes::Release() {
  if (mapping_ != nullptr) ::UnmapViewOfFile(mapping_);
  mapping_ = nullptr;
  mapping_length_ = 0;
  guard_ = -1;
  buffer_.reset();
  data_ = nullptr;
  size_ = 0;
}

bool FileBytes::cut_short() const { return false; }

void FileBytes::Forget(size_t offset, size_t length) const {
  if (mapping_ == nullptr || offset >= size_) return;
  static const uintptr_t page_size = PageSize();
  length = std::min(length, size_ - offset);
  const auto base = reinterpret_cast<uintptr_t>(mapping_);
  const uintptr_t begin = (base + offset + page_size - 1) & ~(page_size - 1);
  const uintptr_t end = (base + offset + length) & ~(page_size - 1);
  // Unlocking pages that are not locked takes them out of the working set;
  // they are read again from the file when used.
  if (end > begin) ::VirtualUnlock(reinterpret_cast<void*>(begin), end - begin);
}

ReadOnlyFile::ReadOnlyFile(const std::filesystem::path& path) {
  // Folders open too (backup semantics), so that they can be told apart.
  HANDLE file =
      ::CreateFileW(WindowsPath(path).c_str(), GENERIC_READ,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) ThrowLastError();
  handle_ = reinterpret_cast<intptr_t>(file);
  if (::GetFileType(file) != FILE_TYPE_DISK) {
    kind_ = FileKind::kOther;
    return;
  }
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(file, &info)) {
    const std::error_code error = LastSystemError();
    ::CloseHandle(file);
    handle_ = -1;
    throw std::system_error(error);
  }
  if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    kind_ = FileKind::kFolder;
    return;
  }
  kind_ = FileKind::kRegular;
  size_ = (static_cast<uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
}

ReadOnlyFile::~ReadOnlyFile() {
  if (handle_ != -1) ::CloseHandle(AsHandle(handle_));
}

FileBytes ReadOnlyFile::ReadAll(size_t length, ReadMethod method) const {
  HANDLE file = AsHandle(handle_);
  FileBytes result;
  if (length == 0) return result;
  if (method == ReadMethod::kMapOrRead) {
    // A file that became shorter than `length` cannot be mapped that far:
    // it is read instead.
    HANDLE mapping = ::CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (mapping != nullptr) {
      void* view = ::MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, length);
      ::CloseHandle(mapping);  // the view keeps the mapping
      if (view != nullptr) {
        result.mapping_ = view;
        result.mapping_length_ = length;
        result.data_ = static_cast<const uint8_t*>(view);
        result.size_ = length;
        return result;
      }
    }
  }
  // Reading: every byte of the buffer is written before it is used.
  result.buffer_ = std::make_unique_for_overwrite<uint8_t[]>(length);
  size_t filled = 0;
  while (filled < length) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(filled);
    at.OffsetHigh = static_cast<DWORD>(static_cast<uint64_t>(filled) >> 32);
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(length - filled, 1u << 30));
    DWORD got = 0;
    if (!::ReadFile(file, result.buffer_.get() + filled, chunk, &got, &at)) {
      if (::GetLastError() == ERROR_HANDLE_EOF) break;
      ThrowLastError();
    }
    if (got == 0) break;  // the file became shorter
    filled += got;
  }
  result.data_ = result.buffer_.get();
  result.size_ = filled;
  return result;
}

}  // namespace statcrane
