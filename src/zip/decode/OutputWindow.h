// Output of the dictionary decoders: keeps the recent history for back references, hands full chunks
// to the sink and never produces more than the member's recorded size.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "zip/decode/ByteSink.h"
#include "zip/decode/LegacyDecodeError.h"

namespace brisko::zip {

class OutputWindow {
 public:
  // history: the longest back-reference distance the decoder may ask for.
  OutputWindow(ByteSink& sink, uint64_t limit, size_t history, size_t chunk = 65536)
      : sink_(sink), limit_(limit), history_(history), buffer_(history + chunk) {}

  bool Full() const { return total_ == limit_; }
  uint64_t Total() const { return total_; }

  // Appends one byte; ignored once the recorded size is reached.
  void Put(uint8_t b) {
    if (total_ == limit_) return;
    if (pos_ == buffer_.size()) Slide();
    buffer_[pos_++] = b;
    ++total_;
  }

  // Repeats length bytes that start distance bytes back (1 <= distance <= history); bytes before the
  // start of the output read as zero. Stops at the recorded size.
  void Copy(size_t distance, size_t length) {
    if (distance == 0 || distance > history_) throw LegacyDecodeError("back reference out of range");
    while (length-- != 0 && total_ != limit_) {
      if (pos_ == buffer_.size()) Slide();
      buffer_[pos_] = distance <= total_ ? buffer_[pos_ - distance] : 0;
      ++pos_;
      ++total_;
    }
  }

  // Hands every byte not yet written to the sink.
  void Flush() {
    if (pos_ > flushed_) sink_.Write(buffer_.data() + flushed_, pos_ - flushed_);
    flushed_ = pos_;
  }

 private:
  void Slide() {
    Flush();
    const size_t keep = pos_ < history_ ? pos_ : history_;
    std::memmove(buffer_.data(), buffer_.data() + pos_ - keep, keep);
    pos_ = flushed_ = keep;
  }

  ByteSink& sink_;
  uint64_t limit_;
  size_t history_;
  std::vector<uint8_t> buffer_;
  size_t pos_ = 0;
  size_t flushed_ = 0;
  uint64_t total_ = 0;
};

}  // namespace brisko::zip
