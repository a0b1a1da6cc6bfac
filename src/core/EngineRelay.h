// Lets an engine job's progress and the user's stop reach a run's observer.
#pragma once

#include "core/RunObserver.h"

namespace brisko::core {

// Observer is an engine observer.
template <typename Observer>
class EngineRelay : public Observer {
 public:
  explicit EngineRelay(RunObserver& run) : run_(run) {}

  bool CancelRequested() override { return run_.StopRequested(); }
  void OnTotalPercentDone(int percent) override { run_.OnProgress(percent); }

 protected:
  RunObserver& run_;
};

}  // namespace brisko::core
