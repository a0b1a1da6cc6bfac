// Date-time values as day counts since 1899-12-30 and their fixed text forms.
#pragma once

#include <chrono>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

#include "platform/CivilDate.h"

namespace brisko::core {

// Whole days since 1899-12-30 plus the time of day as the fraction: 1 day = 1.0,
// N minutes = N / 1440.
using platform::DateTime;

inline constexpr double kMinutesPerDay = 1440.0;
inline constexpr double kSecondsPerDay = 86400.0;

using TimeOfDay = std::chrono::hh_mm_ss<std::chrono::milliseconds>;

// Builds a date from its parts; nullopt when the parts name no day of years 1..9999.
std::optional<DateTime> TryEncodeDate(int year, int month, int day);
// Builds a time of day (fraction of a day); nullopt outside 00:00:00.000 .. 23:59:59.999.
std::optional<DateTime> TryEncodeTime(int hour, int minute, int second, int millisecond = 0);
// The date and the time of day of a value, to the nearest millisecond.
std::chrono::year_month_day DecodeDate(DateTime value);
TimeOfDay DecodeTime(DateTime value);

DateTime DateOf(DateTime value);  // midnight of the same day
DateTime TimeOf(DateTime value);  // the time of day alone
// 1 = Sunday .. 7 = Saturday.
int DayOfWeek(DateTime value);
// English weekday name "Sunday" .. "Saturday" of a value.
std::string WeekdayName(DateTime value);
// The seven names, Sunday first.
inline constexpr const char* kWeekdayNames[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                 "Thursday", "Friday", "Saturday"};

// "yyyy-mm-dd".
std::string FormatDate(DateTime value);
// "HH:mm:ss" (24-hour clock).
std::string FormatTime(DateTime value);
// "yyyy-mm-dd HH:mm:ss", always with the time (the stored form of NewDateTime).
std::string FormatDateTime(DateTime value);
// The general date-time text: like FormatDateTime, but the date alone at exactly 00:00:00.
std::string DateTimeToStr(DateTime value);

// Parsing of the stored forms. Dates: year-month-day with '-' (one or two digits for month and
// day; a year of one or two digits falls in 1950..2049). Times: H:M or H:M:S (optionally .zzz).
// Date-times: a date, optionally followed by blanks and a time. Surrounding blanks are allowed.
std::optional<DateTime> TryStrToDate(std::string_view text);
std::optional<DateTime> TryStrToTime(std::string_view text);
std::optional<DateTime> TryStrToDateTime(std::string_view text);
// As above, throwing DateTimeParseError "'<text>' is not a valid date and time" / "... valid time".
DateTime StrToDateTime(std::string_view text);
DateTime StrToTime(std::string_view text);

// Conversions with the system's local time.
DateTime FromTimeT(std::time_t when);    // local time of a moment
std::time_t ToTimeT(DateTime value);     // the moment of a local date-time
DateTime FromTm(const std::tm& broken);  // fields as given, tm_year + 1900 etc.

// A moment as the date and time it is in UTC, and back; plain arithmetic, no time zone involved.
DateTime UtcDateTimeOf(std::time_t when);
std::time_t TimeOfUtcDateTime(DateTime utc);

}  // namespace brisko::core
