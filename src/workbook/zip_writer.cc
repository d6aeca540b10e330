#include "workbook/zip_writer.h"

namespace statcrane {
namespace {

constexpr uint32_t kLocalHeader = 0x04034b50;
constexpr uint32_t kCentralHeader = 0x02014b50;
constexpr uint32_t kEndOfCentralDirectory = 0x06054b50;
constexpr uint32_t kZip64EndOfCentralDirectory = 0x06064b50;
constexpr uint32_t kZip64Locator = 0x07064b50;
constexpr uint16_t kZip64ExtraId = 0x0001;
constexpr uint16_t kVersion = 20;       // deflate
constexpr uint16_t kVersionZip64 = 45;  // ZIP64 extensions
constexpr uint16_t kDeflated = 8;
constexpr uint16_t kDosDate = (0 << 9) | (1 << 5) | 1;  // 1980-01-01
constexpr uint32_t k32 = 0xFFFFFFFF;
constexpr uint16_t k16 = 0xFFFF;

// Little-endian fields.
class Fields {
 public:
  Fields& U16(uint16_t v) {
    bytes_.push_back(static_cast<uint8_t>(v));
    bytes_.push_back(static_cast<uint8_t>(v >> 8));
    return *this;
  }
  Fields& U32(uint32_t v) {
    return U16(static_cast<uint16_t>(v)).U16(static_cast<uint16_t>(v >> 16));
  }
  Fields& U64(uint64_t v) {
    return U32(static_cast<uint32_t>(v)).U32(static_cast<uint32_t>(v >> 32));
  }
  Fields& Bytes(std::string_view text) {
    bytes_.insert(bytes_.end(), text.begin(), text.end());
    return *this;
  }
  Fields& Bytes(const std::vector<uint8_t>& more) {
    bytes_.insert(bytes_.end(), more.begin(), more.end());
    return *this;
  }
  const std::vector<uint8_t>& bytes() const { return bytes_; }

 private:
  std::vector<uint8_t> bytes_;
};

}  // namespace

void ZipWriter::Put(std::span<const uint8_t> data) {
  sink_.Write(data);
  offset_ += data.size();
}

void ZipWriter::Add(std::string_view name, std::span<const uint8_t> deflated, uint32_t crc,
                    uint64_t size) {
  Entry entry{std::string(name), crc, deflated.size(), size, offset_};
  // Sizes are known before the data is written: the local header carries
  // them, and the ZIP64 field only when one of them does not fit 32 bits.
  const bool zip64 = entry.size >= k32 || entry.compressed >= k32;
  Fields extra;
  if (zip64) extra.U16(kZip64ExtraId).U16(16).U64(entry.size).U64(entry.compressed);
  Fields header;
  header.U32(kLocalHeader)
      .U16(zip64 ? kVersionZip64 : kVersion)
      .U16(0)  // flags
      .U16(kDeflated)
      .U16(0)  // time
      .U16(kDosDate)
      .U32(crc)
      .U32(zip64 ? k32 : static_cast<uint32_t>(entry.compressed))
      .U32(zip64 ? k32 : static_cast<uint32_t>(entry.size))
      .U16(static_cast<uint16_t>(name.size()))
      .U16(static_cast<uint16_t>(extra.bytes().size()))
      .Bytes(name)
      .Bytes(extra.bytes());
  Put(header.bytes());
  Put(deflated);
  entries_.push_back(std::move(entry));
}

void ZipWriter::Finish() {
  const uint64_t directory_offset = offset_;
  Fields directory;
  for (const Entry& entry : entries_) {
    const bool big_size = entry.size >= k32;
    const bool big_compressed = entry.compressed >= k32;
    const bool big_offset = entry.offset >= k32;
    Fields extra;
    if (big_size || big_compressed || big_offset) {
      Fields values;
      if (big_size) values.U64(entry.size);
      if (big_compressed) values.U64(entry.compressed);
      if (big_offset) values.U64(entry.offset);
      extra.U16(kZip64ExtraId)
          .U16(static_cast<uint16_t>(values.bytes().size()))
          .Bytes(values.bytes());
    }
    const uint16_t version = extra.bytes().empty() ? kVersion : kVersionZip64;
    directory.U32(kCentralHeader)
        .U16(version)  // made by: MS-DOS attributes, this version of the format
        .U16(version)  // needed
        .U16(0)
        .U16(kDeflated)
        .U16(0)
        .U16(kDosDate)
        .U32(entry.crc)
        .U32(big_compressed ? k32 : static_cast<uint32_t>(entry.compressed))
        .U32(big_size ? k32 : static_cast<uint32_t>(entry.size))
        .U16(static_cast<uint16_t>(entry.name.size()))
        .U16(static_cast<uint16_t>(extra.bytes().size()))
        .U16(0)  // comment
        .U16(0)  // disk
        .U16(0)  // internal attributes
        .U32(0)  // external attributes
        .U32(big_offset ? k32 : static_cast<uint32_t>(entry.offset))
        .Bytes(entry.name)
        .Bytes(extra.bytes());
  }
  Put(directory.bytes());
  const uint64_t directory_size = offset_ - directory_offset;
  const uint64_t count = entries_.size();
  const bool zip64 = count >= k16 || directory_size >= k32 || directory_offset >= k32;
  Fields end;
  if (zip64) {
    const uint64_t record_offset = offset_;
    end.U32(kZip64EndOfCentralDirectory)
        .U64(44)  // the size of the rest of this record
        .U16(kVersionZip64)
        .U16(kVersionZip64)
        .U32(0)
        .U32(0)
        .U64(count)
        .U64(count)
        .U64(directory_size)
        .U64(directory_offset);
    end.U32(kZip64Locator).U32(0).U64(record_offset).U32(1);
  }
  end.U32(kEndOfCentralDirectory)
      .U16(0)
      .U16(0)
      .U16(count >= k16 ? k16 : static_cast<uint16_t>(count))
      .U16(count >= k16 ? k16 : static_cast<uint16_t>(count))
      .U32(directory_size >= k32 ? k32 : static_cast<uint32_t>(directory_size))
      .U32(directory_offset >= k32 ? k32 : static_cast<uint32_t>(directory_offset))
      .U16(0);
  Put(end.bytes());
}

}  // namespace statcrane
