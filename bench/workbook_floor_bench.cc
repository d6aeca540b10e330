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
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench_support.h"
#include "util/error.h"
#include "workbook/workbook.h"
#include "workbook/xlsx_writer.h"

namespace {

using namespace statcrane;
using bench::Club;
using bench::HittingLineValues;
using bench::kFloorColumns;
namespace fs = std::filesystem;

constexpr int kColumns = kFloorColumns;

using bench::Stopwatch;
using bench::Times;

int64_t ResidentBytes() {
  std::ifstream statm("/proc/self/statm");
  int64_t size = 0, resident = 0;
  statm >> size >> resident;
  return resident * sysconf(_SC_PAGESIZE);
}

// The floor: the cells straight to libxlsxwriter, constant-memory mode.
Times WriteFloor(int64_t rows, const fs::path& file) {
  Stopwatch start;
  bench::WriteFloorWorkbook(rows, file);
  return start.Lap();
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
    std::array<double, kColumns> v;
    for (int64_t i = 0; i < rows; ++i) {
      HittingLineValues(i, v);
      const Row row(static_cast<int32_t>(i + 1));
      for (int c = 0; c < kColumns; ++c) {
        CellRange cell = CellRange::Cell(row, Column(c + 1));
        if (c == 1) {
          sheet.SetText(cell, Club(i));
        } else {
          sheet.SetNumber(cell, v[static_cast<size_t>(c)]);
        }
      }
      sheet.SetNumberFormat(CellRange::Across(row, Column("D"), Column("F")), "#.000");
      CellRange line = CellRange::Across(row, Column("A"), Column(kColumns));
      sheet.SetBorder(line, BorderSide::kRight, LineStyle::kMedium);
      sheet.SetBorder(line, BorderSide::kLeft, LineStyle::kMedium);
    }
    run.fill = start.Lap();
    run.resident_growth = ResidentBytes() - resident_before;
    run.held_bytes = book.MemoryBytes();
    run.cells = sheet.CellCount();
    Stopwatch write_start;
    WriteXlsx(book, file, true);
    run.write = write_start.Lap();
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
          k, floor.elapsed, total.elapsed, model.fill.elapsed, model.write.elapsed,
          total.elapsed / floor.elapsed, k, floor.processor, total.processor, model.fill.processor,
          model.write.processor, total.processor / floor.processor);
      std::fflush(stdout);
      best_floor = {std::min(best_floor.elapsed, floor.elapsed),
                    std::min(best_floor.processor, floor.processor)};
      best_model = {std::min(best_model.elapsed, total.elapsed),
                    std::min(best_model.processor, total.processor)};
      last = model;
    }
  } catch (const StatCraneError& error) {
    std::fprintf(stderr, "model: %s\n", error.what());
    return 1;
  }
  std::printf(
      "best elapsed:   floor %.2f s, model %.2f s, model/floor %.3f (target at most 1.15)\n",
      best_floor.elapsed, best_model.elapsed, best_model.elapsed / best_floor.elapsed);
  std::printf(
      "best processor: floor %.2f s, model %.2f s, model/floor %.3f (target at most 1.15)\n",
      best_floor.processor, best_model.processor, best_model.processor / best_floor.processor);
  std::printf(
      "memory held by the model: %.1f bytes per cell by resident growth, "
      "%.1f by its own count (target at most 40)\n",
      static_cast<double>(last.resident_growth) / static_cast<double>(last.cells),
      static_cast<double>(last.held_bytes) / static_cast<double>(last.cells));
  std::printf("peak resident memory: %.1f MiB\n", bench::PeakResidentMiB());
  std::printf("files: floor %.1f MB, model %.1f MB\n", FileBytes(floor_file) / 1e6,
              FileBytes(model_file) / 1e6);
  if (!keep) {
    fs::remove(floor_file);
    fs::remove(model_file);
  }
  return 0;
}
