#include "util/dates.h"

#include <ctime>

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
  // std::localtime is standard C++ on every system; its static result is
  // only used on the window's thread (the run's time stamps go through
  // LocalDateTimeText).
  const std::time_t t = std::chrono::system_clock::to_time_t(when);
  const std::tm* local = std::localtime(&t);
  if (local == nullptr) return "0000-00-00 00-00-00";
  char text[64];
  const size_t n = std::strftime(text, sizeof text, "%Y-%m-%d %H-%M-%S", local);
  return std::string(text, n);
}

}  // namespace statcrane
