#include "util/dates.h"

#include <cstdio>

#include "util/platform_time.h"

namespace statcrane {

bool IsCalendarDate(int year, int month, int day) {
  if (month < 1 || month > 12 || day < 1) return false;
  static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  const int last = month == 2 && leap ? 29 : kDays[month - 1];
  return day <= last;
}

int YearBoundariesBetween(const CivilDate& from, const CivilDate& to) {
  return to.year - from.year;
}

std::string GeneralDateStamp(std::chrono::system_clock::time_point when) {
  return LocalDateTimeText(when);
}

std::string FileNameStamp(std::chrono::system_clock::time_point when) {
  LocalTimeFields local;
  if (!LocalTime(when, local)) return "0000-00-00 00-00-00";
  char text[64];
  const int n = std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d-%02d-%02d", local.year,
                              local.month, local.day, local.hour, local.minute, local.second);
  return std::string(text, n > 0 ? static_cast<size_t>(n) : 0);
}

}  // namespace statcrane
