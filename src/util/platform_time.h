// Clocks and the local time as the system shows it (platform_time_posix.cc,
// platform_time_windows.cc).
#pragma once

#include <chrono>
#include <string>

namespace statcrane {

// `when` in local time as the system's general date text: the short date, a
// blank, the long time ("12/08/2026 01:13:09"), in the user's formats.
std::string LocalDateTimeText(std::chrono::system_clock::time_point when);

// Processor seconds (user and system) the calling thread has used.
double ThreadProcessorSeconds();

}  // namespace statcrane
