// The data of one file member made ready before it is written: the file's bytes read whole, their
// CRC-32, the text guess and the deflated form. Depends only on the bytes and the level, so members
// can be prepared on any thread and still give the same archive.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "zip/DeflateCodec.h"
#include "zip/ZipStream.h"

namespace brisko::zip {

// Files up to this size are read whole and deflated in one call; larger ones are streamed.
constexpr uint64_t kWholeMemberLimit = 8u << 20;

struct PreparedMember {
  std::vector<uint8_t> raw;
  std::vector<uint8_t> packed;  // the deflated data; empty when the member is stored
  uint32_t crc = 0;
  bool text = false;

  bool Deflated() const { return !packed.empty(); }
  // The bytes that go into the archive (before any encryption).
  const std::vector<uint8_t>& Data() const { return Deflated() ? packed : raw; }
};

// Reads the rest of `in` into raw. False when it holds more than limit bytes (raw then holds a part)
// or when a read fails (readError gets the error number).
bool ReadWhole(ZipStream& in, uint64_t limit, std::vector<uint8_t>& raw, int& readError);

// Fills crc, text and packed from raw; deflater null stores the member.
void PrepareMember(PreparedMember& member, BufferDeflater* deflater);

}  // namespace brisko::zip
