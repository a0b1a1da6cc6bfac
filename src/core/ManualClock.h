// A clock that shows whatever moment it is set to; used by tests of the scheduler and the log.
#pragma once

#include "core/Clock.h"

namespace brisko::core {

class ManualClock : public Clock {
 public:
  explicit ManualClock(DateTime now = 0) : now_(now) {}
  DateTime Now() const override { return now_; }
  void Set(DateTime now) { now_ = now; }
  void Advance(DateTime span) { now_ += span; }

 private:
  DateTime now_;
};

}  // namespace brisko::core
