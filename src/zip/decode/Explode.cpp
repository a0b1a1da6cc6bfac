// Sliding-dictionary decoder of imploded members.
#include "zip/decode/Explode.h"

#include "zip/decode/BitReader.h"
#include "zip/decode/OutputWindow.h"
#include "zip/decode/ShannonFanoTree.h"

namespace brisko::zip {

namespace {

constexpr uint16_t kFlagLargeWindow = 0x0002;
constexpr uint16_t kFlagLiteralTree = 0x0004;
constexpr size_t kHistory = 8192;
constexpr unsigned kLengthEscape = 63;

}  // namespace

void Explode(ByteSource& source, ByteSink& sink, uint64_t size, uint16_t flags) {
  OutputWindow out(sink, size, kHistory);
  if (size != 0) {
    BitReader in(source);
    const bool hasLiterals = (flags & kFlagLiteralTree) != 0;
    const unsigned lowDistanceBits = (flags & kFlagLargeWindow) != 0 ? 7 : 6;
    const unsigned minMatch = hasLiterals ? 3 : 2;

    ShannonFanoTree literals;
    ShannonFanoTree lengths;
    ShannonFanoTree distances;
    if (hasLiterals) literals.Read(in, 256);
    lengths.Read(in, 64);
    distances.Read(in, 64);

    while (!out.Full()) {
      if (in.Bit() != 0) {
        const unsigned c = hasLiterals ? literals.Decode(in) : in.Bits(8);
        out.Put(static_cast<uint8_t>(c));
      } else {
        const unsigned low = in.Bits(lowDistanceBits);
        const unsigned distance = (distances.Decode(in) << lowDistanceBits) | low;
        unsigned length = lengths.Decode(in);
        if (length == kLengthEscape) length += in.Bits(8);
        out.Copy(distance + 1, length + minMatch);
      }
    }
  }
  out.Flush();
}

}  // namespace brisko::zip
