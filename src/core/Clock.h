// Source of the current local date and time, replaceable in tests.
#pragma once

#include "core/DateTimeValue.h"

namespace brisko::core {

class Clock {
 public:
  virtual ~Clock() = default;
  // The current local date and time.
  virtual DateTime Now() const = 0;
};

}  // namespace brisko::core
