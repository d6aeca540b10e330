// Writes an in-memory workbook as an .xlsx file, once, at the end of a run.
#pragma once

#include <cstdint>
#include <filesystem>

#include "util/progress.h"
#include "workbook/workbook.h"

namespace statcrane {

// Writes every sheet in tab order with its values, number formats,
// alignment, fills, fonts, borders, merges, column widths and selected cell,
// and the active sheet as the active tab. Rows are streamed out one by one,
// so writing needs little memory beyond the workbook itself.
//
// The file is written under a temporary name in the target's folder and gets
// its name only when complete. With `overwrite` false an existing file (or
// anything else) under the target name is never replaced, even when it
// appears while the file is being written. Any failure (a folder that does
// not exist or cannot be written, a full disk, a target that is a folder, an
// existing file without `overwrite`) throws StatCraneError with a clear
// message and leaves nothing behind: no temporary file, no file under the
// target name.
//
// With `progress`, reports PhaseProgress("writing", rows written, rows of all
// sheets) every few thousand rows and then PhaseProgress("packing", done,
// 1000) while the parts are compressed into the file, and checks StopRequested
// all along: a stop throws RunStopped and leaves nothing behind either.
//
// Returns the number of cells written.
int64_t WriteXlsx(const Workbook& workbook, const std::filesystem::path& target, bool overwrite,
                  ProgressObserver* progress = nullptr);

}  // namespace statcrane
