#include "workbook/xlsx_parts.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <new>
#include <span>

#include "workbook/cell_range.h"
#include "workbook/xml_text.h"

namespace statcrane {

PartBuffer::PartBuffer(PartBuffer&& other) noexcept
    : data_(other.data_), size_(other.size_), capacity_(other.capacity_) {
  other.data_ = nullptr;
  other.size_ = other.capacity_ = 0;
}

PartBuffer& PartBuffer::operator=(PartBuffer&& other) noexcept {
  if (this != &other) {
    std::free(data_);
    data_ = other.data_;
    size_ = other.size_;
    capacity_ = other.capacity_;
    other.data_ = nullptr;
    other.size_ = other.capacity_ = 0;
  }
  return *this;
}

void PartBuffer::Grow(size_t needed) {
  const size_t capacity = std::max({needed, capacity_ + capacity_ / 2, size_t{4096}});
  char* data = static_cast<char*>(std::realloc(data_, capacity));
  if (data == nullptr) throw std::bad_alloc();
  data_ = data;
  capacity_ = capacity;
}

void PartBuffer::Append(std::string_view text) {
  char* at = Reserve(text.size());
  if (!text.empty()) std::memcpy(at, text.data(), text.size());
  Commit(at + text.size());
}

void PartBuffer::Truncate(size_t size) { size_ = std::min(size, size_); }

void PartBuffer::Release() {
  std::free(data_);
  data_ = nullptr;
  size_ = capacity_ = 0;
}

namespace {

constexpr std::string_view kXmlDeclaration =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
constexpr std::string_view kMainNamespace =
    "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr std::string_view kRelationshipsNamespace =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

// Column letters, "A" to "XFD", each padded to 4 bytes with its length last.
class ColumnNames {
 public:
  ColumnNames() {
    for (int32_t col = 1; col <= kMaxColumns; ++col) {
      std::string name = ColumnName(col);
      auto& slot = names_[static_cast<size_t>(col)];
      std::memcpy(slot.data(), name.data(), name.size());
      slot[3] = static_cast<char>(name.size());
    }
  }
  char* Write(char* out, int32_t col) const {
    const auto& slot = names_[static_cast<size_t>(col)];
    std::memcpy(out, slot.data(), 4);  // the 4th byte is overwritten next
    return out + slot[3];
  }

 private:
  std::array<std::array<char, 4>, kMaxColumns + 1> names_{};
};

const ColumnNames& ColumnTable() {
  static const ColumnNames names;
  return names;
}

char* Put(char* out, std::string_view text) {
  std::memcpy(out, text.data(), text.size());
  return out + text.size();
}

std::string A1(int32_t row, int32_t col) { return ColumnName(col) + std::to_string(row); }

std::string A1Range(const CellRange& range) {
  std::string text = A1(range.first_row, range.first_col);
  if (range.last_row != range.first_row || range.last_col != range.first_col) {
    text += ":" + A1(range.last_row, range.last_col);
  }
  return text;
}

// The width the file gives a column the model set to `width` characters: the
// whole pixels that width takes in the default font (7 pixels a character,
// 5 of padding; below one character 12 pixels a character), in 1/256ths of
// a character.
double FileWidth(double width) {
  const int pixels =
      width < 1 ? static_cast<int>(width * 12 + 0.5) : static_cast<int>(width * 7 + 0.5) + 5;
  return static_cast<double>(static_cast<int64_t>(pixels / 7.0 * 256.0)) / 256.0;
}

// "$A$1:$K$30".
std::string AbsoluteRange(const CellRange& range) {
  return "$" + ColumnName(range.first_col) + "$" + std::to_string(range.first_row) + ":$" +
         ColumnName(range.last_col) + "$" + std::to_string(range.last_row);
}

}  // namespace

std::string QuotedSheetName(std::string_view name) {
  std::string quoted = "'";
  for (char c : name) {
    quoted += c;
    if (c == '\'') quoted += c;
  }
  return quoted + "'";
}

std::vector<DefinedName> SheetDefinedNames(const Workbook& workbook) {
  std::vector<DefinedName> filters, titles;
  for (size_t i = 0; i < workbook.SheetCount(); ++i) {
    const Worksheet& sheet = workbook.SheetAt(i);
    const std::string prefix = QuotedSheetName(sheet.name()) + "!";
    if (const auto& table = sheet.auto_filter()) {
      filters.push_back({"_xlnm._FilterDatabase", i, prefix + AbsoluteRange(*table), true});
    }
    if (const int32_t rows = sheet.page_setup().title_rows; rows > 0) {
      titles.push_back({"_xlnm.Print_Titles", i, prefix + "$1:$" + std::to_string(rows), false});
    }
  }
  filters.insert(filters.end(), titles.begin(), titles.end());
  return filters;
}

std::string FooterCodes(const PageFooter& footer) {
  std::string codes;
  const std::pair<std::string_view, const std::string*> parts[] = {
      {"&L", &footer.left}, {"&C", &footer.center}, {"&R", &footer.right}};
  for (const auto& [code, text] : parts) {
    if (text->empty()) continue;
    codes += code;
    std::string_view rest = *text;
    while (!rest.empty()) {
      if (rest.starts_with(kFooterSheetName)) {
        codes += "&A";
        rest.remove_prefix(kFooterSheetName.size());
      } else if (rest.starts_with(kFooterPageNumber)) {
        codes += "&P";
        rest.remove_prefix(kFooterPageNumber.size());
      } else if (rest.starts_with(kFooterPageCount)) {
        codes += "&N";
        rest.remove_prefix(kFooterPageCount.size());
      } else {
        if (rest.front() == '&') codes += '&';  // a literal ampersand
        codes += rest.front();
        rest.remove_prefix(1);
      }
    }
  }
  return codes;
}

std::string SheetPartName(size_t index) {
  return "xl/worksheets/sheet" + std::to_string(index + 1) + ".xml";
}

SheetSurvey SurveySheet(const Worksheet& sheet, std::vector<uint8_t>& used) {
  SheetSurvey survey;
  int32_t first_row = 0, last_row = 0, first_col = kMaxColumns, last_col = 0;
  const CellStore& store = sheet.store();
  const int32_t rows = store.LastRow();
  for (int32_t row = 1; row <= rows; ++row) {
    const std::span<const StoredCell> cells = store.RowCells(row);
    survey.stored_cells += static_cast<int64_t>(cells.size());
    bool any = false;
    for (const StoredCell& cell : cells) {
      if (cell.kind == static_cast<uint8_t>(CellKind::kText)) {
        used[cell.value.text] = 1;
        ++survey.text_cells;
      } else if (cell.kind == static_cast<uint8_t>(CellKind::kEmpty) && cell.style == 0) {
        continue;
      }
      if (!any) {
        any = true;
        first_col = std::min<int32_t>(first_col, cell.col);
      }
      last_col = std::max<int32_t>(last_col, cell.col);
    }
    if (!any) continue;
    if (first_row == 0) first_row = row;
    last_row = row;
  }
  if (first_row != 0)
    survey.dimension =
        CellRange(Row(first_row), Column(first_col), Row(last_row), Column(last_col));
  return survey;
}

SharedStrings ChooseSharedStrings(const std::vector<uint8_t>& used, int64_t references) {
  SharedStrings shared;
  shared.index.assign(used.size(), kUnusedText);
  for (size_t i = 0; i < used.size(); ++i) {
    if (!used[i]) continue;
    shared.index[i] = static_cast<uint32_t>(shared.texts.size());
    shared.texts.push_back(static_cast<uint32_t>(i));
  }
  shared.references = references;
  return shared;
}

std::string ContentTypesPart(const PackageInfo& info) {
  std::string out(kXmlDeclaration);
  out +=
      "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
      "<Default Extension=\"rels\" "
      "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
      "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
      "<Override PartName=\"/docProps/app.xml\" "
      "ContentType=\"application/vnd.openxmlformats-officedocument.extended-properties+xml\"/>"
      "<Override PartName=\"/docProps/core.xml\" "
      "ContentType=\"application/vnd.openxmlformats-package.core-properties+xml\"/>"
      "<Override PartName=\"/xl/styles.xml\" "
      "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml\"/>"
      "<Override PartName=\"/xl/workbook.xml\" "
      "ContentType=\"application/"
      "vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>";
  for (size_t i = 0; i < info.sheet_names.size(); ++i) {
    out += "<Override PartName=\"/" + SheetPartName(i) +
           "\" ContentType=\"application/"
           "vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>";
  }
  if (info.shared_strings) {
    out +=
        "<Override PartName=\"/xl/sharedStrings.xml\" "
        "ContentType=\"application/"
        "vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml\"/>";
  }
  out += "</Types>";
  return out;
}

std::string RootRelationshipsPart() {
  std::string out(kXmlDeclaration);
  out +=
      "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
      "<Relationship Id=\"rId1\" "
      "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
      "officeDocument\" Target=\"xl/workbook.xml\"/>"
      "<Relationship Id=\"rId2\" "
      "Type=\"http://schemas.openxmlformats.org/package/2006/relationships/metadata/"
      "core-properties\" Target=\"docProps/core.xml\"/>"
      "<Relationship Id=\"rId3\" "
      "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
      "extended-properties\" Target=\"docProps/app.xml\"/>"
      "</Relationships>";
  return out;
}

std::string AppPropertiesPart(const PackageInfo& info) {
  // Spreadsheet applications expect the version as "major.minor" with four
  // digits of minor: 1.2.3 is "01.0203".
  int parts[3] = {0, 0, 0};
  std::string_view version = info.version;
  for (int& part : parts) {
    const auto [end, error] =
        std::from_chars(version.data(), version.data() + version.size(), part);
    if (error != std::errc()) break;
    version.remove_prefix(static_cast<size_t>(end - version.data()));
    if (!version.empty() && version.front() == '.') version.remove_prefix(1);
  }
  char app_version[32];
  std::snprintf(app_version, sizeof app_version, "%02d.%02d%02d", parts[0] % 100, parts[1] % 100,
                parts[2] % 100);

  std::string out(kXmlDeclaration);
  out +=
      "<Properties "
      "xmlns=\"http://schemas.openxmlformats.org/officeDocument/2006/extended-properties\" "
      "xmlns:vt=\"http://schemas.openxmlformats.org/officeDocument/2006/docPropsVTypes\">"
      "<Application>";
  AppendXmlEscaped(out, info.application);
  out +=
      "</Application><DocSecurity>0</DocSecurity><ScaleCrop>false</ScaleCrop>"
      "<HeadingPairs><vt:vector size=\"2\" baseType=\"variant\"><vt:variant>"
      "<vt:lpstr>Worksheets</vt:lpstr></vt:variant><vt:variant><vt:i4>" +
      std::to_string(info.sheet_names.size()) +
      "</vt:i4></vt:variant></vt:vector></HeadingPairs>"
      "<TitlesOfParts><vt:vector size=\"" +
      std::to_string(info.sheet_names.size()) + "\" baseType=\"lpstr\">";
  for (const std::string& name : info.sheet_names) {
    out += "<vt:lpstr>";
    AppendXmlEscaped(out, name);
    out += "</vt:lpstr>";
  }
  out +=
      "</vt:vector></TitlesOfParts><LinksUpToDate>false</LinksUpToDate>"
      "<SharedDoc>false</SharedDoc><HyperlinksChanged>false</HyperlinksChanged>"
      "<AppVersion>" +
      std::string(app_version) + "</AppVersion></Properties>";
  return out;
}

std::string CorePropertiesPart(std::string_view creator, std::string_view created,
                               std::string_view title) {
  std::string out(kXmlDeclaration);
  out +=
      "<cp:coreProperties "
      "xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/core-properties\" "
      "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" xmlns:dcterms=\"http://purl.org/dc/terms/\" "
      "xmlns:dcmitype=\"http://purl.org/dc/dcmitype/\" "
      "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">";
  if (!title.empty()) {
    out += "<dc:title>";
    AppendXmlEscaped(out, title);
    out += "</dc:title>";
  }
  out += "<dc:creator>";
  AppendXmlEscaped(out, creator);
  out += "</dc:creator>";
  if (!created.empty()) {
    out += "<dcterms:created xsi:type=\"dcterms:W3CDTF\">" + std::string(created) +
           "</dcterms:created><dcterms:modified xsi:type=\"dcterms:W3CDTF\">" +
           std::string(created) + "</dcterms:modified>";
  }
  out += "</cp:coreProperties>";
  return out;
}

std::string WorkbookPart(const PackageInfo& info) {
  std::string out(kXmlDeclaration);
  out += "<workbook xmlns=\"" + std::string(kMainNamespace) + "\" xmlns:r=\"" +
         std::string(kRelationshipsNamespace) + "\"><workbookPr/><bookViews><workbookView";
  if (info.active != 0) out += " activeTab=\"" + std::to_string(info.active) + "\"";
  out += "/></bookViews><sheets>";
  for (size_t i = 0; i < info.sheet_names.size(); ++i) {
    out += "<sheet name=\"";
    AppendXmlEscaped(out, info.sheet_names[i]);
    out +=
        "\" sheetId=\"" + std::to_string(i + 1) + "\" r:id=\"rId" + std::to_string(i + 1) + "\"/>";
  }
  out += "</sheets>";
  if (!info.defined_names.empty()) {
    out += "<definedNames>";
    for (const DefinedName& name : info.defined_names) {
      out += "<definedName name=\"" + name.name + "\" localSheetId=\"" +
             std::to_string(name.sheet) + "\"";
      if (name.hidden) out += " hidden=\"1\"";
      out += ">";
      AppendXmlEscaped(out, name.value);
      out += "</definedName>";
    }
    out += "</definedNames>";
  }
  out += "<calcPr fullCalcOnLoad=\"1\"/></workbook>";
  return out;
}

std::string WorkbookRelationshipsPart(const PackageInfo& info) {
  std::string out(kXmlDeclaration);
  out += "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
  const std::string type = std::string(kRelationshipsNamespace) + "/";
  size_t id = 1;
  for (size_t i = 0; i < info.sheet_names.size(); ++i, ++id) {
    out += "<Relationship Id=\"rId" + std::to_string(id) + "\" Type=\"" + type +
           "worksheet\" Target=\"worksheets/sheet" + std::to_string(i + 1) + ".xml\"/>";
  }
  out += "<Relationship Id=\"rId" + std::to_string(id++) + "\" Type=\"" + type +
         "styles\" Target=\"styles.xml\"/>";
  if (info.shared_strings) {
    out += "<Relationship Id=\"rId" + std::to_string(id++) + "\" Type=\"" + type +
           "sharedStrings\" Target=\"sharedStrings.xml\"/>";
  }
  out += "</Relationships>";
  return out;
}

std::string SharedStringsPart(const StringPool& pool, const SharedStrings& shared) {
  std::string out(kXmlDeclaration);
  out += "<sst xmlns=\"" + std::string(kMainNamespace) + "\" count=\"" +
         std::to_string(shared.references) + "\" uniqueCount=\"" +
         std::to_string(shared.texts.size()) + "\">";
  for (uint32_t text : shared.texts) {
    const std::string_view value = pool.Get(text);
    out += NeedsSpacePreserved(value) ? "<si><t xml:space=\"preserve\">" : "<si><t>";
    AppendCellText(out, value);
    out += "</t></si>";
  }
  out += "</sst>";
  return out;
}

// ---------------------------------------------------------------------------

bool SheetPartWriter::Write(PartBuffer& out, std::atomic<int64_t>& rows_done,
                            const std::atomic<bool>& stop) {
  out.Append(kXmlDeclaration);
  out.Append("<worksheet xmlns=\"");
  out.Append(kMainNamespace);
  out.Append("\" xmlns:r=\"");
  out.Append(kRelationshipsNamespace);
  out.Append("\">");
  SheetProperties(out);
  Dimension(out);
  SheetViews(out);
  SheetFormat(out);
  Columns(out);
  if (!SheetData(out, rows_done, stop)) return false;
  AutoFilter(out);
  MergeCells(out);
  Hyperlinks(out);
  PageMargins(out);
  PageSetup(out);
  HeaderFooter(out);
  RowBreaks(out);
  out.Append("</worksheet>");
  return true;
}

void SheetPartWriter::SheetProperties(PartBuffer& out) {
  if (sheet_.page_setup().fit_to_width)
    out.Append("<sheetPr><pageSetUpPr fitToPage=\"1\"/></sheetPr>");
}

void SheetPartWriter::Dimension(PartBuffer& out) {
  out.Append("<dimension ref=\"");
  out.Append(A1Range(survey_.dimension));
  out.Append("\"/>");
}

void SheetPartWriter::SheetViews(PartBuffer& out) {
  out.Append(tab_selected_ ? "<sheetViews><sheetView tabSelected=\"1\" workbookViewId=\"0\""
                           : "<sheetViews><sheetView workbookViewId=\"0\"");
  const CellRange& selection = sheet_.selection();
  const int32_t frozen = sheet_.frozen_rows();
  if (selection == CellRange::Cell(Row(1), Column(1)) && frozen == 0) {
    out.Append("/></sheetViews>");
    return;
  }
  out.Append(">");
  std::string_view pane;
  if (frozen > 0) {
    // The rows above the split stay; the pane below scrolls and is active.
    out.Append("<pane ySplit=\"" + std::to_string(frozen) + "\" topLeftCell=\"" +
               A1(frozen + 1, 1) + "\" activePane=\"bottomLeft\" state=\"frozen\"/>");
    pane = " pane=\"bottomLeft\"";
  }
  out.Append("<selection");
  out.Append(pane);
  if (selection != CellRange::Cell(Row(1), Column(1))) {
    out.Append(" activeCell=\"");
    out.Append(A1(selection.first_row, selection.first_col));
    out.Append("\" sqref=\"");
    out.Append(A1Range(selection));
    out.Append("\"");
  }
  out.Append("/></sheetView></sheetViews>");
}

void SheetPartWriter::SheetFormat(PartBuffer& out) {
  out.Append("<sheetFormatPr defaultRowHeight=\"15\"/>");
}

void SheetPartWriter::Columns(PartBuffer& out) {
  bool any = false;
  for (Column column(1); column <= sheet_.LastWidthColumn(); ++column) {
    const int32_t col = column.number();
    const double width = sheet_.ColumnWidth(column);
    if (width <= 0) continue;
    out.Append(any ? "<col min=\"" : "<cols><col min=\"");
    any = true;
    const std::string number = std::to_string(col);
    out.Append(number);
    out.Append("\" max=\"");
    out.Append(number);
    out.Append("\" width=\"");
    out.Append(NumberText(FileWidth(width)));
    out.Append("\" customWidth=\"1\"/>");
  }
  if (any) out.Append("</cols>");
}

bool SheetPartWriter::SheetData(PartBuffer& out, std::atomic<int64_t>& rows_done,
                                const std::atomic<bool>& stop) {
  // The most a cell takes: <c r="XFD1048576" s="4294967295" t="s"><v>4294967295</v></c>,
  // or a number.
  constexpr size_t kCellRoom = 64 + kMaxNumberChars;
  const ColumnNames& columns = ColumnTable();
  const CellStore& store = sheet_.store();
  const int32_t last_row = store.LastRow();
  out.Append(last_row == 0 ? "<sheetData/>" : "<sheetData>");
  if (last_row == 0) return true;
  int32_t rows_since_tick = 0;
  for (int32_t row = 1; row <= last_row; ++row) {
    if (++rows_since_tick == kRowsPerTick) {
      rows_done.fetch_add(rows_since_tick, std::memory_order_relaxed);
      rows_since_tick = 0;
      if (stop.load(std::memory_order_relaxed)) return false;
    }
    const std::span<const StoredCell> cells = store.RowCells(row);
    if (cells.empty()) continue;
    char number[16];
    const size_t number_size =
        static_cast<size_t>(std::to_chars(number, number + sizeof number, row).ptr - number);
    const std::string_view row_number(number, number_size);
    const size_t row_start = out.size();
    char* p = out.Reserve(32 + cells.size() * kCellRoom);
    p = Put(p, "<row r=\"");
    p = Put(p, row_number);
    p = Put(p, "\">");
    bool any = false;
    for (const StoredCell& cell : cells) {
      const auto kind = static_cast<CellKind>(cell.kind);
      if (kind == CellKind::kEmpty && cell.style == 0) continue;
      any = true;
      // Every cell with its reference: the schema makes it optional, but
      // readers that count on from the cell before are not to be relied on.
      p = Put(p, "<c r=\"");
      p = columns.Write(p, cell.col);
      p = Put(p, row_number);
      p = Put(p, "\"");
      if (cell.style != 0) {
        p = Put(p, " s=\"");
        p = std::to_chars(p, p + 10, cell.style).ptr;
        p = Put(p, "\"");
      }
      switch (kind) {
        case CellKind::kEmpty:
          p = Put(p, "/>");
          break;
        case CellKind::kNumber:
          p = Put(p, "><v>");
          p = WriteNumber(p, cell.value.number);
          p = Put(p, "</v></c>");
          break;
        case CellKind::kText:
          p = Put(p, " t=\"s\"><v>");
          p = std::to_chars(p, p + 10, shared_.index[cell.value.text]).ptr;
          p = Put(p, "</v></c>");
          break;
      }
    }
    if (any) {
      p = Put(p, "</row>");
      out.Commit(p);
    } else {
      out.Truncate(row_start);  // a row of placeholders only: nothing to write
    }
  }
  rows_done.fetch_add(rows_since_tick, std::memory_order_relaxed);
  out.Append("</sheetData>");
  return true;
}

void SheetPartWriter::MergeCells(PartBuffer& out) {
  if (sheet_.merges().empty()) return;
  std::vector<CellRange> merges = sheet_.merges();
  std::sort(merges.begin(), merges.end(),
            [](const CellRange& a, const CellRange& b) { return a.first_row < b.first_row; });
  out.Append("<mergeCells count=\"" + std::to_string(merges.size()) + "\">");
  for (const CellRange& merge : merges) {
    out.Append("<mergeCell ref=\"");
    out.Append(A1Range(merge));
    out.Append("\"/>");
  }
  out.Append("</mergeCells>");
}

void SheetPartWriter::AutoFilter(PartBuffer& out) {
  if (const auto& table = sheet_.auto_filter()) {
    out.Append("<autoFilter ref=\"");
    out.Append(A1Range(*table));
    out.Append("\"/>");
  }
}

void SheetPartWriter::Hyperlinks(PartBuffer& out) {
  if (sheet_.links().empty()) return;
  // One link a cell, the last one set; in row and column order.
  std::vector<const CellLink*> links;
  links.reserve(sheet_.links().size());
  for (const CellLink& link : sheet_.links()) links.push_back(&link);
  std::stable_sort(links.begin(), links.end(), [](const CellLink* a, const CellLink* b) {
    return std::pair(a->row, a->col) < std::pair(b->row, b->col);
  });
  std::string text = "<hyperlinks>";
  for (size_t i = 0; i < links.size(); ++i) {
    const CellLink& link = *links[i];
    if (i + 1 < links.size() && links[i + 1]->row == link.row && links[i + 1]->col == link.col) {
      continue;
    }
    text += "<hyperlink ref=\"" + A1(link.row, link.col) + "\" location=\"";
    AppendXmlEscaped(text,
                     QuotedSheetName(link.sheet) + "!" + A1(link.target_row, link.target_col));
    // What the link shows: the cell's text.
    if (const CellView cell = sheet_.Cell(Row(link.row), Column(link.col));
        cell.kind == CellKind::kText) {
      text += "\" display=\"";
      AppendXmlEscaped(text, cell.text);
    }
    text += "\"/>";
    if (text.size() > 65536) {
      out.Append(text);
      text.clear();
    }
  }
  text += "</hyperlinks>";
  out.Append(text);
}

void SheetPartWriter::PageMargins(PartBuffer& out) {
  out.Append(
      "<pageMargins left=\"0.7\" right=\"0.7\" top=\"0.75\" bottom=\"0.75\" header=\"0.3\" "
      "footer=\"0.3\"/>");
}

void SheetPartWriter::PageSetup(PartBuffer& out) {
  const struct PageSetup& setup = sheet_.page_setup();
  const bool landscape = setup.orientation == PageOrientation::kLandscape;
  if (!landscape && !setup.fit_to_width) return;
  out.Append("<pageSetup");
  // One page wide is the default of fitToWidth; 0 pages tall: as many as needed.
  if (setup.fit_to_width) out.Append(" fitToHeight=\"0\"");
  if (landscape) out.Append(" orientation=\"landscape\"");
  out.Append("/>");
}

void SheetPartWriter::HeaderFooter(PartBuffer& out) {
  const PageFooter& footer = sheet_.page_setup().footer;
  if (footer.empty()) return;
  std::string text = "<headerFooter><oddFooter>";
  AppendXmlEscaped(text, FooterCodes(footer));
  text += "</oddFooter></headerFooter>";
  out.Append(text);
}

void SheetPartWriter::RowBreaks(PartBuffer& out) {
  const std::vector<Row>& breaks = sheet_.row_breaks();
  if (breaks.empty()) return;
  const std::string count = std::to_string(breaks.size());
  std::string text = "<rowBreaks count=\"" + count + "\" manualBreakCount=\"" + count + "\">";
  for (Row row : breaks) {
    // A break's id is the last row above it.
    text += "<brk id=\"" + std::to_string(row.number() - 1) + "\" max=\"16383\" man=\"1\"/>";
  }
  text += "</rowBreaks>";
  out.Append(text);
}

}  // namespace statcrane
