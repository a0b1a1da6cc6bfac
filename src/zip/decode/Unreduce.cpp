// Follower-set and DLE-run decoder of reduced members.
#include "zip/decode/Unreduce.h"

#include <array>

#include "zip/decode/BitReader.h"
#include "zip/decode/LegacyDecodeError.h"
#include "zip/decode/OutputWindow.h"

namespace brisko::zip {

namespace {

constexpr uint8_t kDle = 144;
constexpr unsigned kMaxFollowers = 32;
constexpr size_t kHistory = 16 * 256;  // largest distance at factor 4: 15 * 256 + 255 + 1

struct FollowerSets {
  std::array<std::array<uint8_t, kMaxFollowers>, 256> bytes{};
  std::array<uint8_t, 256> count{};
};

// Bits of an index into a follower set of n bytes (one bit also for a single follower).
unsigned IndexBits(unsigned n) {
  unsigned bits = 1;
  while ((1u << bits) < n) ++bits;
  return bits;
}

}  // namespace

void Unreduce(ByteSource& source, ByteSink& sink, uint64_t size, int factor) {
  if (factor < 1 || factor > 4) throw LegacyDecodeError("invalid reduce factor");
  OutputWindow out(sink, size, kHistory);
  if (size != 0) {
    BitReader in(source);
    FollowerSets sets;
    for (int j = 255; j >= 0; --j) {
      const unsigned n = in.Bits(6);
      if (n > kMaxFollowers) throw LegacyDecodeError("invalid follower set");
      sets.count[j] = static_cast<uint8_t>(n);
      for (unsigned k = 0; k < n; ++k) sets.bytes[j][k] = static_cast<uint8_t>(in.Bits(8));
    }

    const unsigned lengthMask = 0xFFu >> factor;
    uint8_t last = 0;
    int state = 0;
    unsigned v = 0;
    unsigned length = 0;
    while (!out.Full()) {
      uint8_t c;
      const unsigned n = sets.count[last];
      if (n == 0 || in.Bit() != 0) {
        c = static_cast<uint8_t>(in.Bits(8));
      } else {
        const unsigned i = in.Bits(IndexBits(n));
        if (i >= n) throw LegacyDecodeError("follower index out of range");
        c = sets.bytes[last][i];
      }
      last = c;

      switch (state) {
        case 0:
          if (c != kDle) {
            out.Put(c);
          } else {
            state = 1;
          }
          break;
        case 1:
          if (c != 0) {
            v = c;
            length = v & lengthMask;
            state = length == lengthMask ? 2 : 3;
          } else {
            out.Put(kDle);
            state = 0;
          }
          break;
        case 2:
          length += c;
          state = 3;
          break;
        default: {
          const size_t distance = (static_cast<size_t>(v >> (8 - factor)) << 8) + c + 1;
          out.Copy(distance, length + 3);
          state = 0;
          break;
        }
      }
    }
  }
  out.Flush();
}

}  // namespace brisko::zip
