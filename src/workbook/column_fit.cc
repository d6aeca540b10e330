#include "workbook/column_fit.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "workbook/workbook.h"

namespace statcrane {
namespace {

// Calibri advance widths in font units (2048 per em), characters 32 to 126.
constexpr uint16_t kAdvance[95] = {
    463,  544,  821,  1038, 1038, 1464, 1397, 452,  621,  621,  1038, 1038,        // space to +
    511,  627,  517,  791,                                                         // , - . /
    1038, 1038, 1038, 1038, 1038, 1038, 1038, 1038, 1038, 1038,                    // 0-9
    548,  548,  1038, 1038, 1038, 945,  1831,                                      // : ; < = > ? @
    1185, 1114, 1092, 1260, 1000, 941,  1292, 1276, 516,  653,  1064, 861,  1751,  // A-M
    1322, 1356, 1058, 1378, 1112, 941,  998,  1314, 1162, 1822, 1063, 998,  959,   // N-Z
    628,  791,  628,  1038, 1020, 588,                                             // [ \ ] ^ _ `
    981,  1076, 866,  1076, 1019, 625,  964,  1076, 470,  490,  931,  470,  1636,  // a-m
    1076, 1080, 1076, 1076, 714,  801,  686,  1076, 925,  1464, 887,  927,  809,   // n-z
    714,  941,  714,  1038,                                                        // { | } ~
};
constexpr uint16_t kEmUnits = 2048;

// Latin-1 letters U+00C0..U+00FF measured as their base letter.
constexpr char kLatin1Base[65] =
    "AAAAAAACEEEEIIIIDNOOOOOxOUUUUYPs"
    "aaaaaaaceeeeiiiidnooooo/ouuuuypy";

uint16_t AdvanceUnits(uint32_t code_point) {
  if (code_point >= 32 && code_point <= 126) return kAdvance[code_point - 32];
  if (code_point >= 0xC0 && code_point <= 0xFF) {
    return kAdvance[static_cast<unsigned char>(kLatin1Base[code_point - 0xC0]) - 32];
  }
  if (code_point == 0xA0) return kAdvance[0];
  if (code_point >= 0x2E80) return kEmUnits;  // CJK and beyond
  if (code_point < 32) return 0;
  return kAdvance['n' - 32];
}

bool IsDigitCode(uint32_t c) { return c >= '0' && c <= '9'; }

// Pixels of one character.
int CharPixels(uint32_t code_point, double em_pixels, bool bold) {
  double units = AdvanceUnits(code_point);
  if (bold && !IsDigitCode(code_point)) units *= 1.05;
  return static_cast<int>(std::lround(units * em_pixels / kEmUnits));
}

double EmPixels(double font_size) { return font_size * 96.0 / 72.0; }

// Next code point of UTF-8 text; invalid bytes count as one character each.
uint32_t NextCodePoint(std::string_view text, size_t& i) {
  unsigned char c = static_cast<unsigned char>(text[i++]);
  if (c < 0x80) return c;
  int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
  uint32_t code = c & (0x3F >> extra);
  for (int k = 0; k < extra && i < text.size(); ++k) {
    unsigned char next = static_cast<unsigned char>(text[i]);
    if ((next & 0xC0) != 0x80) break;
    code = (code << 6) | (next & 0x3F);
    ++i;
  }
  return code;
}

// ---------------------------------------------------------------------------
// Number formats.

bool IsPlaceholder(char c) { return c == '0' || c == '#' || c == '?'; }

}  // namespace

struct CellMeasurer::Section {
  enum Kind { kGeneral, kFixed, kScientific, kDate };
  Kind kind = kGeneral;
  std::string prefix;  // literal text before the number
  std::string suffix;  // literal text after it
  int int_zeros = 0;   // '0' and '?' placeholders before the point
  bool thousands = false;
  bool point = false;
  int dec_zeros = 0;   // '0' and '?' after the point
  int dec_hashes = 0;  // '#' after the point: shown only when not zero
  bool question = false;
  int percent = 0;
  int scale_down = 0;  // commas after the last placeholder: divide by 1000 each
};

namespace {

using Section = CellMeasurer::Section;

std::vector<std::string_view> SplitSections(std::string_view format) {
  std::vector<std::string_view> sections;
  size_t start = 0;
  bool quoted = false;
  for (size_t i = 0; i < format.size(); ++i) {
    char c = format[i];
    if (c == '"')
      quoted = !quoted;
    else if (!quoted && c == '\\')
      ++i;
    else if (!quoted && c == ';') {
      sections.push_back(format.substr(start, i - start));
      start = i + 1;
    }
  }
  sections.push_back(format.substr(start));
  return sections;
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

Section ParseSection(std::string_view s) {
  Section section;
  section.kind = Section::kFixed;
  bool seen_placeholder = false;
  bool any_placeholder = false;
  auto literal = [&](std::string_view text) {
    (seen_placeholder ? section.suffix : section.prefix).append(text);
  };
  for (size_t i = 0; i < s.size(); ++i) {
    char c = s[i];
    if (c == '"') {
      size_t end = s.find('"', i + 1);
      if (end == std::string_view::npos) end = s.size();
      literal(s.substr(i + 1, end - i - 1));
      i = end;
    } else if (c == '\\' && i + 1 < s.size()) {
      literal(s.substr(++i, 1));
    } else if (c == '_' && i + 1 < s.size()) {
      ++i;
      literal(" ");
    } else if (c == '*' && i + 1 < s.size()) {
      ++i;  // repeat-to-fill: takes no width of its own
    } else if (c == '[') {
      size_t end = s.find(']', i);
      i = end == std::string_view::npos ? s.size() : end;
    } else if (IsPlaceholder(c)) {
      seen_placeholder = any_placeholder = true;
      if (c == '?') section.question = true;
      if (!section.point) {
        if (c != '#') ++section.int_zeros;
      } else if (c == '#') {
        ++section.dec_hashes;
      } else {
        // A zero after a '#' makes the digits before it shown as well.
        section.dec_zeros += 1 + section.dec_hashes;
        section.dec_hashes = 0;
      }
    } else if (c == '.' && !section.point) {
      section.point = true;
      seen_placeholder = true;
    } else if (c == ',') {
      if (any_placeholder && i + 1 < s.size() && IsPlaceholder(s[i + 1]) && !section.point) {
        section.thousands = true;
      } else if (any_placeholder) {
        ++section.scale_down;
      } else {
        literal(",");
      }
    } else if (c == '%') {
      ++section.percent;
      literal("%");
    } else if ((c == 'E' || c == 'e') && i + 1 < s.size() && (s[i + 1] == '+' || s[i + 1] == '-')) {
      section.kind = Section::kScientific;
      break;
    } else if (Lower(c) == 'g' && s.size() - i >= 7) {
      std::string word;
      for (size_t k = 0; k < 7; ++k) word += Lower(s[i + k]);
      if (word == "general") {
        section.kind = Section::kGeneral;
        i += 6;
        seen_placeholder = any_placeholder = true;
      } else {
        literal(s.substr(i, 1));
      }
    } else if (Lower(c) == 'y' || Lower(c) == 'm' || Lower(c) == 'd' || Lower(c) == 'h' ||
               Lower(c) == 's') {
      section.kind = Section::kDate;
      break;
    } else if (c == '@') {
      // Text placeholder: shows nothing for a number.
    } else {
      literal(s.substr(i, 1));
    }
  }
  // Without any placeholder the section shows only its literal text.
  if (section.kind == Section::kFixed && !any_placeholder && !section.point) {
    section.int_zeros = -1;  // marks "no number shown"
  }
  return section;
}

std::vector<Section> ParseFormat(std::string_view format) {
  std::vector<Section> sections;
  if (format.empty()) {
    sections.emplace_back();  // General
    return sections;
  }
  for (std::string_view s : SplitSections(format)) sections.push_back(ParseSection(s));
  return sections;
}

// The section of a format that shows `value`; `minus` tells whether the
// text gets a leading minus sign.
const Section& Pick(const std::vector<Section>& sections, double value, bool& minus) {
  minus = false;
  if (value < 0 && sections.size() >= 2) return sections[1];
  if (value == 0 && sections.size() >= 3) return sections[2];
  minus = value < 0;
  return sections[0];
}

// |value| rounded half away from zero at `decimals` places, working from its
// 15-significant-digit decimal form. `int_digits` has no leading zeros ("" for
// zero); `frac_digits` has exactly `decimals` digits.
void RoundDecimal(double a, int decimals, std::string& int_digits, std::string& frac_digits) {
  int_digits.clear();
  frac_digits.clear();
  if (a != 0 && std::isfinite(a)) {
    char buf[64];
    auto result = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::scientific, 14);
    std::string_view text(buf, static_cast<size_t>(result.ptr - buf));
    size_t e = text.find('e');
    std::string digits;
    for (char c : text.substr(0, e)) {
      if (c != '.') digits += c;
    }
    int exponent = 0;
    std::from_chars(text.data() + e + (text[e + 1] == '+' ? 2 : 1), text.data() + text.size(),
                    exponent);
    int point = exponent + 1;  // digits before the decimal point
    if (point <= 0) {
      frac_digits.assign(static_cast<size_t>(-point), '0');
      frac_digits += digits;
    } else if (point >= static_cast<int>(digits.size())) {
      int_digits = digits;
      int_digits.append(static_cast<size_t>(point) - digits.size(), '0');
    } else {
      int_digits = digits.substr(0, static_cast<size_t>(point));
      frac_digits = digits.substr(static_cast<size_t>(point));
    }
  }
  if (frac_digits.size() > static_cast<size_t>(decimals)) {
    bool up = frac_digits[static_cast<size_t>(decimals)] >= '5';
    frac_digits.resize(static_cast<size_t>(decimals));
    if (up) {
      int k = decimals - 1;
      for (; k >= 0; --k) {
        if (frac_digits[static_cast<size_t>(k)] == '9') {
          frac_digits[static_cast<size_t>(k)] = '0';
        } else {
          ++frac_digits[static_cast<size_t>(k)];
          break;
        }
      }
      if (k < 0) {
        int j = static_cast<int>(int_digits.size()) - 1;
        for (; j >= 0; --j) {
          if (int_digits[static_cast<size_t>(j)] == '9') {
            int_digits[static_cast<size_t>(j)] = '0';
          } else {
            ++int_digits[static_cast<size_t>(j)];
            break;
          }
        }
        if (j < 0) int_digits.insert(int_digits.begin(), '1');
      }
    }
  }
  frac_digits.resize(static_cast<size_t>(decimals), '0');
  size_t first = int_digits.find_first_not_of('0');
  int_digits.erase(0, first == std::string::npos ? int_digits.size() : first);
}

std::string GeneralText(double value) {
  if (value == 0) return "0";
  if (!std::isfinite(value)) return "#NUM!";
  double a = std::fabs(value);
  std::string sign = value < 0 ? "-" : "";
  int width = 11 - static_cast<int>(sign.size());
  char buf[64];
  if (a >= 1e11 || a < 1e-9) {
    std::snprintf(buf, sizeof buf, "%.5E", a);
    std::string text = buf;
    size_t e = text.find('E');
    std::string mantissa = text.substr(0, e);
    std::string exponent = text.substr(e + 1);  // sign and at least two digits
    if (mantissa.find('.') != std::string::npos) {
      while (mantissa.back() == '0') mantissa.pop_back();
      if (mantissa.back() == '.') mantissa.pop_back();
    }
    return sign + mantissa + "E" + exponent;
  }
  int int_digits = a < 1 ? 1 : static_cast<int>(std::floor(std::log10(a))) + 1;
  int decimals = std::max(0, width - int_digits - 1);
  std::string ints, fracs;
  RoundDecimal(a, decimals, ints, fracs);
  if (ints.empty()) ints = "0";
  while (!fracs.empty() && fracs.back() == '0') fracs.pop_back();
  // Rounding may have added a digit in front: give it back from the decimals.
  while (!fracs.empty() && static_cast<int>(ints.size() + 1 + fracs.size()) > width) {
    fracs.pop_back();
  }
  return sign + ints + (fracs.empty() ? "" : "." + fracs);
}

std::string FixedText(const Section& s, double a) {
  if (s.int_zeros < 0) return s.prefix + s.suffix;
  for (int k = 0; k < s.percent; ++k) a *= 100;
  for (int k = 0; k < s.scale_down; ++k) a /= 1000;
  std::string ints, fracs;
  RoundDecimal(a, s.dec_zeros + s.dec_hashes, ints, fracs);
  // Optional decimals drop their trailing zeros.
  int optional = s.dec_hashes;
  while (optional > 0 && !fracs.empty() && fracs.back() == '0') {
    fracs.pop_back();
    --optional;
  }
  if (static_cast<int>(ints.size()) < s.int_zeros) {
    ints.insert(0, static_cast<size_t>(s.int_zeros) - ints.size(), s.question ? ' ' : '0');
  }
  if (s.thousands && ints.size() > 3) {
    std::string grouped;
    size_t lead = ints.size() % 3;
    for (size_t i = 0; i < ints.size(); ++i) {
      if (i != 0 && (i - lead) % 3 == 0 && i >= lead) grouped += ',';
      grouped += ints[i];
    }
    ints = grouped;
  }
  std::string text = s.prefix + ints;
  if (s.point) text += "." + fracs;
  return text + s.suffix;
}

std::string ScientificText(const Section& s, double a) {
  int decimals = s.dec_zeros + s.dec_hashes;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*E", decimals, a);
  return s.prefix + buf + s.suffix;
}

std::string SectionText(const Section& s, double a);

// The text of `value` in a parsed format.
std::string ShowNumber(const std::vector<Section>& sections, double value) {
  bool minus = false;
  const Section& section = Pick(sections, value, minus);
  if (section.kind == Section::kGeneral) {
    return section.prefix + GeneralText(minus ? value : std::fabs(value)) + section.suffix;
  }
  std::string text = SectionText(section, std::fabs(value));
  if (minus) text.insert(0, "-");
  return text;
}

std::string SectionText(const Section& s, double a) {
  switch (s.kind) {
    case Section::kGeneral:
      return s.prefix + GeneralText(a) + s.suffix;
    case Section::kFixed:
      return FixedText(s, a);
    case Section::kScientific:
      return ScientificText(s, a);
    case Section::kDate:
      break;
  }
  return GeneralText(a);  // dates are not shown as dates: measured as the serial number
}

}  // namespace

int TextPixels(std::string_view utf8, double font_size, bool bold) {
  double em = EmPixels(font_size);
  int widest = 0;
  int line = 0;
  for (size_t i = 0; i < utf8.size();) {
    uint32_t c = NextCodePoint(utf8, i);
    if (c == '\n') {
      widest = std::max(widest, line);
      line = 0;
      continue;
    }
    line += CharPixels(c, em, bold);
  }
  return std::max(widest, line);
}

std::string FormatForDisplay(double value, std::string_view number_format) {
  return ShowNumber(ParseFormat(number_format), value);
}

double ColumnWidthForPixels(int text_pixels) {
  if (text_pixels <= 0) return 0;
  int pixels = text_pixels + kAutoFitPaddingPixels;
  double width = pixels < 12 ? pixels / 12.0 : (pixels - 5) / 7.0;
  return std::min(width, kMaxColumnWidth);
}

// ---------------------------------------------------------------------------

struct CellMeasurer::StyleInfo {
  double font_size = 11;
  bool bold = false;
  int digit = 0, point = 0, minus = 0, comma = 0;
  int prefix = 0, suffix = 0;  // pixels of the first section's literals
  std::vector<Section> sections;
  // The common case measured without building the text: General, or a
  // single fixed section with a fixed number of decimals.
  bool general = false;
  bool fast_fixed = false;
};

CellMeasurer::CellMeasurer(const StyleTable& styles, const StringPool& strings)
    : styles_(styles), strings_(strings) {}

CellMeasurer::~CellMeasurer() = default;

const CellMeasurer::StyleInfo& CellMeasurer::Info(uint32_t style) {
  if (style >= info_.size()) info_.resize(style + 1);
  if (info_[style]) return *info_[style];
  const CellStyle& cell_style = styles_.Get(style);
  auto info = std::make_unique<StyleInfo>();
  info->font_size = cell_style.font_size;
  info->bold = cell_style.bold;
  double em = EmPixels(info->font_size);
  info->digit = CharPixels('0', em, info->bold);
  info->point = CharPixels('.', em, info->bold);
  info->minus = CharPixels('-', em, info->bold);
  info->comma = CharPixels(',', em, info->bold);
  info->sections = ParseFormat(cell_style.number_format);
  const Section& first = info->sections[0];
  info->general = info->sections.size() == 1 && first.kind == Section::kGeneral &&
                  first.prefix.empty() && first.suffix.empty();
  info->fast_fixed = info->sections.size() == 1 && first.kind == Section::kFixed &&
                     first.int_zeros >= 0 && first.dec_hashes == 0 && !first.question &&
                     first.percent == 0 && first.scale_down == 0 && first.dec_zeros <= 9;
  info->prefix = TextPixels(first.prefix, info->font_size, info->bold);
  info->suffix = TextPixels(first.suffix, info->font_size, info->bold);
  info_[style] = std::move(info);
  return *info_[style];
}

int CellMeasurer::Pixels(const StoredCell& cell) {
  if (cell.kind == static_cast<uint8_t>(CellKind::kText)) {
    const CellStyle& style = styles_.Get(cell.style);
    return TextPixels(strings_.Get(cell.value.text), style.font_size, style.bold);
  }
  if (cell.kind != static_cast<uint8_t>(CellKind::kNumber)) return 0;
  const StyleInfo& info = Info(cell.style);
  double value = cell.value.number;
  double a = std::fabs(value);
  auto count_digits = [](uint64_t n) {
    int d = 0;
    while (n != 0) {
      ++d;
      n /= 10;
    }
    return d;
  };
  if (info.general && a < 1e11 && a == std::floor(a)) {
    int digits = a == 0 ? 1 : count_digits(static_cast<uint64_t>(a));
    return digits * info.digit + (value < 0 ? info.minus : 0);
  }
  if (info.fast_fixed) {
    static constexpr double kPow10[10] = {1, 10, 100, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
    const Section& s = info.sections[0];
    double scaled = a * kPow10[s.dec_zeros] + 0.5;
    if (scaled < 1e15) {
      uint64_t whole = static_cast<uint64_t>(scaled) / static_cast<uint64_t>(kPow10[s.dec_zeros]);
      int digits = std::max(count_digits(whole), s.int_zeros);
      int pixels = info.prefix + info.suffix + digits * info.digit;
      if (s.thousands && digits > 3) pixels += (digits - 1) / 3 * info.comma;
      if (s.point) pixels += info.point + s.dec_zeros * info.digit;
      if (value < 0) pixels += info.minus;
      return pixels;
    }
  }
  return TextPixels(ShowNumber(info.sections, value), info.font_size, info.bold);
}

}  // namespace statcrane
