// Least-significant-bit-first reader over a ByteSource, as used by shrink, reduce and implode.
#pragma once

#include <cstdint>
#include <vector>

#include "zip/decode/ByteSource.h"
#include "zip/decode/LegacyDecodeError.h"

namespace brisko::zip {

class BitReader {
 public:
  explicit BitReader(ByteSource& source, size_t bufferSize = 32768) : source_(source), buffer_(bufferSize) {}

  // Takes the next n bits (n <= 24), the first one read in bit 0 of the result.
  // Throws LegacyDecodeError when the member data holds fewer bits.
  uint32_t Bits(unsigned n) {
    while (count_ < n) FillByte();
    const uint32_t v = static_cast<uint32_t>(bits_) & ((1u << n) - 1u);
    bits_ >>= n;
    count_ -= n;
    // Zero bits stand in past the end so that a fill never fails; consuming one means the data ended.
    if (count_ < padding_) throw LegacyDecodeError("compressed data ends too early");
    return v;
  }

  uint32_t Bit() { return Bits(1); }

 private:
  void FillByte() {
    uint8_t b = 0;
    if (pos_ == end_ && !eof_) {
      end_ = source_.Read(buffer_.data(), buffer_.size());
      pos_ = 0;
      eof_ = end_ == 0;
    }
    if (pos_ < end_) {
      b = buffer_[pos_++];
    } else {
      padding_ += 8;
    }
    bits_ |= static_cast<uint64_t>(b) << count_;
    count_ += 8;
  }

  ByteSource& source_;
  std::vector<uint8_t> buffer_;
  size_t pos_ = 0;
  size_t end_ = 0;
  bool eof_ = false;
  uint64_t bits_ = 0;
  unsigned count_ = 0;
  unsigned padding_ = 0;
};

}  // namespace brisko::zip
