#include "app/remembered_folder.h"

#include <fstream>
#include <iterator>
#include <system_error>
#include <utility>

#include "util/error.h"

namespace statcrane {
namespace fs = std::filesystem;
namespace {

std::string Utf8(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

fs::path FromUtf8(std::string_view text) {
  return fs::path(std::u8string(text.begin(), text.end()));
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

[[noreturn]] void ThrowAccess(std::string_view what, const fs::path& file) {
  throw StatCraneError("cannot " + std::string(what) + " " + Utf8(file));
}

// True when the file can be opened for writing without changing it.
bool CanAppend(const fs::path& file) {
  std::ofstream out(file, std::ios::binary | std::ios::app);
  return out.is_open();
}

bool WriteValue(const fs::path& file, const fs::path& folder) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out << FormatRememberedValue(folder);
  out.close();
  return !out.fail();
}

std::optional<std::string> ReadContent(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return content;
}

}  // namespace

std::string FormatRememberedValue(const fs::path& folder) { return "\"" + Utf8(folder) + "\"\r\n"; }

std::optional<fs::path> ParseRememberedValue(std::string_view content) {
  size_t start = 0;
  while (start < content.size() && IsBlank(content[start])) ++start;
  content.remove_prefix(start);
  std::string_view value;
  if (!content.empty() && content.front() == '"') {
    content.remove_prefix(1);
    value = content.substr(0, content.find('"'));
  } else {
    value = content.substr(0, content.find_first_of("\r\n"));
    while (!value.empty() && IsBlank(value.back())) value.remove_suffix(1);
  }
  if (value.empty()) return std::nullopt;
  return FromUtf8(value);
}

RememberedFolderFile::RememberedFolderFile(fs::path program_folder, fs::path fallback_folder)
    : program_folder_(std::move(program_folder)), fallback_folder_(std::move(fallback_folder)) {}

bool RememberedFolderFile::Locate() {
  const std::string name(kRememberedFolderFileName);
  const fs::path primary = program_folder_ / std::string(kDataFolderName);
  // What a file in the program's folder holds when it can be read but not
  // written; the fallback file starts from it instead of from nothing.
  std::optional<fs::path> carried;
  for (const fs::path& folder : {primary, fallback_folder_}) {
    if (folder.empty()) continue;
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (!fs::is_directory(folder, ec)) continue;
    const fs::path file = folder / name;
    if (fs::exists(file, ec)) {
      if (CanAppend(file)) {
        data_folder_ = folder;
        return false;
      }
      if (auto content = ReadContent(file)) carried = ParseRememberedValue(*content);
      continue;
    }
    if (WriteValue(file, carried.value_or(program_folder_))) {
      data_folder_ = folder;
      return !carried.has_value();
    }
  }
  ThrowAccess("create", primary / name);
}

std::optional<fs::path> RememberedFolderFile::read_path() {
  if (Locate()) return std::nullopt;
  const std::optional<std::string> content = ReadContent(file());
  if (!content) ThrowAccess("read", file());
  return ParseRememberedValue(*content);
}

void RememberedFolderFile::Save(const fs::path& folder) {
  if (data_folder_.empty()) Locate();
  if (!WriteValue(file(), folder)) ThrowAccess("write", file());
}

std::optional<fs::path> RememberedFolderFile::ReadOutputFolder() {
  try {
    if (data_folder_.empty()) Locate();
  } catch (const StatCraneError&) {
    return std::nullopt;
  }
  const std::optional<std::string> content =
      ReadContent(data_folder_ / std::string(kOutputFolderFileName));
  if (!content) return std::nullopt;
  return ParseRememberedValue(*content);
}

void RememberedFolderFile::SaveOutputFolder(const fs::path& folder) {
  if (data_folder_.empty()) Locate();
  const fs::path file = data_folder_ / std::string(kOutputFolderFileName);
  if (!WriteValue(file, folder)) ThrowAccess("write", file);
}

}  // namespace statcrane
