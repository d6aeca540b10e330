// Calendar dates and time stamps.
#pragma once

#include <chrono>
#include <string>

namespace statcrane {

struct CivilDate {
  int year = 1899;
  int month = 12;
  int day = 30;
  friend bool operator==(const CivilDate&, const CivilDate&) = default;
};

// The date a birth-date entry holds when no record set it: 30 December 1899.
constexpr CivilDate kZeroDate{1899, 12, 30};

// True when month and day form a date of the given year (Gregorian calendar).
bool IsCalendarDate(int year, int month, int day);

// The number of calendar-year boundaries between two dates: to.year - from.year.
int YearBoundariesBetween(const CivilDate& from, const CivilDate& to);

// The current local date and time as the system's general date text: the
// short date, a blank, the long time ("12/08/2026 01:13:09").
std::string GeneralDateStamp(std::chrono::system_clock::time_point when);

// The local date and time for a file name: "2026-08-12 07-50-03" (no
// characters a file name may not hold on any system).
std::string FileNameStamp(std::chrono::system_clock::time_point when);

}  // namespace statcrane
