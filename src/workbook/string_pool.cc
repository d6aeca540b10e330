#include "workbook/string_pool.h"

#include <cstring>
#include <functional>

#include "util/error.h"

namespace statcrane {
namespace {

size_t HashText(std::string_view text) { return std::hash<std::string_view>()(text); }

}  // namespace

StringPool::StringPool() : slots_(1024, 0) {}
StringPool::~StringPool() = default;

std::string_view StringPool::Store(std::string_view text) {
  if (text.empty()) return {};
  char* destination;
  if (text.size() > kChunkBytes / 4) {
    // A long text gets a chunk of its own, kept before the current one.
    auto own = std::make_unique<char[]>(text.size());
    destination = own.get();
    chunks_.insert(chunks_.empty() ? chunks_.end() : chunks_.end() - 1, std::move(own));
  } else {
    if (chunk_used_ + text.size() > kChunkBytes) {
      chunks_.push_back(std::make_unique<char[]>(kChunkBytes));
      chunk_used_ = 0;
    }
    destination = chunks_.back().get() + chunk_used_;
    chunk_used_ += text.size();
  }
  std::memcpy(destination, text.data(), text.size());
  stored_bytes_ += text.size();
  return {destination, text.size()};
}

void StringPool::Grow() {
  std::vector<uint32_t> bigger(slots_.size() * 2, 0);
  size_t mask = bigger.size() - 1;
  for (uint32_t slot : slots_) {
    if (slot == 0) continue;
    size_t i = HashText(texts_[slot - 1]) & mask;
    while (bigger[i] != 0) i = (i + 1) & mask;
    bigger[i] = slot;
  }
  slots_.swap(bigger);
}

uint32_t StringPool::Intern(std::string_view text) {
  size_t mask = slots_.size() - 1;
  size_t i = HashText(text) & mask;
  while (slots_[i] != 0) {
    if (texts_[slots_[i] - 1] == text) return slots_[i] - 1;
    i = (i + 1) & mask;
  }
  if (texts_.size() >= UINT32_MAX - 1) {
    throw StatCraneError("the workbook holds too many different texts");
  }
  uint32_t index = static_cast<uint32_t>(texts_.size());
  texts_.push_back(Store(text));
  slots_[i] = index + 1;
  if (texts_.size() * 2 > slots_.size()) Grow();
  return index;
}

size_t StringPool::MemoryBytes() const {
  size_t chunk_bytes = 0;
  // Shared chunks are kChunkBytes; own chunks hold one text each.
  chunk_bytes = stored_bytes_ + (chunks_.empty() ? 0 : kChunkBytes - chunk_used_);
  return chunk_bytes + texts_.capacity() * sizeof(std::string_view) +
         slots_.capacity() * sizeof(uint32_t);
}

}  // namespace statcrane
