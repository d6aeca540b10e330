#include <windows.h>
// After <windows.h>.
#include <knownfolders.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cerrno>

#include "util/platform_desktop.h"
#include "util/platform_errors.h"

namespace statcrane {

namespace fs = std::filesystem;

namespace {

fs::path KnownFolder(REFKNOWNFOLDERID id) {
  wchar_t* path = nullptr;
  fs::path folder;
  if (::SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &path) == S_OK) folder = path;
  ::CoTaskMemFree(path);
  return folder;
}

}  // namespace

fs::path ProgramFolder() {
  std::wstring name(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        ::GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
    if (length == 0) return {};
    if (length < name.size()) {
      name.resize(length);
      return fs::path(name).parent_path();
    }
    name.resize(name.size() * 2);
  }
}

fs::path HomeFolder() { return KnownFolder(FOLDERID_Profile); }

fs::path UserSettingsFolder() {
  const fs::path roaming = KnownFolder(FOLDERID_RoamingAppData);
  return roaming.empty() ? fs::path() : roaming / "StatCrane";
}

fs::path DocumentsFolder() {
  fs::path documents = KnownFolder(FOLDERID_Documents);
  std::error_code error;
  if (documents.empty() || !fs::is_directory(documents, error)) documents = HomeFolder();
  return documents;
}

std::string OpenInDesktopApplication(const fs::path& file) {
  // The shell may use COM to find the application.
  const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  const auto result = reinterpret_cast<INT_PTR>(
      ::ShellExecuteW(nullptr, L"open", file.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  if (SUCCEEDED(com)) ::CoUninitialize();
  if (result > 32) return "";
  switch (result) {
    case SE_ERR_NOASSOC:
    case SE_ERR_ASSOCINCOMPLETE:
      return "no application is set to open " + file.extension().string() + " files";
    case 0:
    case SE_ERR_OOM:
      return FailureReason(ENOMEM);
    default:
      return FailureReason(std::error_code(static_cast<int>(result), std::system_category()));
  }
}

}  // namespace statcrane
