// Clocks and the local time as the system shows it (platform_time_posix.cc,
// platform_time_windows.cc).
#pragma once

#include <chrono>
#include <string>

namespace statcrane {

// `when` in local time as the system's general date text: the short date, a
// blank, the long time ("12/08/2026 01:13:09"), in the user's formats.
std::string LocalDateTimeText(std::chrono::system_clock::time_point when);

// `when` in local time, field by field (month 1-12, day 1-31).
struct LocalTimeFields {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};
// Returns false when the system cannot express `when` in local time.
bool LocalTime(std::chrono::system_clock::time_point when, LocalTimeFields& fields);

// Processor seconds (user and system) the calling thread has used.
double ThreadProcessorSeconds();

}  // namespace statcrane
