// DOS date-time conversion, repair and formatting.
#include "platform/DosDateTime.h"

#include <chrono>

namespace brisko::platform {

namespace {

bool IsRealMoment(const DosParts& p) {
  const std::chrono::year_month_day date = std::chrono::year{p.year} / p.month / p.day;
  return date.ok() && p.hour <= 23 && p.minute <= 59 && p.second <= 59;
}

}  // namespace

DosParts SplitDosDateTime(uint32_t dos) {
  DosParts p;
  p.second = static_cast<int>(dos & 0x1F) * 2;
  p.minute = static_cast<int>((dos >> 5) & 0x3F);
  p.hour = static_cast<int>((dos >> 11) & 0x1F);
  p.day = static_cast<int>((dos >> 16) & 0x1F);
  p.month = static_cast<int>((dos >> 21) & 0x0F);
  p.year = 1980 + static_cast<int>((dos >> 25) & 0x7F);
  return p;
}

uint32_t MakeDosDateTime(const DosParts& p) {
  uint32_t time = static_cast<uint32_t>((p.second / 2) | (p.minute << 5) | (p.hour << 11));
  uint32_t date = static_cast<uint32_t>(p.day | (p.month << 5) | ((p.year - 1980) << 9));
  return (date << 16) | (time & 0xFFFF);
}

uint32_t DosDateTimeFromTime(std::time_t utc) {
  std::tm local{};
  if (!ToLocalTime(utc, local)) return 0;
  int year = local.tm_year + 1900;
  // The DOS field cannot hold other years: the nearest moment it can hold stands in (the extended
  // timestamp beside it keeps the true time).
  if (year < 1980) return MakeDosDateTime(DosParts{});
  if (year > 2107) return MakeDosDateTime(DosParts{2107, 12, 31, 23, 59, 58});
  DosParts p;
  p.year = year;
  p.month = local.tm_mon + 1;
  p.day = local.tm_mday;
  p.hour = local.tm_hour;
  p.minute = local.tm_min;
  p.second = local.tm_sec > 59 ? 58 : local.tm_sec;  // a leap second becomes :58
  return MakeDosDateTime(p);
}

uint32_t DosDateTimeNow() {
  return DosDateTimeFromTime(std::time(nullptr));
}

uint32_t RepairDosDateTime(uint32_t dos) {
  uint32_t sec2 = dos & 0x1F;
  uint32_t minute = (dos >> 5) & 0x3F;
  uint32_t hour = (dos >> 11) & 0x1F;
  uint32_t day = (dos >> 16) & 0x1F;
  uint32_t month = (dos >> 21) & 0x0F;
  uint32_t year = (dos >> 25) & 0x7F;
  if (sec2 < 30 && minute < 60 && hour <= 23 && day != 0 && month >= 1 && month <= 12 && year < 120) {
    return dos;
  }
  if (sec2 >= 30) sec2 = 29;
  if (minute >= 60) minute = 59;
  if (hour > 23) hour = 23;
  if (day == 0) day = 1;
  if (month == 0) month = 1;
  if (month > 12) month = 12;
  if (year >= 120) year = 119;
  return sec2 | (minute << 5) | (hour << 11) | (day << 16) | (month << 21) | (year << 25);
}

bool DosDateTimeToDateTime(uint32_t dos, DateTime& out) {
  DosParts p = SplitDosDateTime(dos);
  if (!IsRealMoment(p)) return false;
  out = EncodeDateTime(p.year, p.month, p.day, p.hour, p.minute, p.second);
  return true;
}

std::time_t DosDateTimeToTime(uint32_t dos) {
  DosParts p = SplitDosDateTime(dos);
  if (!IsRealMoment(p)) return -1;
  return LocalMomentToTime(p.year, p.month, p.day, p.hour, p.minute, p.second);
}

std::string FormatDosDateTime(uint32_t dos) {
  DosParts p = SplitDosDateTime(dos);
  return FormatDateTimeFields(p.year, p.month, p.day, p.hour, p.minute, p.second);
}

}  // namespace brisko::platform
