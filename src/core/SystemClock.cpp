// The machine's local date and time.
#include "core/SystemClock.h"

#include <chrono>

namespace brisko::core {

DateTime SystemClock::Now() const {
  using namespace std::chrono;
  auto now = system_clock::now();
  auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count();
  std::time_t seconds = static_cast<std::time_t>(ms / 1000);
  return FromTimeT(seconds) + static_cast<double>(ms % 1000) / 86400000.0;
}

std::time_t SystemClock::NowUtc() const {
  return std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
}

const SystemClock& SystemClock::Instance() {
  static const SystemClock clock;
  return clock;
}

}  // namespace brisko::core
