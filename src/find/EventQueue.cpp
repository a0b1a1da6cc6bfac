// Cross-thread task queue of the file finder.
#include "find/EventQueue.h"

namespace brisko::find {

void EventQueue::Post(std::function<void()> task) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    tasks_.push_back(std::move(task));
  }
  posted_.notify_all();
}

size_t EventQueue::Pump() {
  size_t ran = 0;
  for (;;) {
    std::function<void()> task;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (tasks_.empty()) return ran;
      task = std::move(tasks_.front());
      tasks_.pop_front();
    }
    task();
    ++ran;
  }
}

bool EventQueue::PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    Pump();
    if (done()) return true;
    std::unique_lock<std::mutex> lock(mutex_);
    if (!posted_.wait_until(lock, deadline, [this] { return !tasks_.empty(); })) {
      lock.unlock();
      Pump();
      return done();
    }
  }
}

OwnerPoster EventQueue::Poster() {
  return [this](std::function<void()> task) { Post(std::move(task)); };
}

}  // namespace brisko::find
