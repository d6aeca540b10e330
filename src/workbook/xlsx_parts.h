// The parts of an .xlsx package as XML text: the fixed parts, the workbook
// part and its relationships, document properties, shared strings, and the
// worksheet parts.
#pragma once

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "workbook/workbook.h"

namespace statcrane {

// A growing byte buffer written through a pointer: Reserve room, write, then
// Commit the new end. Unlike std::string it does not clear what it grows.
class PartBuffer {
 public:
  PartBuffer() = default;
  ~PartBuffer() { std::free(data_); }
  PartBuffer(const PartBuffer&) = delete;
  PartBuffer& operator=(const PartBuffer&) = delete;
  PartBuffer(PartBuffer&& other) noexcept;
  PartBuffer& operator=(PartBuffer&& other) noexcept;

  // Room for `more` bytes at the end; returns where they go.
  char* Reserve(size_t more) {
    if (capacity_ - size_ < more) Grow(size_ + more);
    return data_ + size_;
  }
  void Commit(char* end) { size_ = static_cast<size_t>(end - data_); }
  void Append(std::string_view text);
  std::string_view view() const { return {data_, size_}; }
  size_t size() const { return size_; }
  void Truncate(size_t size);
  void Release();  // gives the memory back

 private:
  void Grow(size_t needed);
  char* data_ = nullptr;
  size_t size_ = 0;
  size_t capacity_ = 0;
};

// The texts of the cells, each once in the shared strings part: a text's
// index there by its pool index (kUnusedText for a text no cell holds), the
// pool indexes in part order, and how many cells refer to them.
inline constexpr uint32_t kUnusedText = UINT32_MAX;
struct SharedStrings {
  std::vector<uint32_t> index;  // by pool index
  std::vector<uint32_t> texts;  // pool indexes of the shared texts, in part order
  int64_t references = 0;       // cells holding a text
};

// What the sheet part needs to know before its cells: the block from the
// first to the last cell written (A1 for an empty sheet).
struct SheetSurvey {
  CellRange dimension = CellRange::Cell(Row(1), Column(1));
  int64_t stored_cells = 0;  // cells the store holds, placeholders of merges included
  int64_t text_cells = 0;    // cells holding a text
};
// Surveys a sheet's cells and marks in `used` (the pool's size) each text of
// the pool that a cell holds.
SheetSurvey SurveySheet(const Worksheet& sheet, std::vector<uint8_t>& used);
// The shared strings part's texts: those marked used, in pool order;
// `references` is the number of cells holding a text, all sheets together.
SharedStrings ChooseSharedStrings(const std::vector<uint8_t>& used, int64_t references);

// The names the package's parts have.
std::string SheetPartName(size_t index);  // "xl/worksheets/sheet1.xml" for index 0

// A name the workbook part defines for one sheet: the filter's table
// ("_xlnm._FilterDatabase") or the rows printed on every page
// ("_xlnm.Print_Titles").
struct DefinedName {
  std::string name;
  size_t sheet = 0;   // tab index
  std::string value;  // "'Sheet'!$A$1:$K$30"
  bool hidden = false;
};
// The names the sheets' filters and title rows need, by name then sheet.
std::vector<DefinedName> SheetDefinedNames(const Workbook& workbook);

// A sheet name in a reference: always quoted, apostrophes doubled
// ("'Team Records'", "'O''Neil'").
std::string QuotedSheetName(std::string_view name);

// A page footer in the codes of the file ("&L&A&RPage &P of &N").
std::string FooterCodes(const PageFooter& footer);

struct PackageInfo {
  std::vector<std::string> sheet_names;  // tab order
  size_t active = 0;
  bool shared_strings = false;
  std::string application = "StatCrane";
  std::string version;  // "1.0.0"
  std::string title;    // the document's; "" for none
  std::vector<DefinedName> defined_names;
};

std::string ContentTypesPart(const PackageInfo& info);
std::string RootRelationshipsPart();
std::string AppPropertiesPart(const PackageInfo& info);
// `created`: a W3CDTF time ("2024-05-01T12:00:00Z"), or "" for none;
// `title` "" for none.
std::string CorePropertiesPart(std::string_view creator, std::string_view created,
                               std::string_view title = {});
std::string WorkbookPart(const PackageInfo& info);
std::string WorkbookRelationshipsPart(const PackageInfo& info);
std::string SharedStringsPart(const StringPool& pool, const SharedStrings& shared);

// Writes one worksheet part. Every `kRowsPerTick` rows it adds them to
// `rows_done` and gives up (returns false) once `stop` is set.
class SheetPartWriter {
 public:
  static constexpr int32_t kRowsPerTick = 4096;
  SheetPartWriter(const Worksheet& sheet, const SheetSurvey& survey, bool tab_selected,
                  const SharedStrings& shared)
      : sheet_(sheet), survey_(survey), tab_selected_(tab_selected), shared_(shared) {}

  bool Write(PartBuffer& out, std::atomic<int64_t>& rows_done, const std::atomic<bool>& stop);

 private:
  // The elements in the schema's order.
  void SheetProperties(PartBuffer& out);
  void Dimension(PartBuffer& out);
  void SheetViews(PartBuffer& out);
  void SheetFormat(PartBuffer& out);
  void Columns(PartBuffer& out);
  bool SheetData(PartBuffer& out, std::atomic<int64_t>& rows_done, const std::atomic<bool>& stop);
  void AutoFilter(PartBuffer& out);
  void MergeCells(PartBuffer& out);
  void Hyperlinks(PartBuffer& out);
  void PageMargins(PartBuffer& out);
  void PageSetup(PartBuffer& out);
  void HeaderFooter(PartBuffer& out);
  void RowBreaks(PartBuffer& out);

  const Worksheet& sheet_;
  const SheetSurvey& survey_;
  bool tab_selected_;
  const SharedStrings& shared_;
};

}  // namespace statcrane
