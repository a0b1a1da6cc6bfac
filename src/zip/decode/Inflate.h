// Decoder of method 8 (deflated) on zlib's raw inflate.
#pragma once

#include <cstdint>

#include "zip/decode/ByteSink.h"
#include "zip/decode/ByteSource.h"

namespace brisko::zip {

// Inflates the member data into sink. Throws OversizeMemberError before writing a chunk that would
// take the output past size, LegacyDecodeError on invalid or truncated data. Returns the bytes written.
uint64_t Inflate(ByteSource& source, ByteSink& sink, uint64_t size);

}  // namespace brisko::zip
