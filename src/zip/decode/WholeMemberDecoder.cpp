// Whole-buffer inflate with the streaming decoder as fallback.
#include "zip/decode/WholeMemberDecoder.h"

#include <algorithm>
#include <span>

#include "zip/decode/MemberDecoder.h"
#include "zip/decode/MemorySource.h"
#include "zip/format/ZipConstants.h"
#include "zip/write/PreparedMember.h"

namespace brisko::zip {

void WriteInSlices(const uint8_t* data, size_t size, ByteSink& sink, CancelCheck* cancel) {
  constexpr size_t kSlice = 256 * 1024;
  for (size_t done = 0; done < size; done += kSlice) {
    if (done > 0 && cancel) cancel->CheckCancel();
    sink.Write(data + done, std::min(kSlice, size - done));
  }
}

void WholeMemberDecoder::Decode(uint16_t method, uint16_t flags, uint64_t compressedSize, ByteSource& source,
                                ByteSink& sink, uint64_t size, CancelCheck* cancel) {
  if (method != kMethodDeflated || size > kWholeMemberLimit || compressedSize > kWholeMemberLimit) {
    DecodeMember(method, flags, source, sink, size);
    return;
  }
  in_.resize(static_cast<size_t>(compressedSize));
  size_t have = 0;
  while (have < in_.size()) {
    const size_t n = source.Read(in_.data() + have, in_.size() - have);
    if (n == 0) break;
    have += n;
  }
  out_.resize(static_cast<size_t>(size));
  if (inflater_.InflateExact(in_.data(), have, out_.data(), out_.size())) {
    WriteInSlices(out_.data(), out_.size(), sink, cancel);
    return;
  }
  MemorySource again(std::span<const uint8_t>(in_.data(), have));
  DecodeMember(method, flags, again, sink, size);
}

}  // namespace brisko::zip
