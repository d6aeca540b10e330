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
// Number formats: General and the fixed formats of the palette ("#.000",
// "##0.00", "0.0").

}  // namespace

struct CellMeasurer::NumberFormat {
  bool general = true;
  int int_zeros = 0;  // digits shown before the point at least ('0's)
  bool point = false;
  int decimals = 0;  // digits after the point ('0's)
};

namespace {

using NumberFormat = CellMeasurer::NumberFormat;

// "" and "General" are General; any other format is read as a fixed one:
// '0' a digit always shown, '#' a digit shown when not a leading zero, one
// '.' and the decimals after it. Other characters take no part (the program
// writes no format that has any).
NumberFormat ParseFormat(std::string_view format) {
  NumberFormat parsed;
  if (format.empty() || format == "General") return parsed;
  parsed.general = false;
  for (const char c : format) {
    if (c == '.') {
      parsed.point = true;
    } else if (c == '0') {
      ++(parsed.point ? parsed.decimals : parsed.int_zeros);
    }
  }
  return parsed;
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

std::string FixedText(const NumberFormat& f, double a) {
  std::string ints, fracs;
  RoundDecimal(a, f.decimals, ints, fracs);
  if (static_cast<int>(ints.size()) < f.int_zeros) {
    ints.insert(0, static_cast<size_t>(f.int_zeros) - ints.size(), '0');
  }
  return f.point ? ints + "." + fracs : ints;
}

// The text of `value` in a parsed format.
std::string ShowNumber(const NumberFormat& format, double value) {
  if (format.general) return GeneralText(value);
  std::string text = FixedText(format, std::fabs(value));
  if (value < 0) text.insert(0, "-");
  return text;
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
  int digit = 0, point = 0, minus = 0;
  NumberFormat format;
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
  info->format = ParseFormat(cell_style.number_format);
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
  const NumberFormat& f = info.format;
  // The common cases measured without building the text: a whole number in
  // General, a number in a fixed format.
  if (f.general && a < 1e11 && a == std::floor(a)) {
    int digits = a == 0 ? 1 : count_digits(static_cast<uint64_t>(a));
    return digits * info.digit + (value < 0 ? info.minus : 0);
  }
  if (!f.general && f.decimals <= 9) {
    static constexpr double kPow10[10] = {1, 10, 100, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
    double scaled = a * kPow10[f.decimals] + 0.5;
    if (scaled < 1e15) {
      uint64_t whole = static_cast<uint64_t>(scaled) / static_cast<uint64_t>(kPow10[f.decimals]);
      int digits = std::max(count_digits(whole), f.int_zeros);
      int pixels = digits * info.digit;
      if (f.point) pixels += info.point + f.decimals * info.digit;
      if (value < 0) pixels += info.minus;
      return pixels;
    }
  }
  return TextPixels(ShowNumber(f, value), info.font_size, info.bold);
}

}  // namespace statcrane
