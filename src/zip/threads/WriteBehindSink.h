// Hands a large member's output to a thread of its own, so that writing the file overlaps with
// decoding the next part of the member. The data pass through a few fixed blocks (memory stays
// bounded); an error of the target surfaces on the caller's thread, at its next Write or at Finish,
// as the target's own exception.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

#include "zip/decode/ByteSink.h"

namespace brisko::zip {

class WriteBehindSink : public ByteSink {
 public:
  static constexpr size_t kBlockSize = 1u << 20;
  static constexpr size_t kBlocks = 4;

  explicit WriteBehindSink(ByteSink& target);
  // Stops the thread once it finished the block it is writing; blocks not yet written are dropped.
  ~WriteBehindSink() override;
  WriteBehindSink(const WriteBehindSink&) = delete;
  WriteBehindSink& operator=(const WriteBehindSink&) = delete;

  void Write(const uint8_t* data, size_t size) override;
  // Waits until everything given has reached the target.
  void Finish();

 private:
  void Work();
  // Queues the block being filled and takes a free one, waiting while all are queued.
  void HandOver();
  void ThrowIfFailed();

  ByteSink& target_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::vector<uint8_t>> queued_;
  std::vector<std::vector<uint8_t>> free_;
  std::vector<uint8_t> filling_;
  bool busy_ = false;  // the thread is writing a block
  bool stop_ = false;
  std::exception_ptr failure_;
  std::thread thread_;
};

}  // namespace brisko::zip
