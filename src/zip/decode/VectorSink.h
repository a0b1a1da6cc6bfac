// A ByteSink that collects the output in memory.
#pragma once

#include <vector>

#include "zip/decode/ByteSink.h"

namespace brisko::zip {

class VectorSink : public ByteSink {
 public:
  void Write(const uint8_t* data, size_t size) override { bytes.insert(bytes.end(), data, data + size); }

  std::vector<uint8_t> bytes;
};

}  // namespace brisko::zip
