#include "workbook/xlsx_writer.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>
#include <xlsxwriter.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <random>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "util/error.h"
#include "workbook/column_fit.h"
#include "workbook/lxw_stdio.h"

namespace statcrane {
namespace {

namespace fs = std::filesystem;

// The reason of a failed file operation in words.
std::string Reason(int error) {
  switch (error) {
    case ENOSPC:
      return "the disk is full";
    case EDQUOT:
      return "the disk quota is used up";
    case EFBIG:
      return "the file would be larger than this system allows";
    case EACCES:
    case EPERM:
      return "permission denied";
    case EROFS:
      return "the disk is read-only";
    default:
      return std::strerror(error);
  }
}

[[noreturn]] void Fail(int error, const std::string& what) {
  throw StatCraneError(what + ": " + Reason(error));
}

std::string Quoted(const fs::path& path) { return "\"" + path.string() + "\""; }

// A temporary file in the target's folder, removed unless it was published.
class TemporaryFile {
 public:
  explicit TemporaryFile(const fs::path& target) {
    fs::path folder = target.parent_path();
    if (folder.empty()) folder = ".";
    std::random_device random;
    std::string base = "." + target.filename().string();
    for (int attempt = 0; attempt < 100; ++attempt) {
      char suffix[16];
      std::snprintf(suffix, sizeof suffix, ".%08x.tmp", random());
      fs::path candidate = folder / (base + suffix);
      int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd >= 0) {
        ::close(fd);
        path_ = candidate;
        return;
      }
      if (errno != EEXIST) {
        Fail(errno, "cannot save the workbook as " + Quoted(target) + ": cannot create a file in " +
                        Quoted(folder));
      }
    }
    throw StatCraneError("cannot save the workbook as " + Quoted(target) +
                         ": no free temporary file name in " + Quoted(folder));
  }
  ~TemporaryFile() {
    if (!path_.empty()) ::unlink(path_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  const fs::path& path() const { return path_; }
  // Gives the file the target name.
  void Publish(const fs::path& target, bool overwrite) {
    if (overwrite) {
      if (::rename(path_.c_str(), target.c_str()) != 0) {
        Fail(errno, "cannot save the workbook as " + Quoted(target));
      }
    } else {
      PublishWithoutReplacing(target);
    }
    path_.clear();
  }

 private:
  void PublishWithoutReplacing(const fs::path& target) {
    if (::renameat2(AT_FDCWD, path_.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) {
      return;
    }
    int error = errno;
    if (error == EINVAL || error == ENOSYS || error == EOPNOTSUPP) {
      // The file system cannot rename without replacing: a hard link fails
      // just as atomically when the name is taken.
      if (::link(path_.c_str(), target.c_str()) == 0) {
        ::unlink(path_.c_str());
        return;
      }
      error = errno;
    }
    if (error == EEXIST) {
      throw StatCraneError("the file " + Quoted(target) + " already exists; it was left as it was");
    }
    Fail(error, "cannot save the workbook as " + Quoted(target));
  }

  fs::path path_;
};

// Text as well-formed UTF-8 that XML can carry: each byte that does not
// belong to a valid sequence, NUL, and the non-characters U+FFFE and U+FFFF
// become U+FFFD. (libxlsxwriter writes other control characters as _xHHHH_.)
bool IsCleanUtf8(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == 0) return false;  // would end the text early
    if (c < 0x80) {
      ++i;
      continue;
    }
    int extra = (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
    if (extra < 0 || i + static_cast<size_t>(extra) >= text.size()) return false;
    uint32_t code = c & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
      unsigned char next = static_cast<unsigned char>(text[i + static_cast<size_t>(k)]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3F);
    }
    static constexpr uint32_t kMinimum[4] = {0, 0x80, 0x800, 0x10000};
    if (code < kMinimum[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF) ||
        code == 0xFFFE || code == 0xFFFF) {
      return false;
    }
    i += static_cast<size_t>(extra) + 1;
  }
  return true;
}

std::string CleanUtf8(std::string_view text) {
  std::string clean;
  for (size_t i = 0; i < text.size();) {
    // Take the longest valid sequence starting here, else one bad byte.
    bool taken = false;
    for (size_t length = 1; length <= 4 && i + length <= text.size(); ++length) {
      std::string_view piece = text.substr(i, length);
      if (IsCleanUtf8(piece)) {
        clean.append(piece);
        i += length;
        taken = true;
        break;
      }
    }
    if (!taken) {
      clean.append("\xEF\xBF\xBD");
      ++i;
    }
  }
  return clean;
}

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

// A colour as libxlsxwriter takes it: 0xRRGGBB, with black spelled
// LXW_COLOR_BLACK because 0 means "no colour" there.
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

// Rows between two progress reports and stop checks.
constexpr int64_t kRowsPerReport = 4096;
// Bytes read back between two reports while packing, and the steps packing
// is reported in.
constexpr size_t kBytesPerReport = 4 << 20;
constexpr int64_t kPackingSteps = 1000;

class XlsxWriter : private ReadWatcher {
 public:
  XlsxWriter(const Workbook& workbook, const fs::path& file, ProgressObserver* progress)
      : workbook_(workbook), progress_(progress) {
    // Sheets whose XML could pass 4 GB need the ZIP64 extensions, which some
    // readers lack; other files are written without them.
    bool huge = false;
    for (size_t i = 0; i < workbook.SheetCount(); ++i) {
      huge = huge || workbook.SheetAt(i).CellCount() > 60'000'000;
    }
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.use_zip64 = huge ? LXW_TRUE : LXW_FALSE;
    // libxlsxwriter's own scratch files go beside the file, on the disk that
    // has to hold the workbook anyway.
    folder_ = file.parent_path().empty() ? "." : file.parent_path().string();
    options.tmpdir = folder_.data();
    file_name_ = file.string();
    book_ = workbook_new_opt(file_name_.c_str(), &options);
    if (book_ == nullptr) Fail(ENOMEM, "cannot start writing the workbook");
    formats_.assign(workbook.styles().size(), nullptr);
    for (size_t i = 0; i < workbook.SheetCount(); ++i) total_rows_ += workbook.SheetAt(i).LastRow();
  }
  ~XlsxWriter() override {
    if (book_ == nullptr) return;
    // Failed or stopped before packing: libxlsxwriter frees the sheets without
    // closing their scratch files.
    lxw_worksheet* out = nullptr;
    STAILQ_FOREACH(out, book_->worksheets, list_pointers) CloseScratchFile(out);
    lxw_workbook_free(book_);
  }
  XlsxWriter(const XlsxWriter&) = delete;
  XlsxWriter& operator=(const XlsxWriter&) = delete;

  void Write() {
    for (size_t i = 0; i < workbook_.SheetCount(); ++i) {
      const Worksheet& sheet = workbook_.SheetAt(i);
      std::string name = IsCleanUtf8(sheet.name()) ? sheet.name() : CleanUtf8(sheet.name());
      lxw_worksheet* out = workbook_add_worksheet(book_, name.c_str());
      if (out == nullptr) {
        throw StatCraneError("the sheet \"" + sheet.name() + "\" cannot be written");
      }
      WriteSheet(sheet, out);
      CheckScratchFile(sheet, out);
      if (i == workbook_.OpeningSheetIndex()) worksheet_activate(out);
    }
    Report("writing", rows_written_, total_rows_);
    errno = 0;
    packing_ = true;
    lxw_error result = workbook_close(book_);
    int error = errno;
    book_ = nullptr;
    if (watch_.reads_cut()) throw RunStopped();
    if (result != LXW_NO_ERROR) {
      std::string what =
          std::string("the workbook could not be written (") + lxw_strerror(result) + ")";
      if (watch_.first_error() != 0) Fail(watch_.first_error(), what);
      if (error != 0) Fail(error, what);
      throw StatCraneError(what);
    }
    if (watch_.first_error() != 0) Fail(watch_.first_error(), "the workbook could not be written");
    Report("packing", kPackingSteps, kPackingSteps);
  }

  int64_t cells_written() const { return cells_written_; }

 private:
  void Report(std::string_view phase, int64_t done, int64_t total) {
    if (progress_ != nullptr) progress_->PhaseProgress(phase, done, total);
  }

  // While libxlsxwriter packs the parts: progress, and a stop cuts the
  // reading of its scratch files short.
  bool KeepReading(size_t bytes_read) override {
    if (progress_ == nullptr || !packing_) return true;
    if (bytes_read >= next_report_) {
      next_report_ = bytes_read + kBytesPerReport;
      const int64_t estimate = std::max<int64_t>(pack_estimate_, 1);
      const int64_t done = std::min<int64_t>(static_cast<int64_t>(bytes_read), estimate);
      Report("packing", done * kPackingSteps / estimate, kPackingSteps);
    }
    return !progress_->StopRequested();
  }

  // Progress and a stop check every kRowsPerReport rows.
  void RowWritten() {
    ++rows_written_;
    if (progress_ == nullptr || rows_written_ % kRowsPerReport != 0) return;
    Report("writing", rows_written_, total_rows_);
    CheckStop(*progress_);
  }

  void Check(lxw_error result, const Worksheet& sheet, int32_t row) {
    if (result == LXW_NO_ERROR) return;
    throw StatCraneError("row " + std::to_string(row) + " of the sheet \"" + sheet.name() +
                         "\" cannot be written (" + lxw_strerror(result) + ")");
  }

  // libxlsxwriter does not notice when writing a sheet's rows to its scratch
  // file fails (a full disk): it would go on and pack a cut-off sheet. So the
  // last row is handed over and the file's error state checked here.
  void CheckScratchFile(const Worksheet& sheet, lxw_worksheet* out) {
    if (out->optimize_tmpfile == nullptr) return;
    lxw_worksheet_write_single_row(out);
    errno = 0;
    if (std::fflush(out->optimize_tmpfile) != 0 || std::ferror(out->optimize_tmpfile)) {
      Fail(errno != 0 ? errno : EIO, "the sheet \"" + sheet.name() + "\" could not be written");
    }
    // Packing reads each sheet's rows back twice: into the sheet's part,
    // and from there into the file.
    const long size = std::ftell(out->optimize_tmpfile);
    if (size > 0) pack_estimate_ += 2 * static_cast<int64_t>(size);
    // Packing closes the scratch file only of a sheet with cells: an empty
    // sheet's (deleted) file would stay open for the life of the program.
    if (out->dim_rowmin == LXW_ROW_MAX) CloseScratchFile(out);
  }

  static void CloseScratchFile(lxw_worksheet* out) {
    if (out->optimize_tmpfile == nullptr) return;
    std::fclose(out->optimize_tmpfile);
    out->optimize_tmpfile = nullptr;
  }

  lxw_format* Format(uint32_t style) {
    if (style == StyleTable::kDefaultStyle) return nullptr;
    lxw_format*& format = formats_[style];
    if (format != nullptr) return format;
    const CellStyle& s = workbook_.styles().Get(style);
    format = workbook_add_format(book_);
    if (format == nullptr) Fail(ENOMEM, "cannot write the cell formats");
    if (!s.number_format.empty()) format_set_num_format(format, s.number_format.c_str());
    uint8_t align = Alignment(s.alignment);
    if (align != LXW_ALIGN_NONE) format_set_align(format, align);
    if (s.fill) {
      format_set_pattern(format, LXW_PATTERN_SOLID);
      format_set_bg_color(format, LxwColor(*s.fill));
    }
    if (s.bold) format_set_bold(format);
    if (s.font_size != 11) format_set_font_size(format, s.font_size);
    using SetStyle = void (*)(lxw_format*, uint8_t);
    using SetColor = void (*)(lxw_format*, lxw_color_t);
    static constexpr SetStyle kSetStyle[4] = {format_set_top, format_set_left, format_set_right,
                                              format_set_bottom};
    static constexpr SetColor kSetColor[4] = {format_set_top_color, format_set_left_color,
                                              format_set_right_color, format_set_bottom_color};
    for (int side = 0; side < 4; ++side) {
      const BorderLine& b = s.borders[static_cast<size_t>(side)];
      uint8_t line = BorderStyle(b.style);
      if (line == LXW_BORDER_NONE) continue;
      kSetStyle[side](format, line);
      if (b.color) kSetColor[side](format, LxwColor(*b.color));
    }
    return format;
  }

  void WriteSheet(const Worksheet& sheet, lxw_worksheet* out) {
    std::vector<CellRange> merges = sheet.merges();
    std::sort(merges.begin(), merges.end(),
              [](const CellRange& a, const CellRange& b) { return a.first_row < b.first_row; });
    size_t next_merge = 0;
    const StringPool& strings = sheet.strings();
    int32_t last_row = sheet.LastRow();
    std::string clean;
    for (int32_t row = 1; row <= last_row; ++row) {
      const lxw_row_t r = static_cast<lxw_row_t>(row - 1);
      // A merge only registers its block here; the cells follow as stored.
      for (; next_merge < merges.size() && merges[next_merge].first_row <= row; ++next_merge) {
        const CellRange& m = merges[next_merge];
        Check(worksheet_merge_range(out, static_cast<lxw_row_t>(m.first_row - 1),
                                    static_cast<lxw_col_t>(m.first_col - 1),
                                    static_cast<lxw_row_t>(m.last_row - 1),
                                    static_cast<lxw_col_t>(m.last_col - 1), "", nullptr),
              sheet, row);
      }
      std::span<const StoredCell> cells = sheet.store().RowCells(row);
      cells_written_ += static_cast<int64_t>(cells.size());
      for (const StoredCell& cell : cells) {
        const lxw_col_t c = static_cast<lxw_col_t>(cell.col - 1);
        switch (static_cast<CellKind>(cell.kind)) {
          case CellKind::kNumber:
            Check(worksheet_write_number(out, r, c, cell.value.number, Format(cell.style)), sheet,
                  row);
            break;
          case CellKind::kText: {
            std::string_view text = strings.Get(cell.value.text);
            if (IsCleanUtf8(text)) {
              clean.assign(text);
            } else {
              clean = CleanUtf8(text);
            }
            Check(worksheet_write_string(out, r, c, clean.c_str(), Format(cell.style)), sheet, row);
            break;
          }
          case CellKind::kEmpty:
            if (cell.style != StyleTable::kDefaultStyle) {
              Check(worksheet_write_blank(out, r, c, Format(cell.style)), sheet, row);
            }
            break;
        }
      }
      RowWritten();
    }
    for (; next_merge < merges.size(); ++next_merge) {
      const CellRange& m = merges[next_merge];
      Check(worksheet_merge_range(out, static_cast<lxw_row_t>(m.first_row - 1),
                                  static_cast<lxw_col_t>(m.first_col - 1),
                                  static_cast<lxw_row_t>(m.last_row - 1),
                                  static_cast<lxw_col_t>(m.last_col - 1), "", nullptr),
            sheet, m.first_row);
    }
    for (int32_t col = 1; col <= sheet.LastWidthColumn(); ++col) {
      double width = sheet.ColumnWidth(col);
      if (width <= 0) continue;
      lxw_col_t c = static_cast<lxw_col_t>(col - 1);
      Check(worksheet_set_column(out, c, c, width, nullptr), sheet, 1);
    }
    const CellRange& selection = sheet.selection();
    if (selection != CellRange::Cell(1, 1)) {
      worksheet_set_selection(out, static_cast<lxw_row_t>(selection.first_row - 1),
                              static_cast<lxw_col_t>(selection.first_col - 1),
                              static_cast<lxw_row_t>(selection.last_row - 1),
                              static_cast<lxw_col_t>(selection.last_col - 1));
    }
  }

  StdioWatch watch_{this};  // first: it sees every write of the writer's life
  const Workbook& workbook_;
  ProgressObserver* progress_;
  int64_t total_rows_ = 0;
  int64_t rows_written_ = 0;
  int64_t cells_written_ = 0;
  bool packing_ = false;
  int64_t pack_estimate_ = 0;
  size_t next_report_ = 0;
  std::string folder_;
  std::string file_name_;
  lxw_workbook* book_ = nullptr;
  std::vector<lxw_format*> formats_;
};

}  // namespace

int64_t WriteXlsx(const Workbook& workbook, const fs::path& target, bool overwrite,
                  ProgressObserver* progress) {
  std::error_code error;
  fs::file_status status = fs::status(target, error);
  if (fs::is_directory(status)) {
    throw StatCraneError("cannot save the workbook as " + Quoted(target) + ": it is a folder");
  }
  if (!overwrite && fs::exists(fs::symlink_status(target, error))) {
    throw StatCraneError("the file " + Quoted(target) + " already exists; it was left as it was");
  }
  TemporaryFile temporary(target);
  int64_t cells = 0;
  try {
    XlsxWriter writer(workbook, temporary.path(), progress);
    writer.Write();
    cells = writer.cells_written();
  } catch (const StatCraneError& error) {
    // Name the file the user asked for, not the temporary one.
    throw StatCraneError("cannot save the workbook as " + Quoted(target) + ": " + error.message());
  }
  if (progress != nullptr) CheckStop(*progress);
  temporary.Publish(target, overwrite);
  return cells;
}

}  // namespace statcrane
