#include "workbook/zip_writer.h"

#include <gtest/gtest.h>
#ifdef _WIN32
#include <windows.h>
#else
#include <sys/mman.h>
#endif

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "testing/skip.h"
#include "testing/temp_dir.h"
#include "testing/xlsx_package.h"
#include "workbook/compressor.h"

namespace statcrane {
namespace {

// Keeps what is written, except the bytes of large writes, which it only
// counts (they are never read).
class HeaderSink : public ByteSink {
 public:
  void Write(std::span<const uint8_t> data) override {
    if (data.size() > (1 << 20)) {
      bytes.push_back({offset, std::vector<uint8_t>()});
    } else {
      bytes.push_back({offset, std::vector<uint8_t>(data.begin(), data.end())});
    }
    offset += data.size();
  }
  // The little-endian field of `size` bytes at file offset `at`, from a
  // kept write.
  uint64_t Field(uint64_t at, int size) const {
    for (const auto& [start, kept] : bytes) {
      if (at >= start && at + static_cast<uint64_t>(size) <= start + kept.size()) {
        uint64_t value = 0;
        for (int i = size - 1; i >= 0; --i) value = (value << 8) | kept[at - start + i];
        return value;
      }
    }
    ADD_FAILURE() << "no kept bytes at " << at;
    return 0;
  }
  std::vector<std::pair<uint64_t, std::vector<uint8_t>>> bytes;
  uint64_t offset = 0;
};

class FileSink : public ByteSink {
 public:
  explicit FileSink(const std::filesystem::path& file) : out_(file, std::ios::binary) {}
  void Write(std::span<const uint8_t> data) override {
    out_.write(reinterpret_cast<const char*>(data.data()),
               static_cast<std::streamsize>(data.size()));
  }

 private:
  std::ofstream out_;
};

TEST(ZipWriter, SmallPackagesNeedNoZip64AndReadBack) {
  testing::TempDir dir;
  const std::vector<std::pair<std::string, std::string>> parts = {
      {"[Content_Types].xml", "<Types/>"},
      {"xl/empty.xml", ""},
      {"xl/worksheets/sheet1.xml", std::string(100000, 'x') + "<row/>"}};
  {
    FileSink sink(dir / "small.zip");
    ZipWriter zip(sink);
    const auto compressor = MakeCompressor(1);
    for (const auto& [name, text] : parts) {
      std::vector<uint8_t> deflated;
      compressor->Deflate(text, deflated);
      zip.Add(name, deflated, Crc32(0, text), text.size());
    }
    zip.Finish();
  }
  SKIP_ON_WINDOWS(testing::kNeedsReader);
  const testing::ZipEntries read = testing::ReadZip(dir / "small.zip");
  EXPECT_FALSE(read.any_zip64);
  ASSERT_EQ(read.order.size(), parts.size());
  for (size_t i = 0; i < parts.size(); ++i) {
    EXPECT_EQ(read.order[i], parts[i].first);
    EXPECT_EQ(read.parts.at(parts[i].first), parts[i].second);
  }
  // Python's zip module agrees (an independent reader of the container).
  const std::string check = "/usr/bin/python3 -c \"import sys, zipfile; z = zipfile.ZipFile('" +
                            (dir / "small.zip").string() +
                            "'); sys.exit(z.testzip() is not None)\"";
  EXPECT_EQ(std::system(check.c_str()), 0);
}

// An entry beyond 4 GiB: its sizes in the ZIP64 field of its local and
// central headers, the next entry's offset there too, and the ZIP64 end of
// central directory. The data is address space that is never touched.
TEST(ZipWriter, Zip64OnlyWhereASizeOrAnOffsetNeedsIt) {
  constexpr uint64_t kBig = (uint64_t{1} << 32) + 12345;
#ifdef _WIN32
  void* space = ::VirtualAlloc(nullptr, kBig, MEM_RESERVE, PAGE_NOACCESS);
  if (space == nullptr) GTEST_SKIP() << "no address space for 4 GiB";
#else
  void* space =
      ::mmap(nullptr, kBig, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  if (space == MAP_FAILED) GTEST_SKIP() << "no address space for 4 GiB";
#endif
  HeaderSink sink;
  ZipWriter zip(sink);
  const std::vector<uint8_t> small = {3, 0};  // an empty deflate stream
  zip.Add("a.xml", small, 0, 0);
  zip.Add("big.xml", std::span<const uint8_t>(static_cast<const uint8_t*>(space), kBig), 7,
          kBig + 1000);
  zip.Add("after.xml", small, 0, 0);
  zip.Finish();
#ifdef _WIN32
  ::VirtualFree(space, 0, MEM_RELEASE);
#else
  ::munmap(space, kBig);
#endif

  // The first local header: no ZIP64.
  EXPECT_EQ(sink.Field(0, 4), 0x04034b50u);
  EXPECT_EQ(sink.Field(4, 2), 20u);
  EXPECT_EQ(sink.Field(28, 2), 0u);  // no extra field
  // The big entry's local header: both sizes in the ZIP64 field.
  const uint64_t big = 30 + 5 + small.size();
  EXPECT_EQ(sink.Field(big, 4), 0x04034b50u);
  EXPECT_EQ(sink.Field(big + 4, 2), 45u);
  EXPECT_EQ(sink.Field(big + 18, 4), 0xFFFFFFFFu);
  EXPECT_EQ(sink.Field(big + 22, 4), 0xFFFFFFFFu);
  EXPECT_EQ(sink.Field(big + 28, 2), 20u);
  EXPECT_EQ(sink.Field(big + 30 + 7, 2), 1u);
  EXPECT_EQ(sink.Field(big + 30 + 7 + 4, 8), kBig + 1000);
  EXPECT_EQ(sink.Field(big + 30 + 7 + 12, 8), kBig);
  const uint64_t after = big + 30 + 7 + 20 + kBig;

  // The end records, from the end backwards.
  const uint64_t end = sink.offset - 22;
  EXPECT_EQ(sink.Field(end, 4), 0x06054b50u);
  const uint64_t locator = end - 20;
  EXPECT_EQ(sink.Field(locator, 4), 0x07064b50u);
  const uint64_t record = sink.Field(locator + 8, 8);
  EXPECT_EQ(sink.Field(record, 4), 0x06064b50u);
  EXPECT_EQ(sink.Field(record + 32, 8), 3u);        // entries
  EXPECT_EQ(sink.Field(end + 16, 4), 0xFFFFFFFFu);  // the directory offset is in the ZIP64 record
  // The central headers: the first plain, the big one with its sizes, the
  // last with its offset only.
  uint64_t at = sink.Field(record + 48, 8);
  EXPECT_EQ(sink.Field(at + 30, 2), 0u);
  at += 46 + 5;
  EXPECT_EQ(sink.Field(at + 30, 2), 20u);
  EXPECT_EQ(sink.Field(at + 46 + 7 + 4, 8), kBig + 1000);
  at += 46 + 7 + 20;
  EXPECT_EQ(sink.Field(at + 42, 4), 0xFFFFFFFFu);
  EXPECT_EQ(sink.Field(at + 30, 2), 12u);
  EXPECT_EQ(sink.Field(at + 46 + 9 + 4, 8), after);
}

}  // namespace
}  // namespace statcrane
