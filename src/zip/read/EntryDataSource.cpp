// Chunked, decrypting reads of member data.
#include "zip/read/EntryDataSource.h"

#include <algorithm>

#include "zip/format/ZipErrors.h"

namespace brisko::zip {

size_t EntryDataSource::Read(uint8_t* buffer, size_t cap) {
  if (remaining_ == 0 || cap == 0) return 0;
  if (cancel_) cancel_->CheckCancel();
  const size_t want = static_cast<size_t>(std::min<uint64_t>({remaining_, cap, kChunkSize}));
  const size_t got = raw_.Read(buffer, want);
  if (got != want) throw FatalExtractError(kMsgPrematureEnd);
  if (decryption_) decryption_->Decrypt(buffer, got);
  remaining_ -= got;
  return got;
}

bool EntryDataSource::Authentic() {
  if (!decryption_ || !decryption_->Authenticates()) return true;
  try {
    uint8_t buffer[kChunkSize];
    while (Read(buffer, sizeof buffer) > 0) {
    }
  } catch (const FatalExtractError&) {
    return false;
  }
  return decryption_->Authentic(raw_);
}

}  // namespace brisko::zip
