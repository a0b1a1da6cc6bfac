// Decodes member data like DecodeMember, but inflates a deflated member in one call when its stored
// and decoded sizes both fit the whole-member limit: the fast path of extraction and testing.
#pragma once

#include <cstdint>
#include <vector>

#include "zip/codec/DeflateCodec.h"
#include "zip/decode/ByteSink.h"
#include "zip/decode/ByteSource.h"
#include "zip/io/CancelCheck.h"

namespace brisko::zip {

// Hands decoded bytes to sink in slices with a cancel check between them (when cancel is given), so
// progress and cancel are as fine-grained as on the streaming path.
void WriteInSlices(const uint8_t* data, size_t size, ByteSink& sink, CancelCheck* cancel);

class WholeMemberDecoder {
 public:
  // compressedSize is what source holds. Same results and exceptions as DecodeMember; malformed data
  // goes through the streaming decoder, so its errors read the same on either path. The output goes to
  // sink in slices, with a cancel check between them when cancel is given.
  void Decode(uint16_t method, uint16_t flags, uint64_t compressedSize, ByteSource& source, ByteSink& sink,
              uint64_t size, CancelCheck* cancel = nullptr);

 private:
  BufferInflater inflater_;
  std::vector<uint8_t> in_;
  std::vector<uint8_t> out_;
};

}  // namespace brisko::zip
