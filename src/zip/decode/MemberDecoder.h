// Chooses the decoder of a member by its compression method.
#pragma once

#include <cstdint>

#include "zip/decode/ByteSink.h"
#include "zip/decode/ByteSource.h"

namespace brisko::zip {

// True for the methods this engine decodes: 0 stored, 1 shrunk, 2-5 reduced, 6 imploded, 8 deflated.
bool IsSupportedMethod(uint16_t method);

// Decodes one member's data (already decrypted) into sink, never writing more than size bytes.
// flags is the general purpose bit flag (implode reads its window and table bits there).
// Throws OversizeMemberError when stored or deflated data would exceed size, LegacyDecodeError on
// malformed or short data and for an unsupported method.
void DecodeMember(uint16_t method, uint16_t flags, ByteSource& source, ByteSink& sink, uint64_t size);

}  // namespace brisko::zip
