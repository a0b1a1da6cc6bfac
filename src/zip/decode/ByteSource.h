// Pull interface over the compressed data of one member, as the decoders consume it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace brisko::zip {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Copies up to cap bytes into buffer and returns how many; 0 means the member data is exhausted.
  // May throw (archive read failures, cancel requests).
  virtual size_t Read(uint8_t* buffer, size_t cap) = 0;
};

}  // namespace brisko::zip
