// Calendar arithmetic, local time, and the date-time value every layer uses.
#pragma once

#include <cstdint>
#include <ctime>

namespace brisko::platform {

// Whole days since 1899-12-30 plus the time of day as the fraction: 1 day = 1.0, N minutes = N / 1440.
using DateTime = double;

// 1970-01-01 as a DateTime day count.
inline constexpr int64_t kUnixEpochDays = 25569;

struct CivilDate {
  int year = 1899, month = 12, day = 30;
};

// Days from 1970-01-01 of a proleptic Gregorian date; months outside 1..12 carry into the year.
int64_t DaysFromCivil(int64_t year, int64_t month, int64_t day);
// The date of a day count from 1970-01-01.
CivilDate CivilFromDays(int64_t days);

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);

// The date-time value of a calendar moment (no validation beyond what the arithmetic needs).
DateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second);

// The local calendar time of a UTC time; false when the system cannot convert it.
bool ToLocalTime(std::time_t utc, std::tm& out);
// The UTC time of a local calendar moment, the system deciding on daylight saving; -1 when it has none.
std::time_t LocalMomentToTime(int year, int month, int day, int hour, int minute, int second);
// The local date-time value of a UTC time (fields as given by the system; a leap second stays 60).
DateTime LocalDateTimeOf(std::time_t utc);

}  // namespace brisko::platform
