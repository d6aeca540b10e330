// Output files on Windows: wide calls only; the temporary file created with
// CREATE_NEW in a private folder that this program holds open (without
// letting anybody delete it) while it lives; published with MoveFileExW
// (a new name, never replacing) or ReplaceFileW (an existing workbook, whose
// attributes, access list and creation time the new file takes over);
// Ctrl-C, Ctrl-Break and closing the console remove the temporary file
// (SetConsoleCtrlHandler).
#include <windows.h>
// After <windows.h>.
#include <aclapi.h>

#include <algorithm>
#include <cwctype>
#include <string_view>
#include <vector>

#include "util/platform_console.h"
#include "util/platform_errors.h"
#include "util/platform_files.h"
#include "util/platform_files_shared.h"
#include "util/platform_text_windows.h"

namespace statcrane {

namespace fs = std::filesystem;

namespace {

// A handle that closes itself.
class Handle {
 public:
  Handle() = default;
  explicit Handle(HANDLE handle) : handle_(handle) {}
  ~Handle() { Close(); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  Handle& operator=(HANDLE handle) {
    Close();
    handle_ = handle;
    return *this;
  }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  HANDLE get() const { return handle_; }
  void Close() {
    if (valid()) ::CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

bool IsMissing(DWORD error) {
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// Opens `path` itself (a folder, or a link, not what it leads to) to look at
// it or, with `share` 0, to hold it alone.
HANDLE OpenEntry(const fs::path& path, DWORD access, DWORD share) {
  return ::CreateFileW(WindowsPath(path).c_str(), access, share, nullptr, OPEN_EXISTING,
                       FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

// True for the names Windows gives to devices in every folder: CON, PRN,
// AUX, NUL, COM1 to COM9, LPT1 to LPT9 (also with an extension, as in
// "CON.xlsx"), CONIN$ and CONOUT$.
bool IsDeviceName(std::wstring name) {
  name = name.substr(0, name.find(L'.'));
  while (!name.empty() && name.back() == L' ') name.pop_back();
  for (wchar_t& c : name) c = static_cast<wchar_t>(std::towupper(c));
  if (name == L"CON" || name == L"PRN" || name == L"AUX" || name == L"NUL" || name == L"CONIN$" ||
      name == L"CONOUT$") {
    return true;
  }
  if (name.size() == 4 && (name.starts_with(L"COM") || name.starts_with(L"LPT"))) {
    const wchar_t digit = name[3];
    return (digit >= L'1' && digit <= L'9') || digit == L'\u00b9' || digit == L'\u00b2' ||
           digit == L'\u00b3';
  }
  return false;
}

// A path into the device namespace: \\.\PhysicalDrive0, \\?\GLOBALROOT\...
bool IsDevicePath(const fs::path& path) {
  std::wstring text = path.native();
  std::replace(text.begin(), text.end(), L'/', L'\\');
  if (text.starts_with(L"\\\\.\\")) return true;
  for (wchar_t& c : text) c = static_cast<wchar_t>(std::towupper(c));
  return text.starts_with(L"\\\\?\\GLOBALROOT");
}

struct Replaced {
  bool exists = false;
  DWORD attributes = 0;
};

// Why `target` may not be replaced by a regular file; "" when it may (see
// ReplaceRefusal).
std::string Refusal(const fs::path& folder, const fs::path& target, Replaced& replaced) {
  replaced = Replaced{};
  if (std::string refusal = FolderRefusal(folder); !refusal.empty()) return refusal;
  if (IsDeviceName(target.filename().native())) {
    return QuotedPath(target.filename()) +
           " is the name of a device on Windows, which is never replaced";
  }
  const Handle entry(OpenEntry(target, FILE_READ_ATTRIBUTES,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE));
  if (!entry.valid()) {
    if (IsMissing(::GetLastError())) return "";
    return FailureReason(LastSystemError());
  }
  replaced.exists = true;
  if (::GetFileType(entry.get()) != FILE_TYPE_DISK)
    return "it is a device, which is never replaced";
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(entry.get(), &info)) return FailureReason(LastSystemError());
  if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
    return "it is a link (a reparse point), which is never replaced";
  }
  if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return "it is a folder, which is never replaced";
  }
  replaced.attributes = info.dwFileAttributes;
  return "";
}

// True when the user running this program (or the owner it gives new
// files, the administrators for an elevated program) owns what `entry` is.
bool OwnedByThisUser(HANDLE entry) {
  PSID owner = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (::GetSecurityInfo(entry, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr,
                        nullptr, &descriptor) != ERROR_SUCCESS) {
    return false;
  }
  bool owned = false;
  HANDLE token = nullptr;
  if (::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) {
    for (TOKEN_INFORMATION_CLASS kind : {TokenUser, TokenOwner}) {
      DWORD size = 0;
      ::GetTokenInformation(token, kind, nullptr, 0, &size);
      std::vector<unsigned char> buffer(size);
      if (size == 0 || !::GetTokenInformation(token, kind, buffer.data(), size, &size)) continue;
      const PSID sid = kind == TokenUser ? reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid
                                         : reinterpret_cast<TOKEN_OWNER*>(buffer.data())->Owner;
      if (::EqualSid(sid, owner)) owned = true;
    }
    ::CloseHandle(token);
  }
  ::LocalFree(descriptor);
  return owned;
}

// Removes the private folder `folder` when it is a leftover: a folder (not
// a link) of this user that nobody holds open, holding nothing but the
// temporary file. A running program holds its folder open without sharing
// deletion, so the open alone here, which shares nothing, fails while it
// lives.
void RemoveLeftover(const fs::path& folder) {
  Handle held(OpenEntry(folder, DELETE | READ_CONTROL | FILE_READ_ATTRIBUTES, 0));
  if (!held.valid()) return;
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(held.get(), &info) ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 || !OwnedByThisUser(held.get())) {
    return;
  }
  const fs::path file = folder / kTemporaryFileName;
  const DWORD attributes = ::GetFileAttributesW(WindowsPath(file).c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0) {
    ::DeleteFileW(WindowsPath(file).c_str());
  }
  // Fails, as it should, when the folder holds anything else.
  FILE_DISPOSITION_INFO dispose{TRUE};
  ::SetFileInformationByHandle(held.get(), FileDispositionInfo, &dispose, sizeof dispose);
}

void RemoveLeftovers(const fs::path& folder) {
  WIN32_FIND_DATAW found{};
  const fs::path pattern = folder / L".statcrane-*";
  HANDLE search = ::FindFirstFileW(WindowsPath(pattern).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  std::vector<fs::path> leftovers;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
        (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0 &&
        IsPrivateFolderName(Utf8FromWide(found.cFileName))) {
      leftovers.push_back(folder / found.cFileName);
    }
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
  for (const fs::path& leftover : leftovers) RemoveLeftover(leftover);
}

}  // namespace

struct OutputFile::State {
  fs::path folder;
  fs::path private_folder;
  fs::path temporary;
  std::string what;
  Handle held;  // the private folder, held while the file lives
  Handle file;
  bool overwrite = false;
  bool armed = false;

  Replaced CheckTarget(const fs::path& target) {
    Replaced replaced;
    if (std::string refusal = Refusal(folder, target, replaced); !refusal.empty()) {
      FailToSave(what, target, refusal);
    }
    if (replaced.exists && !overwrite) FailExists(target);
    return replaced;
  }

  // Makes the private folder and holds it. False when the name was taken
  // or somebody else holds it (try another name).
  bool MakePrivateFolder(const fs::path& target) {
    private_folder = folder / NewPrivateFolderName();
    if (!::CreateDirectoryW(WindowsPath(private_folder).c_str(), nullptr)) {
      if (::GetLastError() == ERROR_ALREADY_EXISTS) return false;
      FailToSave(what, target,
                 "cannot create a file in " + QuotedPath(folder) + ": " +
                     FailureReason(LastSystemError()));
    }
    // Everybody may look into it; nobody may delete or rename it meanwhile.
    held = OpenEntry(private_folder, FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES,
                     FILE_SHARE_READ | FILE_SHARE_WRITE);
    BY_HANDLE_FILE_INFORMATION info{};
    if (!held.valid() || !::GetFileInformationByHandle(held.get(), &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
      held.Close();
      return false;
    }
    ::SetFileAttributesW(WindowsPath(private_folder).c_str(), FILE_ATTRIBUTE_HIDDEN);
    temporary = private_folder / kTemporaryFileName;
    return true;
  }

  // Closes and removes what is not published. REQUIRES: the lock.
  void Remove() {
    if (file.valid()) {
      file.Close();
      ::DeleteFileW(WindowsPath(temporary).c_str());
    }
    if (held.valid()) {
      held.Close();
      ::RemoveDirectoryW(WindowsPath(private_folder).c_str());
    }
  }
};

namespace {

// The files an interruption removes, and the lock that keeps the console
// handler's thread and the writing threads apart: the handler takes it,
// removes every armed file and ends the program while it holds it, so no
// write is half done on a closed handle.
SRWLOCK files_lock = SRWLOCK_INIT;
std::vector<OutputFile::State*> armed_files;

BOOL WINAPI RemoveTemporaryFilesAndExit(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
      break;
    default:
      return FALSE;
  }
  ::AcquireSRWLockExclusive(&files_lock);
  for (OutputFile::State* state : armed_files) state->Remove();
  WriteInterruptMessage();
  ::TerminateProcess(::GetCurrentProcess(), 130);
  return TRUE;  // not reached
}

class FilesLock {
 public:
  FilesLock() { ::AcquireSRWLockExclusive(&files_lock); }
  ~FilesLock() { ::ReleaseSRWLockExclusive(&files_lock); }
  FilesLock(const FilesLock&) = delete;
  FilesLock& operator=(const FilesLock&) = delete;
};

void Arm(OutputFile::State& state) {
  const FilesLock lock;
  if (armed_files.empty()) ::SetConsoleCtrlHandler(RemoveTemporaryFilesAndExit, TRUE);
  armed_files.push_back(&state);
  state.armed = true;
}

// REQUIRES: the lock.
void Disarm(OutputFile::State& state) {
  if (!state.armed) return;
  armed_files.erase(std::find(armed_files.begin(), armed_files.end(), &state));
  if (armed_files.empty()) ::SetConsoleCtrlHandler(RemoveTemporaryFilesAndExit, FALSE);
  state.armed = false;
}

}  // namespace

bool PathEntryExists(const fs::path& path) {
  if (::GetFileAttributesW(WindowsPath(path).c_str()) != INVALID_FILE_ATTRIBUTES) return true;
  return !IsMissing(::GetLastError());
}

std::error_code TryCreatingFileIn(const fs::path& folder) {
  const fs::path probe = folder / (".statcrane-check-" + NewPrivateFolderName().substr(11));
  HANDLE file = ::CreateFileW(WindowsPath(probe).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE) return LastSystemError();
  ::CloseHandle(file);
  return {};
}

std::string_view FileNameLengthUnit() { return "characters"; }

size_t LongestFileName(const fs::path& folder) {
  // The volume's own limit (255 on NTFS, FAT32 and exFAT).
  wchar_t root[MAX_PATH + 1] = {};
  DWORD longest = 0;
  std::error_code error;
  const fs::path absolute = fs::absolute(folder.empty() ? fs::path(L".") : folder, error);
  if (!error && ::GetVolumePathNameW(absolute.c_str(), root, MAX_PATH) &&
      ::GetVolumeInformationW(root, nullptr, 0, nullptr, &longest, nullptr, nullptr, 0) &&
      longest > 0) {
    return longest;
  }
  return 255;
}

std::string FolderRefusal(const fs::path& folder) {
  if (!IsDevicePath(folder)) return "";
  return "the folder " + QuotedPath(folder) +
         " is in the device namespace, where no file is ever written";
}

std::string ReplaceRefusal(const fs::path& target) {
  const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
  Replaced replaced;
  return Refusal(folder, target, replaced);
}

OutputFile::OutputFile(const fs::path& target, bool overwrite, std::string_view what)
    : target_(target), state_(std::make_unique<State>()) {
  State& s = *state_;
  s.overwrite = overwrite;
  s.what = std::string(what);
  s.folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
  const fs::path name = target.filename();
  if (name.empty() || name == "." || name == "..")
    FailToSave(what, target, "it is not a file name");
  if (!IsDevicePath(s.folder)) {
    const DWORD attributes = ::GetFileAttributesW(WindowsPath(s.folder).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
      const std::error_code error = LastSystemError();
      if (error == std::errc::no_such_file_or_directory) {
        FailToSave(what, target, "the folder " + QuotedPath(s.folder) + " does not exist");
      }
      FailToSave(what, target,
                 "cannot open the folder " + QuotedPath(s.folder) + ": " + FailureReason(error));
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
      FailToSave(what, target, QuotedPath(s.folder) + " is not a folder");
    }
  }
  s.CheckTarget(target);
  RemoveLeftovers(s.folder);

  for (int attempt = 0; !s.MakePrivateFolder(target); ++attempt) {
    if (attempt == 100) {
      FailToSave(what, target,
                 "cannot create a file in " + QuotedPath(s.folder) + ": " + FailureReason(EEXIST));
    }
  }
  Arm(s);
  const FilesLock lock;
  s.file = ::CreateFileW(WindowsPath(s.temporary).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (!s.file.valid()) {
    const std::error_code error = LastSystemError();
    s.Remove();
    Disarm(s);
    FailToSave(what, target,
               "cannot create a file in " + QuotedPath(s.folder) + ": " + FailureReason(error));
  }
}

OutputFile::~OutputFile() {
  const FilesLock lock;
  state_->Remove();
  Disarm(*state_);
}

fs::path OutputFile::TemporaryPath() const { return state_->temporary; }

void OutputFile::Write(std::span<const uint8_t> data) {
  const uint8_t* at = data.data();
  size_t left = data.size();
  std::error_code error;
  {
    const FilesLock lock;
    while (left > 0 && !error) {
      const DWORD chunk = static_cast<DWORD>(std::min<size_t>(left, 1u << 30));
      DWORD written = 0;
      if (!::WriteFile(state_->file.get(), at, chunk, &written, nullptr)) {
        error = LastSystemError();
      } else if (written == 0) {
        error = std::make_error_code(std::errc::no_space_on_device);
      }
      at += written;
      left -= written;
    }
  }
  if (error) FailToSave(state_->what, target_, FailureReason(error));
}

void OutputFile::Publish() {
  State& s = *state_;
  const Replaced replaced = s.CheckTarget(target_);
  std::error_code error;
  bool exists = false;
  {
    const FilesLock lock;
    // The data is on the disk before the name of a file the user had
    // points to it.
    if (replaced.exists && !::FlushFileBuffers(s.file.get())) error = LastSystemError();
    if (!error) {
      s.file.Close();
      // Whole paths with backslashes only: ReplaceFileW takes nothing else
      // everywhere (WindowsPath).
      const std::wstring target = WindowsPath(target_);
      const std::wstring temporary = WindowsPath(s.temporary);
      BOOL moved = FALSE;
      if (replaced.exists) {
        moved = ::ReplaceFileW(target.c_str(), temporary.c_str(), nullptr,
                               REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr);
      } else {
        moved = ::MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH);
      }
      if (!moved) {
        const DWORD code = ::GetLastError();
        exists = code == ERROR_ALREADY_EXISTS || code == ERROR_FILE_EXISTS;
        error = LastSystemError();
        ::DeleteFileW(WindowsPath(s.temporary).c_str());
      } else if (replaced.exists) {
        // ReplaceFileW carries the attributes over, but not everywhere
        // (Wine): make sure.
        constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
        const DWORD now = ::GetFileAttributesW(target.c_str());
        if (now != INVALID_FILE_ATTRIBUTES && (now & kKept) != (replaced.attributes & kKept)) {
          const DWORD wanted =
              (now & ~kKept & ~FILE_ATTRIBUTE_NORMAL) | (replaced.attributes & kKept);
          ::SetFileAttributesW(target.c_str(), wanted != 0 ? wanted : FILE_ATTRIBUTE_NORMAL);
        }
      }
    }
    s.Remove();
    Disarm(s);
  }
  if (exists) FailExists(target_);
  if (error) FailToSave(s.what, target_, FailureReason(error));
}

}  // namespace statcrane
