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

bool IsNoLine(int line_style) {
  return line_style == kLineStyleNone || line_style == kLineStyleNoneAlt;
}

}  // namespace

size_t StyleTable::StyleHash::operator()(const CellStyle& s) const {
  uint64_t h = std::hash<std::string>()(s.number_format);
  h = Mix(h, static_cast<uint64_t>(s.horizontal_alignment));
  h = Mix(h, static_cast<uint64_t>(s.fill));
  h = Mix(h, s.bold);
  h = Mix(h, std::bit_cast<uint64_t>(s.font_size));
  for (const BorderSide& b : s.borders) {
    h = Mix(h, static_cast<uint64_t>(static_cast<uint32_t>(b.line_style)));
    h = Mix(h, static_cast<uint64_t>(static_cast<uint32_t>(b.weight)));
    h = Mix(h, static_cast<uint64_t>(static_cast<uint32_t>(b.color)));
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
  int value = static_cast<int>(change.argument);
  switch (change.kind) {
    case StyleChange::kNumberFormat:
      result.number_format = formats_[static_cast<size_t>(change.argument)];
      break;
    case StyleChange::kAlignment:
      result.horizontal_alignment = value;
      break;
    case StyleChange::kFill:
      result.fill = value;
      break;
    case StyleChange::kBold:
      result.bold = value != 0;
      break;
    case StyleChange::kFontSize:
      result.font_size = std::bit_cast<double>(change.argument);
      break;
    case StyleChange::kLineStyle: {
      BorderSide& side = result.borders[change.side];
      if (IsNoLine(value)) {
        side = BorderSide{};
      } else {
        side.line_style = value;
      }
      break;
    }
    case StyleChange::kWeight: {
      // Setting a weight draws the side as a continuous line when it had none.
      BorderSide& side = result.borders[change.side];
      side.weight = value;
      if (side.line_style == kLineStyleNone) side.line_style = kLineStyleContinuous;
      break;
    }
    case StyleChange::kBorderColor: {
      // So does setting a colour.
      BorderSide& side = result.borders[change.side];
      side.color = value;
      if (side.line_style == kLineStyleNone) side.line_style = kLineStyleContinuous;
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

StyleChange StyleTable::HorizontalAlignment(int alignment) {
  switch (alignment) {
    case kAlignGeneral:
    case kAlignLeft:
    case kAlignCenter:
    case kAlignRight:
    case kAlignFill:
    case kAlignJustify:
    case kAlignCenterAcrossSelection:
    case kAlignDistributed:
      return {StyleChange::kAlignment, 0, alignment};
  }
  Refuse("horizontal alignment " + std::to_string(alignment) + " is not one the sheet knows");
}

StyleChange StyleTable::Fill(int palette_index) {
  // No fill: 0, the object model's "none" (-4142) and "automatic" (-4105).
  if (palette_index == kNoFill || palette_index == -4142 || palette_index == -4105) {
    return {StyleChange::kFill, 0, kNoFill};
  }
  PaletteRgb(palette_index);  // throws for an index outside the palette
  return {StyleChange::kFill, 0, palette_index};
}

StyleChange StyleTable::Bold(bool bold) { return {StyleChange::kBold, 0, bold ? 1 : 0}; }

StyleChange StyleTable::FontSize(double points) {
  if (!(points >= 1 && points <= 409)) {
    Refuse("font size " + std::to_string(points) + " is outside 1 to 409 points");
  }
  return {StyleChange::kFontSize, 0, std::bit_cast<int64_t>(points)};
}

StyleChange StyleTable::LineStyle(int side, int line_style) {
  switch (line_style) {
    case kLineStyleNone:
    case kLineStyleNoneAlt:
      return {StyleChange::kLineStyle, static_cast<uint8_t>(side), kLineStyleNone};
    case kLineStyleContinuous:
    case kLineStyleDash:
    case kLineStyleDot:
    case kLineStyleDouble:
    case kLineStyleDashDot:
    case kLineStyleDashDotDot:
    case kLineStyleSlantDashDot:
      return {StyleChange::kLineStyle, static_cast<uint8_t>(side), line_style};
  }
  Refuse("border line style " + std::to_string(line_style) + " is not one the sheet knows");
}

StyleChange StyleTable::Weight(int side, int weight) {
  if (weight != kWeightHairline && weight != kWeightThin && weight != kWeightMedium &&
      weight != kWeightThick) {
    Refuse("border weight " + std::to_string(weight) + " is not one the sheet knows");
  }
  return {StyleChange::kWeight, static_cast<uint8_t>(side), weight};
}

StyleChange StyleTable::BorderColor(int side, int rgb) {
  if (rgb != kColorAutomatic && (rgb < 0 || rgb > 0xFFFFFF)) {
    Refuse("border colour " + std::to_string(rgb) + " is not an RGB value");
  }
  return {StyleChange::kBorderColor, static_cast<uint8_t>(side), rgb};
}

size_t StyleTable::MemoryBytes() const {
  size_t bytes = kCacheSize * sizeof(CacheEntry);
  for (const CellStyle& s : styles_)
    bytes += 2 * (sizeof(CellStyle) + 32) + s.number_format.capacity();
  return bytes;
}

}  // namespace statcrane
