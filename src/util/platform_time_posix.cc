#include <time.h>

#include <ctime>

#include "util/platform_time.h"

namespace statcrane {

std::string LocalDateTimeText(std::chrono::system_clock::time_point when) {
  const std::time_t t = std::chrono::system_clock::to_time_t(when);
  std::tm local{};
  ::localtime_r(&t, &local);
  char text[128];
  const size_t n = std::strftime(text, sizeof text, "%x %X", &local);
  return std::string(text, n);
}

bool LocalTime(std::chrono::system_clock::time_point when, LocalTimeFields& fields) {
  const std::time_t t = std::chrono::system_clock::to_time_t(when);
  std::tm local{};
  if (::localtime_r(&t, &local) == nullptr) return false;
  fields = {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     local.tm_sec};
  return true;
}

double ThreadProcessorSeconds() {
  timespec t{};
  ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

}  // namespace statcrane
