// Archives built byte by byte, independent of the engine: any name, method, flags or sizes, so that
// ordinary, hostile and damaged archives can be made without outside tools. Also the CRC and raw
// deflate the members need, and a bit writer for hand-made legacy streams.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brisko::test {

std::vector<uint8_t> Bytes(std::string_view s);
uint32_t CrcOf(const std::vector<uint8_t>& bytes);
uint32_t CrcOf(std::string_view bytes);
// Raw deflate (no zlib header) at level 6.
std::vector<uint8_t> RawDeflateBytes(const std::vector<uint8_t>& in);
// Inflates raw deflate data that should hold at most `expected` bytes; a stream that does not end
// there fails the calling test.
std::vector<uint8_t> RawInflateBytes(const uint8_t* data, size_t size, size_t expected);

struct TestMember {
  std::string name;           // as stored ('/' separators)
  std::vector<uint8_t> data;  // as stored (already compressed or encrypted when the member says so)
  uint16_t method = 0;
  uint16_t flags = 0;
  uint32_t crc = 0;  // of the uncompressed content
  uint32_t uncompressedSize = 0;
  uint32_t dosDateTime = 0x52AF6000;  // 2021-05-15 12:00:00
  uint32_t externalAttributes = 0x20;
  std::optional<uint32_t> claimedCompressedSize;  // written instead of data.size() when set
  std::string comment;
};

// A stored member holding content.
TestMember StoredMember(const std::string& name, std::string_view content);
// A deflated member holding content.
TestMember DeflatedMember(const std::string& name, const std::vector<uint8_t>& content);

struct BuiltZip {
  std::vector<uint8_t> bytes;
  size_t centralOffset = 0;  // first central header
  size_t endOffset = 0;      // end-of-central-directory record
};

// Local headers and data, the central directory, then the end record (with the Zip64 end record and
// locator before it when there are more than 65535 members); prefix goes before everything.
BuiltZip BuildZipLayout(const std::vector<TestMember>& members, const std::string& comment = "",
                        const std::string& prefix = "");
std::vector<uint8_t> BuildZip(const std::vector<TestMember>& members, const std::string& comment = "");

// Packs values least significant bit first, as the legacy methods read them.
class BitWriter {
 public:
  void Put(uint32_t value, unsigned bits);
  // A code of an implode table: the canonical code, most significant bit first, every bit inverted.
  void PutInvertedCode(uint32_t code, unsigned bits);
  std::vector<uint8_t> bytes;

 private:
  unsigned count_ = 0;
};

}  // namespace brisko::test
