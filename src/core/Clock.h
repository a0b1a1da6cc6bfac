// Source of the current local date and time, replaceable in tests.
#pragma once

#include "core/DateTimeValue.h"

namespace brisko::core {

class Clock {
 public:
  virtual ~Clock() = default;
  // The current local date and time.
  virtual DateTime Now() const = 0;
  // The current moment in seconds since the Unix epoch; unlike a local time it is never ambiguous
  // (the hour repeated when daylight saving time ends). By default the moment of Now().
  virtual std::time_t NowUtc() const { return ToTimeT(Now()); }
};

}  // namespace brisko::core
