// A data file of fixed-length records, read whole into memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "encyclopedia/encyclopedia_folder.h"
#include "encyclopedia/record_layouts.h"
#include "util/run_report.h"

namespace statcrane {

class RecordFile {
 public:
  // Reads the file `name` of the folder with records of `record_length`
  // bytes. A missing file reads as no records. A trailing fragment shorter
  // than one record is ignored and reported. Throws StatCraneError when the
  // file exists but cannot be read (or is not a regular file).
  static RecordFile Read(const EncyclopediaFolder& folder, std::string_view name,
                         size_t record_length, SkipReporter& reporter);
  // Records from bytes already in memory (tests, fuzzing).
  static RecordFile FromBytes(std::vector<uint8_t> bytes, size_t record_length);

  bool exists() const { return exists_; }
  size_t RecordCount() const { return record_length_ ? bytes_.size() / record_length_ : 0; }
  // Record n, counted from 1.
  RecordBytes Record(size_t number) const {
    return RecordBytes(bytes_.data() + (number - 1) * record_length_, record_length_);
  }

 private:
  std::vector<uint8_t> bytes_;
  size_t record_length_ = 0;
  bool exists_ = false;
};

}  // namespace statcrane
