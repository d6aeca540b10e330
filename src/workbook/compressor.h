// Raw deflate compression of whole parts, behind a small interface so that
// the library doing it can be chosen at build time: libdeflate where it is
// available, zlib where it is not (STATCRANE_COMPRESSOR=zlib).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace statcrane {

class Compressor {
 public:
  virtual ~Compressor() = default;
  // Appends the raw deflate stream of `input` (no zlib or gzip wrapper) to
  // `output`. The same input and level give the same bytes every time.
  // Throws std::bad_alloc when memory runs out.
  virtual void Deflate(std::string_view input, std::vector<uint8_t>& output) = 0;
};

// The build's compressor at `level` (1 fastest .. 9 smallest; libdeflate
// also takes 10 to 12). One compressor serves one thread at a time.
std::unique_ptr<Compressor> MakeCompressor(int level);
// Which library MakeCompressor uses: "libdeflate" or "zlib".
std::string_view CompressorName();

// CRC-32 (as zip files use it) of `data`, continuing from `crc`.
uint32_t Crc32(uint32_t crc, std::string_view data);

}  // namespace statcrane
