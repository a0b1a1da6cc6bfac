// Lets the engine's work show on the model: the progress bar, the host's event loop and the user's
// stop request, for any job's observer.
#pragma once

#include "core/MainModel.h"

namespace brisko::core {

template <typename Observer>
class ModelObserver : public Observer {
 public:
  explicit ModelObserver(MainModel& model) : model_(model) {}

  void OnProcessMessages() override {
    if (model_.processEvents) model_.processEvents();
  }
  bool CancelRequested() override { return model_.StopRequested(); }
  void OnTotalPercentDone(int percent) override { model_.SetProgress(percent); }

 protected:
  MainModel& model_;
};

}  // namespace brisko::core
