// Writes an in-memory workbook as an .xlsx file, once, at the end of a run.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "util/progress.h"
#include "workbook/workbook.h"

namespace statcrane {

// Where the time of a write went, for benchmarks.
struct XlsxWriteStats {
  double elapsed = 0;               // the whole write, wall clock
  double survey_seconds = 0;        // looking over the cells first (texts to share), all threads
  double xml_seconds = 0;           // making the sheet parts, all threads
  double compress_seconds = 0;      // compressing them, all threads
  double write_seconds = 0;         // the writing thread: small parts and putting bytes in the file
  std::vector<double> thread_busy;  // seconds each worker thread was busy
  int64_t xml_bytes = 0;            // all parts before compression
  int64_t file_bytes = 0;
};

// libdeflate's level 1..12 (zlib's 1..9): the fastest, which keeps the file
// within its size target (the measurements are in xlsx_writer.cc).
inline constexpr int kDefaultCompressionLevel = 1;

struct XlsxWriteOptions {
  int threads = 0;  // 0: as many as the machine has
  int compression_level = kDefaultCompressionLevel;
  // The time the document properties give as created (W3CDTF,
  // "2024-05-01T12:00:00Z"); empty for the current time.
  std::string created;
  XlsxWriteStats* stats = nullptr;  // filled when given
};

// Writes every sheet in tab order with its values, number formats,
// alignment, fills, fonts, borders, merges, column widths and selected cell,
// and the active sheet as the active tab. The sheet parts are made and
// compressed on a pool of threads; the file's bytes are the same whatever
// the number of threads.
//
// The file goes through an OutputFile (util/platform.h): written under a
// temporary name and given the target's name only when complete. An existing
// regular file is replaced only with `overwrite`; anything else under the
// target name never is. Any failure (a folder that does not exist or cannot
// be written, a full disk, a target that is a folder, an existing file
// without `overwrite`) throws StatCraneError with a clear message that names
// the target, and leaves nothing behind.
//
// With `progress`, reports PhaseProgress("writing", rows done, rows of all
// sheets) from the calling thread while the sheets are written, and checks
// StopRequested all along: a stop throws RunStopped and leaves nothing
// behind either.
//
// Returns the number of cells written.
int64_t WriteXlsx(const Workbook& workbook, const std::filesystem::path& target, bool overwrite,
                  ProgressObserver* progress = nullptr, const XlsxWriteOptions& options = {});

}  // namespace statcrane
