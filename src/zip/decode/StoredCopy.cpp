// Bounded copy of stored member data.
#include "zip/decode/StoredCopy.h"

#include <memory>

#include "zip/format/ZipErrors.h"

namespace brisko::zip {

uint64_t StoredCopy(ByteSource& source, ByteSink& sink, uint64_t size) {
  constexpr size_t kChunk = 256 * 1024;
  auto buffer = std::make_unique_for_overwrite<uint8_t[]>(kChunk);
  uint64_t written = 0;
  for (;;) {
    const size_t n = source.Read(buffer.get(), kChunk);
    if (n == 0) break;
    if (n > size - written) throw OversizeMemberError(kMsgBiggerThanUncompressed);
    sink.Write(buffer.get(), n);
    written += n;
  }
  return written;
}

}  // namespace brisko::zip
