// The cells of one sheet, compactly: per row an array of 16-byte cells sorted
// by column, each holding its column, its kind, an interned style id and
// either a number or the index of a pooled text. Rows that were never touched
// cost 16 bytes each.
#pragma once

#include <cstdint>
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
    uint16_t capacity = 0;
  };
  static size_t LowerBound(const Row& row, int32_t col);
  void Reserve(Row& row, size_t needed);

  std::vector<Row> rows_;  // rows_[r - 1] is row r
  int64_t cell_count_ = 0;
};

}  // namespace statcrane
