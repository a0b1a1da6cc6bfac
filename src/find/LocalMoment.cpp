// Local-time conversions for the file finder.
#include "find/LocalMoment.h"

#include "platform/CivilDate.h"

namespace brisko::find {

LocalMoment ToLocalMoment(std::time_t utc) {
  std::tm tm{};
  if (!platform::ToLocalTime(utc, tm)) return {};
  LocalMoment m;
  m.days = platform::DayNumber(std::chrono::year{tm.tm_year + 1900} / (tm.tm_mon + 1) / tm.tm_mday);
  m.seconds = tm.tm_hour * 3600 + tm.tm_min * 60 + (tm.tm_sec > 59 ? 59 : tm.tm_sec);
  return m;
}

}  // namespace brisko::find
