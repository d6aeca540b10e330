#include "util/dates.h"

#include <ctime>

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

namespace {

std::string LocalTimeText(std::chrono::system_clock::time_point when, const char* format) {
  const std::time_t t = std::chrono::system_clock::to_time_t(when);
  std::tm local{};
  localtime_r(&t, &local);
  char text[128];
  const size_t n = std::strftime(text, sizeof text, format, &local);
  return std::string(text, n);
}

}  // namespace

std::string GeneralDateStamp(std::chrono::system_clock::time_point when) {
  return LocalTimeText(when, "%x %X");
}

std::string FileNameStamp(std::chrono::system_clock::time_point when) {
  return LocalTimeText(when, "%Y-%m-%d %H-%M-%S");
}

}  // namespace statcrane
