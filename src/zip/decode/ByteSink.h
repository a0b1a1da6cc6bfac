// Push interface that receives decoded member data in chunks.
#pragma once

#include <cstddef>
#include <cstdint>

namespace brisko::zip {

class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // Takes the next size bytes of output; throws when they cannot be stored.
  virtual void Write(const uint8_t* data, size_t size) = 0;
};

}  // namespace brisko::zip
