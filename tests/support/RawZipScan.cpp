#include "support/RawZipScan.h"

namespace brisko::test {
namespace {

// Little-endian fields; false when the field runs past the end.
bool Get16(const std::vector<uint8_t>& z, size_t at, uint16_t& v) {
  if (at > z.size() || z.size() - at < 2) return false;
  v = static_cast<uint16_t>(z[at] | z[at + 1] << 8);
  return true;
}
bool Get32(const std::vector<uint8_t>& z, size_t at, uint32_t& v) {
  uint16_t lo = 0, hi = 0;
  if (!Get16(z, at, lo) || !Get16(z, at + 2, hi)) return false;
  v = lo | static_cast<uint32_t>(hi) << 16;
  return true;
}

}  // namespace

std::vector<RawMember> ScanRawZip(const std::vector<uint8_t>& zip) {
  std::vector<RawMember> members;
  const size_t size = zip.size();
  if (size < 22) return members;
  size_t eocd = size - 22;
  uint32_t sig = 0;
  while (!(Get32(zip, eocd, sig) && sig == 0x06054B50)) {
    if (eocd == 0) return members;
    --eocd;
  }
  uint16_t count = 0;
  uint32_t cdOffset = 0;
  Get16(zip, eocd + 10, count);
  Get32(zip, eocd + 16, cdOffset);
  size_t pos = cdOffset;
  for (unsigned i = 0; i < count; ++i) {
    RawMember m;
    uint16_t nameLen = 0, extraLen = 0, commentLen = 0, localName = 0, localExtra = 0;
    uint32_t localOffset = 0;
    if (!Get32(zip, pos, sig) || sig != 0x02014B50) return {};
    Get16(zip, pos + 4, m.madeBy);
    Get16(zip, pos + 8, m.flags);
    Get16(zip, pos + 10, m.method);
    Get16(zip, pos + 12, m.dosTime);
    Get32(zip, pos + 16, m.crc);
    Get32(zip, pos + 20, m.compressedSize);
    Get32(zip, pos + 24, m.uncompressedSize);
    Get16(zip, pos + 28, nameLen);
    Get16(zip, pos + 30, extraLen);
    Get16(zip, pos + 32, commentLen);
    Get32(zip, pos + 38, m.externalAttributes);
    Get32(zip, pos + 42, localOffset);
    if (pos + 46 + nameLen > size) return {};
    m.name.assign(reinterpret_cast<const char*>(zip.data() + pos + 46), nameLen);
    pos += 46 + nameLen + extraLen + commentLen;
    if (!Get16(zip, localOffset + 26, localName) || !Get16(zip, localOffset + 28, localExtra)) return {};
    const size_t dataStart = localOffset + 30 + localName + localExtra;
    if (dataStart > size || size - dataStart < m.compressedSize) return {};
    m.data = std::span<const uint8_t>(zip.data() + dataStart, m.compressedSize);
    members.push_back(m);
  }
  return members;
}

}  // namespace brisko::test
