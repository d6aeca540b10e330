#include "workbook/style_table.h"

#include <gtest/gtest.h>

#include "util/error.h"

namespace statcrane {
namespace {

TEST(Palette, DefaultColours) {
  EXPECT_EQ(PaletteRgb(kFillHitting), 0xFFFFCCu);
  EXPECT_EQ(PaletteRgb(kFillPitching), 0xCCFFFFu);
  EXPECT_EQ(PaletteRgb(kFillSummaryHeader), 0xFFFF99u);
  EXPECT_EQ(PaletteRgb(kFillLeague2), 0x99CCFFu);
  EXPECT_EQ(PaletteRgb(kFillLeague1), 0xFF99CCu);
  EXPECT_EQ(PaletteRgb(1), 0x000000u);
  EXPECT_EQ(PaletteRgb(3), 0xFF0000u);
  EXPECT_EQ(PaletteRgb(56), 0x333333u);
  EXPECT_THROW(PaletteRgb(0), StatCraneError);
  EXPECT_THROW(PaletteRgb(57), StatCraneError);
}

TEST(StyleTable, EqualStylesShareOneId) {
  StyleTable table;
  EXPECT_EQ(table.size(), 1u);
  EXPECT_EQ(table.Get(StyleTable::kDefaultStyle), CellStyle{});

  uint32_t bold = table.Apply(0, StyleTable::Bold(true));
  EXPECT_NE(bold, 0u);
  EXPECT_TRUE(table.Get(bold).bold);
  // Reached by another way, the same style is the same id.
  CellStyle same;
  same.bold = true;
  EXPECT_EQ(table.Intern(same), bold);
  EXPECT_EQ(table.Apply(0, StyleTable::Bold(true)), bold);
  EXPECT_EQ(table.Apply(bold, StyleTable::Bold(false)), 0u);

  uint32_t rates = table.Apply(bold, table.NumberFormat("#.000"));
  uint32_t rates_too =
      table.Apply(table.Apply(0, table.NumberFormat("#.000")), StyleTable::Bold(true));
  EXPECT_EQ(rates, rates_too);
  EXPECT_EQ(table.Get(rates).number_format, "#.000");
  EXPECT_EQ(table.Apply(rates, table.NumberFormat("General")), bold);
  EXPECT_EQ(table.size(), 4u);
}

TEST(StyleTable, BorderChanges) {
  StyleTable table;
  // A weight alone draws a continuous medium line.
  uint32_t medium = table.Apply(0, StyleTable::Weight(1, kWeightMedium));
  EXPECT_EQ(table.Get(medium).left(),
            (BorderSide{kLineStyleContinuous, kWeightMedium, kColorAutomatic}));
  // Line style first, then weight: the same style.
  uint32_t thin = table.Apply(0, StyleTable::LineStyle(1, kLineStyleContinuous));
  EXPECT_EQ(table.Get(thin).left(),
            (BorderSide{kLineStyleContinuous, kWeightThin, kColorAutomatic}));
  EXPECT_EQ(table.Apply(thin, StyleTable::Weight(1, kWeightMedium)), medium);
  uint32_t red = table.Apply(medium, StyleTable::BorderColor(1, kColorRed));
  EXPECT_EQ(table.Get(red).left().color, kColorRed);
  EXPECT_EQ(table.Get(red).top(), BorderSide{});
  EXPECT_EQ(table.Apply(red, StyleTable::LineStyle(1, kLineStyleNone)), 0u);
}

TEST(StyleTable, RefusesValuesTheSheetDoesNotKnow) {
  StyleTable table;
  EXPECT_THROW(StyleTable::Fill(57), StatCraneError);
  EXPECT_THROW(StyleTable::Weight(0, 3), StatCraneError);
  EXPECT_THROW(StyleTable::LineStyle(0, 99), StatCraneError);
  EXPECT_THROW(StyleTable::BorderColor(0, 0x1000000), StatCraneError);
  EXPECT_THROW(StyleTable::FontSize(0), StatCraneError);
  EXPECT_THROW(StyleTable::HorizontalAlignment(3), StatCraneError);
  EXPECT_THROW(table.NumberFormat(std::string(300, '0')), StatCraneError);
  EXPECT_EQ(StyleTable::Fill(-4142).argument, kNoFill);
}

}  // namespace
}  // namespace statcrane
