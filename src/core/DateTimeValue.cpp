// Day-count date-times: encoding, decoding, the fixed text forms and local-time conversion.
#include "core/DateTimeValue.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

#include "core/EConvertError.h"
#include "core/TextUtil.h"

namespace brisko::core {
namespace {

constexpr int64_t kMsPerDay = 86400000;
constexpr int64_t kUnixEpochDays = 25569;  // 1970-01-01 as a day count

// Days from 1970-01-01 for a proleptic Gregorian date (months outside 1..12 are carried).
int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d) {
  y += (m > 0 ? (m - 1) / 12 : (m - 12) / 12);
  m = ((m - 1) % 12 + 12) % 12 + 1;
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

DateParts CivilFromDays(int64_t z) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  DateParts p;
  p.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  p.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  p.year = static_cast<int>(yoe + era * 400 + (p.month <= 2));
  return p;
}

bool IsLeap(int y) {
  return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int DaysInMonth(int y, int m) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeap(y) ? 29 : days[m - 1];
}

// Milliseconds since the day count's origin, rounded as the value is decoded.
int64_t TotalMs(DateTime value) {
  return std::llround(value * static_cast<double>(kMsPerDay));
}

// Reads 1..maxDigits decimal digits at pos.
bool ScanNumber(std::string_view s, size_t& pos, int maxDigits, int& out, int* digits = nullptr) {
  size_t start = pos;
  int v = 0;
  while (pos < s.size() && s[pos] >= '0' && s[pos] <= '9' && static_cast<int>(pos - start) < maxDigits)
    v = v * 10 + (s[pos++] - '0');
  if (pos == start || (pos < s.size() && s[pos] >= '0' && s[pos] <= '9')) return false;
  if (digits) *digits = static_cast<int>(pos - start);
  out = v;
  return true;
}

bool ScanChar(std::string_view s, size_t& pos, char c) {
  if (pos < s.size() && s[pos] == c) {
    ++pos;
    return true;
  }
  return false;
}

std::optional<DateTime> ParseDate(std::string_view s) {
  size_t pos = 0;
  int y = 0, m = 0, d = 0, yearDigits = 0;
  if (!ScanNumber(s, pos, 4, y, &yearDigits) || !ScanChar(s, pos, '-') || !ScanNumber(s, pos, 2, m) ||
      !ScanChar(s, pos, '-') || !ScanNumber(s, pos, 2, d) || pos != s.size())
    return std::nullopt;
  if (yearDigits <= 2) y += y < 50 ? 2000 : 1900;
  return TryEncodeDate(y, m, d);
}

std::optional<DateTime> ParseTime(std::string_view s) {
  size_t pos = 0;
  int h = 0, m = 0, sec = 0, ms = 0, msDigits = 0;
  if (!ScanNumber(s, pos, 2, h)) return std::nullopt;
  if (ScanChar(s, pos, ':')) {
    if (!ScanNumber(s, pos, 2, m)) return std::nullopt;
    if (ScanChar(s, pos, ':')) {
      if (!ScanNumber(s, pos, 2, sec)) return std::nullopt;
      if (ScanChar(s, pos, '.')) {
        if (!ScanNumber(s, pos, 3, ms, &msDigits)) return std::nullopt;
        while (msDigits++ < 3) ms *= 10;
      }
    }
  }
  if (pos != s.size()) return std::nullopt;
  return TryEncodeTime(h, m, sec, ms);
}

}  // namespace

std::optional<DateTime> TryEncodeDate(int year, int month, int day) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
    return std::nullopt;
  return static_cast<DateTime>(DaysFromCivil(year, month, day) + kUnixEpochDays);
}

std::optional<DateTime> TryEncodeTime(int hour, int minute, int second, int millisecond) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || millisecond < 0 ||
      millisecond > 999)
    return std::nullopt;
  int64_t ms = ((hour * 60 + minute) * 60 + second) * int64_t{1000} + millisecond;
  return static_cast<double>(ms) / static_cast<double>(kMsPerDay);
}

DateParts DecodeDate(DateTime value) {
  int64_t days = TotalMs(value) / kMsPerDay;  // toward zero, as the time part is taken unsigned
  return CivilFromDays(days - kUnixEpochDays);
}

TimeParts DecodeTime(DateTime value) {
  int64_t ms = TotalMs(value);
  if (ms < 0) ms = -ms;
  ms %= kMsPerDay;
  TimeParts t;
  t.millisecond = static_cast<int>(ms % 1000);
  t.second = static_cast<int>(ms / 1000 % 60);
  t.minute = static_cast<int>(ms / 60000 % 60);
  t.hour = static_cast<int>(ms / 3600000);
  return t;
}

DateTime DateOf(DateTime value) {
  return static_cast<double>(TotalMs(value) / kMsPerDay);
}

DateTime TimeOf(DateTime value) {
  int64_t ms = TotalMs(value);
  if (ms < 0) ms = -ms;
  return static_cast<double>(ms % kMsPerDay) / static_cast<double>(kMsPerDay);
}

int DayOfWeek(DateTime value) {
  int64_t days = TotalMs(value) / kMsPerDay;
  // Day 0, 1899-12-30, was a Saturday.
  return static_cast<int>(((days + 6) % 7 + 7) % 7) + 1;
}

std::string WeekdayName(DateTime value) {
  return kWeekdayNames[DayOfWeek(value) - 1];
}

std::string FormatDate(DateTime value) {
  DateParts d = DecodeDate(value);
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", d.year, d.month, d.day);
  return buffer;
}

std::string FormatTime(DateTime value) {
  TimeParts t = DecodeTime(value);
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", t.hour, t.minute, t.second);
  return buffer;
}

std::string FormatDateTime(DateTime value) {
  return FormatDate(value) + " " + FormatTime(value);
}

std::string DateTimeToStr(DateTime value) {
  TimeParts t = DecodeTime(value);
  if (t.hour == 0 && t.minute == 0 && t.second == 0) return FormatDate(value);
  return FormatDateTime(value);
}

std::optional<DateTime> TryStrToDate(std::string_view text) {
  return ParseDate(TrimBlanks(text));
}

std::optional<DateTime> TryStrToTime(std::string_view text) {
  return ParseTime(TrimBlanks(text));
}

std::optional<DateTime> TryStrToDateTime(std::string_view text) {
  std::string s = TrimBlanks(text);
  size_t blank = s.find_first_of(" \t");
  if (blank == std::string::npos) {
    if (auto date = ParseDate(s)) return date;
    return ParseTime(s);  // a time alone stands for that time on day 0
  }
  auto date = ParseDate(std::string_view(s).substr(0, blank));
  auto time = ParseTime(TrimBlanks(std::string_view(s).substr(blank)));
  if (!date || !time) return std::nullopt;
  // Days before day 0 carry their time as a positive fraction below the date.
  return *date >= 0 ? *date + *time : *date - *time;
}

DateTime StrToDateTime(std::string_view text) {
  if (auto v = TryStrToDateTime(text)) return *v;
  throw EConvertError("'" + std::string(text) + "' is not a valid date and time");
}

DateTime StrToTime(std::string_view text) {
  if (auto v = TryStrToTime(text)) return *v;
  throw EConvertError("'" + std::string(text) + "' is not a valid time");
}

DateTime FromTm(const std::tm& broken) {
  int64_t days = DaysFromCivil(int64_t{broken.tm_year} + 1900, int64_t{broken.tm_mon} + 1, broken.tm_mday);
  int64_t seconds = (int64_t{broken.tm_hour} * 60 + broken.tm_min) * 60 + broken.tm_sec;
  return static_cast<double>(days + kUnixEpochDays) + static_cast<double>(seconds) / 86400.0;
}

DateTime FromTimeT(std::time_t when) {
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &when);
#else
  localtime_r(&when, &local);
#endif
  return FromTm(local);
}

std::time_t ToTimeT(DateTime value) {
  DateParts d = DecodeDate(value);
  TimeParts t = DecodeTime(value);
  std::tm local{};
  local.tm_year = d.year - 1900;
  local.tm_mon = d.month - 1;
  local.tm_mday = d.day;
  local.tm_hour = t.hour;
  local.tm_min = t.minute;
  local.tm_sec = t.second;
  local.tm_isdst = -1;
  return std::mktime(&local);
}

}  // namespace brisko::core
