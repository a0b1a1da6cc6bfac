// Builds small archives byte by byte in tests, with any name, method, flags or sizes, so that hostile
// and damaged archives can be made without outside tools.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "zip/ByteIO.h"

namespace brisko::zip::test {

struct TestMember {
  std::string name;           // as stored ('/' separators)
  std::vector<uint8_t> data;  // the member data as stored (already compressed when method != 0)
  uint16_t method = 0;
  uint16_t flags = 0;
  uint32_t crc = 0;  // of the uncompressed content
  uint32_t uncompressedSize = 0;
  uint32_t dosDateTime = 0x52AF6000;  // 2021-05-15 12:00:00
  uint32_t externalAttributes = 0x20;
  std::optional<uint32_t> claimedCompressedSize;  // written instead of data.size() when set
};

inline std::vector<uint8_t> Bytes(const std::string& s) {
  return std::vector<uint8_t>(s.begin(), s.end());
}

inline uint32_t CrcOf(const std::vector<uint8_t>& v) {
  return static_cast<uint32_t>(crc32(0, v.data(), static_cast<uInt>(v.size())));
}

inline std::vector<uint8_t> RawDeflateBytes(const std::vector<uint8_t>& in) {
  z_stream z{};
  deflateInit2(&z, 6, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
  std::vector<uint8_t> out(deflateBound(&z, in.size()) + 16);
  z.next_in = const_cast<uint8_t*>(in.data());
  z.avail_in = static_cast<uInt>(in.size());
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

// A stored member holding content.
inline TestMember StoredMember(const std::string& name, const std::string& content) {
  TestMember m;
  m.name = name;
  m.data = Bytes(content);
  m.crc = CrcOf(m.data);
  m.uncompressedSize = static_cast<uint32_t>(m.data.size());
  return m;
}

// A deflated member holding content.
inline TestMember DeflatedMember(const std::string& name, const std::vector<uint8_t>& content) {
  TestMember m;
  m.name = name;
  m.method = 8;
  m.data = RawDeflateBytes(content);
  m.crc = CrcOf(content);
  m.uncompressedSize = static_cast<uint32_t>(content.size());
  return m;
}

inline std::vector<uint8_t> BuildZip(const std::vector<TestMember>& members) {
  std::vector<uint8_t> out;
  std::vector<uint32_t> offsets;
  for (const TestMember& m : members) {
    offsets.push_back(static_cast<uint32_t>(out.size()));
    PutLE32(out, 0x04034B50);
    PutLE16(out, 20);
    PutLE16(out, m.flags);
    PutLE16(out, m.method);
    PutLE32(out, m.dosDateTime);
    PutLE32(out, m.crc);
    PutLE32(out, m.claimedCompressedSize.value_or(static_cast<uint32_t>(m.data.size())));
    PutLE32(out, m.uncompressedSize);
    PutLE16(out, static_cast<uint16_t>(m.name.size()));
    PutLE16(out, 0);
    PutBytes(out, m.name);
    out.insert(out.end(), m.data.begin(), m.data.end());
  }
  const uint32_t cdStart = static_cast<uint32_t>(out.size());
  for (size_t i = 0; i < members.size(); ++i) {
    const TestMember& m = members[i];
    PutLE32(out, 0x02014B50);
    PutLE16(out, 20);  // made by MS-DOS
    PutLE16(out, 20);
    PutLE16(out, m.flags);
    PutLE16(out, m.method);
    PutLE32(out, m.dosDateTime);
    PutLE32(out, m.crc);
    PutLE32(out, m.claimedCompressedSize.value_or(static_cast<uint32_t>(m.data.size())));
    PutLE32(out, m.uncompressedSize);
    PutLE16(out, static_cast<uint16_t>(m.name.size()));
    PutLE16(out, 0);
    PutLE16(out, 0);
    PutLE16(out, 0);
    PutLE16(out, 0);
    PutLE32(out, m.externalAttributes);
    PutLE32(out, offsets[i]);
    PutBytes(out, m.name);
  }
  const uint32_t cdSize = static_cast<uint32_t>(out.size()) - cdStart;
  PutLE32(out, 0x06054B50);
  PutLE16(out, 0);
  PutLE16(out, 0);
  PutLE16(out, static_cast<uint16_t>(members.size()));
  PutLE16(out, static_cast<uint16_t>(members.size()));
  PutLE32(out, cdSize);
  PutLE32(out, cdStart);
  PutLE16(out, 0);
  return out;
}

inline void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace brisko::zip::test
