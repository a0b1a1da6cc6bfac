// Local-time conversions for the file finder.
#include "find/LocalMoment.h"

namespace brisko::find {

namespace {

bool ToLocal(std::time_t utc, std::tm& out) {
#ifdef _WIN32
  return ::localtime_s(&out, &utc) == 0;
#else
  return ::localtime_r(&utc, &out) != nullptr;
#endif
}

// Days from 1970-01-01 to the given civil date (proleptic Gregorian).
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

constexpr int64_t kEpoch1899 = -25569;  // 1899-12-30 counted from 1970-01-01

}  // namespace

LocalMoment ToLocalMoment(std::time_t utc) {
  std::tm tm{};
  if (!ToLocal(utc, tm)) return {};
  LocalMoment m;
  m.days = DaysFromCivil(tm.tm_year + 1900, static_cast<unsigned>(tm.tm_mon + 1), static_cast<unsigned>(tm.tm_mday)) -
           kEpoch1899;
  m.seconds = tm.tm_hour * 3600 + tm.tm_min * 60 + (tm.tm_sec > 59 ? 59 : tm.tm_sec);
  return m;
}

}  // namespace brisko::find
