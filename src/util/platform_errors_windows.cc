#include <windows.h>

#include <cerrno>

#include "util/platform_errors.h"
#include "util/platform_text_windows.h"

namespace statcrane {
namespace {

constexpr DWORD kDiskQuotaExceeded = 1295;  // ERROR_DISK_QUOTA_EXCEEDED

// The errno value of a Windows error code with the same meaning; 0 when
// there is none.
int ErrnoOf(DWORD code) {
  switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
      return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_PRIVILEGE_NOT_HELD:
    case ERROR_NETWORK_ACCESS_DENIED:
      return EACCES;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
    case ERROR_COMMITMENT_LIMIT:
      return ENOMEM;
    case ERROR_WRITE_PROTECT:
      return EROFS;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_UNABLE_TO_REMOVE_REPLACED:
    case ERROR_USER_MAPPED_FILE:
    case ERROR_BUSY:
      return EBUSY;
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_DISK_FULL:
      return ENOSPC;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return EEXIST;
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_BUFFER_OVERFLOW:
      return ENAMETOOLONG;
    case ERROR_DIRECTORY:
      return ENOTDIR;
    case ERROR_NOT_SAME_DEVICE:
      return EXDEV;
    case ERROR_TOO_MANY_OPEN_FILES:
      return EMFILE;
    case ERROR_CRC:
    case ERROR_IO_DEVICE:
    case ERROR_SECTOR_NOT_FOUND:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
      return EIO;
    case ERROR_FILE_TOO_LARGE:
      return EFBIG;
    case ERROR_DIR_NOT_EMPTY:
      return ENOTEMPTY;
    default:
      return 0;
  }
}

}  // namespace

std::error_code LastSystemError() {
  const DWORD code = ::GetLastError();
  // Codes with an errno value are given as one, so that they compare equal
  // to std::errc values on every system.
  if (const int error = ErrnoOf(code); error != 0) return {error, std::generic_category()};
  return {static_cast<int>(code), std::system_category()};
}

std::string SystemCodeReason(int code) {
  const auto windows_code = static_cast<DWORD>(code);
  if (const int error = ErrnoOf(windows_code); error != 0) return FailureReason(error);
  switch (windows_code) {
    case kDiskQuotaExceeded:
      return "the disk quota is used up";
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
      return "the name is not allowed on Windows";
    default:
      break;
  }
  wchar_t* text = nullptr;
  const DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, windows_code, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
      reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string reason = length > 0 ? Utf8FromWide({text, length}) : "";
  if (text != nullptr) ::LocalFree(text);
  while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' ||
                             reason.back() == ' ' || reason.back() == '.')) {
    reason.pop_back();
  }
  if (reason.empty()) return "Windows error " + std::to_string(code);
  if (reason[0] >= 'A' && reason[0] <= 'Z') reason[0] = static_cast<char>(reason[0] - 'A' + 'a');
  return reason;
}

}  // namespace statcrane
