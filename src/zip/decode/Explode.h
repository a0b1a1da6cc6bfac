// Decoder of method 6 (imploded): 4 KB or 8 KB sliding dictionary with two or three Shannon-Fano tables.
#pragma once

#include <cstdint>

#include "zip/decode/ByteSink.h"
#include "zip/decode/ByteSource.h"

namespace brisko::zip {

// Decodes exactly size bytes into sink. flags is the member's general purpose bit flag: bit 1 selects
// the 8 KB dictionary, bit 2 the literal table. Throws LegacyDecodeError on malformed tables or short data.
void Explode(ByteSource& source, ByteSink& sink, uint64_t size, uint16_t flags);

}  // namespace brisko::zip
