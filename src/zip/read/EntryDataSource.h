// The compressed data of one member as read from the archive: chunks of at most 32 KB, decrypted when
// the member is encrypted, with a cancel check before each chunk.
#pragma once

#include <cstdint>

#include "zip/crypto/MemberDecryption.h"
#include "zip/decode/ByteSource.h"
#include "zip/io/CancelCheck.h"

namespace brisko::zip {

class EntryDataSource : public ByteSource {
 public:
  static constexpr size_t kChunkSize = 32768;

  // raw reads the archive from the current position on; remaining is the member's data size (without
  // an encryption header already taken); decryption continues that of a checked header, or is null for
  // plain members; cancel may be null.
  EntryDataSource(ByteSource& raw, uint64_t remaining, MemberDecryption* decryption, CancelCheck* cancel)
      : raw_(raw), remaining_(remaining), decryption_(decryption), cancel_(cancel) {}

  // Throws FatalExtractError "Premature end of file reached" when the archive ends inside the data.
  size_t Read(uint8_t* buffer, size_t cap) override;
  // Reads what the decoder left of the data and checks the authentication code behind it, which
  // covers all of it; true for members without one. A truncated archive fails the check.
  bool Authentic();

 private:
  ByteSource& raw_;
  uint64_t remaining_;
  MemberDecryption* decryption_;
  CancelCheck* cancel_;
};

}  // namespace brisko::zip
