// The compressed data of one member as read from the archive: chunks of at most 32 KB, decrypted when
// the member is encrypted, with a hook before each chunk (where the extractor checks for cancel).
#pragma once

#include <cstdint>
#include <functional>

#include "zip/legacy/ByteSource.h"

namespace brisko::zip {

class EntryDataSource : public ByteSource {
 public:
  static constexpr size_t kChunkSize = 32768;

  using Decrypt = std::function<void(uint8_t*, size_t)>;

  // readRaw reads up to n bytes of the archive at the current position; remaining is the member's data
  // size (without an encryption header already taken); decrypt continues the decryption of a checked
  // header, or is empty.
  EntryDataSource(std::function<size_t(uint8_t*, size_t)> readRaw, uint64_t remaining, Decrypt decrypt,
                  std::function<void()> beforeChunk = {})
      : readRaw_(std::move(readRaw)),
        remaining_(remaining),
        decrypt_(std::move(decrypt)),
        beforeChunk_(std::move(beforeChunk)) {}

  // Throws FatalExtractError "Premature end of file reached" when the archive ends inside the data.
  size_t Read(uint8_t* buffer, size_t cap) override;
  // Reads (and decrypts) what the decoder left of the data, so that an authentication code covers it all.
  void Drain();

 private:
  std::function<size_t(uint8_t*, size_t)> readRaw_;
  uint64_t remaining_;
  Decrypt decrypt_;
  std::function<void()> beforeChunk_;
};

}  // namespace brisko::zip
