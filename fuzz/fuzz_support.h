// Support for the fuzz targets: a scratch encyclopedia folder per process,
// the six-file split of one input, and checks that a run report adds up.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string_view>

#include "util/skip_report.h"

namespace statcrane::fuzz {

// A folder of this process under $STATCRANE_FUZZ_SCRATCH, else /dev/shm (or
// the temporary folder), created on first use and removed at a normal exit
// (libFuzzer leaves it behind when it stops on a finding or a time limit).
const std::filesystem::path& ScratchFolder();

// Makes the folder `folder` under ScratchFolder() hold the given files (and
// no other files of those names): a file whose bytes are nullopt is removed.
struct NamedBytes {
  std::string_view name;
  std::optional<std::span<const uint8_t>> bytes;
};
std::filesystem::path WriteFolder(std::string_view folder, std::span<const NamedBytes> files);

// One input cut into the six files of an encyclopedia:
//   byte 0          options (the run target takes the sheet choice from it)
//   bytes 1..12     six 16-bit little-endian lengths, in the order of
//                   kFileNames; 0xFFFF leaves the file out
//   bytes 13..      the files' bytes one after another; a length past the
//                   end of the input is cut to what is left
inline constexpr std::array<std::string_view, 6> kFileNames = {
    "ENCTEAM.DAT", "ENCPLYR.DAT", "ENCPLSTATS.DAT", "encleag.dat", "enclgyr.dat", "enctmyr.dat"};
inline constexpr size_t kHeaderSize = 13;
inline constexpr uint16_t kMissing = 0xFFFF;

struct SplitInput {
  uint8_t options = 0;
  std::array<std::optional<std::span<const uint8_t>>, 6> files;
};
SplitInput Split(std::span<const uint8_t> input);

// Two files from one input: a 16-bit little-endian length of the first,
// then the first file, then the second (the rest).
std::array<std::span<const uint8_t>, 2> SplitTwo(std::span<const uint8_t> input);

// Aborts with a message when the report of reading `file` does not add up:
// `records_read` whole records reported read (the file's length divided by
// the record length), a trailing fragment equal to the rest, and no more
// records skipped than read.
void CheckFileReport(const SkipReport& report, std::string_view file, size_t file_size,
                     size_t record_length, bool missing = false);

// True when `text` is well-formed UTF-8 (what the workbook writer expects).
bool IsUtf8(std::string_view text);

// Aborts with `what` (a finding of the fuzzer).
[[noreturn]] void Finding(std::string_view what);

}  // namespace statcrane::fuzz
