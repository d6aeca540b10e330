#include "app/remembered_folder.h"

#include <system_error>
#include <utility>

#include "util/error.h"
#include "util/platform_files.h"
#include "util/platform_read.h"
#include "util/utf8_path.h"

namespace statcrane {
namespace fs = std::filesystem;
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool IsNameCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// A value as it goes between the quotes: '%', '"' and control characters
// (line breaks above all) as %XX, so that every value stays one line.
std::string EncodeValue(std::string_view value) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string text;
  text.reserve(value.size());
  for (const char c : value) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '%' || c == '"' || byte < 0x20 || byte == 0x7f) {
      text += '%';
      text += kHex[byte >> 4];
      text += kHex[byte & 0xf];
    } else {
      text += c;
    }
  }
  return text;
}

// The inverse of EncodeValue. A '%' not followed by two hex digits is kept
// as it is (values written before the encoding existed).
std::string DecodeValue(std::string_view text) {
  std::string value;
  value.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && HexDigit(text[i + 1]) >= 0 &&
        HexDigit(text[i + 2]) >= 0) {
      value += static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
      i += 2;
    } else {
      value += text[i];
    }
  }
  return value;
}

// Writes `content` to `file` whole or not at all; "" when it was written,
// otherwise why not.
std::string WriteWhole(const fs::path& file, const std::string& content) {
  try {
    WriteWholeFile(file, content, true, "the settings");
    return "";
  } catch (const StatCraneError& error) {
    return error.message();
  }
}

}  // namespace

std::string FormatRememberedValue(const fs::path& folder) {
  return "\"" + EncodeValue(Utf8FromPath(folder)) + "\"\r\n";
}

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
  return PathFromUtf8(DecodeValue(value));
}

std::optional<std::string> RememberedSettings::Get(std::string_view name) const {
  for (const auto& [key, value] : values) {
    if (key == name) return value;
  }
  return std::nullopt;
}

void RememberedSettings::Set(std::string_view name, std::string_view value) {
  for (auto& [key, old] : values) {
    if (key == name) {
      old = value;
      return;
    }
  }
  values.emplace_back(name, value);
}

std::string FormatRememberedSettings(const RememberedSettings& settings) {
  std::string text = FormatRememberedValue(settings.folder.value_or(fs::path()));
  for (const auto& [name, value] : settings.values) {
    text += name + " \"" + EncodeValue(value) + "\"\r\n";
  }
  return text;
}

RememberedSettings ParseRememberedSettings(std::string_view content) {
  RememberedSettings settings;
  size_t start = 0;
  while (start < content.size() && IsBlank(content[start])) ++start;
  content.remove_prefix(start);
  size_t end = content.find('\n');
  // The first line is the folder; a quoted one may hold no line break.
  settings.folder = ParseRememberedValue(content.substr(0, end));
  while (end != std::string_view::npos) {
    content.remove_prefix(end + 1);
    end = content.find('\n');
    std::string_view line = content.substr(0, end);
    size_t name_end = 0;
    while (name_end < line.size() && IsNameCharacter(line[name_end])) ++name_end;
    const std::string_view name = line.substr(0, name_end);
    line.remove_prefix(name_end);
    if (name.empty() || line.size() < 3 || line[0] != ' ' || line[1] != '"') continue;
    line.remove_prefix(2);
    const size_t quote = line.find('"');
    if (quote == std::string_view::npos) continue;
    settings.Set(name, DecodeValue(line.substr(0, quote)));
  }
  return settings;
}

std::optional<std::string> ReadSmallRegularFile(const fs::path& file, size_t max_bytes) {
  try {
    const ReadOnlyFile opened(file);
    if (opened.kind() != FileKind::kRegular || opened.size() > max_bytes) return std::nullopt;
    const FileBytes bytes = opened.ReadAll(static_cast<size_t>(opened.size()), ReadMethod::kRead);
    return std::string(bytes.bytes().begin(), bytes.bytes().end());
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

RememberedFolderFile::RememberedFolderFile(fs::path program_folder, fs::path fallback_folder)
    : program_folder_(std::move(program_folder)), fallback_folder_(std::move(fallback_folder)) {}

bool RememberedFolderFile::Locate() {
  located_ = true;
  const std::string name(kRememberedFolderFileName);
  const fs::path primary =
      program_folder_.empty() ? fs::path() : program_folder_ / std::string(kDataFolderName);
  // What a file in the program's folder holds when it can be read but not
  // written; the fallback file starts from it instead of from nothing.
  std::optional<RememberedSettings> carried;
  for (const fs::path& folder : {primary, fallback_folder_}) {
    if (folder.empty()) continue;
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (!fs::is_directory(folder, ec)) continue;
    const fs::path file = folder / name;
    const bool writable = !TryCreatingFileIn(folder);
    if (fs::exists(fs::symlink_status(file, ec))) {
      // Only a regular file is read; a folder, pipe or device of this name
      // makes the place unusable.
      if (!fs::is_regular_file(fs::status(file, ec))) continue;
      std::optional<std::string> content = ReadSmallRegularFile(file, kMaxSettingsBytes);
      if (!writable) {
        if (content) carried = ParseRememberedSettings(*content);
        continue;
      }
      data_folder_ = folder;
      // A file too large to be ours is ignored; the next save replaces it.
      if (content) settings_ = ParseRememberedSettings(*content);
      return false;
    }
    if (!writable) continue;
    RememberedSettings first = carried.value_or(RememberedSettings{});
    if (!first.folder && !program_folder_.empty()) first.folder = program_folder_;
    if (WriteWhole(file, FormatRememberedSettings(first)).empty()) {
      data_folder_ = folder;
      settings_ = first;
      return !carried.has_value();
    }
  }
  std::string places;
  for (const fs::path& folder : {primary, fallback_folder_}) {
    if (folder.empty()) continue;
    places += (places.empty() ? "" : " nor ") + Utf8FromPath(folder / name);
  }
  problem_ = "The settings file cannot be created (" + places + "); folders are not remembered.";
  return false;
}

std::optional<fs::path> RememberedFolderFile::ReadFolder() {
  if (Locate()) return std::nullopt;
  return settings_.folder;
}

void RememberedFolderFile::Write() {
  if (!located_) Locate();
  if (data_folder_.empty()) throw StatCraneError(problem_);
  if (const std::string problem = WriteWhole(file(), FormatRememberedSettings(settings_));
      !problem.empty()) {
    throw StatCraneError("The settings file " + Utf8FromPath(file()) +
                         " cannot be written: " + problem.substr(problem.rfind(": ") + 2) + ".");
  }
}

void RememberedFolderFile::Save(const fs::path& folder) {
  if (!located_) Locate();
  settings_.folder = folder;
  Write();
}

std::optional<std::string> RememberedFolderFile::ReadSetting(std::string_view name) {
  if (!located_) Locate();
  return settings_.Get(name);
}

void RememberedFolderFile::SaveSetting(std::string_view name, std::string_view value) {
  if (!located_) Locate();
  settings_.Set(name, value);
  Write();
}

std::optional<fs::path> RememberedFolderFile::ReadOutputFolder() {
  if (const auto value = ReadSetting(kWorkbookFolderSetting)) {
    if (value->empty()) return std::nullopt;
    return PathFromUtf8(*value);
  }
  if (data_folder_.empty()) return std::nullopt;
  const auto content =
      ReadSmallRegularFile(data_folder_ / std::string(kOutputFolderFileName), kMaxSettingsBytes);
  if (!content) return std::nullopt;
  return ParseRememberedValue(*content);
}

void RememberedFolderFile::SaveOutputFolder(const fs::path& folder) {
  SaveSetting(kWorkbookFolderSetting, Utf8FromPath(folder));
}

}  // namespace statcrane
