// Tests that cannot run on Windows skip themselves there, saying why:
//
//   TEST(WriteXlsx, AnInterruptingSignalRemovesTheTemporaryFile) {
//     SKIP_ON_WINDOWS("POSIX signals");
//     ...
//
// The rest of such a test must still compile on Windows; code that cannot
// (fork, POSIX calls) goes in #ifndef _WIN32.
#pragma once

#include <gtest/gtest.h>

#ifdef _WIN32
#define SKIP_ON_WINDOWS(reason) GTEST_SKIP() << "not on Windows: " << (reason)
#else
#define SKIP_ON_WINDOWS(reason) static_cast<void>(0)
#endif

namespace statcrane::testing {

// The reasons most tests give.
inline constexpr const char* kNeedsReader =
    "reads the workbook with the independent reader (Python, openpyxl) or the package reader "
    "(expat), which the Linux build has; CI compares the Windows workbook part by part";
inline constexpr const char* kNeedsReferenceWriter =
    "compares with the reference writer on libxlsxwriter, which the Linux build has";
inline constexpr const char* kNeedsChildProcess =
    "runs part of the test in a forked child (as another user, with a resource limit or a "
    "signal)";

}  // namespace statcrane::testing
