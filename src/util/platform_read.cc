// What both systems' file reading shares.
#include "util/platform_read.h"

#include <cstring>
#include <utility>

namespace statcrane {

FileBytes::~FileBytes() { Release(); }

FileBytes::FileBytes(FileBytes&& other) noexcept { *this = std::move(other); }

FileBytes& FileBytes::operator=(FileBytes&& other) noexcept {
  if (this != &other) {
    Release();
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
    buffer_ = std::move(other.buffer_);
    mapping_ = std::exchange(other.mapping_, nullptr);
    mapping_length_ = std::exchange(other.mapping_length_, 0);
    guard_ = std::exchange(other.guard_, -1);
  }
  return *this;
}

FileBytes FileBytes::CopyOf(std::span<const uint8_t> bytes) {
  FileBytes copy;
  copy.buffer_ = std::make_unique_for_overwrite<uint8_t[]>(bytes.size());
  if (!bytes.empty()) std::memcpy(copy.buffer_.get(), bytes.data(), bytes.size());
  copy.data_ = copy.buffer_.get();
  copy.size_ = bytes.size();
  return copy;
}

}  // namespace statcrane
