// Encyclopedia files built from records in one line:
//   WriteRecords(dir / "ENCTEAM.DAT", std::vector<TeamRecord>{{...}, {...}});
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "encyclopedia/record_layouts.h"

namespace statcrane::testing {

// The records encoded one after another, Record::kSize bytes each.
template <typename Record>
std::vector<uint8_t> EncodeRecords(const std::vector<Record>& records) {
  std::vector<uint8_t> bytes(records.size() * Record::kSize);
  for (size_t i = 0; i < records.size(); ++i) {
    records[i].Encode(MutableRecordBytes(bytes.data() + i * Record::kSize, Record::kSize));
  }
  return bytes;
}

// Writes the bytes as the whole content of `file`, replacing it; throws
// std::runtime_error when it cannot.
void WriteBytes(const std::filesystem::path& file, std::span<const uint8_t> bytes);

// The whole content of `file`; throws std::runtime_error when it cannot.
std::vector<uint8_t> ReadBytes(const std::filesystem::path& file);

template <typename Record>
void WriteRecords(const std::filesystem::path& file, const std::vector<Record>& records) {
  WriteBytes(file, EncodeRecords(records));
}

// Every whole record of `file`, decoded (a trailing fragment is dropped).
template <typename Record>
std::vector<Record> ReadRecords(const std::filesystem::path& file) {
  const std::vector<uint8_t> bytes = ReadBytes(file);
  std::vector<Record> records;
  records.reserve(bytes.size() / Record::kSize);
  for (size_t offset = 0; offset + Record::kSize <= bytes.size(); offset += Record::kSize) {
    records.push_back(Record::Decode(RecordBytes(bytes.data() + offset, Record::kSize)));
  }
  return records;
}

}  // namespace statcrane::testing
