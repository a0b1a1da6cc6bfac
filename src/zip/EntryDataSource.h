// The compressed data of one member as read from the archive: chunks of at most 32 KB, decrypted when
// the member is encrypted, with a hook before each chunk (where the extractor checks for cancel).
#pragma once

#include <cstdint>
#include <functional>

#include "zip/ZipCrypto.h"
#include "zip/legacy/ByteSource.h"

namespace brisko::zip {

class EntryDataSource : public ByteSource {
 public:
  static constexpr size_t kChunkSize = 32768;

  // readRaw reads up to n bytes of the archive at the current position; remaining is the member's data
  // size (without an encryption header already taken); crypto continues the key state of a checked
  // header, or is null.
  EntryDataSource(std::function<size_t(uint8_t*, size_t)> readRaw, uint64_t remaining, TZipCrypto* crypto,
                  std::function<void()> beforeChunk = {})
      : readRaw_(std::move(readRaw)),
        remaining_(remaining),
        crypto_(crypto),
        beforeChunk_(std::move(beforeChunk)) {}

  // Throws EFatalUnzipError "Premature end of file reached" when the archive ends inside the data.
  size_t Read(uint8_t* buffer, size_t cap) override;

 private:
  std::function<size_t(uint8_t*, size_t)> readRaw_;
  uint64_t remaining_;
  TZipCrypto* crypto_;
  std::function<void()> beforeChunk_;
};

}  // namespace brisko::zip
