// One Shannon-Fano code table of an imploded member, read from its compact bit-length form.
#pragma once

#include <array>
#include <cstdint>

#include "zip/decode/BitReader.h"

namespace brisko::zip {

class ShannonFanoTree {
 public:
  static constexpr unsigned kMaxBits = 16;

  // Reads the table of symbolCount (64 or 256) values. Throws LegacyDecodeError when the lengths do not
  // cover exactly symbolCount values or describe more codes than the bit lengths can hold.
  void Read(BitReader& in, unsigned symbolCount);

  // Decodes one symbol. The codes are the canonical ones of the lengths, stored with every bit inverted.
  unsigned Decode(BitReader& in) const {
    int code = 0;
    int first = 0;
    int index = 0;
    for (unsigned len = 1; len <= kMaxBits; ++len) {
      code |= static_cast<int>(in.Bit() ^ 1u);
      const int count = count_[len];
      if (code - count < first) return symbol_[index + (code - first)];
      index += count;
      first += count;
      first <<= 1;
      code <<= 1;
    }
    throw LegacyDecodeError("unused Shannon-Fano code");
  }

 private:
  std::array<uint16_t, kMaxBits + 1> count_{};
  std::array<uint16_t, 256> symbol_{};
};

}  // namespace brisko::zip
