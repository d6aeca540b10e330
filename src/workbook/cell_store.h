// The cells of one sheet, compactly: per row an array of 16-byte cells sorted
// by column, each holding its column, its kind, an interned style id and
// either a number or the index of a pooled text. Rows that were never touched
// cost 16 bytes each.
//
// Row arrays come from the store's own arena in a few size classes, with
// exact ones for the widest lines the sheets have (20 and 21 cells, columns A
// to T and A to U); an array outgrown by its row goes on a free list
// for the next row that needs one of its size. This keeps the general
// allocator, and its reallocations, out of the writers' inner loop.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace statcrane {

struct StoredCell {
  union {
    double number;
    uint32_t text;  // index into the workbook's StringPool
  } value;
  uint32_t style;  // id in the workbook's StyleTable
  uint16_t col;    // 1-based
  uint8_t kind;    // CellKind
  uint8_t flags;   // kInMerge

  static constexpr uint8_t kInMerge = 1;  // part of a merged block
};
static_assert(sizeof(StoredCell) == 16);

class CellStore {
 public:
  CellStore() = default;
  ~CellStore();
  CellStore(const CellStore&) = delete;
  CellStore& operator=(const CellStore&) = delete;

  // The highest row holding a cell; 0 when there is none.
  int32_t LastRow() const;
  // The cells of a row, in column order (empty beyond LastRow()).
  std::span<const StoredCell> RowCells(int32_t row) const;
  std::span<StoredCell> RowCells(int32_t row);
  // The cell at (row, col), or nullptr.
  const StoredCell* Find(int32_t row, int32_t col) const;

  // Makes sure columns first_col..last_col of the row exist (new ones empty,
  // default style) and returns them: they are contiguous because the row is
  // sorted by column.
  std::span<StoredCell> Touch(int32_t row, int32_t first_col, int32_t last_col);
  // Removes the cells of columns first_col..last_col of the row.
  void Erase(int32_t row, int32_t first_col, int32_t last_col);
  // Removes the cells of columns first_col..last_col of the row that hold
  // nothing: no value, the default style and no flags.
  void EraseBlank(int32_t row, int32_t first_col, int32_t last_col);

  int64_t CellCount() const { return cell_count_; }
  // Bytes held: cell arrays (with their spare capacity and the allocator's
  // per-block overhead) and the row table.
  size_t MemoryBytes() const;

 private:
  struct Row {
    StoredCell* cells = nullptr;
    uint16_t size = 0;
    uint8_t size_class = 0;  // capacity kCapacity[size_class] when cells != nullptr
  };
  static constexpr int kClasses = 30;
  static const std::array<uint16_t, kClasses> kCapacity;

  static size_t LowerBound(const Row& row, int32_t col);
  void Reserve(Row& row, size_t needed);
  StoredCell* Allocate(int size_class);
  void Release(StoredCell* cells, int size_class);
  void FreeRow(Row& row);
  Row& RowAt(int32_t row);  // grows the row table as needed

  struct ChunkFree {
    bool huge = false;  // from AllocateHugePageBlock, not malloc
    void operator()(char* chunk) const;
  };
  std::vector<Row> rows_;  // rows_[r - 1] is row r
  int64_t cell_count_ = 0;
  std::vector<std::unique_ptr<char, ChunkFree>> chunks_;
  char* chunk_next_ = nullptr;
  char* chunk_end_ = nullptr;
  size_t chunk_bytes_ = 0;  // all chunks together
  size_t last_chunk_bytes_ = 0;
  std::array<StoredCell*, kClasses> free_{};  // released arrays, linked through their first cell
};

}  // namespace statcrane
