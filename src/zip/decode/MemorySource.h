// A ByteSource over bytes already in memory (tests, the fuzzer, in-memory extraction).
#pragma once

#include <algorithm>
#include <cstring>
#include <span>

#include "zip/decode/ByteSource.h"

namespace brisko::zip {

class MemorySource : public ByteSource {
 public:
  explicit MemorySource(std::span<const uint8_t> data) : data_(data) {}

  size_t Read(uint8_t* buffer, size_t cap) override {
    const size_t n = std::min(cap, data_.size() - pos_);
    if (n != 0) std::memcpy(buffer, data_.data() + pos_, n);
    pos_ += n;
    return n;
  }

 private:
  std::span<const uint8_t> data_;
  size_t pos_ = 0;
};

}  // namespace brisko::zip
