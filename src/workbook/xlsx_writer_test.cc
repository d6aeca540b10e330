#include "workbook/xlsx_writer.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cmath>
#include <fstream>
#include <functional>
#include <iterator>
#include <limits>
#include <map>
#include <set>

#include "testing/child_process.h"
#include "testing/skip.h"
#include "testing/temp_dir.h"
#include "testing/xlsx_package.h"
#include "testing/xlsx_reader.h"
#include "util/error.h"
#include "util/three_decimals.h"
#include "workbook/xlsx_parts.h"
#include "workbook/xml_text.h"

namespace statcrane {
namespace {

using testing::ChildOutcome;
using testing::ColumnPixels;
using testing::ReadXlsx;
using testing::TempDir;
using testing::XlsxBook;
using testing::XlsxBorderSide;
using testing::XlsxCell;
using testing::XlsxSheet;
namespace fs = std::filesystem;

CellRange A1(std::string_view text) { return CellRange::Parse(text); }

// A player block as the letter sheets have it: name row, heading row, one
// hitting line and a totals line.
void WritePlayerBlock(Worksheet& sheet) {
  sheet.Select(A1("A5"));
  sheet.Merge(A1("A5:E5"));
  sheet.SetText(A1("A5"), "Smith, Al");
  sheet.Merge(A1("R5:U5"));
  sheet.SetNumber(A1("R5"), 1234);
  sheet.SetBold(A1("A5:U5"), true);
  sheet.SetFontSize(A1("A5:U5"), 12);
  for (auto side : {BorderSide::kTop, BorderSide::kLeft, BorderSide::kRight}) {
    sheet.SetBorder(A1("A5:E5"), side, LineStyle::kThin);
  }
  sheet.SetBorder(A1("A5:U5"), BorderSide::kBottom, LineStyle::kMedium);
  sheet.SetFill(A1("A5:E5"), 0xFFFFCC);
  sheet.SetFill(A1("R5:U5"), 0xFFFFCC);

  const char* headings[] = {"Year", "Team", "Age", "BAVG", "OBP", "SPC", "AB"};
  for (int col = 1; col <= 7; ++col) {
    sheet.SetText(CellRange::Cell(Row(6), Column(col)), headings[col - 1]);
    sheet.SetAlignment(CellRange::Cell(Row(6), Column(col)), HorizontalAlignment::kRight);
  }

  sheet.SetNumber(A1("A7"), 1987);
  sheet.SetText(A1("B7"), "NYY");
  sheet.SetNumber(A1("C7"), 25);
  sheet.SetNumber(A1("D7"), RoundThreeDecimals(1.0 / 3));
  sheet.SetNumber(A1("E7"), RoundThreeDecimalsSingle(2.0 / 3));
  sheet.SetNumber(A1("F7"), RoundThreeDecimals(81.0 / 80));
  sheet.SetNumber(A1("G7:U7"), 600);
  sheet.SetNumber(A1("H7"), ToSingle(0.001));  // needs 17 digits to read back
  sheet.SetNumberFormat(A1("D7:F7"), "#.000");
  sheet.SetBorder(A1("A7:U7"), BorderSide::kRight, LineStyle::kMedium);
  sheet.SetBorder(A1("A7:U7"), BorderSide::kLeft, LineStyle::kMedium);

  sheet.SetText(A1("A8"), " ");
  sheet.SetText(A1("B8"), "Totals");
  sheet.SetBorder(A1("A8:U8"), BorderSide::kTop, LineStyle::kMedium);
  sheet.SetBorder(A1("B8:U8"), BorderSide::kBottom, LineStyle::kMedium, kRed);
  sheet.SetBorder(A1("B8:U8"), BorderSide::kLeft, LineStyle::kMedium, kRed);
  sheet.AutoFitColumns(A1("A:Z"));
}

TEST(WriteXlsx, RoundTripThroughAnIndependentReader) {
  SKIP_ON_WINDOWS(testing::kNeedsReader);
  TempDir dir;
  Workbook book;
  WritePlayerBlock(book.AddSheet("X"));
  Worksheet& y = book.AddSheet("Y");
  book.AddSheet("Z");
  y.SetNumber(A1("D2"), 4.32);
  y.SetNumberFormat(A1("D2"), "##0.00");
  y.SetNumber(A1("M2"), 66.2);
  y.SetNumberFormat(A1("M2"), "0.0");
  y.SetText(A1("A2"), "Ren\xC3\xA9 \xFF");  // UTF-8 and one stray byte
  y.SetText(A1("A5"), std::string_view("a\0b", 3));
  y.Merge(A1("B3:C4"));
  y.SetNumber(A1("B3"), 9);
  y.SetFill(A1("F2"), 0x000000);  // black
  y.SetFontColor(A1("A2"), 0x0563C1);
  y.SetUnderline(A1("A2"), true);
  book.SetOpeningSheet(y);
  WriteXlsx(book, dir / "out.xlsx", false);

  XlsxBook file = ReadXlsx(dir / "out.xlsx");
  EXPECT_EQ(file.SheetNames(), (std::vector<std::string>{"X", "Y", "Z"}));
  EXPECT_EQ(file.active, "Y");
  EXPECT_TRUE(file.Sheet("Y").tab_selected);
  EXPECT_FALSE(file.Sheet("X").tab_selected);

  const XlsxSheet& x = file.Sheet("X");
  EXPECT_EQ(x.active_cell, "A5");
  EXPECT_TRUE(x.IsMerged("A5:E5"));
  EXPECT_TRUE(x.IsMerged("R5:U5"));
  EXPECT_EQ(x.Cell("A5").text, "Smith, Al");
  EXPECT_TRUE(x.Cell("R5").IsNumber());
  EXPECT_EQ(x.Cell("R5").number, 1234);
  for (const char* a1 : {"A5", "C5", "R5", "U5"}) {
    const XlsxCell& cell = x.Cell(a1);
    EXPECT_TRUE(cell.bold) << a1;
    EXPECT_EQ(cell.font_size, 12) << a1;
    EXPECT_EQ(cell.fill, "FFFFCC") << a1;
    EXPECT_EQ(cell.bottom, (XlsxBorderSide{"medium", ""})) << a1;
  }
  EXPECT_EQ(x.Cell("A5").top.style, "thin");
  EXPECT_EQ(x.Cell("F5").fill, "");
  EXPECT_EQ(x.Cell("D6").text, "BAVG");
  EXPECT_EQ(x.Cell("D6").horizontal, "right");

  EXPECT_EQ(x.Cell("A7").number, 1987);
  EXPECT_EQ(x.Cell("B7").text, "NYY");
  EXPECT_EQ(x.Cell("D7").number, 0.333);
  EXPECT_EQ(x.Cell("D7").number_format, "#.000");
  EXPECT_EQ(x.Cell("E7").number, static_cast<double>(0.667f));  // exactly the widened float
  EXPECT_EQ(x.Cell("F7").number, 1.013);
  EXPECT_EQ(x.Cell("H7").number, static_cast<double>(0.001f));
  EXPECT_EQ(x.Cell("G7").number_format, "General");
  for (int col = 1; col <= 21; ++col) {
    const XlsxCell& cell = x.Cell(7, col);
    EXPECT_EQ(cell.left, (XlsxBorderSide{"medium", ""})) << col;
    EXPECT_EQ(cell.right, (XlsxBorderSide{"medium", ""})) << col;
  }
  EXPECT_FALSE(x.Cell(7, 22).present);

  EXPECT_EQ(x.Cell("A8").text, " ");
  EXPECT_EQ(x.Cell("A8").top.style, "medium");
  EXPECT_EQ(x.Cell("A8").bottom.style, "");
  const XlsxCell& c8 = x.Cell("C8");  // empty, but framed
  EXPECT_TRUE(c8.present);
  EXPECT_TRUE(c8.IsEmpty());
  EXPECT_EQ(c8.top, (XlsxBorderSide{"medium", ""}));
  EXPECT_EQ(c8.bottom, (XlsxBorderSide{"medium", "FF0000"}));
  EXPECT_EQ(c8.left, (XlsxBorderSide{"medium", "FF0000"}));

  const Worksheet& model = *book.FindSheet("X");
  for (const char* column : {"A", "B", "D", "G"}) {
    int col = ColumnNumber(column);
    EXPECT_GT(model.ColumnWidth(Column(col)), 0) << column;
    EXPECT_EQ(x.WidthPixels(column), ColumnPixels(model.ColumnWidth(Column(col)))) << column;
  }
  EXPECT_EQ(x.Width("V"), 0);

  const XlsxSheet& ys = file.Sheet("Y");
  EXPECT_EQ(ys.Cell("D2").number, 4.32);
  EXPECT_EQ(ys.Cell("D2").number_format, "##0.00");
  EXPECT_EQ(ys.Cell("M2").number_format, "0.0");
  EXPECT_EQ(ys.Cell("A2").text, "Ren\xC3\xA9 \xEF\xBF\xBD");
  EXPECT_EQ(ys.Cell("A2").font_color, "0563C1");
  EXPECT_TRUE(ys.Cell("A2").underline);
  EXPECT_EQ(ys.Cell("D2").font_color, "");
  EXPECT_FALSE(ys.Cell("D2").underline);
  EXPECT_EQ(ys.Cell("A5").text,
            "a\xEF\xBF\xBD"
            "b");
  EXPECT_TRUE(ys.IsMerged("B3:C4"));
  EXPECT_EQ(ys.Cell("B3").number, 9);
  EXPECT_EQ(ys.Cell("F2").fill, "000000");
  EXPECT_EQ(file.Sheet("Z").LastRow(), 0);
}

// What a reader other than ours makes of the view and print settings:
// frozen rows (with the selection left at A1), the filter, the page, the
// footer, title rows, row breaks, links, defined names and properties.
TEST(WriteXlsx, ViewAndPrintSettingsReadBackThroughAnIndependentReader) {
  SKIP_ON_WINDOWS(testing::kNeedsReader);
  TempDir dir;
  Workbook book;
  Worksheet& table = book.AddSheet("Team's Totals");
  Worksheet& blocks = book.AddSheet("Team Records");
  Worksheet& plain = book.AddSheet("Plain");
  for (int32_t row = 1; row <= 30; ++row) {
    table.SetText(CellRange::Cell(Row(row), Column(3)), "team " + std::to_string(row));
    table.SetNumber(CellRange::Cell(Row(row), Column(11)), row);
    blocks.SetText(CellRange::Cell(Row(row), Column(1)), "row " + std::to_string(row));
  }
  plain.SetText(A1("A1"), "x");
  table.FreezeRows(1);
  table.SetAutoFilter(A1("C1:K30"));
  PageSetup setup;
  setup.orientation = PageOrientation::kLandscape;
  setup.fit_to_width = true;
  setup.footer = {std::string(kFooterSheetName), "",
                  "Page " + std::string(kFooterPageNumber) + " of " +
                      std::string(kFooterPageCount) + " & more"};
  setup.title_rows = 1;
  table.SetPageSetup(setup);
  setup.title_rows = 0;
  blocks.SetPageSetup(setup);
  blocks.SetRowBreaks({Row(11), Row(21)});
  table.SetLink(Row(2), Column(3), "Team Records", Row(11), Column(1));
  table.SetLink(Row(3), Column(3), "Team's Totals", Row(1), Column(3));
  book.SetTitle("Statistics of Sample & Co");
  XlsxWriteOptions options;
  options.created = "2024-05-01T12:30:00Z";
  WriteXlsx(book, dir / "out.xlsx", false, nullptr, options);

  const XlsxBook file = ReadXlsx(dir / "out.xlsx");
  EXPECT_EQ(file.properties.at("title"), "Statistics of Sample & Co");
  EXPECT_EQ(file.properties.at("application"), "StatCrane");
  EXPECT_EQ(file.properties.at("created"), "2024-05-01T12:30:00Z");
  EXPECT_EQ(file.properties.at("creator").rfind("StatCrane ", 0), 0u);
  ASSERT_EQ(file.defined_names.size(), 2u);
  EXPECT_EQ(file.defined_names[0].name, "_xlnm._FilterDatabase");
  EXPECT_EQ(file.defined_names[0].sheet, "0");
  EXPECT_EQ(file.defined_names[0].value, "'Team''s Totals'!$C$1:$K$30");
  EXPECT_TRUE(file.defined_names[0].hidden);
  EXPECT_EQ(file.defined_names[1].name, "_xlnm.Print_Titles");
  EXPECT_EQ(file.defined_names[1].value, "'Team''s Totals'!$1:$1");

  const XlsxSheet& t = file.Sheet("Team's Totals");
  EXPECT_EQ(t.frozen_at, "A2");
  EXPECT_EQ(t.active_cell, "A1");
  EXPECT_EQ(t.filter, "C1:K30");
  EXPECT_TRUE(t.page.present);
  EXPECT_EQ(t.page.orientation, "landscape");
  EXPECT_TRUE(t.page.fit_to_page);
  EXPECT_EQ(t.page.fit_width, 1);
  EXPECT_EQ(t.page.fit_height, 0);
  EXPECT_EQ(t.footer, (testing::XlsxFooter{"&A", "", "Page &P of &N && more"}));
  EXPECT_EQ(t.title_rows, "$1:$1");
  EXPECT_TRUE(t.breaks.empty());
  EXPECT_EQ(t.links, (std::map<std::string, std::string>{{"C2", "'Team Records'!A11"},
                                                         {"C3", "'Team''s Totals'!C1"}}));
  EXPECT_EQ(t.Cell("C2").text, "team 2");  // the link leaves the cell as it was

  const XlsxSheet& b = file.Sheet("Team Records");
  EXPECT_EQ(b.frozen_at, "");
  EXPECT_EQ(b.filter, "");
  EXPECT_EQ(b.title_rows, "");
  EXPECT_EQ(b.breaks, (std::vector<int32_t>{10, 20}));  // the row above each new page

  const XlsxSheet& p = file.Sheet("Plain");
  EXPECT_FALSE(p.page.present);
  EXPECT_EQ(p.footer, testing::XlsxFooter{});
  EXPECT_TRUE(p.links.empty());
}

std::vector<std::string> FolderEntries(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string Contents(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// The texts of a sheet part's cells by reference ("A1"), shared strings
// resolved and the _xHHHH_ convention decoded; and the raw text as written.
struct CellTexts {
  std::map<std::string, std::string> decoded;
  std::map<std::string, std::string> raw;
};
CellTexts SheetTexts(const testing::ZipEntries& zip, const std::string& part) {
  std::vector<std::string> shared;
  if (zip.parts.count("xl/sharedStrings.xml")) {
    const auto sst = testing::ParseXml(zip.parts.at("xl/sharedStrings.xml"));
    for (const auto* si : sst->Children("si")) shared.push_back(si->Child("t")->text);
  }
  CellTexts texts;
  const auto sheet = testing::ParseXml(zip.parts.at(part));
  for (const auto& [ref, c] : testing::SheetCells(*sheet)) {
    {
      std::string raw;
      if (c->Attribute("t") == "s") {
        raw = shared.at(std::stoul(c->Child("v")->text));
      } else if (c->Attribute("t") == "inlineStr") {
        raw = c->Child("is")->Child("t")->text;
      } else {
        continue;
      }
      texts.raw[ref] = raw;
      texts.decoded[ref] = testing::DecodeEscapes(raw);
    }
  }
  return texts;
}

// The <v> texts of a sheet part's number cells by reference.
std::map<std::string, std::string> SheetNumbers(const testing::ZipEntries& zip,
                                                const std::string& part) {
  std::map<std::string, std::string> numbers;
  const auto sheet = testing::ParseXml(zip.parts.at(part));
  for (const auto* row : sheet->Child("sheetData")->Children("row")) {
    for (const auto* c : row->Children("c")) {
      if (c->Attribute("t").empty() && c->Child("v"))
        numbers[c->Attribute("r")] = c->Child("v")->text;
    }
  }
  return numbers;
}

TEST(WriteXlsx, NumbersReadBackExactly) {
  SKIP_ON_WINDOWS(testing::kNeedsReader);
  const double values[] = {
      1.0 / 3,
      0.1 + 0.2,                    // 0.30000000000000004: 17 digits
      static_cast<double>(0.001f),  // a widened float, 17 digits
      -0.0,
      9007199254740993.0,   // beyond 2^53 (rounds to ...992)
      18014398509481988.0,  // 2^54 + 4
      123456789012345678901234567890.0,
      1e15,
      1e16,
      -1.5,
      5e-324,  // the smallest subnormal
      std::numeric_limits<double>::max(),
      -std::numeric_limits<double>::min(),
      1e-7,
      65535.99999999999,
  };
  TempDir dir;
  Workbook book;
  Worksheet& sheet = book.AddSheet("Sheet1");
  int32_t row = 1;
  for (double value : values) sheet.SetNumber(CellRange::Cell(Row(row++), Column(1)), value);
  WriteXlsx(book, dir / "numbers.xlsx", false);

  // As written: parsed with strtod, each is the same double, sign of zero
  // included.
  const auto zip = testing::ReadZip(dir / "numbers.xlsx");
  const auto numbers = SheetNumbers(zip, "xl/worksheets/sheet1.xml");
  row = 1;
  for (double value : values) {
    const std::string a1 = "A" + std::to_string(row++);
    ASSERT_TRUE(numbers.count(a1)) << a1;
    const double read = std::strtod(numbers.at(a1).c_str(), nullptr);
    EXPECT_EQ(read, value) << a1 << " " << numbers.at(a1);
    EXPECT_EQ(std::signbit(read), std::signbit(value)) << a1;
    // Shortest: one digit fewer would not do.
    EXPECT_LE(numbers.at(a1).size(), NumberText(value).size());
  }
  EXPECT_EQ(numbers.at("A4"), "-0");
  EXPECT_EQ(numbers.at("A2"), "0.30000000000000004");

  // And through the independent reader.
  const XlsxBook file = ReadXlsx(dir / "numbers.xlsx");
  const XlsxSheet& read = file.Sheet("Sheet1");
  for (size_t i = 0; i < std::size(values); ++i) {
    EXPECT_EQ(read.Cell(static_cast<int32_t>(i) + 1, 1).number, values[i]) << i;
  }
}

TEST(WriteXlsx, TextsWithEveryEscape) {
  SKIP_ON_WINDOWS(testing::kNeedsReader);
  struct Case {
    std::string text;      // as the model holds it
    std::string expected;  // as a reader that knows the _xHHHH_ convention gets it
  };
  const std::string fffd = "\xEF\xBF\xBD";
  std::string controls;
  for (char c = 1; c < 0x20; ++c) controls += c;
  std::string controls_expected;
  for (char c = 1; c < 0x20; ++c) controls_expected += c;
  const std::vector<Case> cases = {
      {"a & b < c > d \" e ' f", "a & b < c > d \" e ' f"},
      {"_x0041_", "_x0041_"},
      {"x_x0041_y_X0041_z_x004G_w_x00411_", "x_x0041_y_X0041_z_x004G_w_x00411_"},
      {"_x005F_", "_x005F_"},
      {"__x0041__", "__x0041__"},
      {controls, controls_expected},
      {"line\r\nbreak\ttab", "line\r\nbreak\ttab"},
      {" leading and trailing ", " leading and trailing "},
      {std::string("nul\0here", 8), "nul" + fffd + "here"},
      {"bad \xFF byte \xC3", "bad " + fffd + " byte " + fffd},
      {"\xEF\xBF\xBE non-character", fffd + fffd + fffd + " non-character"},
      {"caf\xC3\xA9 \xF0\x9F\x98\x80", "caf\xC3\xA9 \xF0\x9F\x98\x80"},
      {"]]> <![CDATA[", "]]> <![CDATA["},
  };
  TempDir dir;
  Workbook book;
  Worksheet& sheet = book.AddSheet("Sheet1");
  int32_t row = 1;
  for (const Case& c : cases) {
    sheet.SetText(CellRange::Cell(Row(row), Column(1)), c.text);  // once: written in the cell
    sheet.SetText(CellRange::Cell(Row(row), Column(2)), c.text);  // twice: shared
    sheet.SetText(CellRange::Cell(Row(row), Column(3)), c.text);
    ++row;
  }
  WriteXlsx(book, dir / "texts.xlsx", false);
  // A reader that cannot parse what it gets throws here.
  const auto zip = testing::ReadZip(dir / "texts.xlsx");
  const CellTexts texts = SheetTexts(zip, "xl/worksheets/sheet1.xml");
  row = 1;
  for (const Case& c : cases) {
    for (const char* col : {"A", "B", "C"}) {
      const std::string a1 = col + std::to_string(row);
      EXPECT_EQ(texts.decoded.at(a1), c.expected) << a1;
    }
    ++row;
  }
  EXPECT_EQ(texts.raw.at("A2"), "_x005F_x0041_");
  EXPECT_EQ(texts.raw.at("B2"), "_x005F_x0041_");
  EXPECT_EQ(texts.raw.at("A6").substr(0, 14), "_x0001__x0002_");
  EXPECT_NE(texts.raw.at("A6").find("\t\n"), std::string::npos);  // carried as they are
  EXPECT_NE(texts.raw.at("A7").find("_x000D_\n"), std::string::npos);
  // Leading and trailing spaces survive the XML parser (xml:space="preserve").
  EXPECT_EQ(texts.raw.at("A8"), " leading and trailing ");
}

// A workbook with sheets of different sizes: texts used once and often,
// numbers, styles, merges and widths.
Workbook& FillBook(Workbook& book, int sheets, int32_t rows) {
  for (int s = 0; s < sheets; ++s) {
    Worksheet& sheet = book.AddSheet("S" + std::to_string(s));
    const int32_t sheet_rows = rows / (s + 1);
    for (int32_t row = 1; row <= sheet_rows; ++row) {
      sheet.SetNumber(CellRange::Across(Row(row), Column(1), Column(21)), row * 0.001 + s);
      sheet.SetText(CellRange::Cell(Row(row), Column(2)), "club " + std::to_string(row % 30));
      if (row % 7 == 0)
        sheet.SetText(CellRange::Cell(Row(row), Column(3)),
                      "player " + std::to_string(s) + "-" + std::to_string(row));
      if (row % 11 == 0) {
        sheet.Merge(CellRange::Across(Row(row), Column(1), Column(5)));
        sheet.SetBold(CellRange::Across(Row(row), Column(1), Column(21)), true);
        sheet.SetFill(CellRange::Across(Row(row), Column(1), Column(5)), 0xFFFFCC);
      }
    }
    sheet.SetNumberFormat(CellRange::Across(Row(1), Column(4), Column(6)), "#.000");
    sheet.AutoFitColumns(CellRange::Parse("A:Z"));
  }
  if (sheets > 1) book.SetOpeningSheet(book.SheetAt(1));
  return book;
}

TEST(WriteXlsx, SameBytesWhateverTheNumberOfThreads) {
  TempDir dir;
  Workbook book;
  FillBook(book, 6, 3000);
  std::vector<std::string> files;
  for (int threads : {1, 2, 8}) {
    XlsxWriteOptions options;
    options.threads = threads;
    options.created = "2024-05-01T12:00:00Z";
    const fs::path file = dir / ("t" + std::to_string(threads) + ".xlsx");
    WriteXlsx(book, file, false, nullptr, options);
    files.push_back(Contents(file));
  }
  EXPECT_EQ(files[0], files[1]);
  EXPECT_EQ(files[0], files[2]);
  SKIP_ON_WINDOWS(testing::kNeedsReader);
  const auto zip = testing::ReadZip(dir / "t2.xlsx");
  EXPECT_FALSE(zip.any_zip64);
  EXPECT_TRUE(zip.parts.count("xl/sharedStrings.xml"));
  const auto app = testing::ParseXml(zip.parts.at("docProps/app.xml"));
  EXPECT_EQ(app->Child("Application")->text, "StatCrane");
}

// The column number of "AB12"'s letters, and its row.
std::pair<int32_t, int32_t> ColumnAndRow(const std::string& ref) {
  int32_t col = 0;
  size_t i = 0;
  for (; i < ref.size() && ref[i] >= 'A' && ref[i] <= 'Z'; ++i) col = col * 26 + (ref[i] - 'A' + 1);
  const std::string digits = ref.substr(i);
  const bool number =
      !digits.empty() && digits.find_first_not_of("0123456789") == std::string::npos;
  return {col, number ? std::stoi(digits) : 0};
}

// Spreadsheet applications that count cells on from the one before, or
// that read only shared texts, read every cell where it is: each row and
// cell carries its reference, every text is in the shared strings part
// with the part's counts, and each sheet's dimension is the block of its
// cells.
TEST(WriteXlsx, EveryCellWithItsReferenceEveryTextSharedAndTheRightDimension) {
  SKIP_ON_WINDOWS(testing::kNeedsReader);
  Workbook book;
  FillBook(book, 3, 300);
  Worksheet& gaps = book.AddSheet("Gaps");
  gaps.SetText(A1("C4"), "only once");
  gaps.SetNumber(A1("D4"), 1);
  gaps.SetNumber(A1("F4"), 2);       // after a gap
  gaps.SetText(A1("G4"), "club 1");  // a text other sheets have
  gaps.SetFill(A1("K9"), 0xFFFFCC);  // a cell with a style only, the last
  gaps.SetNumber(A1("B12"), 3);      // the leftmost, in the last row
  book.AddSheet("Empty");
  Worksheet& placeholders = book.AddSheet("Placeholders");
  placeholders.Merge(A1("B2:D3"));  // a merge of empty cells: nothing to write
  TempDir dir;
  WriteXlsx(book, dir / "book.xlsx", false);
  const auto zip = testing::ReadZip(dir / "book.xlsx");

  const auto sst = testing::ParseXml(zip.parts.at("xl/sharedStrings.xml"));
  std::vector<std::string> shared;
  for (const auto* si : sst->Children("si")) shared.push_back(si->Child("t")->text);
  EXPECT_EQ(std::set<std::string>(shared.begin(), shared.end()).size(), shared.size());
  EXPECT_EQ(sst->Attribute("uniqueCount"), std::to_string(shared.size()));
  std::vector<int> references(shared.size(), 0);
  int64_t text_cells = 0;

  for (size_t i = 0; i < book.SheetCount(); ++i) {
    const Worksheet& model = book.SheetAt(i);
    SCOPED_TRACE(model.name());
    const auto part = testing::ParseXml(zip.parts.at(SheetPartName(i)));
    std::set<std::string> written;
    int32_t first_row = 0, last_row = 0, first_col = kMaxColumns, last_col = 0, previous_row = 0;
    for (const auto* row : part->Child("sheetData")->Children("row")) {
      const int32_t r = ColumnAndRow(row->Attribute("r")).second;
      ASSERT_GT(r, previous_row) << "a row without its number, or out of order";
      previous_row = r;
      int32_t previous_col = 0;
      for (const auto* c : row->Children("c")) {
        const auto [col, cell_row] = ColumnAndRow(c->Attribute("r"));
        ASSERT_TRUE(col > previous_col && cell_row == r)
            << "cell \"" << c->Attribute("r") << "\" in row " << r;
        previous_col = col;
        written.insert(c->Attribute("r"));
        first_row = first_row == 0 ? r : first_row;
        last_row = r;
        first_col = std::min(first_col, col);
        last_col = std::max(last_col, col);
        if (c->Attribute("t").empty()) continue;
        ASSERT_EQ(c->Attribute("t"), "s") << c->Attribute("r");
        const size_t index = std::stoul(c->Child("v")->text);
        ASSERT_LT(index, shared.size());
        EXPECT_EQ(shared[index], model.Cell(Row(r), Column(col)).text) << c->Attribute("r");
        ++references[index];
        ++text_cells;
      }
    }
    std::set<std::string> expected;
    for (Row row(1); row <= model.LastRow(); ++row) {
      model.ForEachCellInRow(row, [&](Column col, const CellView&) {
        expected.insert(ColumnName(col.number()) + std::to_string(row.number()));
      });
    }
    EXPECT_EQ(written, expected);
    const std::string dimension =
        first_row == 0
            ? "A1"
            : CellRange(Row(first_row), Column(first_col), Row(last_row), Column(last_col)).ToA1();
    EXPECT_EQ(part->Child("dimension")->Attribute("ref"), dimension);
  }
  EXPECT_EQ(sst->Attribute("count"), std::to_string(text_cells));
  EXPECT_EQ(std::count(references.begin(), references.end(), 0), 0) << "a text no cell holds";
  EXPECT_EQ(testing::ParseXml(zip.parts.at(SheetPartName(3)))->Child("dimension")->Attribute("ref"),
            "B4:K12");
  EXPECT_EQ(testing::ParseXml(zip.parts.at(SheetPartName(4)))->Child("dimension")->Attribute("ref"),
            "A1");
}

TEST(WriteXlsx, NeverReplacesAnExistingFileUnlessTold) {
  SKIP_ON_WINDOWS(testing::kNeedsReader);
  TempDir dir;
  Workbook book;
  book.AddSheet("Sheet1").SetNumber(A1("A1"), 1);
  { std::ofstream(dir / "out.xlsx") << "keep me"; }
  try {
    WriteXlsx(book, dir / "out.xlsx", false);
    ADD_FAILURE() << "replaced an existing file";
  } catch (const StatCraneError& error) {
    EXPECT_NE(error.message().find("already exists"), std::string::npos);
  }
  EXPECT_EQ(Contents(dir / "out.xlsx"), "keep me");
  EXPECT_EQ(FolderEntries(dir.path()), std::vector<std::string>{"out.xlsx"});

  WriteXlsx(book, dir / "out.xlsx", true);
  EXPECT_EQ(ReadXlsx(dir / "out.xlsx").Sheet("Sheet1").Cell("A1").number, 1);
  EXPECT_EQ(FolderEntries(dir.path()), std::vector<std::string>{"out.xlsx"});

  // A link to a file is replaced as a link: the file it led to stays.
  { std::ofstream(dir / "theirs") << "theirs"; }
  fs::create_symlink(dir / "theirs", dir / "link.xlsx");
  EXPECT_THROW(WriteXlsx(book, dir / "link.xlsx", false), StatCraneError);
  WriteXlsx(book, dir / "link.xlsx", true);
  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(dir / "link.xlsx")));
  EXPECT_EQ(Contents(dir / "theirs"), "theirs");
}

#ifndef _WIN32
// Runs `check` in a child process as the current user and again as nobody
// (the test folder given to nobody first), each child's status 0 for a pass.
void AsRootAndUnprivileged(const fs::path& folder, const std::function<int()>& check) {
  const ChildOutcome own = testing::RunInChild(check);
  EXPECT_TRUE(own.exited && own.status == 0)
      << "as the current user: status " << own.status << ", signal " << own.signal;
  testing::GiveToNobody(folder);
  const ChildOutcome nobody = testing::RunUnprivileged(check);
  EXPECT_TRUE(nobody.exited && nobody.status == 0)
      << "unprivileged: status " << nobody.status << ", signal " << nobody.signal;
}

// In a child: the write fails with a message that names the target and
// holds `reason`; returns the child's status.
int FailsWith(const Workbook& book, const fs::path& target, bool overwrite,
              std::string_view reason) {
  try {
    WriteXlsx(book, target, overwrite);
    std::fprintf(stderr, "wrote %s\n", target.c_str());
    return 1;
  } catch (const StatCraneError& error) {
    if (error.message().find(target.string()) == std::string::npos ||
        error.message().find(reason) == std::string::npos) {
      std::fprintf(stderr, "message: %s\n", error.message().c_str());
      return 2;
    }
  }
  return 0;
}

TEST(WriteXlsx, OnlyARegularFileIsEverReplaced) {
  TempDir dir;
  Workbook book;
  book.AddSheet("Sheet1").SetText(A1("A1"), "x");
  fs::create_directory(dir / "folder");
  { std::ofstream(dir / "plain") << "a file"; }
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0666), 0);
  const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::snprintf(address.sun_path, sizeof address.sun_path, "%s", (dir / "socket").c_str());
  ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ::close(sock);
  fs::create_symlink("/dev/null", dir / "null-link");
  fs::create_symlink(dir / "folder", dir / "folder-link");
  fs::create_symlink(dir / "nowhere", dir / "dangling");
  // A device of our own where the system lets us make one.
  const bool device = ::mknod((dir / "device").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
  const std::vector<std::string> before = FolderEntries(dir.path());

  AsRootAndUnprivileged(dir.path(), [&] {
    struct Case {
      std::string name;
      std::string reason;
    };
    std::vector<Case> cases = {
        {"folder", "a folder"},
        {"fifo", "a named pipe"},
        {"socket", "a socket"},
        {"null-link", "a symbolic link to a character device"},
        {"folder-link", "a symbolic link to a folder"},
        {"dangling", "does not exist"},
        {"missing/out.xlsx", "does not exist"},
        {"plain/out.xlsx", "not a folder"},
    };
    if (device) cases.push_back({"device", "a character device"});
    for (const Case& c : cases) {
      for (bool overwrite : {true, false}) {
        if (int status = FailsWith(book, dir / c.name, overwrite, c.reason); status != 0) {
          std::fprintf(stderr, "%s, overwrite %d\n", c.name.c_str(), overwrite);
          return status;
        }
      }
    }
    return 0;
  });
  EXPECT_EQ(FolderEntries(dir.path()), before);
  EXPECT_TRUE(fs::is_empty(dir / "folder"));
  EXPECT_EQ(Contents(dir / "plain"), "a file");
  EXPECT_TRUE(fs::is_fifo(dir / "fifo"));
  EXPECT_TRUE(fs::is_character_file("/dev/null"));
}

TEST(WriteXlsx, UnwritableFolder) {
  TempDir dir;
  fs::create_directory(dir / "locked");
  testing::GiveToNobody(dir.path());
  fs::permissions(dir / "locked", fs::perms::owner_read | fs::perms::owner_exec);
  Workbook book;
  const ChildOutcome outcome = testing::RunUnprivileged(
      [&] { return FailsWith(book, dir / "locked" / "out.xlsx", false, "permission denied"); });
  EXPECT_TRUE(outcome.exited && outcome.status == 0) << outcome.status;
  EXPECT_TRUE(fs::is_empty(dir / "locked"));
}

TEST(WriteXlsx, AnyLegalNameWorks) {
  TempDir dir;
  Workbook book;
  book.AddSheet("Sheet1").SetNumber(A1("B2"), 2);
  const std::string longest = std::string(250, 'n') + ".xlsx";  // 255 bytes
  AsRootAndUnprivileged(dir.path(), [&] {
    const fs::path target = dir / longest;
    fs::remove(target);
    WriteXlsx(book, target, false);
    return FolderEntries(dir.path()) == std::vector<std::string>{longest} ? 0 : 1;
  });
  EXPECT_EQ(ReadXlsx(dir / longest).Sheet("Sheet1").Cell("B2").number, 2);
}

// A disk that fills up while the sheet is written, simulated with a file
// size limit in a child process; the writer itself keeps SIGXFSZ from
// killing the program.
TEST(WriteXlsx, FileSizeLimitIsAClearErrorAndLeavesNoFile) {
  TempDir dir;
  Workbook book;
  FillBook(book, 2, 6000);
  AsRootAndUnprivileged(dir.path(), [&] {
    const rlimit small{64 * 1024, 64 * 1024};
    setrlimit(RLIMIT_FSIZE, &small);
    const int status = FailsWith(book, dir / "out.xlsx", false, "larger than this system allows");
    return status != 0 ? status : fs::is_empty(dir.path()) ? 0 : 3;
  });
}

#else
TEST(WriteXlsx, RefusalsPermissionsNamesAndSizeLimitsAsLinuxHasThem) {
  GTEST_SKIP() << "not on Windows: FIFOs, sockets, devices, symbolic links, folder modes and "
                  "file size limits are POSIX's, and these tests run parts as another user in a "
                  "forked child; platform_files_test covers Windows' refusals";
}
#endif

// Records the progress reports and runs an action at the first one.
class AtFirstReport : public ProgressObserver {
 public:
  explicit AtFirstReport(std::function<void()> action = {}) : action_(std::move(action)) {}
  void PhaseProgress(std::string_view phase, int64_t done, int64_t total) override {
    reports.push_back(std::string(phase) + " " + std::to_string(done) + "/" +
                      std::to_string(total));
    if (action_) std::exchange(action_, nullptr)();
  }
  bool StopRequested() const override { return stop; }
  std::vector<std::string> reports;
  bool stop = false;

 private:
  std::function<void()> action_;
};

TEST(WriteXlsx, ProgressAndAStopWhileWritingLeavesNothingBehind) {
  Workbook book;
  FillBook(book, 2, 6000);
  TempDir dir;
  { std::ofstream(dir / "out.xlsx") << "keep me"; }
  AtFirstReport stop;
  stop.stop = true;
  EXPECT_THROW(WriteXlsx(book, dir / "out.xlsx", true, &stop), RunStopped);
  EXPECT_EQ(Contents(dir / "out.xlsx"), "keep me");
  EXPECT_EQ(FolderEntries(dir.path()), std::vector<std::string>{"out.xlsx"});

  AtFirstReport never;
  // Both sheets and the empty "Sheet1": 9,000 rows.
  EXPECT_EQ(WriteXlsx(book, dir / "new.xlsx", false, &never), (6000 + 3000) * 21);
  EXPECT_EQ(never.reports.back(), "writing 9000/9000");
  int64_t last = 0;
  for (const std::string& report : never.reports) {
    const int64_t done = std::stoll(report.substr(report.find(' ') + 1));
    EXPECT_GE(done, last) << report;
    last = done;
  }
}

#ifndef _WIN32
// Each run would otherwise cost a window that runs again and again a
// descriptor and a thread or more.
TEST(WriteXlsx, LeavesNoDescriptorOpen) {
  auto open_descriptors = [] {
    return std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator());
  };
  TempDir dir;
  Workbook book;
  FillBook(book, 3, 3000);
  const auto before = open_descriptors();
  WriteXlsx(book, dir / "out.xlsx", false);
  EXPECT_THROW(WriteXlsx(book, dir / "out.xlsx", false), StatCraneError);
  AtFirstReport stop;
  stop.stop = true;
  EXPECT_THROW(WriteXlsx(book, dir / "stopped.xlsx", false, &stop), RunStopped);
  EXPECT_EQ(open_descriptors(), before);
}

// In a folder everybody can write to, another user swaps the private folder
// the file is written in for one of their own holding a link to a file of
// the person running the program. The file is written through the
// descriptor it was created with and renamed through the private folder's
// descriptor, so the link is never followed and the victim stays intact.
TEST(WriteXlsx, TheTemporaryFileIsNeverReopenedByName) {
  TempDir dir;
  TempDir victim_dir;
  fs::create_directory(dir / "shared");
  fs::permissions(dir / "shared", fs::perms::all);  // no sticky bit
  fs::permissions(dir.path(), fs::perms::others_exec, fs::perm_options::add);
  { std::ofstream(victim_dir / "precious") << "precious"; }
  Workbook book;
  FillBook(book, 4, 6000);
  const fs::path target = dir / "shared" / "book.xlsx";
  bool attacked = false;
  AtFirstReport attack([&] {
    fs::path temporary;
    for (const auto& entry : fs::directory_iterator(dir / "shared")) temporary = entry.path();
    ASSERT_FALSE(temporary.empty());
    const ChildOutcome outcome = testing::RunUnprivileged([&] {
      // The private folder keeps others out...
      if (std::ofstream(temporary / "workbook.xlsx", std::ios::app)) return 1;
      // ...but in this folder they may rename it and put their own in its place.
      if (::rename(temporary.c_str(), (dir / "shared" / "moved").c_str()) != 0) return 2;
      if (::mkdir(temporary.c_str(), 0777) != 0) return 3;
      if (::symlink((victim_dir / "precious").c_str(), (temporary / "workbook.xlsx").c_str()) !=
          0) {
        return 4;
      }
      return 0;
    });
    attacked = outcome.exited && outcome.status == 0;
  });
  WriteXlsx(book, target, true, &attack);
  EXPECT_TRUE(attacked);
  EXPECT_EQ(Contents(victim_dir / "precious"), "precious");
  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(target)));
  EXPECT_NO_THROW(testing::ReadZip(target));
}

TEST(WriteXlsx, AnInterruptingSignalRemovesTheTemporaryFile) {
  Workbook book;
  FillBook(book, 3, 6000);
  for (const auto& [signal_number, status] :
       std::vector<std::pair<int, int>>{{SIGINT, 130}, {SIGTERM, 143}, {SIGHUP, 129}}) {
    for (bool unprivileged : {false, true}) {
      SCOPED_TRACE(::testing::Message()
                   << "signal " << signal_number << ", unprivileged " << unprivileged);
      TempDir dir;
      if (unprivileged) testing::GiveToNobody(dir.path());
      const auto work = [&, signal_number = signal_number] {
        // A signal ignored by whoever started the tests (nohup) stays
        // ignored by the writer, as it should; the child starts from the
        // default.
        ::signal(signal_number, SIG_DFL);
        AtFirstReport interrupt([&] { ::kill(::getpid(), signal_number); });
        WriteXlsx(book, dir / "out.xlsx", false, &interrupt);
        return 1;  // not reached
      };
      const ChildOutcome outcome =
          unprivileged ? testing::RunUnprivileged(work) : testing::RunInChild(work);
      EXPECT_TRUE(outcome.exited) << "ended by signal " << outcome.signal;
      EXPECT_EQ(outcome.status, status);
      EXPECT_TRUE(fs::is_empty(dir.path()));
    }
  }
}

#else
TEST(WriteXlsx, DescriptorsLinkAttacksAndSignalsAsLinuxHasThem) {
  GTEST_SKIP() << "not on Windows: /proc/self/fd, another user's renames in a shared folder and "
                  "POSIX signals; platform_files_test covers what Windows does instead";
}
#endif

}  // namespace
}  // namespace statcrane
