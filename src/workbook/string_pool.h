// The texts of a workbook's cells, stored once each: a cell holds a 32-bit
// index into the pool. Texts live in large chunks that never move, so a view
// handed out stays valid for the pool's life.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace statcrane {

class StringPool {
 public:
  StringPool();
  ~StringPool();
  StringPool(const StringPool&) = delete;
  StringPool& operator=(const StringPool&) = delete;

  // The index of `text`, adding it when it is new.
  uint32_t Intern(std::string_view text);
  std::string_view Get(uint32_t index) const { return texts_[index]; }
  size_t size() const { return texts_.size(); }
  size_t MemoryBytes() const;

 private:
  std::string_view Store(std::string_view text);
  void Grow();

  static constexpr size_t kChunkBytes = 64 * 1024;
  std::vector<std::unique_ptr<char[]>> chunks_;
  size_t chunk_used_ = kChunkBytes;  // bytes used of chunks_.back()
  size_t stored_bytes_ = 0;
  std::vector<std::string_view> texts_;
  // Open addressing: index + 1 of a text, 0 for a free slot.
  std::vector<uint32_t> slots_;
};

}  // namespace statcrane
