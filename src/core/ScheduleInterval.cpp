// The time between two runs of a stored schedule.
#include "core/ScheduleInterval.h"

#include <charconv>

#include "core/TextUtil.h"

namespace brisko::core {
namespace {

std::optional<int> ParseInteger(const std::string& text) {
  const std::string t = TrimBlanks(text);
  int value = 0;
  const char* begin = t.data();
  const char* end = t.data() + t.size();
  if (begin != end && *begin == '+') ++begin;
  auto [ptr, ec] = std::from_chars(begin, end, value);
  if (ec != std::errc() || ptr != end || begin == end) return std::nullopt;
  return value;
}

}  // namespace

DateTime MinutesInterval(const std::string& value) {
  const DateTime oneHour = 1.0 / 24.0;
  std::optional<int> minutes = ParseInteger(value);
  if (!minutes) return oneHour;
  // The program never writes fewer than 2 minutes; a hand-edited 0 would otherwise run at every tick.
  int n = *minutes < 2 ? 2 : *minutes;
  std::optional<DateTime> span = TryEncodeTime(n / 60, n % 60, 0);
  return span ? *span : oneHour;
}

std::optional<DateTime> ScheduleInterval(ScheduleMode mode, const std::string& value) {
  switch (mode) {
    case ScheduleMode::DailyAt:
      return 1.0;
    case ScheduleMode::Weekly:
      return 7.0;
    case ScheduleMode::DailyEvery:
      return MinutesInterval(value);
    case ScheduleMode::None:
      break;
  }
  return std::nullopt;
}

}  // namespace brisko::core
