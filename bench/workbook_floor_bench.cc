// How much the in-memory workbook costs over writing the same cells straight
// to libxlsxwriter.
//
// Writes ROWS rows of 21 cells formatted as hitting lines (numbers in A and
// C to U, a club abbreviation in B, "#.000" on D, E and F, medium left and
// right borders on A to U) twice, in one run:
//   model: through Workbook / Worksheet, then WriteXlsx;
//   floor: the same cells straight through libxlsxwriter in constant-memory
//          mode, with no model in between.
// and prints both times, their ratio, the memory the model holds per cell
// and the peak resident memory.
//
//   workbook_floor_bench [--rows N] [--repeat K] [--dir FOLDER] [--keep]
//
// Defaults: 650,000 rows (13.65 million cells), one repetition, files in the
// system's temporary folder, removed afterwards.
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>
#include <xlsxwriter.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "util/error.h"
#include "util/three_decimals.h"
#include "workbook/workbook.h"
#include "workbook/xlsx_writer.h"

namespace {

using namespace statcrane;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kColumns = 21;
constexpr std::array<const char*, 30> kClubs = {
    "NYY", "BOS", "TOR", "BAL", "TBR", "CLE", "DET", "KCR", "MIN", "CWS",
    "HOU", "LAA", "OAK", "SEA", "TEX", "ATL", "MIA", "NYM", "PHI", "WSN",
    "CHC", "CIN", "MIL", "PIT", "STL", "ARI", "COL", "LAD", "SDP", "SFG"};

// The values of one hitting line; column B (index 1) is the club text.
void LineValues(int64_t i, std::array<double, kColumns>& v) {
  int64_t at_bats = 50 + (i * 37) % 600;
  int64_t hits = at_bats * (20 + i % 15) / 100;
  int64_t doubles = hits / 5, triples = hits / 40, homers = (i * 13) % 45;
  int64_t walks = (i * 11) % 90, hbp = i % 9, sac_flies = i % 7;
  int64_t total_bases = hits + doubles + 2 * triples + 3 * homers;
  v[0] = static_cast<double>(1901 + i % 120);
  v[1] = 0;
  v[2] = static_cast<double>(20 + i % 21);
  v[3] = RoundThreeDecimals(static_cast<double>(hits) / static_cast<double>(at_bats));
  v[4] = RoundThreeDecimalsSingle(static_cast<double>(hits + walks + hbp) /
                                  static_cast<double>(at_bats + walks + hbp + sac_flies));
  v[5] = RoundThreeDecimals(static_cast<double>(total_bases) / static_cast<double>(at_bats));
  int64_t counts[15] = {at_bats,        hits,           doubles, triples,   homers,
                        (i * 17) % 130, (i * 19) % 140, hbp,     walks,     (i * 23) % 200,
                        i % 60,         i % 20,         i % 12,  sac_flies, total_bases};
  for (int k = 0; k < 15; ++k) v[6 + k] = static_cast<double>(counts[k]);
}

const char* Club(int64_t i) { return kClubs[static_cast<size_t>(i % 30)]; }

// Elapsed and processor time: on a shared machine the processor time is the
// steadier measure of the two.
struct Stopwatch {
  Clock::time_point wall = Clock::now();
  double cpu = CpuSeconds();

  static double CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
  }
};

struct Times {
  double wall = 0;
  double cpu = 0;
  Times operator+(const Times& o) const { return {wall + o.wall, cpu + o.cpu}; }
};

Times Since(const Stopwatch& start) {
  return {std::chrono::duration<double>(Clock::now() - start.wall).count(),
          Stopwatch::CpuSeconds() - start.cpu};
}

int64_t ResidentBytes() {
  std::ifstream statm("/proc/self/statm");
  int64_t size = 0, resident = 0;
  statm >> size >> resident;
  return resident * sysconf(_SC_PAGESIZE);
}

int64_t PeakResidentBytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<int64_t>(usage.ru_maxrss) * 1024;
}

// The floor: the cells straight to libxlsxwriter, constant-memory mode.
Times WriteFloor(int64_t rows, const fs::path& file) {
  Stopwatch start;
  std::string folder = file.parent_path().string();
  lxw_workbook_options options{};
  options.constant_memory = LXW_TRUE;
  options.tmpdir = folder.data();
  lxw_workbook* book = workbook_new_opt(file.c_str(), &options);
  lxw_worksheet* sheet = workbook_add_worksheet(book, "A");
  lxw_format* line = workbook_add_format(book);
  format_set_left(line, LXW_BORDER_MEDIUM);
  format_set_right(line, LXW_BORDER_MEDIUM);
  lxw_format* rate = workbook_add_format(book);
  format_set_num_format(rate, "#.000");
  format_set_left(rate, LXW_BORDER_MEDIUM);
  format_set_right(rate, LXW_BORDER_MEDIUM);
  std::array<double, kColumns> v;
  for (int64_t i = 0; i < rows; ++i) {
    LineValues(i, v);
    lxw_row_t r = static_cast<lxw_row_t>(i);
    for (int c = 0; c < kColumns; ++c) {
      if (c == 1) {
        worksheet_write_string(sheet, r, 1, Club(i), line);
      } else {
        worksheet_write_number(sheet, r, static_cast<lxw_col_t>(c), v[static_cast<size_t>(c)],
                               c >= 3 && c <= 5 ? rate : line);
      }
    }
  }
  lxw_error error = workbook_close(book);
  if (error != LXW_NO_ERROR) {
    std::fprintf(stderr, "floor: %s\n", lxw_strerror(error));
    std::exit(1);
  }
  return Since(start);
}

struct ModelRun {
  Times fill;   // building the workbook
  Times write;  // WriteXlsx
  int64_t resident_growth = 0;
  size_t held_bytes = 0;  // as the workbook counts its memory
  int64_t cells = 0;
};

// The model: the same cells as the sheet writers write them, then WriteXlsx.
ModelRun WriteModel(int64_t rows, const fs::path& file) {
  ModelRun run;
  int64_t resident_before = ResidentBytes();
  Stopwatch start;
  {
    Workbook book;
    Worksheet& sheet = book.AddSheet("A");
    book.Delete("Sheet1");
    std::array<double, kColumns> v;
    for (int64_t i = 0; i < rows; ++i) {
      LineValues(i, v);
      int32_t row = static_cast<int32_t>(i + 1);
      for (int c = 0; c < kColumns; ++c) {
        CellRange cell = CellRange::Cell(c + 1, row);
        if (c == 1) {
          sheet.SetText(cell, Club(i));
        } else {
          sheet.SetNumber(cell, v[static_cast<size_t>(c)]);
        }
      }
      sheet.SetNumberFormat(CellRange::Row(4, 6, row), "#.000");
      CellRange line = CellRange::Row(1, kColumns, row);
      sheet.SetBorderWeight(line, BorderIndex::kRight, kWeightMedium);
      sheet.SetBorderWeight(line, BorderIndex::kLeft, kWeightMedium);
    }
    run.fill = Since(start);
    run.resident_growth = ResidentBytes() - resident_before;
    run.held_bytes = book.MemoryBytes();
    run.cells = sheet.CellCount();
    Stopwatch write_start;
    WriteXlsx(book, file, true);
    run.write = Since(write_start);
  }
  return run;
}

int64_t FileBytes(const fs::path& file) {
  std::error_code error;
  auto size = fs::file_size(file, error);
  return error ? -1 : static_cast<int64_t>(size);
}

void Usage() {
  std::fprintf(stderr,
               "usage: workbook_floor_bench [--rows N] [--repeat K] [--dir FOLDER] [--keep]\n");
  std::exit(2);
}

}  // namespace

int main(int argc, char** argv) {
  int64_t rows = 650000;
  int repeat = 1;
  fs::path dir = fs::temp_directory_path();
  bool keep = false;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--rows" && i + 1 < argc) {
      rows = std::atoll(argv[++i]);
    } else if (arg == "--repeat" && i + 1 < argc) {
      repeat = std::atoi(argv[++i]);
    } else if (arg == "--dir" && i + 1 < argc) {
      dir = argv[++i];
    } else if (arg == "--keep") {
      keep = true;
    } else {
      Usage();
    }
  }
  if (rows < 1 || rows > kMaxRows || repeat < 1) Usage();

  fs::path floor_file = dir / "workbook_floor_bench.floor.xlsx";
  fs::path model_file = dir / "workbook_floor_bench.model.xlsx";
  int64_t cells = rows * kColumns;
  std::printf("%lld rows x %d cells = %lld cells, files in %s\n", static_cast<long long>(rows),
              kColumns, static_cast<long long>(cells), dir.c_str());

  Times best_floor{1e300, 1e300}, best_model{1e300, 1e300};
  ModelRun last;
  try {
    for (int k = 1; k <= repeat; ++k) {
      Times floor = WriteFloor(rows, floor_file);
      ModelRun model = WriteModel(rows, model_file);
      Times total = model.fill + model.write;
      std::printf(
          "run %d, elapsed:   floor %6.2f s | model %6.2f s (fill %5.2f s + write %6.2f s) | "
          "ratio %.3f\n"
          "run %d, processor: floor %6.2f s | model %6.2f s (fill %5.2f s + write %6.2f s) | "
          "ratio %.3f\n",
          k, floor.wall, total.wall, model.fill.wall, model.write.wall, total.wall / floor.wall, k,
          floor.cpu, total.cpu, model.fill.cpu, model.write.cpu, total.cpu / floor.cpu);
      std::fflush(stdout);
      best_floor = {std::min(best_floor.wall, floor.wall), std::min(best_floor.cpu, floor.cpu)};
      best_model = {std::min(best_model.wall, total.wall), std::min(best_model.cpu, total.cpu)};
      last = model;
    }
  } catch (const StatCraneError& error) {
    std::fprintf(stderr, "model: %s\n", error.what());
    return 1;
  }
  std::printf(
      "best elapsed:   floor %.2f s, model %.2f s, model/floor %.3f (target at most 1.15)\n",
      best_floor.wall, best_model.wall, best_model.wall / best_floor.wall);
  std::printf(
      "best processor: floor %.2f s, model %.2f s, model/floor %.3f (target at most 1.15)\n",
      best_floor.cpu, best_model.cpu, best_model.cpu / best_floor.cpu);
  std::printf(
      "memory held by the model: %.1f bytes per cell by resident growth, "
      "%.1f by its own count (target at most 40)\n",
      static_cast<double>(last.resident_growth) / static_cast<double>(last.cells),
      static_cast<double>(last.held_bytes) / static_cast<double>(last.cells));
  std::printf("peak resident memory: %.1f MiB\n",
              static_cast<double>(PeakResidentBytes()) / (1024.0 * 1024.0));
  std::printf("files: floor %.1f MB, model %.1f MB\n", FileBytes(floor_file) / 1e6,
              FileBytes(model_file) / 1e6);
  if (!keep) {
    fs::remove(floor_file);
    fs::remove(model_file);
  }
  return 0;
}
