#include "workbook/style_table.h"

#include <bit>
#include <cctype>
#include <cmath>
#include <functional>
#include <string>

#include "util/error.h"

namespace statcrane {
namespace {

[[noreturn]] void Refuse(const std::string& what) { throw StatCraneError(what); }

uint64_t Mix(uint64_t h, uint64_t v) {
  h ^= v + 0x9E3779B97F4A7C15ULL + (h << 6) + (h >> 2);
  return h;
}

// A fill or border colour in a change's argument: -1 for none.
int64_t ColorArgument(std::optional<Rgb> color) {
  return color ? static_cast<int64_t>(*color) : -1;
}

std::optional<Rgb> ColorOf(int64_t argument) {
  if (argument < 0) return std::nullopt;
  return static_cast<Rgb>(argument);
}

void CheckColor(std::optional<Rgb> color, const char* what) {
  if (color && *color > 0xFFFFFF) {
    Refuse(std::string(what) + " " + std::to_string(*color) + " is not an RGB colour");
  }
}

}  // namespace

size_t StyleTable::StyleHash::operator()(const CellStyle& s) const {
  uint64_t h = std::hash<std::string>()(s.number_format);
  h = Mix(h, static_cast<uint64_t>(s.alignment));
  h = Mix(h, static_cast<uint64_t>(ColorArgument(s.fill)));
  h = Mix(h, s.bold);
  h = Mix(h, std::bit_cast<uint64_t>(s.font_size));
  h = Mix(h, static_cast<uint64_t>(ColorArgument(s.font_color)));
  h = Mix(h, s.underline);
  for (const BorderLine& b : s.borders) {
    h = Mix(h, static_cast<uint64_t>(b.style));
    h = Mix(h, static_cast<uint64_t>(ColorArgument(b.color)));
  }
  return static_cast<size_t>(h);
}

StyleTable::StyleTable() : cache_(new CacheEntry[kCacheSize]) {
  Intern(CellStyle{});
  formats_.emplace_back();
  format_ids_.emplace("", 0);
}

StyleTable::~StyleTable() = default;

uint32_t StyleTable::Intern(const CellStyle& style) {
  auto found = ids_.find(style);
  if (found != ids_.end()) return found->second;
  uint32_t id = static_cast<uint32_t>(styles_.size());
  styles_.push_back(style);
  ids_.emplace(style, id);
  return id;
}

CellStyle StyleTable::Changed(const CellStyle& style, const StyleChange& change) const {
  CellStyle result = style;
  switch (change.kind) {
    case StyleChange::kNumberFormat:
      result.number_format = formats_[static_cast<size_t>(change.argument)];
      break;
    case StyleChange::kAlignment:
      result.alignment = static_cast<HorizontalAlignment>(change.argument);
      break;
    case StyleChange::kFill:
      result.fill = ColorOf(change.argument);
      break;
    case StyleChange::kBold:
      result.bold = change.argument != 0;
      break;
    case StyleChange::kFontSize:
      result.font_size = std::bit_cast<double>(change.argument);
      break;
    case StyleChange::kFontColor:
      result.font_color = ColorOf(change.argument);
      break;
    case StyleChange::kUnderline:
      result.underline = change.argument != 0;
      break;
    case StyleChange::kBorder: {
      BorderLine& line = result.borders[change.side];
      line.style = static_cast<LineStyle>(change.argument & 0xFF);
      line.color = line.style == LineStyle::kNone ? std::nullopt : ColorOf(change.argument >> 8);
      break;
    }
  }
  return result;
}

uint32_t StyleTable::Apply(uint32_t id, const StyleChange& change) {
  uint32_t kind_side = (static_cast<uint32_t>(change.kind) << 8) | change.side;
  uint64_t h = Mix(Mix(id, kind_side), static_cast<uint64_t>(change.argument));
  CacheEntry& entry = cache_[h & (kCacheSize - 1)];
  if (entry.from == id && entry.kind_side == kind_side && entry.argument == change.argument) {
    return entry.to;
  }
  uint32_t to = Intern(Changed(styles_[id], change));
  entry = {id, to, kind_side, change.argument};
  return to;
}

StyleChange StyleTable::NumberFormat(std::string_view format) {
  std::string text(format);
  if (text.size() == 7) {
    std::string lower = text;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower == "general") text.clear();
  }
  if (text.size() > 255) Refuse("a number format may have at most 255 characters");
  auto found = format_ids_.find(text);
  uint32_t id;
  if (found != format_ids_.end()) {
    id = found->second;
  } else {
    id = static_cast<uint32_t>(formats_.size());
    formats_.push_back(text);
    format_ids_.emplace(text, id);
  }
  return {StyleChange::kNumberFormat, 0, id};
}

StyleChange StyleTable::Alignment(HorizontalAlignment alignment) {
  if (alignment > HorizontalAlignment::kRight) {
    Refuse("horizontal alignment " + std::to_string(static_cast<int>(alignment)) +
           " is not one a cell can have");
  }
  return {StyleChange::kAlignment, 0, static_cast<int64_t>(alignment)};
}

StyleChange StyleTable::Fill(std::optional<Rgb> color) {
  CheckColor(color, "fill colour");
  return {StyleChange::kFill, 0, ColorArgument(color)};
}

StyleChange StyleTable::Bold(bool bold) { return {StyleChange::kBold, 0, bold ? 1 : 0}; }

StyleChange StyleTable::FontSize(double points) {
  if (!(points >= 1 && points <= 409)) {
    Refuse("font size " + std::to_string(points) + " is outside 1 to 409 points");
  }
  return {StyleChange::kFontSize, 0, std::bit_cast<int64_t>(points)};
}

StyleChange StyleTable::FontColor(std::optional<Rgb> color) {
  CheckColor(color, "font colour");
  return {StyleChange::kFontColor, 0, ColorArgument(color)};
}

StyleChange StyleTable::Underline(bool underline) {
  return {StyleChange::kUnderline, 0, underline ? 1 : 0};
}

StyleChange StyleTable::Border(BorderSide side, const BorderLine& line) {
  if (side > BorderSide::kBottom || line.style > LineStyle::kSlantDashDot) {
    Refuse("border side " + std::to_string(static_cast<int>(side)) + " or line style " +
           std::to_string(static_cast<int>(line.style)) + " is not one a cell can have");
  }
  CheckColor(line.color, "border colour");
  // The colour above the line style's byte; -1 (none) makes every bit above it set.
  const int64_t argument = static_cast<int64_t>(line.style) | (ColorArgument(line.color) * 256);
  return {StyleChange::kBorder, static_cast<uint8_t>(side), argument};
}

size_t StyleTable::MemoryBytes() const {
  size_t bytes = kCacheSize * sizeof(CacheEntry);
  for (const CellStyle& s : styles_)
    bytes += 2 * (sizeof(CellStyle) + 32) + s.number_format.capacity();
  return bytes;
}

}  // namespace statcrane
