// The worker threads of a pipeline that works ahead of its consumer: started together, stopped
// together, with the lock and the work signal they share.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace brisko::zip {

class WorkerThreads {
 public:
  WorkerThreads() = default;
  ~WorkerThreads() { Stop(); }
  WorkerThreads(const WorkerThreads&) = delete;
  WorkerThreads& operator=(const WorkerThreads&) = delete;

  // Starts `count` threads, thread i running work(i). Fewer start when the system refuses threads:
  // that only makes the work slower, as the consumer does what no worker takes.
  template <typename Work>
  void Start(size_t count, Work work) {
    try {
      for (size_t i = 0; i < count; ++i) threads_.emplace_back([work, i] { work(i); });
    } catch (const std::system_error&) {
    }
  }

  // Sets the stop flag, wakes the threads waiting for work and waits for all of them; each finishes
  // only the item it is busy with.
  void Stop() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stop_ = true;
    }
    workReady_.notify_all();
    for (auto& thread : threads_) thread.join();
    threads_.clear();
  }

  // The lock over the pipeline's state and the stop flag.
  std::mutex& Mutex() { return mutex_; }
  // Signalled when a worker may find something to start, and on Stop.
  std::condition_variable& WorkReady() { return workReady_; }
  // Whether Stop was called; read it under Mutex().
  bool Stopping() const { return stop_; }

 private:
  std::mutex mutex_;
  std::condition_variable workReady_;
  bool stop_ = false;
  std::vector<std::thread> threads_;
};

}  // namespace brisko::zip
