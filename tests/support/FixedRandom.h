// A random source giving the same bytes on every call and from any thread: 0xA0, 0xA1, ...
#pragma once

#include <cstddef>
#include <cstdint>

#include "zip/crypto/CryptoPrimitives.h"

namespace brisko::test {

struct FixedRandom : zip::crypto::RandomSource {
  void Fill(uint8_t* bytes, size_t count) override {
    for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(0xA0 + i);
  }
};

}  // namespace brisko::test
