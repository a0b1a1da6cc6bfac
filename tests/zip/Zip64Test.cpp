// Zip64 records and the extra fields beside them: written exactly when a value needs them, read back
// from headers and end records, and honest member counts.
#include <gtest/gtest.h>

#include "support/ZipBuilder.h"
#include "zip/extract/EntryTest.h"
#include "zip/extract/ExtractJob.h"
#include "zip/format/ByteIO.h"
#include "zip/format/ZipErrors.h"
#include "zip/io/MemoryStream.h"
#include "zip/read/ArchiveDirectory.h"

namespace brisko::zip {
namespace {

constexpr uint64_t k4G = uint64_t{1} << 32;

bool HasSignature(const std::vector<uint8_t>& bytes, uint32_t signature) {
  for (size_t i = 0; i + 4 <= bytes.size(); ++i) {
    uint32_t v = 0;
    if (GetLE32(bytes.data(), bytes.size(), i, v) && v == signature) return true;
  }
  return false;
}

TEST(Zip64Records, CentralHeaderCarriesExactlyTheFieldsThatNeedIt) {
  struct Case {
    uint64_t size, compressed, offset;
    uint16_t extraLength;  // 0: no Zip64 field
  };
  const Case cases[] = {
      {100, 50, 1000, 0},          {0xFFFFFFFE, 0xFFFFFFFE, 0xFFFFFFFE, 0},
      {0xFFFFFFFF, 10, 10, 4 + 8},  // the marker value itself needs the field
      {k4G + 5, 10, 10, 4 + 8},    {10, k4G + 5, 10, 4 + 8},
      {10, 10, k4G * 3, 4 + 8},    {k4G * 2, k4G, k4G + 1, 4 + 24},
  };
  for (const Case& c : cases) {
    ZipEntry h;
    h.SetFileName("big.bin");
    h.uncompressedSize = c.size;
    h.compressedSize = c.compressed;
    h.relativeOffset = c.offset;
    MemoryStream s;
    ASSERT_TRUE(h.WriteCentralHeader(s));
    const std::vector<uint8_t>& bytes = s.Data();
    uint16_t extra = 0, needed = 0, madeBy = 0;
    GetLE16(bytes.data(), bytes.size(), 30, extra);
    GetLE16(bytes.data(), bytes.size(), 6, needed);
    GetLE16(bytes.data(), bytes.size(), 4, madeBy);
    EXPECT_EQ(extra, c.extraLength) << c.size << " " << c.compressed << " " << c.offset;
    EXPECT_EQ(needed, c.extraLength != 0 ? kVersionZip64 : kVersion20);
    EXPECT_EQ(madeBy, needed);  // the writer knows what the member needs
    s.Seek(0);
    ZipEntry r;
    ASSERT_TRUE(r.ReadCentralHeader(s));
    EXPECT_EQ(r.uncompressedSize, c.size);
    EXPECT_EQ(r.compressedSize, c.compressed);
    EXPECT_EQ(r.relativeOffset, c.offset);
  }
}

TEST(Zip64Records, LocalHeaderReservesRoomOnlyWhenAsked) {
  ZipEntry h;
  h.SetFileName("big.bin");
  h.localZip64 = true;
  h.uncompressedSize = k4G + 7;
  h.compressedSize = k4G + 9;
  MemoryStream s;
  ASSERT_TRUE(h.WriteLocalHeader(s));
  EXPECT_EQ(h.LocalSize(), kLocalHeaderSize + 7 + 20);
  s.Seek(0);
  ZipEntry r;
  ASSERT_TRUE(r.ReadLocalHeader(s));
  EXPECT_TRUE(r.localZip64);
  EXPECT_EQ(r.uncompressedSize, k4G + 7);
  EXPECT_EQ(r.compressedSize, k4G + 9);

  // Without the room reserved, a size that reached 4 GiB cannot be written into the header.
  h.localZip64 = false;
  MemoryStream t;
  EXPECT_THROW(h.WriteLocalHeader(t), ZipTooLargeError);
}

TEST(Zip64Records, EndRecordGoesZip64FromTheMarkerValuesOn) {
  struct Case {
    uint64_t entries, size, offset;
    bool zip64;
  };
  const Case cases[] = {
      {65534, 100, 0xFFFFFFFE, false},
      {65535, 100, 100, true},
      {70000, 100, 100, true},
      {3, 100, k4G, true},
  };
  for (const Case& c : cases) {
    EndOfCentralDir e;
    e.totalEntries = e.entriesThisDisk = c.entries;
    e.centralSize = c.size;
    e.centralOffset = c.offset;
    MemoryStream s;
    ASSERT_TRUE(e.Write(s));
    EXPECT_EQ(s.Data().size(), kEndCentralSize + (c.zip64 ? kZip64EndCentralMinSize + kZip64LocatorSize : 0))
        << c.entries;
    EXPECT_EQ(HasSignature(s.Data(), kZip64LocatorSig), c.zip64);
  }
}

TEST(Zip64Records, ExtendedTimestampAndUnicodePathAreRead) {
  ZipEntry h;
  h.SetFileName("old.txt");
  h.unixTime = 170000000;  // 1975
  MemoryStream s;
  ASSERT_TRUE(h.WriteCentralHeader(s));
  s.Seek(0);
  ZipEntry r;
  ASSERT_TRUE(r.ReadCentralHeader(s));
  ASSERT_TRUE(r.unixTime.has_value());
  EXPECT_EQ(*r.unixTime, 170000000);

  // A Unicode path field replaces a name stored without bit 11 when its check value matches.
  const std::string stored =
      "Gr\x81\xE1"
      "e.txt";  // code page 437
  const std::string utf8 =
      "Gr\xC3\xBC\xC3\x9F"
      "e-\xE2\x82\xAC.txt";  // with a euro sign
  for (bool matching : {true, false}) {
    std::vector<uint8_t> raw;
    PutLE32(raw, kLocalHeaderSig);
    PutLE16(raw, 20);
    for (int i = 0; i < 20; ++i) raw.push_back(0);
    PutLE16(raw, static_cast<uint16_t>(stored.size()));
    PutLE16(raw, static_cast<uint16_t>(4 + 5 + utf8.size()));
    PutBytes(raw, stored);
    PutLE16(raw, kExtraUnicodePath);
    PutLE16(raw, static_cast<uint16_t>(5 + utf8.size()));
    raw.push_back(1);
    const uint32_t crc = test::CrcOf(stored);
    PutLE32(raw, matching ? crc : crc + 1);
    PutBytes(raw, utf8);
    MemoryStream m(raw);
    ZipEntry l;
    ASSERT_TRUE(l.ReadLocalHeader(m));
    EXPECT_EQ(l.FileName(), matching ? utf8
                                     : "Gr\xC3\xBC\xC3\x9F"
                                       "e.txt")
        << matching;  // else code page 437
  }
}

class Zip64Reading : public ::testing::Test {
 protected:
  void Open(std::vector<uint8_t> bytes) {
    bytes_ = std::move(bytes);
    reader_.SetZipName("memory.zip");
    reader_.ReadDirectory();
  }
  std::vector<uint8_t> bytes_;
  MemoryStreamOpener opener_{bytes_};
  ArchiveDirectory reader_{{EntryOrder::ByNone, IncompleteArchiveRule::AssumeMulti, false, &opener_}};
};

TEST_F(Zip64Reading, MoreThan65535MembersAreAllListed) {
  std::vector<test::TestMember> members(70000);
  for (size_t i = 0; i < members.size(); ++i) members[i] = test::StoredMember(std::to_string(i), "");
  test::BuiltZip built = test::BuildZipLayout(members);
  ASSERT_TRUE(HasSignature(built.bytes, kZip64EndCentralSig));
  Open(built.bytes);
  EXPECT_EQ(reader_.EntryCount(), 70000);
  EXPECT_EQ(reader_.Entry(69999).FileName(), "69999");
  EXPECT_TRUE(reader_.DirectoryNote().empty());
}

TEST_F(Zip64Reading, CountsThatDisagreeWithTheRecordsAreReported) {
  std::vector<test::TestMember> members(3);
  for (size_t i = 0; i < 3; ++i) {
    members[i] = test::StoredMember(std::string(1, static_cast<char>('a' + i)), std::string(i + 1, 'x'));
  }
  test::BuiltZip built = test::BuildZipLayout(members);
  const size_t countAt = built.endOffset + 10;  // total entries of the end record
  for (uint16_t stated : {2, 4}) {
    std::vector<uint8_t> bytes = built.bytes;
    bytes[countAt - 2] = bytes[countAt] = static_cast<uint8_t>(stated);
    Open(bytes);
    EXPECT_EQ(reader_.EntryCount(), 3) << stated;
    EXPECT_NE(reader_.DirectoryNote().find("states " + std::to_string(stated) + " members but holds 3"),
              std::string::npos)
        << reader_.DirectoryNote();
    reader_.CloseArchive();
  }
}

TEST_F(Zip64Reading, MembersSharingTheirDataAreRefused) {
  std::vector<test::TestMember> members(2);
  members[0] = test::StoredMember("a", std::string(1000, 'x'));
  members[1] = test::StoredMember("b", "tiny");
  test::BuiltZip built = test::BuildZipLayout(members);
  Open(built.bytes);
  EXPECT_TRUE(reader_.OverlapNote().empty());
  reader_.CloseArchive();
  // The second central header points into the first member's data.
  std::vector<uint8_t> bytes = built.bytes;
  const size_t offsetField = built.centralOffset + kCentralHeaderSize + 1 + 42;
  bytes[offsetField] = 40;
  bytes[offsetField + 1] = 0;
  Open(bytes);
  EXPECT_NE(reader_.OverlapNote().find("a and b"), std::string::npos) << reader_.OverlapNote();
  EXPECT_EQ(TestEntry(reader_, 0, "").result, EntryResult::DataError);
  ExtractOptions options;
  options.doAll = true;
  options.destDir = ::testing::TempDir();
  EXPECT_THROW(ExtractJob(reader_, options).Run(), BadArchiveError);
}

}  // namespace
}  // namespace brisko::zip
