// The compressor's guess whether a member holds text, recorded in its internal attributes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace brisko::zip {

// How much of a member's start the text guess looks at.
constexpr size_t kTextSampleSize = 256 * 1024;

// Text when the bytes 7..127, divided by 4, are at least as many as the bytes 0..6 and 128..255.
inline bool LooksLikeText(const uint8_t* data, size_t size) {
  // One unsigned comparison per byte (7..127 maps to 0..120), which the compiler vectorises.
  size_t ascii = 0;
  for (size_t i = 0; i < size; ++i) ascii += static_cast<uint8_t>(data[i] - 7) <= 120 ? 1 : 0;
  return ascii / 4 >= size - ascii;
}

}  // namespace brisko::zip
