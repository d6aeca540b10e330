// compression_bench: the size and the time of each compression level on the
// parts of a written workbook, to choose the package writer's level.
//
//   compression_bench FILE.xlsx [LEVELS]    (LEVELS: comma-separated, default 1,2,3,4,5,6)
//
// Each level compresses every part of the file, one thread; prints the total
// compressed size, the size against the file given, and the time
// (processor seconds, the fastest of three).
#include <charconv>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "bench_support.h"
#include "testing/xlsx_package.h"
#include "workbook/compressor.h"

int main(int argc, char** argv) {
  using namespace statcrane;
  if (argc < 2) {
    std::fprintf(stderr, "usage: compression_bench FILE.xlsx [LEVELS]\n");
    return 2;
  }
  std::vector<int> levels;
  std::string_view list = argc > 2 ? argv[2] : "1,2,3,4,5,6";
  while (!list.empty()) {
    int level = 0;
    const auto [end, error] = std::from_chars(list.data(), list.data() + list.size(), level);
    if (error != std::errc()) {
      std::fprintf(stderr, "bad level list\n");
      return 2;
    }
    levels.push_back(level);
    list.remove_prefix(static_cast<size_t>(end - list.data()));
    if (!list.empty()) list.remove_prefix(1);
  }
  const testing::ZipEntries zip = testing::ReadZip(argv[1]);
  size_t xml = 0;
  for (const auto& [name, part] : zip.parts) xml += part.size();
  std::printf("%s: %zu parts, %.1f MB of XML; compressor %s\n", argv[1], zip.parts.size(),
              xml / 1e6, std::string(CompressorName()).c_str());
  std::printf("level  compressed MB  MB/s (one thread)  processor s\n");
  for (int level : levels) {
    double best = 1e9;
    size_t size = 0;
    for (int run = 0; run < 3; ++run) {
      const auto compressor = MakeCompressor(level);
      const double start = bench::ProcessSeconds();
      size = 0;
      for (const auto& [name, part] : zip.parts) {
        std::vector<uint8_t> out;
        compressor->Deflate(part, out);
        size += out.size();
      }
      best = std::min(best, bench::ProcessSeconds() - start);
    }
    std::printf("%5d  %13.2f  %17.0f  %11.2f\n", level, size / 1e6, xml / 1e6 / best, best);
  }
  return 0;
}
