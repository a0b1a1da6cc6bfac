// Decoder of methods 2 to 5 (reduced with compression factor 1 to 4): follower sets and DLE runs.
#pragma once

#include <cstdint>

#include "zip/decode/ByteSink.h"
#include "zip/decode/ByteSource.h"

namespace brisko::zip {

// Decodes exactly size bytes into sink; factor is 1 to 4 (method minus 1).
// Throws LegacyDecodeError on malformed follower sets or short data.
void Unreduce(ByteSource& source, ByteSink& sink, uint64_t size, int factor);

}  // namespace brisko::zip
