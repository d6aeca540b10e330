// The package writer against a reference writer on libxlsxwriter
// (src/testing/reference_xlsx_writer.h): one workbook that uses every
// feature the model holds, written by both, the parts unpacked, parsed and
// compared as what they mean: sheets and the active tab, each cell's
// position, kind, value (numbers by value) and style resolved to its number
// format, font, fill, border sides and alignment, merges, column widths and
// selection. Where the two may differ by design (the reference writer's
// theme colours, indexes of styles and shared texts) the comparison
// resolves them first.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "testing/reference_xlsx_writer.h"
#include "testing/skip.h"
#include "testing/temp_dir.h"
#include "testing/xlsx_package.h"
#include "workbook/workbook.h"
#include "workbook/xlsx_writer.h"

namespace statcrane {
namespace {

using testing::XmlElement;
namespace fs = std::filesystem;

CellRange A1(std::string_view text) { return CellRange::Parse(text); }

// Every fill, border side, line style and weight, colour, number format,
// bold and size, alignment; merges, fitted widths, several sheets, an
// active tab that is not the first, selections of a cell and a block.
void FillFeatureBook(Workbook& book) {
  Worksheet& first = book.AddSheet("First & <more>");
  Worksheet& second = book.AddSheet("Second");
  Worksheet& third = book.AddSheet("Third");

  const Rgb fills[] = {0xFFFFCC, 0xCCFFFF, 0xFFFF99, 0x99CCFF,
                       0xFF99CC, 0x000000, 0xFF0000, 0x333333};
  int32_t row = 1;
  for (Rgb fill : fills) {
    first.SetText(CellRange::Cell(Row(row), Column(1)), "fill " + std::to_string(fill));
    first.SetFill(CellRange::Across(Row(row), Column(1), Column(3)), fill);
    ++row;
  }
  const std::optional<Rgb> colors[] = {std::nullopt, kRed, 0x0000FF, 0};
  int32_t col = 5;
  for (int style = 1; style <= static_cast<int>(LineStyle::kSlantDashDot); ++style) {
    row = 1;
    for (size_t s = 0; s < 4; ++s) {
      for (size_t c = 0; c < 4; ++c) {
        const CellRange cell = CellRange::Cell(Row(row), Column(col));
        first.SetNumber(cell, row * 10 + col);
        first.SetBorder(cell, kAllSides[s], static_cast<LineStyle>(style), colors[(s + c) % 4]);
        row += 1;
      }
    }
    ++col;
  }
  // All four sides of a block at once.
  for (BorderSide side : kAllSides) first.SetBorder(A1("T2:U3"), side, LineStyle::kMedium);

  second.SetNumber(A1("A1:A6"), 1.0 / 3);
  second.SetNumberFormat(A1("A1"), "#.000");
  second.SetNumberFormat(A1("A2"), "##0.00");
  second.SetNumberFormat(A1("A3"), "0.0");
  second.SetNumberFormat(A1("A4"), "0.00");
  second.SetNumberFormat(A1("A5"), "General");
  second.SetNumberFormat(A1("A6"), "#,##0.000 \"pts\"");
  const HorizontalAlignment alignments[] = {
      HorizontalAlignment::kGeneral, HorizontalAlignment::kLeft, HorizontalAlignment::kCenter,
      HorizontalAlignment::kRight};
  row = 1;
  for (HorizontalAlignment alignment : alignments) {
    second.SetText(CellRange::Cell(Row(row), Column(2)), "aligned");
    second.SetAlignment(CellRange::Cell(Row(row), Column(2)), alignment);
    ++row;
  }
  second.SetText(A1("C1"), "bold 12");
  second.SetBold(A1("C1"), true);
  second.SetFontSize(A1("C1"), 12);
  second.SetFontSize(A1("C2"), 10);
  second.SetText(A1("C2"), "small");
  second.SetFontColor(A1("C2"), 0x0563C1);
  second.SetUnderline(A1("C2:C3"), true);
  second.SetFontSize(A1("C3"), 14.5);
  second.SetNumber(A1("C3"), 1e-7);
  second.SetNumber(A1("C4"), -1234567.25);
  second.SetText(A1("D1"), " ");  // a column narrower than one character
  second.SetText(A1("E1"), "a long heading that sets a wide column");
  second.Merge(A1("F1:H2"));
  second.SetText(A1("F1"), "merged");
  second.SetBold(A1("F1:H2"), true);  // styled cells inside the merge
  second.Merge(A1("B10:B12"));
  second.SetNumber(A1("J20"), 7);  // after gaps of rows and columns
  second.AutoFitColumns(A1("A:Z"));
  second.Select(A1("C3"));
  third.Select(A1("B2:D4"));
  first.AutoFitColumns(A1("A:Z"));
  first.SetText(A1("A20"), "shared");
  first.SetText(A1("A21"), "shared");
  book.SetOpeningSheet(second);

  // View and print settings: a summary-like table with a frozen heading,
  // a filter and title rows; a sheet of blocks with row breaks and a link
  // to each block; the document's title.
  first.FreezeRows(1);
  first.SetAutoFilter(A1("A1:R21"));
  PageSetup table;
  table.orientation = PageOrientation::kLandscape;
  table.fit_to_width = true;
  table.footer = {
      std::string(kFooterSheetName), "R&D",
      "Page " + std::string(kFooterPageNumber) + " of " + std::string(kFooterPageCount)};
  table.title_rows = 1;
  first.SetPageSetup(table);
  PageSetup blocks = table;
  blocks.title_rows = 0;
  blocks.footer.center.clear();
  third.SetPageSetup(blocks);
  for (int32_t block = 0; block < 4; ++block) {
    const int32_t top = 1 + block * 30;
    third.SetText(CellRange::Cell(Row(top), Column(1)), "block " + std::to_string(block));
    third.KeepRowsTogether({Row(top), Row(top + 28)});
    second.SetText(CellRange::Cell(Row(30 + block), Column(11)),
                   "to block " + std::to_string(block));
    second.SetLink(Row(30 + block), Column(11), "Third", Row(top), Column(1));
  }
  second.SetText(A1("K29"), "to the first");
  second.SetLink(Row(29), Column(11), "Third", Row(3), Column(2));
  second.SetLink(Row(29), Column(11), "First & <more>", Row(3),
                 Column(2));  // replaces the link before
  third.SetRowBreaks({Row(31), Row(61), Row(91)});
  third.FreezeRows(2);  // with a selection in the scrolling rows
  book.SetTitle("Statistics of <O'Neil & Sons>");
}

int32_t ColumnNumberOf(std::string_view letters) {
  int32_t col = 0;
  for (char c : letters) col = col * 26 + (c - 'A' + 1);
  return col;
}

std::string ByValue(const std::string& number) {
  char text[64];
  std::snprintf(text, sizeof text, "%.15g", std::stod(number));
  return text;
}

// The elements of a style piece as "name{attr=value,...}" in order, with
// numbers by value; `skip` elements left out ("color@theme": a colour given
// by the theme).
std::string Canonical(const XmlElement* element, const std::set<std::string>& skip = {}) {
  if (element == nullptr) return "-";
  std::string out = element->name + "{";
  for (const auto& [name, value] : element->attributes) {
    const bool number =
        !value.empty() && value.find_first_not_of("0123456789.-") == std::string::npos;
    out += name + "=" + (number ? ByValue(value) : value) + ",";
  }
  for (const auto& child : element->children) {
    if (skip.count(child->name)) continue;
    if (skip.count(child->name + "@theme") && !child->Attribute("theme").empty()) continue;
    out += Canonical(child.get(), skip);
  }
  return out + "}";
}

struct Package {
  testing::ZipEntries zip;
  std::unique_ptr<XmlElement> workbook, styles;
  std::vector<std::string> shared;

  explicit Package(const fs::path& file) : zip(testing::ReadZip(file)) {
    workbook = testing::ParseXml(zip.parts.at("xl/workbook.xml"));
    styles = testing::ParseXml(zip.parts.at("xl/styles.xml"));
    if (zip.parts.count("xl/sharedStrings.xml")) {
      const auto sst = testing::ParseXml(zip.parts.at("xl/sharedStrings.xml"));
      for (const auto* si : sst->Children("si")) shared.push_back(si->Child("t")->text);
    }
  }

  std::string NumberFormat(int id) const {
    static const std::map<int, std::string> kBuiltIn = {
        {0, "General"}, {1, "0"}, {2, "0.00"}, {3, "#,##0"}, {4, "#,##0.00"}};
    if (const auto* formats = styles->Child("numFmts")) {
      for (const auto* format : formats->Children("numFmt")) {
        if (std::stoi(format->Attribute("numFmtId")) == id) return format->Attribute("formatCode");
      }
    }
    return kBuiltIn.count(id) ? kBuiltIn.at(id) : "builtin " + std::to_string(id);
  }

  // A cell format as what it means.
  std::string Style(const std::string& s) const {
    const auto xfs = styles->Child("cellXfs")->Children("xf");
    const XmlElement* xf = xfs.at(s.empty() ? 0 : std::stoul(s));
    auto nth = [&](const char* list, const char* item, const std::string& id) {
      return styles->Child(list)->Children(item).at(std::stoul(id));
    };
    // The font's theme colour and scheme refer to the reference writer's
    // theme (automatic black and the minor font: Calibri), which our files
    // do without.
    return "format=" + NumberFormat(std::stoi(xf->Attribute("numFmtId"))) + " " +
           Canonical(nth("fonts", "font", xf->Attribute("fontId")),
                     {"color@theme", "scheme", "family"}) +
           " " + Canonical(nth("fills", "fill", xf->Attribute("fillId"))) + " " +
           Canonical(nth("borders", "border", xf->Attribute("borderId"))) + " " +
           Canonical(xf->Child("alignment"));
  }

  std::vector<std::string> SheetNames() const {
    std::vector<std::string> names;
    for (const auto* sheet : workbook->Child("sheets")->Children("sheet")) {
      names.push_back(sheet->Attribute("name") + " id " + sheet->Attribute("sheetId"));
    }
    return names;
  }
  // "name sheet value hidden" of each defined name, in name order; sheet
  // names in references unquoted where the reference writer leaves them so.
  std::set<std::string> DefinedNames() const {
    std::set<std::string> names;
    if (const auto* defined = workbook->Child("definedNames")) {
      for (const auto* name : defined->Children("definedName")) {
        std::string value = name->text;
        if (value.front() != '\'')
          value = "'" + value.substr(0, value.find('!')) + "'" + value.substr(value.find('!'));
        names.insert(name->Attribute("name") + " " + name->Attribute("localSheetId") + " " + value +
                     " " + name->Attribute("hidden"));
      }
    }
    return names;
  }
  std::string Title() const {
    const auto core = testing::ParseXml(zip.parts.at("docProps/core.xml"));
    const auto* title = core->Child("dc:title");
    return title == nullptr ? "(none)" : title->text;
  }
  std::string ActiveTab() const {
    const std::string tab =
        workbook->Child("bookViews")->Child("workbookView")->Attribute("activeTab");
    return tab.empty() ? "0" : tab;
  }

  // One line per thing the sheet part says.
  std::vector<std::string> Sheet(size_t index) const {
    const auto sheet =
        testing::ParseXml(zip.parts.at("xl/worksheets/sheet" + std::to_string(index + 1) + ".xml"));
    std::vector<std::string> lines;
    lines.push_back("dimension " + sheet->Child("dimension")->Attribute("ref"));
    const XmlElement* view = sheet->Child("sheetViews")->Child("sheetView");
    lines.push_back("view " + Canonical(view));
    if (const auto* cols = sheet->Child("cols")) {
      for (const auto* c : cols->Children("col")) lines.push_back("col " + Canonical(c));
    }
    for (const auto* row : sheet->Child("sheetData")->Children("row")) {
      const std::string r = row->Attribute("r");
      for (const auto* c : row->Children("c")) {
        const std::string ref = c->Attribute("r");
        const size_t digits = ref.find_first_of("0123456789");
        EXPECT_EQ(ref.substr(digits == std::string::npos ? ref.size() : digits), r)
            << "a cell without its reference or outside its row";
        const int32_t col = ColumnNumberOf(ref.substr(0, digits));
        std::string value;
        const std::string type = c->Attribute("t");
        if (type == "s") {
          value = "text " + shared.at(std::stoul(c->Child("v")->text));
        } else if (type == "inlineStr") {
          value = "text " + c->Child("is")->Child("t")->text;
        } else if (c->Child("v") != nullptr) {
          value = "number " + ByValue(c->Child("v")->text);
        } else {
          value = "blank";
        }
        lines.push_back("cell " + ColumnName(col) + r + " " + value + " " +
                        Style(c->Attribute("s")));
      }
    }
    std::set<std::string> merges;
    if (const auto* cells = sheet->Child("mergeCells")) {
      for (const auto* merge : cells->Children("mergeCell")) merges.insert(merge->Attribute("ref"));
    }
    for (const std::string& merge : merges) lines.push_back("merge " + merge);
    lines.push_back("margins " + Canonical(sheet->Child("pageMargins")));
    for (const char* element :
         {"sheetPr", "autoFilter", "hyperlinks", "pageSetup", "headerFooter", "rowBreaks"}) {
      lines.push_back(std::string(element) + " " + Canonical(sheet->Child(element)));
    }
    return lines;
  }
};

TEST(XlsxReference, EveryFeatureAsTheReferenceWriterWritesIt) {
  SKIP_ON_WINDOWS(testing::kNeedsReferenceWriter);
  Workbook book;
  FillFeatureBook(book);
  testing::TempDir dir;
  WriteXlsx(book, dir / "ours.xlsx", false);
  testing::WriteReferenceXlsx(book, dir / "reference.xlsx");
  const Package ours(dir / "ours.xlsx");
  const Package reference(dir / "reference.xlsx");

  EXPECT_EQ(ours.SheetNames(), reference.SheetNames());
  EXPECT_EQ(ours.ActiveTab(), reference.ActiveTab());
  EXPECT_EQ(ours.DefinedNames(), reference.DefinedNames());
  EXPECT_EQ(ours.Title(), reference.Title());
  EXPECT_EQ(ours.Title(), "Statistics of <O'Neil & Sons>");
  ASSERT_EQ(book.SheetCount(), 3u);
  for (size_t i = 0; i < book.SheetCount(); ++i) {
    SCOPED_TRACE(book.SheetAt(i).name());
    const std::vector<std::string> mine = ours.Sheet(i);
    const std::vector<std::string> theirs = reference.Sheet(i);
    EXPECT_EQ(mine.size(), theirs.size());
    for (size_t line = 0; line < std::max(mine.size(), theirs.size()); ++line) {
      EXPECT_EQ(line < mine.size() ? mine[line] : "(none)",
                line < theirs.size() ? theirs[line] : "(none)");
    }
  }

  // Every part ours names is there, with the content type the reference
  // writer gives the same part.
  const auto types = testing::ParseXml(ours.zip.parts.at("[Content_Types].xml"));
  const auto reference_types = testing::ParseXml(reference.zip.parts.at("[Content_Types].xml"));
  std::map<std::string, std::string> reference_overrides;
  for (const auto* o : reference_types->Children("Override")) {
    reference_overrides[o->Attribute("PartName")] = o->Attribute("ContentType");
  }
  for (const auto* o : types->Children("Override")) {
    const std::string part = o->Attribute("PartName");
    EXPECT_TRUE(ours.zip.parts.count(part.substr(1))) << part;
    if (reference_overrides.count(part)) {
      EXPECT_EQ(o->Attribute("ContentType"), reference_overrides.at(part)) << part;
    }
  }
  // And every relationship leads to a part.
  const auto rels = testing::ParseXml(ours.zip.parts.at("xl/_rels/workbook.xml.rels"));
  for (const auto* r : rels->Children("Relationship")) {
    EXPECT_TRUE(ours.zip.parts.count("xl/" + r->Attribute("Target"))) << r->Attribute("Target");
  }
}

}  // namespace
}  // namespace statcrane
