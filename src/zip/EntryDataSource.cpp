// Chunked, decrypting reads of member data.
#include "zip/EntryDataSource.h"

#include <algorithm>

#include "zip/ZipErrors.h"

namespace brisko::zip {

size_t EntryDataSource::Read(uint8_t* buffer, size_t cap) {
  if (remaining_ == 0 || cap == 0) return 0;
  if (beforeChunk_) beforeChunk_();
  const size_t want = static_cast<size_t>(std::min<uint64_t>({remaining_, cap, kChunkSize}));
  const size_t got = readRaw_(buffer, want);
  if (got != want) throw FatalExtractError(kMsgPrematureEnd);
  if (decrypt_) decrypt_(buffer, got);
  remaining_ -= got;
  return got;
}

void EntryDataSource::Drain() {
  uint8_t buffer[kChunkSize];
  while (Read(buffer, sizeof buffer) > 0) {
  }
}

}  // namespace brisko::zip
