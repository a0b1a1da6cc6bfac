// The date-time value every layer uses, on the standard civil calendar, and local time.
#pragma once

#include <chrono>
#include <cstdint>
#include <ctime>
#include <string>

namespace brisko::platform {

// Whole days since 1899-12-30 plus the time of day as the fraction: 1 day = 1.0, N minutes = N / 1440.
using DateTime = double;

// Day 0 of a DateTime.
inline constexpr std::chrono::sys_days kDayZero{std::chrono::year{1899} / 12 / 30};
// 1970-01-01 as a DateTime day count.
inline constexpr int64_t kUnixEpochDays = (std::chrono::sys_days{} - kDayZero).count();

// The day count of a date (proleptic Gregorian), and the date of a day count.
inline int64_t DayNumber(const std::chrono::year_month_day& date) {
  return (std::chrono::sys_days{date} - kDayZero).count();
}
inline std::chrono::year_month_day DateOfDayNumber(int64_t dayNumber) {
  return std::chrono::year_month_day{kDayZero + std::chrono::days{dayNumber}};
}

// The date-time value of a calendar moment (no validation beyond what the arithmetic needs).
DateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second);

// "yyyy-mm-dd HH:mm:ss" of the fields as given.
std::string FormatDateTimeFields(int year, int month, int day, int hour, int minute, int second);
// The same of a date and a time of day in whole seconds.
std::string FormatDateTimeFields(const std::chrono::year_month_day& date, std::chrono::seconds timeOfDay);

// The local calendar time of a UTC time; false when the system cannot convert it.
bool ToLocalTime(std::time_t utc, std::tm& out);
// The UTC time of a local calendar moment, the system deciding on daylight saving; -1 when it has none.
std::time_t LocalMomentToTime(int year, int month, int day, int hour, int minute, int second);
std::time_t LocalMomentToTime(const std::chrono::year_month_day& date, std::chrono::seconds timeOfDay);
// The local date-time value of a UTC time (fields as given by the system; a leap second stays 60).
DateTime LocalDateTimeOf(std::time_t utc);

}  // namespace brisko::platform
