// A zip container for an .xlsx package, written front to back through one
// sink: each entry's local header and its already-deflated data, then the
// central directory. The bytes depend only on the entries: every entry is
// dated 1980-01-01 00:00, and the ZIP64 extensions appear only where a size,
// an offset or the number of entries needs them.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace statcrane {

class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // Writes all of `data` or throws.
  virtual void Write(std::span<const uint8_t> data) = 0;
};

class ZipWriter {
 public:
  explicit ZipWriter(ByteSink& sink) : sink_(sink) {}

  // Adds an entry: `deflated` is the raw deflate stream of `size` bytes whose
  // CRC-32 is `crc`.
  void Add(std::string_view name, std::span<const uint8_t> deflated, uint32_t crc, uint64_t size);
  // Writes the central directory; no entry may follow.
  void Finish();

  uint64_t bytes_written() const { return offset_; }

 private:
  struct Entry {
    std::string name;
    uint32_t crc = 0;
    uint64_t compressed = 0;
    uint64_t size = 0;
    uint64_t offset = 0;
  };
  void Put(std::span<const uint8_t> data);

  ByteSink& sink_;
  std::vector<Entry> entries_;
  uint64_t offset_ = 0;
};

}  // namespace statcrane
