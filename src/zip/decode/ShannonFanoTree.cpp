// Reading and checking the bit lengths of an implode code table.
#include "zip/decode/ShannonFanoTree.h"

namespace brisko::zip {

void ShannonFanoTree::Read(BitReader& in, unsigned symbolCount) {
  std::array<uint8_t, 256> lengths{};
  const unsigned groups = in.Bits(8) + 1;
  unsigned filled = 0;
  for (unsigned g = 0; g < groups; ++g) {
    const unsigned b = in.Bits(8);
    const unsigned run = (b >> 4) + 1;
    const unsigned len = (b & 0x0F) + 1;
    if (filled + run > symbolCount) throw LegacyDecodeError("Shannon-Fano table too long");
    for (unsigned i = 0; i < run; ++i) lengths[filled++] = static_cast<uint8_t>(len);
  }
  if (filled != symbolCount) throw LegacyDecodeError("Shannon-Fano table too short");

  count_.fill(0);
  for (unsigned s = 0; s < symbolCount; ++s) ++count_[lengths[s]];
  // More codes than a length can hold would make the decoding ambiguous.
  int left = 1;
  for (unsigned len = 1; len <= kMaxBits; ++len) {
    left <<= 1;
    left -= count_[len];
    if (left < 0) throw LegacyDecodeError("over-subscribed Shannon-Fano table");
  }
  std::array<uint16_t, kMaxBits + 2> offset{};
  for (unsigned len = 1; len <= kMaxBits; ++len) offset[len + 1] = offset[len] + count_[len];
  for (unsigned s = 0; s < symbolCount; ++s) symbol_[offset[lengths[s]]++] = static_cast<uint16_t>(s);
}

}  // namespace brisko::zip
