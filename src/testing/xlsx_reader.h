// An .xlsx reader for tests that is independent of the workbook writer: it
// runs tools/xlsx_dump.py (openpyxl, under /usr/bin/python3) and gives what
// the file holds as plain structures:
//
//   XlsxBook book = ReadXlsx(path);
//   EXPECT_EQ(book.SheetNames(), (std::vector<std::string>{"A", "B"}));
//   EXPECT_EQ(book.active, "B");
//   const XlsxCell& d7 = book.Sheet("A").Cell("D7");
//   EXPECT_EQ(d7.number, 0.333);
//   EXPECT_EQ(d7.number_format, "#.000");
//   EXPECT_EQ(d7.left.style, "medium");
//   EXPECT_EQ(book.Sheet("A").Cell("B9").bottom.color, "FF0000");
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace statcrane::testing {

// The text a colour 0xRRGGBB reads back as ("FFFFCC"), to compare with the
// fills and colours read.
inline std::string RgbText(uint32_t rgb) {
  char text[16];
  std::snprintf(text, sizeof text, "%06X", static_cast<unsigned>(rgb));
  return text;
}

struct XlsxBorderSide {
  std::string style;  // "" (none), "thin", "medium", "thick", "dashed", ...
  std::string color;  // "FF0000"; "" for the automatic colour
  friend bool operator==(const XlsxBorderSide&, const XlsxBorderSide&) = default;
};

struct XlsxCell {
  enum class Kind { kEmpty, kNumber, kText, kBool };
  bool present = false;  // false: the file has no such cell
  Kind kind = Kind::kEmpty;
  double number = 0;  // kNumber (and kBool: 0 or 1)
  std::string text;   // kText
  std::string number_format = "General";
  std::string horizontal;  // "" (general), "left", "center", "right", ...
  std::string fill;        // solid fill colour "FFFFCC", "" for none
  bool bold = false;
  double font_size = 11;
  std::string font_color;  // "0563C1"; "" for the automatic colour
  bool underline = false;
  XlsxBorderSide top, left, right, bottom;

  bool IsNumber() const { return kind == Kind::kNumber; }
  bool IsText() const { return kind == Kind::kText; }
  bool IsEmpty() const { return kind == Kind::kEmpty; }
};

// How a sheet prints, as the file's page setup says.
struct XlsxPage {
  bool present = false;     // the sheet has a page setup
  std::string orientation;  // "landscape", "portrait", "default"
  bool fit_to_page = false;
  int fit_width = 1;   // pages wide (when fitting)
  int fit_height = 1;  // pages tall; 0: as many as needed
};

struct XlsxFooter {
  std::string left, center, right;  // in the file's codes: "&A", "Page &P of &N"
  friend bool operator==(const XlsxFooter&, const XlsxFooter&) = default;
};

struct XlsxSheet {
  std::string name;
  bool tab_selected = false;
  std::string active_cell;  // "A1" when the file names none
  std::string frozen_at;    // first cell that scrolls; "" none
  std::string filter;       // the auto filter's range; "" none
  XlsxPage page;
  XlsxFooter footer;
  std::string title_rows;                    // rows printed on every page, "$1:$1"; "" none
  std::vector<int32_t> breaks;               // manual page breaks: the row above each
  std::map<std::string, std::string> links;  // cell ("A2") -> location ("'M'!A5")
  std::map<std::pair<int32_t, int32_t>, XlsxCell> cells;  // by (row, column)
  std::vector<std::string> merges;                        // "A5:E5"
  std::map<int32_t, double> widths;                       // column -> width as in the file

  // The cell at an A1 address; an empty, absent cell when the file has none.
  const XlsxCell& Cell(std::string_view a1) const;
  const XlsxCell& Cell(int32_t row, int32_t column) const;
  bool IsMerged(std::string_view a1_range) const;
  // Width of a column ("D") as the file gives it; 0 for the default width.
  double Width(std::string_view column) const;
  // The same in pixels of the default font (width x 7, rounded).
  int WidthPixels(std::string_view column) const;
  int32_t LastRow() const;  // 0 for a sheet without cells
};

struct XlsxDefinedName {
  std::string name;   // "_xlnm.Print_Titles"
  std::string sheet;  // the index of the sheet it belongs to, "" for the workbook
  std::string value;  // "'HitRegTotals'!$1:$1"
  bool hidden = false;
};

struct XlsxBook {
  std::vector<XlsxSheet> sheets;  // tab order
  std::string active;             // name of the active sheet
  // Document properties: "title", "creator", "created", "application",
  // "app_version" (those the file has).
  std::map<std::string, std::string> properties;
  std::vector<XlsxDefinedName> defined_names;
  // The same as SheetNames() and `active`, for tests that prefer fields.
  std::vector<std::string> sheet_names;
  std::string active_sheet;

  std::vector<std::string> SheetNames() const;
  // Throws std::out_of_range naming the sheet when there is none.
  const XlsxSheet& Sheet(std::string_view name) const;
};

// Reads a file; throws std::runtime_error with the reader's message when the
// file cannot be read.
XlsxBook ReadXlsx(const std::filesystem::path& file);
// The same for several files with one start of the reader, in their order.
std::vector<XlsxBook> ReadXlsxFiles(const std::vector<std::filesystem::path>& files);

// The pixels the file gives a column set to `width` character units (as
// Worksheet::ColumnWidth reports it), for comparing with WidthPixels.
int ColumnPixels(double width);

}  // namespace statcrane::testing
