// A deliberately small central-directory walk, independent of the reader, to feed the decoders in tests.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace brisko::test {

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
std::vector<RawMember> ScanRawZip(const std::vector<uint8_t>& zip);

}  // namespace brisko::test
