// Traditional encryption: header layout, round trips, and the encrypted archives of other tools.
#include <gtest/gtest.h>

#include <cstring>
#include <map>

#include "support/FixedRandom.h"
#include "support/TestManifest.h"
#include "support/ZipBuilder.h"
#include "zip/crypto/ZipCrypto.h"
#include "zip/format/ZipRecords.h"
#include "zip/io/FileStream.h"

namespace brisko::zip {
namespace {

TEST(ZipCrypto, HeaderEndsWithCrcHighBytesAndRoundTrips) {
  ZipCrypto enc;
  test::FixedRandom fixed;
  auto header = enc.MakeHeader("pw", 0x12345678, fixed);
  std::string text = "plain text to protect";
  std::vector<uint8_t> data(text.begin(), text.end());
  enc.Encrypt(data.data(), data.size());
  EXPECT_NE(std::memcmp(data.data(), text.data(), data.size()), 0);

  ZipCrypto dec;
  uint8_t copy[12];
  std::memcpy(copy, header.data(), 12);
  ASSERT_TRUE(dec.CheckHeader("pw", copy, 0x12));
  for (int i = 0; i < 10; ++i) EXPECT_EQ(copy[i], 0xA0 + i);
  EXPECT_EQ(copy[10], 0x34);
  dec.Decrypt(data.data(), data.size());
  EXPECT_EQ(std::string(data.begin(), data.end()), text);
}

TEST(ZipCrypto, EmptyFileHeaderEndsWithZeros) {
  ZipCrypto enc;
  auto header = enc.MakeHeader("secret", 0);
  ZipCrypto dec;
  ASSERT_TRUE(dec.CheckHeader("secret", header.data(), 0));
  EXPECT_EQ(header[10], 0);
  EXPECT_EQ(header[11], 0);
}

TEST(ZipCrypto, FreshRandomBytesPerHeader) {
  ZipCrypto a, b;
  auto h1 = a.MakeHeader("pw", 0xABCDEF01);
  auto h2 = b.MakeHeader("pw", 0xABCDEF01);
  EXPECT_NE(std::memcmp(h1.data(), h2.data(), 10), 0);
}

TEST(ZipCrypto, CheckByteFollowsDataDescriptorFlag) {
  ZipEntry h;
  h.crc32 = 0xAB000000;
  h.dateTime = 0x0000CD00;
  EXPECT_EQ(ZipCrypto::CheckByte(h), 0xAB);
  h.flags = 0x0008;
  EXPECT_EQ(ZipCrypto::CheckByte(h), 0xCD);
}

uint32_t InflateCrc(const std::vector<uint8_t>& in, uint16_t method, size_t expectedSize) {
  return test::CrcOf(method == 0 ? in : test::RawInflateBytes(in.data(), in.size(), expectedSize));
}

// Walks the central directory of every encrypted archive of the test set with the record readers,
// checks the password through the check byte rule and decrypts each member to its CRC.
TEST(ZipCrypto, DecryptsArchivesOfOtherTools) {
  std::map<std::string, std::vector<test::ManifestRow>> byArchive;
  for (const char* folder : {"interop", "legacy"}) {
    for (const auto& row : test::ReadManifest(folder)) {
      if (!row.password.empty() && (row.flags & 1))
        byArchive[std::string(folder) + "/" + row.archive].push_back(row);
    }
  }
  ASSERT_GE(byArchive.size(), 4u);
  for (const auto& [archive, rows] : byArchive) {
    FileStream f;
    ASSERT_TRUE(f.Open(std::string(BRISKO_TESTDATA_DIR) + "/" + archive, FileMode::OpenRead)) << archive;
    EndOfCentralDir end;
    ASSERT_TRUE(end.FindAndRead(f)) << archive;
    f.Seek(end.centralOffset);
    std::vector<ZipEntry> entries(end.totalEntries);
    for (auto& e : entries) ASSERT_TRUE(e.ReadCentralHeader(f)) << archive;
    int checked = 0;
    for (const auto& e : entries) {
      if (!e.IsEncrypted()) continue;
      f.Seek(e.relativeOffset);
      ZipEntry local;
      ASSERT_TRUE(local.ReadLocalHeader(f));
      std::vector<uint8_t> data(e.compressedSize);
      ASSERT_EQ(f.Read(data.data(), data.size()), data.size());
      uint8_t wrong[12];
      std::memcpy(wrong, data.data(), 12);
      ZipCrypto crypto;
      ASSERT_TRUE(crypto.CheckHeader(rows[0].password, data.data(), ZipCrypto::CheckByte(e)))
          << archive << " " << e.StoredName();
      std::vector<uint8_t> body(data.begin() + 12, data.end());
      crypto.Decrypt(body.data(), body.size());
      if (e.compressionMethod == 0 || e.compressionMethod == 8) {  // legacy methods: extractor tests
        EXPECT_EQ(InflateCrc(body, e.compressionMethod, e.uncompressedSize), e.crc32)
            << archive << " " << e.StoredName();
      }
      ZipCrypto other;
      EXPECT_FALSE(other.CheckHeader("wrong password", wrong, ZipCrypto::CheckByte(e)))
          << archive << " " << e.StoredName();
      ++checked;
    }
    EXPECT_GT(checked, 0) << archive;
  }
}

}  // namespace
}  // namespace brisko::zip
