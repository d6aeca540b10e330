// The styles of a workbook, interned: every distinct CellStyle is stored once
// and cells refer to it by a small id (0 is the default style of an untouched
// cell). Formatting a cell is a change of one attribute of its style; the
// table remembers recent (style id, change) -> style id results so that
// repeating a change costs one lookup, not a copy and a hash of the style.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "workbook/cell_style.h"

namespace statcrane {

// One attribute change. Build it with the factory functions, which check the
// argument (StatCraneError for a value no cell can have); Apply then never
// fails.
struct StyleChange {
  enum Kind : uint8_t {
    kNumberFormat,
    kAlignment,
    kFill,
    kBold,
    kFontSize,
    kBorder,
    kFontColor,
    kUnderline,
  };
  Kind kind = kNumberFormat;
  uint8_t side = 0;      // a BorderSide, for kBorder
  int64_t argument = 0;  // format id, enum value, colour, or the bits of a font size

  // True when the change can alter the width of the text a cell shows.
  bool AffectsWidth() const { return kind == kNumberFormat || kind == kBold || kind == kFontSize; }
  friend bool operator==(const StyleChange&, const StyleChange&) = default;
};

class StyleTable {
 public:
  static constexpr uint32_t kDefaultStyle = 0;

  StyleTable();
  ~StyleTable();
  StyleTable(const StyleTable&) = delete;
  StyleTable& operator=(const StyleTable&) = delete;

  size_t size() const { return styles_.size(); }
  // Stable for the table's life.
  const CellStyle& Get(uint32_t id) const { return styles_[id]; }
  uint32_t Intern(const CellStyle& style);

  // The id of style `id` with `change` applied.
  uint32_t Apply(uint32_t id, const StyleChange& change);

  // Changes.
  StyleChange NumberFormat(std::string_view format);  // "" or "General" = General
  static StyleChange Alignment(HorizontalAlignment alignment);
  static StyleChange Fill(std::optional<Rgb> color);  // none removes the fill
  static StyleChange Bold(bool bold);
  static StyleChange FontSize(double points);
  static StyleChange FontColor(std::optional<Rgb> color);  // none: the automatic colour
  static StyleChange Underline(bool underline);
  // The side becomes `line`, line style and colour.
  static StyleChange Border(BorderSide side, const BorderLine& line);

  size_t MemoryBytes() const;

 private:
  struct StyleHash {
    size_t operator()(const CellStyle& style) const;
  };
  struct CacheEntry {
    uint32_t from = UINT32_MAX;
    uint32_t to = 0;
    uint32_t kind_side = 0;
    int64_t argument = 0;
  };
  static constexpr size_t kCacheSize = 4096;
  CellStyle Changed(const CellStyle& style, const StyleChange& change) const;

  std::deque<CellStyle> styles_;
  std::unordered_map<CellStyle, uint32_t, StyleHash> ids_;
  std::vector<std::string> formats_;
  std::unordered_map<std::string, uint32_t> format_ids_;
  std::unique_ptr<CacheEntry[]> cache_;
};

}  // namespace statcrane
