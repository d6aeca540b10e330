#include "workbook/cell_store.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#include "util/platform_memory.h"
#include "workbook/cell_range.h"

namespace statcrane {

const std::array<uint16_t, CellStore::kClasses> CellStore::kCapacity = {
    1,   2,   3,   4,   6,   8,   12,   16,   20,   21,   24,   32,   48,   64,    96,
    128, 192, 256, 384, 512, 768, 1024, 1536, 2048, 3072, 4096, 6144, 8192, 12288, 16384};
static_assert(kMaxColumns == 16384);

namespace {

constexpr size_t kFirstChunkBytes = 64 * 1024;
constexpr size_t kLargestChunkBytes = 8 * 1024 * 1024;
// The most room a new row is given for the cells of the row above it.
constexpr size_t kRoomFromAbove = 32;

}  // namespace

void CellStore::ChunkFree::operator()(char* chunk) const {
  if (huge) {
    FreeHugePageBlock(chunk);
  } else {
    std::free(chunk);
  }
}

CellStore::~CellStore() = default;

StoredCell* CellStore::Allocate(int size_class) {
  if (StoredCell* reused = free_[static_cast<size_t>(size_class)]) {
    free_[static_cast<size_t>(size_class)] = *reinterpret_cast<StoredCell**>(reused);
    return reused;
  }
  size_t bytes = kCapacity[static_cast<size_t>(size_class)] * sizeof(StoredCell);
  if (static_cast<size_t>(chunk_end_ - chunk_next_) < bytes) {
    // Each chunk twice the last, up to kLargestChunkBytes.
    size_t size =
        chunks_.empty() ? kFirstChunkBytes : std::min(kLargestChunkBytes, 2 * last_chunk_bytes_);
    size = std::max({size, bytes, kFirstChunkBytes});
    char* chunk;
    const bool huge = size >= kHugePageBytes;
    if (huge) {
      // Large chunks on huge pages: far fewer page faults while a big sheet fills.
      size = (size + kHugePageBytes - 1) / kHugePageBytes * kHugePageBytes;
      chunk = static_cast<char*>(AllocateHugePageBlock(size));
    } else {
      chunk = static_cast<char*>(std::malloc(size));
      if (chunk == nullptr) throw std::bad_alloc();
    }
    chunks_.emplace_back(chunk, ChunkFree{huge});
    chunk_bytes_ += size;
    last_chunk_bytes_ = size;
    chunk_next_ = chunk;
    chunk_end_ = chunk + size;
  }
  StoredCell* cells = reinterpret_cast<StoredCell*>(chunk_next_);
  chunk_next_ += bytes;
  return cells;
}

void CellStore::Release(StoredCell* cells, int size_class) {
  *reinterpret_cast<StoredCell**>(cells) = free_[static_cast<size_t>(size_class)];
  free_[static_cast<size_t>(size_class)] = cells;
}

void CellStore::FreeRow(Row& row) {
  if (row.cells != nullptr) Release(row.cells, row.size_class);
  row = Row{};
}

CellStore::Row& CellStore::RowAt(int32_t row) {
  size_t needed = static_cast<size_t>(row);
  if (rows_.size() < needed) {
    if (rows_.capacity() < needed) rows_.reserve(std::max(needed, rows_.capacity() * 2));
    rows_.resize(needed);
  }
  return rows_[needed - 1];
}

int32_t CellStore::LastRow() const {
  for (size_t r = rows_.size(); r > 0; --r) {
    if (rows_[r - 1].size > 0) return static_cast<int32_t>(r);
  }
  return 0;
}

std::span<const StoredCell> CellStore::RowCells(int32_t row) const {
  if (row < 1 || static_cast<size_t>(row) > rows_.size()) return {};
  const Row& r = rows_[row - 1];
  return {r.cells, r.size};
}

std::span<StoredCell> CellStore::RowCells(int32_t row) {
  if (row < 1 || static_cast<size_t>(row) > rows_.size()) return {};
  Row& r = rows_[row - 1];
  return {r.cells, r.size};
}

size_t CellStore::LowerBound(const Row& row, int32_t col) {
  if (row.size == 0 || row.cells[row.size - 1].col < col) return row.size;
  const StoredCell* found =
      std::lower_bound(row.cells, row.cells + row.size, col,
                       [](const StoredCell& cell, int32_t c) { return cell.col < c; });
  return static_cast<size_t>(found - row.cells);
}

const StoredCell* CellStore::Find(int32_t row, int32_t col) const {
  if (row < 1 || static_cast<size_t>(row) > rows_.size()) return nullptr;
  const Row& r = rows_[row - 1];
  size_t i = LowerBound(r, col);
  return i < r.size && r.cells[i].col == col ? &r.cells[i] : nullptr;
}

void CellStore::Reserve(Row& row, size_t needed) {
  if (row.cells != nullptr && needed <= kCapacity[row.size_class]) return;
  int size_class = row.cells != nullptr ? row.size_class + 1 : 0;
  if (row.cells == nullptr && &row != rows_.data()) {
    // Sheets are written a line at a time, and lines below each other tend
    // to be as wide: a new row starts with room for as many cells as the
    // row above holds (up to kRoomFromAbove), instead of growing one size
    // class after the other as its cells come.
    const size_t above = std::min<size_t>((&row - 1)->size, kRoomFromAbove);
    needed = std::max(needed, above);
  }
  while (kCapacity[static_cast<size_t>(size_class)] < needed) ++size_class;
  StoredCell* grown = Allocate(size_class);
  if (row.cells != nullptr) {
    std::memcpy(grown, row.cells, row.size * sizeof(StoredCell));
    Release(row.cells, row.size_class);
  }
  row.cells = grown;
  row.size_class = static_cast<uint8_t>(size_class);
}

std::span<StoredCell> CellStore::Touch(int32_t row, int32_t first_col, int32_t last_col) {
  Row& r = RowAt(row);
  size_t want = static_cast<size_t>(last_col - first_col + 1);
  size_t begin = LowerBound(r, first_col);
  size_t end = begin;
  while (end < r.size && r.cells[end].col <= last_col) ++end;
  if (end - begin == want) return {r.cells + begin, want};

  size_t missing = want - (end - begin);
  Reserve(r, r.size + missing);
  StoredCell* cells = r.cells;
  std::memmove(cells + end + missing, cells + end, (r.size - end) * sizeof(StoredCell));
  // Fill [begin, begin + want) from the back, moving the existing cells of
  // the span to their places and creating the missing ones.
  size_t pos = begin + want;
  size_t src = end;
  for (int32_t col = last_col; col >= first_col; --col) {
    --pos;
    if (src > begin && cells[src - 1].col == col) {
      --src;
      if (pos != src) cells[pos] = cells[src];
    } else {
      StoredCell& fresh = cells[pos];
      fresh.value.number = 0;
      fresh.style = 0;
      fresh.col = static_cast<uint16_t>(col);
      fresh.kind = 0;
      fresh.flags = 0;
    }
  }
  r.size = static_cast<uint16_t>(r.size + missing);
  cell_count_ += static_cast<int64_t>(missing);
  return {cells + begin, want};
}

void CellStore::Erase(int32_t row, int32_t first_col, int32_t last_col) {
  if (row < 1 || static_cast<size_t>(row) > rows_.size()) return;
  Row& r = rows_[row - 1];
  size_t begin = LowerBound(r, first_col);
  size_t end = begin;
  while (end < r.size && r.cells[end].col <= last_col) ++end;
  if (end == begin) return;
  std::memmove(r.cells + begin, r.cells + end, (r.size - end) * sizeof(StoredCell));
  r.size = static_cast<uint16_t>(r.size - (end - begin));
  cell_count_ -= static_cast<int64_t>(end - begin);
  if (r.size == 0) FreeRow(r);
}

void CellStore::EraseBlank(int32_t row, int32_t first_col, int32_t last_col) {
  if (row < 1 || static_cast<size_t>(row) > rows_.size()) return;
  Row& r = rows_[row - 1];
  size_t kept = LowerBound(r, first_col);
  size_t i = kept;
  for (; i < r.size && r.cells[i].col <= last_col; ++i) {
    const StoredCell& cell = r.cells[i];
    bool blank = cell.kind == 0 && cell.style == 0 && cell.flags == 0;
    if (!blank) r.cells[kept++] = cell;
  }
  size_t removed = i - kept;
  if (removed == 0) return;
  std::memmove(r.cells + kept, r.cells + i, (r.size - i) * sizeof(StoredCell));
  r.size = static_cast<uint16_t>(r.size - removed);
  cell_count_ -= static_cast<int64_t>(removed);
  if (r.size == 0) FreeRow(r);
}

size_t CellStore::MemoryBytes() const {
  return rows_.capacity() * sizeof(Row) + chunk_bytes_ + chunks_.capacity() * sizeof(void*);
}

}  // namespace statcrane
