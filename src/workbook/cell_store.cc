#include "workbook/cell_store.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#include "workbook/cell_range.h"

namespace statcrane {

CellStore::~CellStore() {
  for (Row& row : rows_) std::free(row.cells);
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
  const StoredCell* found = std::lower_bound(
      row.cells, row.cells + row.size, col,
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
  if (needed <= row.capacity) return;
  size_t capacity = std::max<size_t>({needed, row.capacity + row.capacity / 2u, 4});
  capacity = std::min<size_t>(capacity, kMaxColumns);
  capacity = std::max(capacity, needed);
  void* grown = std::realloc(row.cells, capacity * sizeof(StoredCell));
  if (grown == nullptr) throw std::bad_alloc();
  row.cells = static_cast<StoredCell*>(grown);
  row.capacity = static_cast<uint16_t>(capacity);
}

std::span<StoredCell> CellStore::Touch(int32_t row, int32_t first_col, int32_t last_col) {
  if (rows_.size() < static_cast<size_t>(row)) rows_.resize(static_cast<size_t>(row));
  Row& r = rows_[row - 1];
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
  if (r.size == 0) {
    std::free(r.cells);
    r = Row{};
  }
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
  if (r.size == 0) {
    std::free(r.cells);
    r = Row{};
  }
}

size_t CellStore::MemoryBytes() const {
  size_t bytes = rows_.capacity() * sizeof(Row);
  for (const Row& row : rows_) {
    if (row.capacity == 0) continue;
    // The allocator adds 8 bytes to a block and rounds it up to 16.
    size_t block = (row.capacity * sizeof(StoredCell) + 8 + 15) & ~size_t{15};
    bytes += std::max<size_t>(block, 32);
  }
  return bytes;
}

}  // namespace statcrane
