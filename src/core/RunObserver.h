// Lets an engine job's progress and the user's stop reach a run's own observer.
#pragma once

namespace brisko::core {

// Observer is an engine observer; Host has OnProgress(int) and StopRequested().
template <typename Observer, typename Host>
class RunObserver : public Observer {
 public:
  explicit RunObserver(Host& host) : host_(host) {}

  bool CancelRequested() override { return host_.StopRequested(); }
  void OnTotalPercentDone(int percent) override { host_.OnProgress(percent); }

 protected:
  Host& host_;
};

}  // namespace brisko::core
