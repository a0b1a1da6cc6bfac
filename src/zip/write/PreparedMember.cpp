// Whole-file reading and preparation of small members.
#include "zip/write/PreparedMember.h"

#include <algorithm>

#include "zip/crypto/AesEncryption.h"
#include "zip/write/TextGuess.h"

namespace brisko::zip {

bool ReadWhole(ZipStream& in, uint64_t limit, std::vector<uint8_t>& raw, int& readError) {
  readError = 0;
  // Sized for what the file holds now, plus one byte that tells a file that grew from one that did not.
  const uint64_t expected = in.Size() - std::min(in.Size(), in.Position());
  raw.resize(static_cast<size_t>(std::min(expected, limit) + 1));
  size_t have = 0;
  for (;;) {
    if (have == raw.size()) {
      if (have > limit) return false;
      raw.resize(static_cast<size_t>(std::min<uint64_t>(limit + 1, have * 2)));
    }
    const size_t n = in.Read(raw.data() + have, raw.size() - have);
    if (n == 0) break;
    have += n;
  }
  if (in.LastError() != 0) {
    readError = in.LastError();
    return false;
  }
  raw.resize(have);
  return true;
}

void PrepareMember(PreparedMember& member, BufferDeflater* deflater, const AesSeal& seal) {
  member.crc = Crc32(0, member.raw.data(), member.raw.size());
  member.text = false;
  member.packed.clear();
  member.aesPrefix.clear();
  if (deflater != nullptr) {
    // The text guess looks at the first block, as it does for streamed members.
    member.text = LooksLikeText(member.raw.data(), std::min<size_t>(member.raw.size(), kTextSampleSize));
    if (deflater->SamplesShrink(member.raw.data(), member.raw.size()))
      deflater->Deflate(member.raw.data(), member.raw.size(), member.packed);
  }
  if (!seal.On()) return;
  std::vector<uint8_t>& data = member.Deflated() ? member.packed : member.raw;
  AesEncoder encoder(seal.password, AesField{}, *seal.random);
  encoder.Encrypt(data.data(), data.size());
  member.aesPrefix = encoder.Prefix();
  member.aesCode = encoder.End();
}

}  // namespace brisko::zip
