// Day-count date-times: encoding, decoding, the fixed text forms and local-time conversion.
#include "core/DateTimeValue.h"

#include <cmath>
#include <cstdint>

#include "core/DateTimeParseError.h"
#include "core/TextUtil.h"
#include "platform/CivilDate.h"

namespace brisko::core {
namespace {

constexpr int64_t kMsPerDay = 86400000;

// Milliseconds since the day count's origin, rounded as the value is decoded.
int64_t TotalMs(DateTime value) {
  return std::llround(value * static_cast<double>(kMsPerDay));
}

std::chrono::seconds WholeSeconds(const TimeOfDay& time) {
  return std::chrono::floor<std::chrono::seconds>(time.to_duration());
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
  if (month < 1 || day < 1) return std::nullopt;
  const std::chrono::year_month_day date = std::chrono::year{year} / month / day;
  if (year < 1 || year > 9999 || !date.ok()) return std::nullopt;
  return static_cast<DateTime>(platform::DayNumber(date));
}

std::optional<DateTime> TryEncodeTime(int hour, int minute, int second, int millisecond) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || millisecond < 0 ||
      millisecond > 999)
    return std::nullopt;
  int64_t ms = ((hour * 60 + minute) * 60 + second) * int64_t{1000} + millisecond;
  return static_cast<double>(ms) / static_cast<double>(kMsPerDay);
}

std::chrono::year_month_day DecodeDate(DateTime value) {
  // Toward zero, as the time part is taken unsigned.
  return platform::DateOfDayNumber(TotalMs(value) / kMsPerDay);
}

TimeOfDay DecodeTime(DateTime value) {
  int64_t ms = TotalMs(value);
  if (ms < 0) ms = -ms;
  return TimeOfDay{std::chrono::milliseconds{ms % kMsPerDay}};
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
  const std::chrono::days days{TotalMs(value) / kMsPerDay};
  return static_cast<int>(std::chrono::weekday{platform::kDayZero + days}.c_encoding()) + 1;
}

std::string WeekdayName(DateTime value) {
  return kWeekdayNames[DayOfWeek(value) - 1];
}

// The time of day is always the last eight characters of the full form.
std::string FormatDate(DateTime value) {
  const std::string text = FormatDateTime(value);
  return text.substr(0, text.size() - 9);
}

std::string FormatTime(DateTime value) {
  const std::string text = FormatDateTime(value);
  return text.substr(text.size() - 8);
}

std::string FormatDateTime(DateTime value) {
  return platform::FormatDateTimeFields(DecodeDate(value), WholeSeconds(DecodeTime(value)));
}

std::string DateTimeToStr(DateTime value) {
  if (WholeSeconds(DecodeTime(value)) == std::chrono::seconds{0}) return FormatDate(value);
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
  throw DateTimeParseError("'" + std::string(text) + "' is not a valid date and time");
}

DateTime StrToTime(std::string_view text) {
  if (auto v = TryStrToTime(text)) return *v;
  throw DateTimeParseError("'" + std::string(text) + "' is not a valid time");
}

DateTime FromTm(const std::tm& broken) {
  return platform::EncodeDateTime(broken.tm_year + 1900, broken.tm_mon + 1, broken.tm_mday, broken.tm_hour,
                                  broken.tm_min, broken.tm_sec);
}

DateTime FromTimeT(std::time_t when) {
  return platform::LocalDateTimeOf(when);
}

std::time_t ToTimeT(DateTime value) {
  return platform::LocalMomentToTime(DecodeDate(value), WholeSeconds(DecodeTime(value)));
}

DateTime UtcDateTimeOf(std::time_t when) {
  return static_cast<double>(platform::kUnixEpochDays) + static_cast<double>(when) / kSecondsPerDay;
}

std::time_t TimeOfUtcDateTime(DateTime utc) {
  return static_cast<std::time_t>(
      std::llround((utc - static_cast<double>(platform::kUnixEpochDays)) * kSecondsPerDay));
}

}  // namespace brisko::core
