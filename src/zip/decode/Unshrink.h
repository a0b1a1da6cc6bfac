// Decoder of method 1 (shrunk): dynamic LZW with 9- to 13-bit codes and partial clearing.
#pragma once

#include <cstdint>

#include "zip/decode/ByteSink.h"
#include "zip/decode/ByteSource.h"

namespace brisko::zip {

// Decodes exactly size bytes into sink. Throws LegacyDecodeError on malformed codes or short data.
void Unshrink(ByteSource& source, ByteSink& sink, uint64_t size);

}  // namespace brisko::zip
