// A second .xlsx writer for tests, on libxlsxwriter: what the package writer
// writes is compared with what this one writes for the same workbook
// (reference_comparison_test.cc), so that our files keep the structure
// spreadsheet applications accept. Not part of the program.
#pragma once

#include <filesystem>

#include "workbook/workbook.h"

namespace statcrane::testing {

// Writes every sheet with its values, formats, merges, widths and selection,
// and the active tab, straight to `file`. Throws std::runtime_error when
// libxlsxwriter reports an error.
void WriteReferenceXlsx(const Workbook& workbook, const std::filesystem::path& file);

}  // namespace statcrane::testing
