// The writing thread of a large member's output.
#include "zip/threads/WriteBehindSink.h"

#include <algorithm>

namespace brisko::zip {

WriteBehindSink::WriteBehindSink(ByteSink& target) : target_(target), free_(kBlocks - 1) {
  filling_.reserve(kBlockSize);
  thread_ = std::thread([this] { Work(); });
}

WriteBehindSink::~WriteBehindSink() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

void WriteBehindSink::Work() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return stop_ || !queued_.empty(); });
    if (stop_) return;
    std::vector<uint8_t> block = std::move(queued_.front());
    queued_.pop_front();
    busy_ = true;
    lock.unlock();
    std::exception_ptr failure;
    try {
      target_.Write(block.data(), block.size());
    } catch (...) {
      failure = std::current_exception();
    }
    lock.lock();
    busy_ = false;
    if (failure && !failure_) failure_ = failure;
    if (failure_) queued_.clear();  // nothing more reaches a target that failed
    block.clear();
    free_.push_back(std::move(block));
    changed_.notify_all();
  }
}

void WriteBehindSink::ThrowIfFailed() {
  if (failure_) std::rethrow_exception(failure_);
}

void WriteBehindSink::HandOver() {
  std::unique_lock<std::mutex> lock(mutex_);
  ThrowIfFailed();
  queued_.push_back(std::move(filling_));
  changed_.notify_all();
  changed_.wait(lock, [this] { return failure_ || !free_.empty(); });
  ThrowIfFailed();
  filling_ = std::move(free_.back());
  free_.pop_back();
  filling_.reserve(kBlockSize);
}

void WriteBehindSink::Write(const uint8_t* data, size_t size) {
  while (size > 0) {
    const size_t n = std::min(size, kBlockSize - filling_.size());
    filling_.insert(filling_.end(), data, data + n);
    data += n;
    size -= n;
    if (filling_.size() == kBlockSize) HandOver();
  }
}

void WriteBehindSink::Finish() {
  if (!filling_.empty()) HandOver();
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait(lock, [this] { return failure_ || (queued_.empty() && !busy_); });
  ThrowIfFailed();
}

}  // namespace brisko::zip
