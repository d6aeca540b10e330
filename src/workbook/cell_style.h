// What a cell looks like: number format, alignment, fill, font and borders.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace statcrane {

// Border indexes: a cell side of every cell of a range, or one outer edge of
// the range only (kEdgeTop: the top of its first row).
enum class BorderIndex : int {
  kTop = -4160,
  kLeft = -4131,
  kRight = -4152,
  kBottom = -4107,
  kEdgeTop = 8,
  kEdgeLeft = 7,
  kEdgeBottom = 9,
  kEdgeRight = 10,
};

constexpr int kLineStyleNone = 0;
constexpr int kLineStyleContinuous = 1;
constexpr int kWeightThin = 2;
constexpr int kWeightMedium = -4138;
constexpr int kColorAutomatic = -1;
constexpr int kColorRed = 255;  // RGB value 0x0000FF as the application writes it (red)
constexpr int kAlignGeneral = 1;
constexpr int kAlignRight = -4152;
constexpr int kNoFill = 0;

// Palette indexes of the default 56-colour palette that the sheets use.
constexpr int kFillHitting = 19;        // #FFFFCC
constexpr int kFillPitching = 20;       // #CCFFFF
constexpr int kFillSummaryHeader = 36;  // #FFFF99
constexpr int kFillLeague2 = 37;        // #99CCFF
constexpr int kFillLeague1 = 38;        // #FF99CC

// RGB (0xRRGGBB) of a palette index 1..56 of the default palette.
uint32_t PaletteRgb(int palette_index);

struct BorderSide {
  int line_style = kLineStyleNone;
  int weight = kWeightThin;
  int color = kColorAutomatic;  // RGB as the object model takes it (255 = red)
  friend bool operator==(const BorderSide&, const BorderSide&) = default;
};

struct CellStyle {
  std::string number_format;  // "" = General
  int horizontal_alignment = kAlignGeneral;
  int fill = kNoFill;
  bool bold = false;
  double font_size = 11;
  // kTop, kLeft, kRight, kBottom in that order.
  std::array<BorderSide, 4> borders{};
  friend bool operator==(const CellStyle&, const CellStyle&) = default;

  const BorderSide& top() const { return borders[0]; }
  const BorderSide& left() const { return borders[1]; }
  const BorderSide& right() const { return borders[2]; }
  const BorderSide& bottom() const { return borders[3]; }
};

}  // namespace statcrane
