// A queue of tasks posted from worker threads and run on the thread that pumps it.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

#include "find/FindTypes.h"

namespace brisko::find {

class EventQueue {
 public:
  // Thread-safe; the task runs at the next Pump.
  void Post(std::function<void()> task);

  // Runs the tasks queued so far (and those they post) on the calling thread; returns how many ran.
  size_t Pump();

  // Pumps until `done` returns true or the timeout passes, waiting for posts in between.
  // Returns the final value of done().
  bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);

  // A hook for FindFile::postToOwner that posts to this queue; the queue must outlive its users.
  OwnerPoster Poster();

 private:
  std::mutex mutex_;
  std::condition_variable posted_;
  std::deque<std::function<void()>> tasks_;
};

}  // namespace brisko::find
