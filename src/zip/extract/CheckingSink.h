// Sits between a decoder and where its output goes: keeps the CRC-32 and the byte count, refuses output
// beyond a limit and reports progress after each chunk.
#pragma once

#include <cstdint>
#include <utility>

#include "zip/codec/DeflateCodec.h"
#include "zip/decode/ByteSink.h"
#include "zip/format/ZipErrors.h"

namespace brisko::zip {

// The progress of a sink nobody watches.
struct NoProgress {
  void operator()(uint64_t /*written*/) const {}
};

template <typename Progress = NoProgress>
class CheckingSink : public ByteSink {
 public:
  // next may be null (test without keeping the data); progress gets the bytes written so far.
  CheckingSink(ByteSink* next, uint64_t limit, Progress progress = {})
      : next_(next), limit_(limit), progress_(std::move(progress)) {}

  void Write(const uint8_t* data, size_t size) override {
    if (size > limit_ - written_) throw OversizeMemberError(kMsgBiggerThanUncompressed);
    if (next_ != nullptr) next_->Write(data, size);
    crc_ = Crc32(crc_, data, size);
    written_ += size;
    progress_(written_);
  }

  uint32_t Crc() const { return crc_; }
  uint64_t Written() const { return written_; }

 private:
  ByteSink* next_;
  uint64_t limit_;
  Progress progress_;
  uint32_t crc_ = 0;
  uint64_t written_ = 0;
};

}  // namespace brisko::zip
