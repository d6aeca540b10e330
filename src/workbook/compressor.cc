#include "workbook/compressor.h"

#include <algorithm>
#include <new>

#ifdef STATCRANE_USE_ZLIB
#include <zlib.h>
#else
#include <libdeflate.h>
#endif

namespace statcrane {
namespace {

#ifdef STATCRANE_USE_ZLIB

class ZlibCompressor : public Compressor {
 public:
  explicit ZlibCompressor(int level) : level_(level < 1 ? 1 : level > 9 ? 9 : level) {}

  void Deflate(std::string_view input, std::vector<uint8_t>& output) override {
    z_stream stream{};
    // Negative window bits: a raw deflate stream.
    if (deflateInit2(&stream, level_, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
      throw std::bad_alloc();
    }
    output.reserve(output.size() + deflateBound(&stream, static_cast<uLong>(input.size())));
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input.data()));
    size_t left = input.size();
    int flush = Z_NO_FLUSH;
    do {
      // zlib counts in 32 bits: hand the input over in steps.
      const uInt step = static_cast<uInt>(std::min<size_t>(left, size_t{1} << 30));
      stream.avail_in = step;
      left -= step;
      flush = left == 0 ? Z_FINISH : Z_NO_FLUSH;
      do {
        constexpr size_t kChunk = 256 * 1024;
        const size_t used = output.size();
        output.resize(used + kChunk);
        stream.next_out = output.data() + used;
        stream.avail_out = static_cast<uInt>(kChunk);
        const int result = deflate(&stream, flush);
        output.resize(output.size() - stream.avail_out);
        if (result == Z_STREAM_ERROR) {
          deflateEnd(&stream);
          throw std::bad_alloc();
        }
      } while (stream.avail_out == 0);
    } while (flush != Z_FINISH);
    deflateEnd(&stream);
  }

 private:
  int level_;
};

#else

class LibdeflateCompressor : public Compressor {
 public:
  explicit LibdeflateCompressor(int level)
      : compressor_(libdeflate_alloc_compressor(level < 1    ? 1
                                                : level > 12 ? 12
                                                             : level)) {
    if (compressor_ == nullptr) throw std::bad_alloc();
  }
  ~LibdeflateCompressor() override { libdeflate_free_compressor(compressor_); }
  LibdeflateCompressor(const LibdeflateCompressor&) = delete;
  LibdeflateCompressor& operator=(const LibdeflateCompressor&) = delete;

  void Deflate(std::string_view input, std::vector<uint8_t>& output) override {
    const size_t used = output.size();
    output.resize(used + libdeflate_deflate_compress_bound(compressor_, input.size()));
    const size_t written = libdeflate_deflate_compress(compressor_, input.data(), input.size(),
                                                       output.data() + used, output.size() - used);
    // The bound always suffices; 0 would mean it did not.
    if (written == 0 && !input.empty()) throw std::bad_alloc();
    output.resize(used + written);
  }

 private:
  libdeflate_compressor* compressor_;
};

#endif

}  // namespace

std::unique_ptr<Compressor> MakeCompressor(int level) {
#ifdef STATCRANE_USE_ZLIB
  return std::make_unique<ZlibCompressor>(level);
#else
  return std::make_unique<LibdeflateCompressor>(level);
#endif
}

std::string_view CompressorName() {
#ifdef STATCRANE_USE_ZLIB
  return "zlib";
#else
  return "libdeflate";
#endif
}

uint32_t Crc32(uint32_t crc, std::string_view data) {
#ifdef STATCRANE_USE_ZLIB
  while (!data.empty()) {
    const uInt step = static_cast<uInt>(std::min<size_t>(data.size(), 1u << 30));
    crc = static_cast<uint32_t>(crc32(crc, reinterpret_cast<const Bytef*>(data.data()), step));
    data.remove_prefix(step);
  }
  return crc;
#else
  return libdeflate_crc32(crc, data.data(), data.size());
#endif
}

}  // namespace statcrane
