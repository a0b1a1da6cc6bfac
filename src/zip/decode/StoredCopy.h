// Decoder of method 0 (stored): a bounded copy.
#pragma once

#include <cstdint>

#include "zip/decode/ByteSink.h"
#include "zip/decode/ByteSource.h"

namespace brisko::zip {

// Copies the member data into sink. Throws OversizeMemberError before writing a chunk that would
// take the output past size. Returns the bytes written.
uint64_t StoredCopy(ByteSource& source, ByteSink& sink, uint64_t size);

}  // namespace brisko::zip
