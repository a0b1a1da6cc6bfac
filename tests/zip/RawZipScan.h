// A deliberately small central-directory walk, independent of the reader, to feed the decoders in tests.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "zip/ByteIO.h"

namespace brisko::zip::test {

struct RawMember {
  std::string name;
  uint16_t madeBy = 0;
  uint16_t flags = 0;
  uint16_t method = 0;
  uint16_t dosTime = 0;
  uint32_t crc = 0;
  uint32_t compressedSize = 0;
  uint32_t uncompressedSize = 0;
  uint32_t externalAttributes = 0;
  std::span<const uint8_t> data;  // compressed bytes (with the encryption header when encrypted)
};

// Members of a well-formed single-disk archive; empty when the end record or a header is missing.
inline std::vector<RawMember> ScanRawZip(const std::vector<uint8_t>& zip) {
  std::vector<RawMember> members;
  const uint8_t* p = zip.data();
  const size_t size = zip.size();
  if (size < 22) return members;
  size_t eocd = size - 22;
  uint32_t sig = 0;
  while (!(GetLE32(p, size, eocd, sig) && sig == 0x06054B50)) {
    if (eocd == 0) return members;
    --eocd;
  }
  uint16_t count = 0;
  uint32_t cdOffset = 0;
  GetLE16(p, size, eocd + 10, count);
  GetLE32(p, size, eocd + 16, cdOffset);
  size_t pos = cdOffset;
  for (unsigned i = 0; i < count; ++i) {
    RawMember m;
    uint16_t nameLen = 0, extraLen = 0, commentLen = 0, localName = 0, localExtra = 0;
    uint32_t localOffset = 0;
    if (!GetLE32(p, size, pos, sig) || sig != 0x02014B50) return {};
    GetLE16(p, size, pos + 4, m.madeBy);
    GetLE16(p, size, pos + 8, m.flags);
    GetLE16(p, size, pos + 10, m.method);
    GetLE16(p, size, pos + 12, m.dosTime);
    GetLE32(p, size, pos + 16, m.crc);
    GetLE32(p, size, pos + 20, m.compressedSize);
    GetLE32(p, size, pos + 24, m.uncompressedSize);
    GetLE16(p, size, pos + 28, nameLen);
    GetLE16(p, size, pos + 30, extraLen);
    GetLE16(p, size, pos + 32, commentLen);
    GetLE32(p, size, pos + 38, m.externalAttributes);
    GetLE32(p, size, pos + 42, localOffset);
    if (pos + 46 + nameLen > size) return {};
    m.name.assign(reinterpret_cast<const char*>(p + pos + 46), nameLen);
    pos += 46 + nameLen + extraLen + commentLen;
    if (!GetLE16(p, size, localOffset + 26, localName) || !GetLE16(p, size, localOffset + 28, localExtra))
      return {};
    const size_t dataStart = localOffset + 30 + localName + localExtra;
    if (dataStart > size || size - dataStart < m.compressedSize) return {};
    m.data = std::span<const uint8_t>(p + dataStart, m.compressedSize);
    members.push_back(m);
  }
  return members;
}

}  // namespace brisko::zip::test
