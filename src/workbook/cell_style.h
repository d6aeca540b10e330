// What a cell looks like: number format, alignment, fill, font and borders,
// in plain terms (RGB colours, a line style per border side).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace statcrane {

using Rgb = uint32_t;  // 0xRRGGBB

inline constexpr Rgb kRed = 0xFF0000;

enum class HorizontalAlignment : uint8_t { kGeneral, kLeft, kCenter, kRight };

// The line styles a border side can have in a workbook file.
enum class LineStyle : uint8_t {
  kNone,
  kThin,
  kMedium,
  kDashed,
  kDotted,
  kThick,
  kDouble,
  kHair,
  kMediumDashed,
  kDashDot,
  kMediumDashDot,
  kDashDotDot,
  kMediumDashDotDot,
  kSlantDashDot,
};

// The four sides of a cell, in the order CellStyle::borders holds them.
enum class BorderSide : uint8_t { kTop, kLeft, kRight, kBottom };
inline constexpr std::array<BorderSide, 4> kAllSides = {BorderSide::kTop, BorderSide::kLeft,
                                                        BorderSide::kRight, BorderSide::kBottom};

struct BorderLine {
  LineStyle style = LineStyle::kNone;
  std::optional<Rgb> color;  // none: the automatic colour (black)
  friend bool operator==(const BorderLine&, const BorderLine&) = default;
};

struct CellStyle {
  std::string number_format;  // "" = General
  HorizontalAlignment alignment = HorizontalAlignment::kGeneral;
  std::optional<Rgb> fill;  // a solid fill, or none
  bool bold = false;
  double font_size = 11;
  std::optional<Rgb> font_color;        // none: the automatic colour (black)
  bool underline = false;               // a single underline
  std::array<BorderLine, 4> borders{};  // indexed by BorderSide
  friend bool operator==(const CellStyle&, const CellStyle&) = default;

  const BorderLine& border(BorderSide side) const { return borders[static_cast<size_t>(side)]; }
  const BorderLine& top() const { return border(BorderSide::kTop); }
  const BorderLine& left() const { return border(BorderSide::kLeft); }
  const BorderLine& right() const { return border(BorderSide::kRight); }
  const BorderLine& bottom() const { return border(BorderSide::kBottom); }
};

}  // namespace statcrane
