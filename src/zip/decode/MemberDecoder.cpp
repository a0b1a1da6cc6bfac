// Dispatch from compression method to decoder.
#include "zip/decode/MemberDecoder.h"

#include "zip/decode/Explode.h"
#include "zip/decode/Inflate.h"
#include "zip/decode/LegacyDecodeError.h"
#include "zip/decode/StoredCopy.h"
#include "zip/decode/Unreduce.h"
#include "zip/decode/Unshrink.h"
#include "zip/format/ZipConstants.h"

namespace brisko::zip {

bool IsSupportedMethod(uint16_t method) {
  return method <= kMethodImploded || method == kMethodDeflated;
}

void DecodeMember(uint16_t method, uint16_t flags, ByteSource& source, ByteSink& sink, uint64_t size) {
  switch (method) {
    case kMethodStored:
      StoredCopy(source, sink, size);
      return;
    case kMethodShrunk:
      Unshrink(source, sink, size);
      return;
    case kMethodReduced1:
    case kMethodReduced2:
    case kMethodReduced3:
    case kMethodReduced4:
      Unreduce(source, sink, size, method - kMethodReduced1 + 1);
      return;
    case kMethodImploded:
      Explode(source, sink, size, flags);
      return;
    case kMethodDeflated:
      Inflate(source, sink, size);
      return;
    default:
      throw LegacyDecodeError("Unknown Compression Method");
  }
}

}  // namespace brisko::zip
