#include "fuzz/fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <system_error>

namespace statcrane::fuzz {
namespace fs = std::filesystem;

namespace {

fs::path MakeScratchFolder() {
  std::error_code ignored;
  const char* chosen = std::getenv("STATCRANE_FUZZ_SCRATCH");
  fs::path base = fs::temp_directory_path();
  if (chosen != nullptr && *chosen != '\0') {
    base = chosen;
  } else if (fs::is_directory("/dev/shm", ignored)) {
    base = "/dev/shm";
  }
  fs::path folder = base / ("statcrane-fuzz-" + std::to_string(::getpid()));
  fs::remove_all(folder, ignored);
  fs::create_directories(folder);
  std::atexit([] {
    std::error_code ignored_at_exit;
    fs::remove_all(ScratchFolder(), ignored_at_exit);
  });
  return folder;
}

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

}  // namespace

const fs::path& ScratchFolder() {
  static const fs::path folder = MakeScratchFolder();
  return folder;
}

void Finding(std::string_view what) {
  std::fprintf(stderr, "FUZZ FINDING: %.*s\n", static_cast<int>(what.size()), what.data());
  std::abort();
}

fs::path WriteFolder(std::string_view name, std::span<const NamedBytes> files) {
  const fs::path folder = ScratchFolder() / name;
  std::error_code ignored;
  fs::create_directories(folder, ignored);
  for (const NamedBytes& file : files) {
    const fs::path path = folder / file.name;
    if (!file.bytes) {
      fs::remove(path, ignored);
      continue;
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(file.bytes->data()),
              static_cast<std::streamsize>(file.bytes->size()));
    if (!out) Finding("cannot write the scratch folder");
  }
  return folder;
}

SplitInput Split(std::span<const uint8_t> input) {
  SplitInput split;
  if (input.size() < kHeaderSize) {
    // Too short for a header: every file empty.
    for (auto& file : split.files) file = std::span<const uint8_t>();
    return split;
  }
  split.options = input[0];
  std::span<const uint8_t> rest = input.subspan(kHeaderSize);
  for (size_t i = 0; i < kFileNames.size(); ++i) {
    const uint16_t length = Le16(input.data() + 1 + 2 * i);
    if (length == kMissing) continue;
    const size_t take = std::min<size_t>(length, rest.size());
    split.files[i] = rest.first(take);
    rest = rest.subspan(take);
  }
  return split;
}

std::array<std::span<const uint8_t>, 2> SplitTwo(std::span<const uint8_t> input) {
  if (input.size() < 2) return {input.first(0), input};
  const size_t first = std::min<size_t>(Le16(input.data()), input.size() - 2);
  return {input.subspan(2, first), input.subspan(2 + first)};
}

bool IsUtf8(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    const auto c = static_cast<uint8_t>(text[i]);
    size_t extra = 0;
    if (c < 0x80) {
      extra = 0;
    } else if ((c & 0xE0) == 0xC0 && c >= 0xC2) {
      extra = 1;
    } else if ((c & 0xF0) == 0xE0) {
      extra = 2;
    } else if ((c & 0xF8) == 0xF0 && c <= 0xF4) {
      extra = 3;
    } else {
      return false;
    }
    if (extra > text.size() - i - 1) return false;
    for (size_t k = 1; k <= extra; ++k) {
      if ((static_cast<uint8_t>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    i += extra + 1;
  }
  return true;
}

void CheckFileReport(const SkipReport& report, std::string_view file, size_t file_size,
                     size_t record_length, bool missing) {
  const auto it = report.files.find(std::string(file));
  if (it == report.files.end()) Finding(std::string(file) + " not in the run report");
  const FileReport& entry = it->second;
  const auto whole = static_cast<int64_t>(missing ? 0 : file_size / record_length);
  const auto fragment = static_cast<int64_t>(missing ? 0 : file_size % record_length);
  if (entry.records_read != whole) {
    Finding(std::string(file) + ": report says " + std::to_string(entry.records_read) +
            " records read, the file has " + std::to_string(whole));
  }
  if (entry.trailing_bytes != fragment) {
    Finding(std::string(file) + ": report says a trailing fragment of " +
            std::to_string(entry.trailing_bytes) + " bytes, the file has " +
            std::to_string(fragment));
  }
  int64_t skipped = 0;
  for (const auto& [reason, count] : entry.skipped) skipped += count;
  if (skipped > entry.records_read) {
    Finding(std::string(file) + ": more records skipped than read");
  }
}

}  // namespace statcrane::fuzz
