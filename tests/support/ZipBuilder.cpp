#include "support/ZipBuilder.h"

#include <gtest/gtest.h>
#include <zlib.h>

namespace brisko::test {
namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}
void Put64(std::vector<uint8_t>& out, uint64_t v) {
  Put32(out, static_cast<uint32_t>(v));
  Put32(out, static_cast<uint32_t>(v >> 32));
}
void PutText(std::vector<uint8_t>& out, std::string_view s) {
  out.insert(out.end(), s.begin(), s.end());
}

// The fields local and central headers share, from "version needed" to the extra field's length.
void PutCommonFields(std::vector<uint8_t>& out, const TestMember& m) {
  Put16(out, 20);
  Put16(out, m.flags);
  Put16(out, m.method);
  Put32(out, m.dosDateTime);
  Put32(out, m.crc);
  Put32(out, m.claimedCompressedSize.value_or(static_cast<uint32_t>(m.data.size())));
  Put32(out, m.uncompressedSize);
  Put16(out, static_cast<uint32_t>(m.name.size()));
  Put16(out, 0);
}

}  // namespace

std::vector<uint8_t> Bytes(std::string_view s) {
  return std::vector<uint8_t>(s.begin(), s.end());
}

uint32_t CrcOf(std::string_view bytes) {
  return static_cast<uint32_t>(
      crc32_z(crc32(0, nullptr, 0), reinterpret_cast<const Bytef*>(bytes.data()), bytes.size()));
}

uint32_t CrcOf(const std::vector<uint8_t>& bytes) {
  return CrcOf(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

std::vector<uint8_t> RawDeflateBytes(const std::vector<uint8_t>& in) {
  z_stream z{};
  deflateInit2(&z, 6, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
  std::vector<uint8_t> out(deflateBound(&z, static_cast<uLong>(in.size())) + 16);
  z.next_in = const_cast<uint8_t*>(in.data());
  z.avail_in = static_cast<uInt>(in.size());
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

std::vector<uint8_t> RawInflateBytes(const uint8_t* data, size_t size, size_t expected) {
  std::vector<uint8_t> out(expected + 1);
  z_stream z{};
  inflateInit2(&z, -MAX_WBITS);
  z.next_in = const_cast<uint8_t*>(data);
  z.avail_in = static_cast<uInt>(size);
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  EXPECT_EQ(inflate(&z, Z_FINISH), Z_STREAM_END);
  out.resize(z.total_out);
  inflateEnd(&z);
  return out;
}

TestMember StoredMember(const std::string& name, std::string_view content) {
  TestMember m;
  m.name = name;
  m.data = Bytes(content);
  m.crc = CrcOf(m.data);
  m.uncompressedSize = static_cast<uint32_t>(m.data.size());
  return m;
}

TestMember DeflatedMember(const std::string& name, const std::vector<uint8_t>& content) {
  TestMember m;
  m.name = name;
  m.method = 8;
  m.data = RawDeflateBytes(content);
  m.crc = CrcOf(content);
  m.uncompressedSize = static_cast<uint32_t>(content.size());
  return m;
}

BuiltZip BuildZipLayout(const std::vector<TestMember>& members, const std::string& comment,
                        const std::string& prefix) {
  BuiltZip zip;
  std::vector<uint8_t>& out = zip.bytes;
  PutText(out, prefix);
  std::vector<uint32_t> offsets;
  for (const TestMember& m : members) {
    offsets.push_back(static_cast<uint32_t>(out.size()));
    Put32(out, 0x04034B50);
    PutCommonFields(out, m);
    PutText(out, m.name);
    out.insert(out.end(), m.data.begin(), m.data.end());
  }
  zip.centralOffset = out.size();
  for (size_t i = 0; i < members.size(); ++i) {
    const TestMember& m = members[i];
    Put32(out, 0x02014B50);
    Put16(out, 20);  // made by MS-DOS
    PutCommonFields(out, m);
    Put16(out, static_cast<uint32_t>(m.comment.size()));
    Put16(out, 0);  // disk
    Put16(out, 0);  // internal attributes
    Put32(out, m.externalAttributes);
    Put32(out, offsets[i]);
    PutText(out, m.name);
    PutText(out, m.comment);
  }
  const uint64_t centralSize = out.size() - zip.centralOffset;
  const bool zip64 = members.size() > 0xFFFF;
  if (zip64) {
    const uint64_t zip64End = out.size();
    Put32(out, 0x06064B50);
    Put64(out, 44);  // size of the rest of the record
    Put16(out, 45);
    Put16(out, 45);
    Put32(out, 0);
    Put32(out, 0);
    Put64(out, members.size());
    Put64(out, members.size());
    Put64(out, centralSize);
    Put64(out, zip.centralOffset);
    Put32(out, 0x07064B50);
    Put32(out, 0);
    Put64(out, zip64End);
    Put32(out, 1);
  }
  zip.endOffset = out.size();
  const uint32_t count = zip64 ? 0xFFFF : static_cast<uint32_t>(members.size());
  Put32(out, 0x06054B50);
  Put16(out, 0);
  Put16(out, 0);
  Put16(out, count);
  Put16(out, count);
  Put32(out, static_cast<uint32_t>(centralSize));
  Put32(out, static_cast<uint32_t>(zip.centralOffset));
  Put16(out, static_cast<uint32_t>(comment.size()));
  PutText(out, comment);
  return zip;
}

std::vector<uint8_t> BuildZip(const std::vector<TestMember>& members, const std::string& comment) {
  return BuildZipLayout(members, comment).bytes;
}

void BitWriter::Put(uint32_t value, unsigned bits) {
  for (unsigned i = 0; i < bits; ++i) {
    if (count_ % 8 == 0) bytes.push_back(0);
    if ((value >> i) & 1u) bytes.back() |= static_cast<uint8_t>(1u << (count_ % 8));
    ++count_;
  }
}

void BitWriter::PutInvertedCode(uint32_t code, unsigned bits) {
  for (unsigned i = bits; i-- != 0;) Put(((code >> i) & 1u) ^ 1u, 1);
}

}  // namespace brisko::test
