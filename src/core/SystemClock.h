// The real clock: local date and time of the machine, to the millisecond.
#pragma once

#include "core/Clock.h"

namespace brisko::core {

class SystemClock : public Clock {
 public:
  DateTime Now() const override;
  std::time_t NowUtc() const override;
  // A process-wide instance for callers that hold no clock of their own.
  static const SystemClock& Instance();
};

}  // namespace brisko::core
