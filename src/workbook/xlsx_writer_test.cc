#include "workbook/xlsx_writer.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

#include "testing/temp_dir.h"
#include "testing/xlsx_reader.h"
#include "util/error.h"
#include "util/three_decimals.h"

namespace statcrane {
namespace {

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
    sheet.SetText(CellRange::Cell(col, 6), headings[col - 1]);
    sheet.SetAlignment(CellRange::Cell(col, 6), HorizontalAlignment::kRight);
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
    EXPECT_GT(model.ColumnWidth(col), 0) << column;
    EXPECT_EQ(x.WidthPixels(column), ColumnPixels(model.ColumnWidth(col))) << column;
  }
  EXPECT_EQ(x.Width("V"), 0);

  const XlsxSheet& ys = file.Sheet("Y");
  EXPECT_EQ(ys.Cell("D2").number, 4.32);
  EXPECT_EQ(ys.Cell("D2").number_format, "##0.00");
  EXPECT_EQ(ys.Cell("M2").number_format, "0.0");
  EXPECT_EQ(ys.Cell("A2").text, "Ren\xC3\xA9 \xEF\xBF\xBD");
  EXPECT_EQ(ys.Cell("A5").text,
            "a\xEF\xBF\xBD"
            "b");
  EXPECT_TRUE(ys.IsMerged("B3:C4"));
  EXPECT_EQ(ys.Cell("B3").number, 9);
  EXPECT_EQ(ys.Cell("F2").fill, "000000");
  EXPECT_EQ(file.Sheet("Z").LastRow(), 0);
}

std::vector<std::string> FolderEntries(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

std::string Contents(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

TEST(WriteXlsx, NeverReplacesAnExistingFileUnlessTold) {
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
}

TEST(WriteXlsx, FailuresLeaveNothingBehind) {
  TempDir dir;
  Workbook book;
  book.AddSheet("Sheet1").SetText(A1("A1"), "x");
  fs::create_directory(dir / "folder");
  { std::ofstream(dir / "plain") << "a file"; }
  struct Case {
    fs::path target;
    bool overwrite;
  };
  for (const Case& c : {Case{dir / "missing" / "out.xlsx", false}, Case{dir / "folder", true},
                        Case{dir / "folder", false}, Case{dir / "plain" / "out.xlsx", true}}) {
    try {
      WriteXlsx(book, c.target, c.overwrite);
      ADD_FAILURE() << "wrote " << c.target;
    } catch (const StatCraneError& error) {
      EXPECT_NE(error.message().find(c.target.string()), std::string::npos) << error.message();
    }
  }
  EXPECT_EQ(FolderEntries(dir.path()), (std::vector<std::string>{"folder", "plain"}));
  EXPECT_TRUE(fs::is_empty(dir / "folder"));
}

TEST(WriteXlsx, UnwritableFolder) {
  if (geteuid() == 0) GTEST_SKIP() << "folder permissions do not bind the superuser";
  TempDir dir;
  fs::create_directory(dir / "locked");
  fs::permissions(dir / "locked", fs::perms::owner_read | fs::perms::owner_exec);
  Workbook book;
  try {
    WriteXlsx(book, dir / "locked" / "out.xlsx", false);
    ADD_FAILURE() << "wrote into a read-only folder";
  } catch (const StatCraneError& error) {
    EXPECT_NE(error.message().find("permission denied"), std::string::npos) << error.message();
  }
  EXPECT_TRUE(fs::is_empty(dir / "locked"));
}

// A disk that fills up while the sheet is written, simulated with a file
// size limit for this process.
TEST(WriteXlsx, FullDiskIsAnErrorAndLeavesNoFile) {
  TempDir dir;
  Workbook book;
  Worksheet& sheet = book.AddSheet("Sheet1");
  for (int32_t row = 1; row <= 3000; ++row) {
    sheet.SetNumber(CellRange::Row(1, 21, row), row * 1.5);
    sheet.SetText(CellRange::Cell(2, row), "text " + std::to_string(row));
  }
  struct sigaction ignore {
  }, previous{};
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGXFSZ, &ignore, &previous);
  rlimit old_limit{};
  getrlimit(RLIMIT_FSIZE, &old_limit);
  rlimit small{64 * 1024, old_limit.rlim_max};
  setrlimit(RLIMIT_FSIZE, &small);
  bool failed = false;
  try {
    WriteXlsx(book, dir / "out.xlsx", false);
  } catch (const StatCraneError& error) {
    failed = true;
    EXPECT_NE(error.message().find("larger than this system allows"), std::string::npos)
        << error.message();
  }
  setrlimit(RLIMIT_FSIZE, &old_limit);
  sigaction(SIGXFSZ, &previous, nullptr);
  EXPECT_TRUE(failed);
  EXPECT_TRUE(fs::is_empty(dir.path()));
}

// Records the progress reports and asks to stop at the first report of one
// phase.
class StopIn : public ProgressObserver {
 public:
  explicit StopIn(std::string phase) : phase_(std::move(phase)) {}
  void PhaseProgress(std::string_view phase, int64_t done, int64_t total) override {
    if (phase == phase_) stop_ = true;
    reports.push_back(std::string(phase) + " " + std::to_string(done) + "/" +
                      std::to_string(total));
  }
  bool StopRequested() const override { return stop_; }
  std::vector<std::string> reports;

 private:
  std::string phase_;
  bool stop_ = false;
};

TEST(WriteXlsx, ProgressAndAStopWhileWritingOrPackingLeavesNothingBehind) {
  Workbook book;
  for (const char* name : {"Second", "First"}) {
    Worksheet& sheet = book.AddSheet(name);
    for (int32_t row = 1; row <= 6000; ++row) {
      sheet.SetNumber(CellRange::Row(1, 21, row), row * 0.25);
      sheet.SetText(CellRange::Cell(2, row), "club " + std::to_string(row % 30));
    }
  }
  for (const char* phase : {"writing", "packing"}) {
    SCOPED_TRACE(phase);
    TempDir dir;
    { std::ofstream(dir / "out.xlsx") << "keep me"; }
    StopIn stop(phase);
    EXPECT_THROW(WriteXlsx(book, dir / "out.xlsx", true, &stop), RunStopped);
    EXPECT_EQ(Contents(dir / "out.xlsx"), "keep me");
    EXPECT_EQ(FolderEntries(dir.path()), std::vector<std::string>{"out.xlsx"});
  }

  TempDir dir;
  StopIn never("");
  EXPECT_EQ(WriteXlsx(book, dir / "out.xlsx", false, &never), 2 * 6000 * 21);
  // Both sheets: 12,000 rows, reported every 4,096.
  EXPECT_EQ(never.reports.front(), "writing 4096/12000");
  EXPECT_NE(std::find(never.reports.begin(), never.reports.end(), "writing 12000/12000"),
            never.reports.end());
  EXPECT_EQ(never.reports.back(), "packing 1000/1000");
  EXPECT_EQ(FolderEntries(dir.path()), std::vector<std::string>{"out.xlsx"});
}

// libxlsxwriter keeps a scratch file per sheet. None may stay open once the
// file is written, also for sheets without cells and after a failed write:
// a window that runs again and again would run out of descriptors (and keep
// the deleted files' disk space).
TEST(WriteXlsx, LeavesNoScratchFileOpen) {
  auto open_descriptors = [] {
    return std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator());
  };
  TempDir dir;
  Workbook book;
  book.AddSheet("Empty");
  Worksheet& rows = book.AddSheet("Rows");
  for (int32_t row = 1; row <= 3000; ++row) {
    rows.SetNumber(CellRange::Row(1, 21, row), row * 1.5);
  }
  book.AddSheet("Also empty");
  const auto before = open_descriptors();
  WriteXlsx(book, dir / "out.xlsx", false);
  EXPECT_EQ(open_descriptors(), before);

  // A disk that fills up while the sheets are written.
  struct sigaction ignore {
  }, previous{};
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGXFSZ, &ignore, &previous);
  rlimit old_limit{};
  getrlimit(RLIMIT_FSIZE, &old_limit);
  rlimit small{64 * 1024, old_limit.rlim_max};
  setrlimit(RLIMIT_FSIZE, &small);
  EXPECT_THROW(WriteXlsx(book, dir / "full.xlsx", false), StatCraneError);
  setrlimit(RLIMIT_FSIZE, &old_limit);
  sigaction(SIGXFSZ, &previous, nullptr);
  EXPECT_EQ(open_descriptors(), before);
}

}  // namespace
}  // namespace statcrane
