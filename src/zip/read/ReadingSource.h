// A ByteSource over a read function: raw reads of an archive stream or of the archive across its
// parts, as the decryption and the member data take them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>

#include "zip/decode/ByteSource.h"

namespace brisko::zip {

template <typename ReadFunction>
class ReadingSource : public ByteSource {
 public:
  // read(buffer, n) reads up to n bytes at the current position and returns how many came.
  explicit ReadingSource(ReadFunction read) : read_(std::move(read)) {}
  size_t Read(uint8_t* buffer, size_t cap) override { return read_(buffer, cap); }

 private:
  ReadFunction read_;
};

}  // namespace brisko::zip
