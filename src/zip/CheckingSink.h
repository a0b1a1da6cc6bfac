// Sits between a decoder and where its output goes: keeps the CRC-32 and the byte count, refuses output
// beyond a limit and reports progress after each chunk.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <functional>

#include "zip/ZipExceptions.h"
#include "zip/legacy/ByteSink.h"

namespace brisko::zip {

class CheckingSink : public ByteSink {
 public:
  // next may be null (test without keeping the data); progress gets the bytes written so far.
  CheckingSink(ByteSink* next, uint64_t limit, std::function<void(uint64_t)> progress = {})
      : next_(next), limit_(limit), progress_(std::move(progress)) {}

  void Write(const uint8_t* data, size_t size) override {
    if (size > limit_ - written_) throw EBiggerThanUncompressed(kMsgBiggerThanUncompressed);
    if (next_ != nullptr) next_->Write(data, size);
    // zlib takes at most 4 GiB - 1 per call.
    for (size_t done = 0; done < size;) {
      const uInt n = static_cast<uInt>(std::min<size_t>(size - done, 1u << 30));
      crc_ = crc32(crc_, data + done, n);
      done += n;
    }
    written_ += size;
    if (progress_) progress_(written_);
  }

  uint32_t Crc() const { return static_cast<uint32_t>(crc_); }
  uint64_t Written() const { return written_; }

 private:
  ByteSink* next_;
  uint64_t limit_;
  std::function<void(uint64_t)> progress_;
  uLong crc_ = crc32(0, nullptr, 0);
  uint64_t written_ = 0;
};

}  // namespace brisko::zip
