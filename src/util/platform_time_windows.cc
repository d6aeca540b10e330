#include <windows.h>

#include "util/platform_text_windows.h"
#include "util/platform_time.h"

namespace statcrane {

namespace {

bool LocalSystemTime(std::chrono::system_clock::time_point when, SYSTEMTIME& local) {
  // FILETIME counts 100 ns from 1601-01-01 UTC.
  constexpr int64_t kFrom1601To1970 = 116444736000000000LL;
  const int64_t ticks =
      std::chrono::duration_cast<std::chrono::microseconds>(when.time_since_epoch()).count() * 10 +
      kFrom1601To1970;
  FILETIME file_time{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
  SYSTEMTIME utc{};
  return ::FileTimeToSystemTime(&file_time, &utc) &&
         ::SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local);
}

}  // namespace

bool LocalTime(std::chrono::system_clock::time_point when, LocalTimeFields& fields) {
  SYSTEMTIME local{};
  if (!LocalSystemTime(when, local)) return false;
  fields = {local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond};
  return true;
}

std::string LocalDateTimeText(std::chrono::system_clock::time_point when) {
  SYSTEMTIME local{};
  if (!LocalSystemTime(when, local)) return "";
  wchar_t date[128] = {}, time[128] = {};
  ::GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &local, nullptr, date, 128, nullptr);
  ::GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &local, nullptr, time, 128);
  return Utf8FromWide(date) + " " + Utf8FromWide(time);
}

double ThreadProcessorSeconds() {
  FILETIME created{}, ended{}, kernel{}, user{};
  if (!::GetThreadTimes(::GetCurrentThread(), &created, &ended, &kernel, &user)) return 0;
  auto seconds = [](const FILETIME& t) {
    return static_cast<double>((static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime) *
           1e-7;
  };
  return seconds(kernel) + seconds(user);
}

}  // namespace statcrane
