// Builds small archives byte by byte with the record writers, for the reader tests.
#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include <zlib.h>

#include "zip/MemoryStream.h"
#include "zip/ZipRecords.h"

namespace brisko::zip::test {

struct BuiltMember {
  std::string directory;  // native separators
  std::string name;
  std::string data;
  uint32_t dosDate = 0x54A3633C;
  uint32_t compressedSize = UINT32_MAX;  // UINT32_MAX: the data length
  std::string comment;
};

struct BuiltArchive {
  std::vector<uint8_t> bytes;
  uint64_t centralOffset = 0;
  uint64_t endOffset = 0;
};

inline BuiltArchive BuildArchive(const std::vector<BuiltMember>& members, const std::string& comment = "",
                                 const std::string& prefix = "") {
  MemoryStream s;
  s.Write(prefix.data(), prefix.size());
  std::vector<ZipEntry> headers;
  for (const BuiltMember& m : members) {
    ZipEntry h;
    h.SetDirectory(m.directory);
    h.SetFileName(m.name);
    h.CompressionMethod = 0;
    h.DateTime = m.dosDate;
    h.CRC32 = static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(m.data.data()),
                                          static_cast<uInt>(m.data.size())));
    h.UncompressedSize = static_cast<uint32_t>(m.data.size());
    h.CompressedSize = m.compressedSize == UINT32_MAX ? h.UncompressedSize : m.compressedSize;
    if (!m.comment.empty()) h.SetFileComment(m.comment);
    h.WriteLocalHeader(s);
    s.Write(m.data.data(), m.data.size());
    headers.push_back(h);
  }
  BuiltArchive out;
  out.centralOffset = s.Position();
  for (ZipEntry& h : headers) h.WriteCentralHeader(s);
  EndOfCentralDir end;
  end.TotalEntries = end.EntriesThisDisk = headers.size();
  end.CentralOffset = out.centralOffset;
  end.CentralSize = s.Position() - out.centralOffset;
  end.SetComment(comment);
  out.endOffset = s.Position();
  end.Write(s);
  out.bytes = s.Data();
  return out;
}

inline void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace brisko::zip::test
