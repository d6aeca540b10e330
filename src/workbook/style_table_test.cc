#include "workbook/style_table.h"

#include <gtest/gtest.h>

#include "util/error.h"

namespace statcrane {
namespace {

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
  const BorderLine medium_red{LineStyle::kMedium, 0xFF0000};
  const uint32_t red = table.Apply(0, StyleTable::Border(BorderSide::kLeft, medium_red));
  EXPECT_EQ(table.Get(red).border(BorderSide::kLeft), medium_red);
  EXPECT_EQ(table.Get(red).border(BorderSide::kTop), BorderLine{});
  // Black is a colour of its own, not the automatic one.
  const uint32_t black =
      table.Apply(0, StyleTable::Border(BorderSide::kLeft, BorderLine{LineStyle::kMedium, 0}));
  EXPECT_NE(black, red);
  EXPECT_EQ(table.Get(black).border(BorderSide::kLeft).color, std::optional<Rgb>(0));
  const uint32_t automatic =
      table.Apply(0, StyleTable::Border(BorderSide::kLeft, BorderLine{LineStyle::kMedium, {}}));
  EXPECT_NE(automatic, black);
  // Every line style reaches the cell as given.
  for (int style = 0; style <= static_cast<int>(LineStyle::kSlantDashDot); ++style) {
    const BorderLine line{static_cast<LineStyle>(style), 0x123456};
    const uint32_t id = table.Apply(red, StyleTable::Border(BorderSide::kBottom, line));
    const BorderLine expected = style == 0 ? BorderLine{} : line;
    EXPECT_EQ(table.Get(id).border(BorderSide::kBottom), expected) << style;
    EXPECT_EQ(table.Get(id).border(BorderSide::kLeft), medium_red) << style;
  }
  // No line on the one side it had: the default style again.
  EXPECT_EQ(table.Apply(red, StyleTable::Border(BorderSide::kLeft, BorderLine{})), 0u);
}

TEST(StyleTable, FillsAndAlignment) {
  StyleTable table;
  const uint32_t filled = table.Apply(0, StyleTable::Fill(0xFFFFCC));
  EXPECT_EQ(table.Get(filled).fill, std::optional<Rgb>(0xFFFFCC));
  EXPECT_EQ(table.Apply(filled, StyleTable::Fill(std::nullopt)), 0u);
  const uint32_t right = table.Apply(filled, StyleTable::Alignment(HorizontalAlignment::kRight));
  EXPECT_EQ(table.Get(right).alignment, HorizontalAlignment::kRight);
  EXPECT_EQ(table.Get(right).fill, std::optional<Rgb>(0xFFFFCC));
}

TEST(StyleTable, RefusesValuesNoCellCanHave) {
  StyleTable table;
  EXPECT_THROW(StyleTable::Fill(0x1000000), StatCraneError);
  EXPECT_THROW(StyleTable::Border(BorderSide::kTop, BorderLine{LineStyle::kThin, 0x1000000}),
               StatCraneError);
  EXPECT_THROW(StyleTable::Border(BorderSide::kTop, BorderLine{static_cast<LineStyle>(99), {}}),
               StatCraneError);
  EXPECT_THROW(StyleTable::FontSize(0), StatCraneError);
  EXPECT_THROW(StyleTable::Alignment(static_cast<HorizontalAlignment>(9)), StatCraneError);
  EXPECT_THROW(table.NumberFormat(std::string(300, '0')), StatCraneError);
}

}  // namespace
}  // namespace statcrane
