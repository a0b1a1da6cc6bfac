// Date-time values from calendar fields, their text, and local time.
#include "platform/CivilDate.h"

#include <cstdio>

namespace brisko::platform {

namespace {

// Calls fn with the fields of a date and a time of day as plain numbers.
template <typename Fn>
auto WithFields(const std::chrono::year_month_day& date, std::chrono::seconds timeOfDay, Fn fn) {
  const std::chrono::hh_mm_ss<std::chrono::seconds> time{timeOfDay};
  return fn(static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
            static_cast<int>(static_cast<unsigned>(date.day())), static_cast<int>(time.hours().count()),
            static_cast<int>(time.minutes().count()), static_cast<int>(time.seconds().count()));
}

}  // namespace

DateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second) {
  const int64_t days = DayNumber(std::chrono::year{year} / month / day);
  return static_cast<double>(days) + ((int64_t{hour} * 60 + minute) * 60 + second) / 86400.0;
}

std::string FormatDateTimeFields(int year, int month, int day, int hour, int minute, int second) {
  char text[96];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", year, month, day, hour, minute, second);
  return text;
}

std::string FormatDateTimeFields(const std::chrono::year_month_day& date, std::chrono::seconds timeOfDay) {
  return WithFields(date, timeOfDay, [](auto... fields) { return FormatDateTimeFields(fields...); });
}

bool ToLocalTime(std::time_t utc, std::tm& out) {
#ifdef _WIN32
  return ::localtime_s(&out, &utc) == 0;
#else
  return ::localtime_r(&utc, &out) != nullptr;
#endif
}

std::time_t LocalMomentToTime(int year, int month, int day, int hour, int minute, int second) {
  std::tm local{};
  local.tm_year = year - 1900;
  local.tm_mon = month - 1;
  local.tm_mday = day;
  local.tm_hour = hour;
  local.tm_min = minute;
  local.tm_sec = second;
  local.tm_isdst = -1;
  return std::mktime(&local);
}

std::time_t LocalMomentToTime(const std::chrono::year_month_day& date, std::chrono::seconds timeOfDay) {
  return WithFields(date, timeOfDay, [](auto... fields) { return LocalMomentToTime(fields...); });
}

DateTime LocalDateTimeOf(std::time_t utc) {
  std::tm local{};
  ToLocalTime(utc, local);
  return EncodeDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                        local.tm_sec);
}

}  // namespace brisko::platform
