#include "testing/reference_xlsx_writer.h"

#include <xlsxwriter.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "workbook/xlsx_parts.h"
#include "workbook/xml_text.h"

namespace statcrane::testing {
namespace {

uint8_t BorderStyle(LineStyle style) {
  switch (style) {
    case LineStyle::kNone:
      return LXW_BORDER_NONE;
    case LineStyle::kThin:
      return LXW_BORDER_THIN;
    case LineStyle::kMedium:
      return LXW_BORDER_MEDIUM;
    case LineStyle::kDashed:
      return LXW_BORDER_DASHED;
    case LineStyle::kDotted:
      return LXW_BORDER_DOTTED;
    case LineStyle::kThick:
      return LXW_BORDER_THICK;
    case LineStyle::kDouble:
      return LXW_BORDER_DOUBLE;
    case LineStyle::kHair:
      return LXW_BORDER_HAIR;
    case LineStyle::kMediumDashed:
      return LXW_BORDER_MEDIUM_DASHED;
    case LineStyle::kDashDot:
      return LXW_BORDER_DASH_DOT;
    case LineStyle::kMediumDashDot:
      return LXW_BORDER_MEDIUM_DASH_DOT;
    case LineStyle::kDashDotDot:
      return LXW_BORDER_DASH_DOT_DOT;
    case LineStyle::kMediumDashDotDot:
      return LXW_BORDER_MEDIUM_DASH_DOT_DOT;
    case LineStyle::kSlantDashDot:
      return LXW_BORDER_SLANT_DASH_DOT;
  }
  return LXW_BORDER_NONE;
}

// libxlsxwriter takes black as LXW_COLOR_BLACK: 0 means "no colour" there.
lxw_color_t LxwColor(Rgb rgb) { return rgb == 0 ? static_cast<lxw_color_t>(LXW_COLOR_BLACK) : rgb; }

uint8_t Alignment(HorizontalAlignment alignment) {
  switch (alignment) {
    case HorizontalAlignment::kGeneral:
      return LXW_ALIGN_NONE;
    case HorizontalAlignment::kLeft:
      return LXW_ALIGN_LEFT;
    case HorizontalAlignment::kCenter:
      return LXW_ALIGN_CENTER;
    case HorizontalAlignment::kRight:
      return LXW_ALIGN_RIGHT;
  }
  return LXW_ALIGN_NONE;
}

void Check(lxw_error result, const std::string& what) {
  if (result != LXW_NO_ERROR) {
    throw std::runtime_error(what + ": " + lxw_strerror(result));
  }
}

class ReferenceWriter {
 public:
  ReferenceWriter(const Workbook& workbook, const std::filesystem::path& file)
      : workbook_(workbook), file_name_(file.string()) {
    book_ = workbook_new(file_name_.c_str());
    if (book_ == nullptr) throw std::runtime_error("cannot start " + file_name_);
    formats_.assign(workbook.styles().size(), nullptr);
  }
  ~ReferenceWriter() {
    if (book_ != nullptr) lxw_workbook_free(book_);
  }

  void Write() {
    std::string title = CleanUtf8(workbook_.title());
    lxw_doc_properties properties{};
    if (!title.empty()) {
      properties.title = title.data();
      Check(workbook_set_properties(book_, &properties), "properties");
    }
    for (size_t i = 0; i < workbook_.SheetCount(); ++i) {
      const Worksheet& sheet = workbook_.SheetAt(i);
      const std::string name = CleanUtf8(sheet.name());
      lxw_worksheet* out = workbook_add_worksheet(book_, name.c_str());
      if (out == nullptr) throw std::runtime_error("cannot add the sheet " + name);
      WriteSheet(sheet, out);
      if (i == workbook_.OpeningSheetIndex()) worksheet_activate(out);
    }
    const lxw_error result = workbook_close(book_);
    book_ = nullptr;
    Check(result, "cannot write " + file_name_);
  }

 private:
  lxw_format* Format(uint32_t style) {
    if (style == StyleTable::kDefaultStyle) return nullptr;
    lxw_format*& format = formats_[style];
    if (format != nullptr) return format;
    const CellStyle& s = workbook_.styles().Get(style);
    format = workbook_add_format(book_);
    if (!s.number_format.empty()) format_set_num_format(format, s.number_format.c_str());
    const uint8_t align = Alignment(s.alignment);
    if (align != LXW_ALIGN_NONE) format_set_align(format, align);
    if (s.fill) {
      format_set_pattern(format, LXW_PATTERN_SOLID);
      format_set_bg_color(format, LxwColor(*s.fill));
    }
    if (s.bold) format_set_bold(format);
    if (s.font_size != 11) format_set_font_size(format, s.font_size);
    if (s.font_color) format_set_font_color(format, LxwColor(*s.font_color));
    if (s.underline) format_set_underline(format, LXW_UNDERLINE_SINGLE);
    using SetStyle = void (*)(lxw_format*, uint8_t);
    using SetColor = void (*)(lxw_format*, lxw_color_t);
    static constexpr SetStyle kSetStyle[4] = {format_set_top, format_set_left, format_set_right,
                                              format_set_bottom};
    static constexpr SetColor kSetColor[4] = {format_set_top_color, format_set_left_color,
                                              format_set_right_color, format_set_bottom_color};
    for (size_t side = 0; side < 4; ++side) {
      const BorderLine& b = s.borders[side];
      const uint8_t line = BorderStyle(b.style);
      if (line == LXW_BORDER_NONE) continue;
      kSetStyle[side](format, line);
      if (b.color) kSetColor[side](format, LxwColor(*b.color));
    }
    return format;
  }

  void WriteSheet(const Worksheet& sheet, lxw_worksheet* out) {
    const std::string where = "sheet \"" + sheet.name() + "\"";
    for (const CellRange& m : sheet.merges()) {
      Check(worksheet_merge_range(out, static_cast<lxw_row_t>(m.first_row - 1),
                                  static_cast<lxw_col_t>(m.first_col - 1),
                                  static_cast<lxw_row_t>(m.last_row - 1),
                                  static_cast<lxw_col_t>(m.last_col - 1), "", nullptr),
            where);
    }
    for (int32_t row = 1; row <= sheet.LastRow().number(); ++row) {
      const lxw_row_t r = static_cast<lxw_row_t>(row - 1);
      for (const StoredCell& stored : sheet.store().RowCells(row)) {
        const CellView cell = sheet.View(stored);
        if (cell.kind == CellKind::kEmpty && stored.style == StyleTable::kDefaultStyle) continue;
        const lxw_col_t c = static_cast<lxw_col_t>(stored.col - 1);
        lxw_format* format = Format(stored.style);
        switch (cell.kind) {
          case CellKind::kNumber:
            Check(worksheet_write_number(out, r, c, cell.number, format), where);
            break;
          case CellKind::kText:
            Check(worksheet_write_string(out, r, c, CleanUtf8(cell.text).c_str(), format), where);
            break;
          case CellKind::kEmpty:
            Check(worksheet_write_blank(out, r, c, format), where);
            break;
        }
      }
    }
    for (int32_t col = 1; col <= sheet.LastWidthColumn().number(); ++col) {
      const double width = sheet.ColumnWidth(Column(col));
      if (width <= 0) continue;
      const lxw_col_t c = static_cast<lxw_col_t>(col - 1);
      Check(worksheet_set_column(out, c, c, width, nullptr), where);
    }
    const CellRange& selection = sheet.selection();
    if (selection != CellRange::Cell(Row(1), Column(1))) {
      worksheet_set_selection(out, static_cast<lxw_row_t>(selection.first_row - 1),
                              static_cast<lxw_col_t>(selection.first_col - 1),
                              static_cast<lxw_row_t>(selection.last_row - 1),
                              static_cast<lxw_col_t>(selection.last_col - 1));
    }
    WriteViewAndPrint(sheet, out, where);
  }

  // Frozen rows, the filter, links, the page and row breaks.
  void WriteViewAndPrint(const Worksheet& sheet, lxw_worksheet* out, const std::string& where) {
    if (sheet.frozen_rows() > 0) {
      worksheet_freeze_panes(out, static_cast<lxw_row_t>(sheet.frozen_rows()), 0);
    }
    if (const auto& table = sheet.auto_filter()) {
      Check(worksheet_autofilter(out, static_cast<lxw_row_t>(table->first_row - 1),
                                 static_cast<lxw_col_t>(table->first_col - 1),
                                 static_cast<lxw_row_t>(table->last_row - 1),
                                 static_cast<lxw_col_t>(table->last_col - 1)),
            where);
    }
    for (const CellLink& link : sheet.links()) {
      // The link on the cell as the model has it: its text and format.
      const StoredCell* stored = sheet.store().Find(link.row, link.col);
      const CellView cell = sheet.Cell(Row(link.row), Column(link.col));
      const std::string text = cell.kind == CellKind::kText ? CleanUtf8(cell.text) : std::string();
      const std::string url = "internal:" + QuotedSheetName(link.sheet) + "!" +
                              ColumnName(link.target_col) + std::to_string(link.target_row);
      // Without a format of its own the link would take the library's link
      // style.
      lxw_format* format = Format(stored != nullptr ? stored->style : 0);
      if (format == nullptr) {
        if (plain_ == nullptr) plain_ = workbook_add_format(book_);
        format = plain_;
      }
      Check(worksheet_write_url_opt(out, static_cast<lxw_row_t>(link.row - 1),
                                    static_cast<lxw_col_t>(link.col - 1), url.c_str(), format,
                                    text.empty() ? nullptr : text.c_str(), nullptr),
            where);
    }
    const PageSetup& setup = sheet.page_setup();
    if (setup.orientation == PageOrientation::kLandscape) worksheet_set_landscape(out);
    if (setup.fit_to_width) worksheet_fit_to_pages(out, 1, 0);
    if (!setup.footer.empty()) {
      Check(worksheet_set_footer(out, FooterCodes(setup.footer).c_str()), where);
    }
    if (setup.title_rows > 0) {
      Check(worksheet_repeat_rows(out, 0, static_cast<lxw_row_t>(setup.title_rows - 1)), where);
    }
    if (!sheet.row_breaks().empty()) {
      breaks_.emplace_back();
      for (Row row : sheet.row_breaks())
        breaks_.back().push_back(static_cast<lxw_row_t>(row.number() - 1));
      breaks_.back().push_back(0);
      Check(worksheet_set_h_pagebreaks(out, breaks_.back().data()), where);
    }
  }

  const Workbook& workbook_;
  std::string file_name_;
  lxw_workbook* book_ = nullptr;
  std::vector<lxw_format*> formats_;
  lxw_format* plain_ = nullptr;                 // the default style, for links
  std::vector<std::vector<lxw_row_t>> breaks_;  // kept until the book is written
};

}  // namespace

void WriteReferenceXlsx(const Workbook& workbook, const std::filesystem::path& file) {
  ReferenceWriter(workbook, file).Write();
}

}  // namespace statcrane::testing
