#include "workbook/xlsx_styles.h"

#include <cstdio>
#include <map>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "workbook/xml_text.h"

namespace statcrane {
namespace {

// ---------------------------------------------------------------------------
// From a CellStyle to SpreadsheetML: the only code that knows the terms of
// CellStyle.

// "FFRRGGBB" for an RGB colour 0xRRGGBB.
std::string Argb(uint32_t rgb) {
  char text[9];
  std::snprintf(text, sizeof text, "FF%06X", rgb & 0xFFFFFF);
  return text;
}

// The border style name of a line; "" for no line.
std::string_view LineStyleName(LineStyle style) {
  switch (style) {
    case LineStyle::kNone:
      return "";
    case LineStyle::kThin:
      return "thin";
    case LineStyle::kMedium:
      return "medium";
    case LineStyle::kDashed:
      return "dashed";
    case LineStyle::kDotted:
      return "dotted";
    case LineStyle::kThick:
      return "thick";
    case LineStyle::kDouble:
      return "double";
    case LineStyle::kHair:
      return "hair";
    case LineStyle::kMediumDashed:
      return "mediumDashed";
    case LineStyle::kDashDot:
      return "dashDot";
    case LineStyle::kMediumDashDot:
      return "mediumDashDot";
    case LineStyle::kDashDotDot:
      return "dashDotDot";
    case LineStyle::kMediumDashDotDot:
      return "mediumDashDotDot";
    case LineStyle::kSlantDashDot:
      return "slantDashDot";
  }
  return "";
}

std::string_view AlignmentName(HorizontalAlignment alignment) {
  switch (alignment) {
    case HorizontalAlignment::kGeneral:
      return "";
    case HorizontalAlignment::kLeft:
      return "left";
    case HorizontalAlignment::kCenter:
      return "center";
    case HorizontalAlignment::kRight:
      return "right";
  }
  return "";
}

void AppendSide(std::string& out, std::string_view element, const BorderLine& line) {
  const std::string_view style = LineStyleName(line.style);
  out += '<';
  out += element;
  if (style.empty()) {
    out += "/>";
    return;
  }
  out += " style=\"";
  out += style;
  out += "\">";
  out += line.color ? "<color rgb=\"" + Argb(*line.color) + "\"/>" : "<color auto=\"1\"/>";
  out += "</";
  out += element;
  out += '>';
}

}  // namespace

XlsxStylePieces TranslateStyle(const CellStyle& style) {
  XlsxStylePieces pieces;
  pieces.number_format = style.number_format;

  pieces.font = "<font>";
  // The schema's order: b, u, sz, color, name, family.
  if (style.bold) pieces.font += "<b/>";
  if (style.underline) pieces.font += "<u/>";
  pieces.font += "<sz val=\"" + NumberText(style.font_size) + "\"/>";
  if (style.font_color) pieces.font += "<color rgb=\"" + Argb(*style.font_color) + "\"/>";
  pieces.font += "<name val=\"Calibri\"/><family val=\"2\"/></font>";

  if (style.fill) {
    pieces.fill = "<fill><patternFill patternType=\"solid\"><fgColor rgb=\"" + Argb(*style.fill) +
                  "\"/><bgColor indexed=\"64\"/></patternFill></fill>";
  }

  // The schema's order: left, right, top, bottom, diagonal.
  pieces.border = "<border>";
  AppendSide(pieces.border, "left", style.left());
  AppendSide(pieces.border, "right", style.right());
  AppendSide(pieces.border, "top", style.top());
  AppendSide(pieces.border, "bottom", style.bottom());
  pieces.border += "<diagonal/></border>";

  const std::string_view alignment = AlignmentName(style.alignment);
  if (!alignment.empty()) {
    pieces.alignment = "<alignment horizontal=\"" + std::string(alignment) + "\"/>";
  }
  return pieces;
}

// ---------------------------------------------------------------------------

namespace {

// The number formats every reader knows by id, with their codes.
int BuiltInFormatId(std::string_view code) {
  static const std::map<std::string_view, int> kBuiltIn = {
      {"0", 1},
      {"0.00", 2},
      {"#,##0", 3},
      {"#,##0.00", 4},
      {"0%", 9},
      {"0.00%", 10},
      {"0.00E+00", 11},
      {"# ?/?", 12},
      {"# ?"
       "?/??",
       13},
      {"@", 49},
  };
  if (code.empty() || code == "General") return 0;
  const auto found = kBuiltIn.find(code);
  return found == kBuiltIn.end() ? -1 : found->second;
}

// Numbers pieces in the order they are first met.
class Interned {
 public:
  explicit Interned(int first = 0) : next_(first) {}
  int Id(const std::string& piece) {
    const auto [where, added] = ids_.try_emplace(piece, next_);
    if (added) {
      order_.push_back(&where->first);
      ++next_;
    }
    return where->second;
  }
  const std::vector<const std::string*>& order() const { return order_; }

 private:
  int next_;
  std::unordered_map<std::string, int> ids_;
  std::vector<const std::string*> order_;
};

}  // namespace

std::string StylesPart(const StyleTable& styles) {
  Interned formats(164);  // the first id of a format of the file's own
  Interned fonts;
  Interned fills(2);  // after the two every file begins with
  Interned borders;
  std::string xfs;
  for (uint32_t id = 0; id < styles.size(); ++id) {
    const XlsxStylePieces pieces = TranslateStyle(styles.Get(id));
    int format = BuiltInFormatId(pieces.number_format);
    if (format < 0) format = formats.Id(pieces.number_format);
    const int font = fonts.Id(pieces.font);
    const int fill = pieces.fill.empty() ? 0 : fills.Id(pieces.fill);
    const int border = borders.Id(pieces.border);
    xfs += "<xf numFmtId=\"" + std::to_string(format) + "\" fontId=\"" + std::to_string(font) +
           "\" fillId=\"" + std::to_string(fill) + "\" borderId=\"" + std::to_string(border) +
           "\" xfId=\"0\"";
    if (format != 0) xfs += " applyNumberFormat=\"1\"";
    if (font != 0) xfs += " applyFont=\"1\"";
    if (fill != 0) xfs += " applyFill=\"1\"";
    if (border != 0) xfs += " applyBorder=\"1\"";
    if (pieces.alignment.empty()) {
      xfs += "/>";
    } else {
      xfs += " applyAlignment=\"1\">" + pieces.alignment + "</xf>";
    }
  }

  std::string out =
      "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
      "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">";
  if (!formats.order().empty()) {
    out += "<numFmts count=\"" + std::to_string(formats.order().size()) + "\">";
    int id = 164;
    for (const std::string* code : formats.order()) {
      out += "<numFmt numFmtId=\"" + std::to_string(id++) + "\" formatCode=\"";
      AppendXmlEscaped(out, *code);
      out += "\"/>";
    }
    out += "</numFmts>";
  }
  out += "<fonts count=\"" + std::to_string(fonts.order().size()) + "\">";
  for (const std::string* font : fonts.order()) out += *font;
  out += "</fonts><fills count=\"" + std::to_string(fills.order().size() + 2) +
         "\"><fill><patternFill patternType=\"none\"/></fill>"
         "<fill><patternFill patternType=\"gray125\"/></fill>";
  for (const std::string* fill : fills.order()) out += *fill;
  out += "</fills><borders count=\"" + std::to_string(borders.order().size()) + "\">";
  for (const std::string* border : borders.order()) out += *border;
  out +=
      "</borders><cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" "
      "borderId=\"0\"/></cellStyleXfs>";
  out += "<cellXfs count=\"" + std::to_string(styles.size()) + "\">" + xfs + "</cellXfs>";
  out +=
      "<cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/>"
      "</cellStyles><dxfs count=\"0\"/><tableStyles count=\"0\"/></styleSheet>";
  return out;
}

}  // namespace statcrane
