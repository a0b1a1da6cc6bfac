// Byte-exact local/central headers and end records, and their reading back.
#include <gtest/gtest.h>

#include "platform/DosDateTime.h"
#include "platform/Platform.h"
#include "zip/format/ByteIO.h"
#include "zip/format/ZipErrors.h"
#include "zip/format/ZipRecords.h"
#include "zip/io/MemoryStream.h"

namespace brisko::zip {
namespace {

const std::string kSep(1, platform::kPathDelim);

std::vector<uint8_t> Bytes(std::initializer_list<int> values) {
  std::vector<uint8_t> out;
  for (int v : values) out.push_back(static_cast<uint8_t>(v));
  return out;
}

TEST(ZipRecords, ClearedRecordHasDocumentedValues) {
  ZipEntry h;
  h.crc32 = 5;
  h.SetFileName("x");
  h.Clear();
  EXPECT_EQ(h.versionMadeBy, 20);
  EXPECT_EQ(h.versionNeeded, 20);
  EXPECT_EQ(h.compressionMethod, 8);
  EXPECT_EQ(h.crc32, 0xFFFFFFFFu);
  EXPECT_EQ(h.internalAttributes, 1);
  EXPECT_EQ(h.externalAttributes, 0x20u);
  EXPECT_EQ(h.fileNameLength, 0);
  EXPECT_FALSE(h.HasFileComment());
}

TEST(ZipRecords, ClearedLocalHeaderIsThirtyBytes) {
  ZipEntry h;
  MemoryStream out;
  ASSERT_TRUE(h.WriteLocalHeader(out));
  EXPECT_EQ(out.Data(), Bytes({0x50, 0x4B, 0x03, 0x04, 20, 0, 0, 0, 8, 0, 0, 0, 0, 0, 0xFF,
                               0xFF, 0xFF, 0xFF, 0,    0,  0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(ZipRecords, LocalHeaderFieldsAndNameAreByteExact) {
  ZipEntry h;
  h.SetDirectory("docs");
  h.SetFileName("a.txt");
  EXPECT_EQ(h.Directory(), "docs" + kSep);
  EXPECT_EQ(h.fileNameLength, 10);
  h.flags = 0x0003;
  h.compressionMethod = 0;
  h.dateTime = 0x5A6B7C8D;
  h.crc32 = 0x11223344;
  h.compressedSize = 0x01020304;
  h.uncompressedSize = 0x0A0B0C0D;
  MemoryStream out;
  out.Write("junk", 4);  // the header records where it starts
  ASSERT_TRUE(h.WriteLocalHeader(out));
  EXPECT_EQ(h.relativeOffset, 4u);
  std::vector<uint8_t> expected =
      Bytes({'j',  'u',  'n',  'k',  0x50, 0x4B, 0x03, 0x04, 20, 0,    3,    0,    0,    0,  0x8D, 0x7C, 0x6B,
             0x5A, 0x44, 0x33, 0x22, 0x11, 4,    3,    2,    1,  0x0D, 0x0C, 0x0B, 0x0A, 10, 0,    0,    0});
  for (char c : std::string("docs/a.txt")) expected.push_back(static_cast<uint8_t>(c));
  EXPECT_EQ(out.Data(), expected);
}

TEST(ZipRecords, DirectoryMemberIsStoredWithSlash) {
  ZipEntry h;
  h.SetDirectory("docs" + kSep + "sub" + kSep);
  EXPECT_EQ(h.StoredName(), "docs/sub/");
  EXPECT_EQ(h.fileNameLength, 9);
}

TEST(ZipRecords, CentralHeaderIsByteExactWithComment) {
  ZipEntry h;
  h.versionMadeBy = 0x0314;
  h.SetFileName("n");
  h.SetFileComment(std::string("hi"));
  h.diskNumberStart = 2;
  h.internalAttributes = 0;
  h.externalAttributes = 0x81A40020;
  h.relativeOffset = 0x00ABCDEF;
  h.extraFieldLength = 9;  // never written
  MemoryStream out;
  ASSERT_TRUE(h.WriteCentralHeader(out));
  std::vector<uint8_t> expected =
      Bytes({0x50, 0x4B, 0x01, 0x02, 0x14, 0x03, 20,   0,    0,    0,    8,    0, 0,   0,   0,  0, 0xFF,
             0xFF, 0xFF, 0xFF, 0,    0,    0,    0,    0,    0,    0,    0,    1, 0,   0,   0,  2, 0,
             2,    0,    0,    0,    0x20, 0,    0xA4, 0x81, 0xEF, 0xCD, 0xAB, 0, 'n', 'h', 'i'});
  EXPECT_EQ(out.Data(), expected);
  EXPECT_EQ(h.CentralSize(), 46u + 1 + 9 + 2);
}

TEST(ZipRecords, CentralHeaderWithoutHeldCommentWritesNoLength) {
  ZipEntry h;
  h.SetFileName("n");
  h.fileCommentLength = 7;  // as read from an archive, comment not loaded
  MemoryStream out;
  ASSERT_TRUE(h.WriteCentralHeader(out));
  EXPECT_EQ(out.Data().size(), 47u);
  EXPECT_EQ(out.Data()[32], 0);
}

TEST(ZipRecords, ShortWriteIsReported) {
  ZipEntry h;
  MemoryStream out;
  out.SetWriteLimit(10);
  EXPECT_FALSE(h.WriteLocalHeader(out));
}

TEST(ZipRecords, CentralHeaderRoundTripsAndSplitsName) {
  ZipEntry h;
  h.versionMadeBy = 0x0314;
  h.SetDirectory("a" + kSep + "b");
  h.SetFileName("c.txt");
  h.dateTime = 0x54A3633C;
  h.crc32 = 0xDEADBEEF;
  h.compressedSize = 7;
  h.uncompressedSize = 9;
  h.relativeOffset = 1234;
  h.SetFileComment(std::string("note"));
  MemoryStream s;
  s.Write("xx", 2);
  ASSERT_TRUE(h.WriteCentralHeader(s));
  s.Write("tail", 4);
  s.Seek(2);
  ZipEntry r;
  ASSERT_TRUE(r.ReadCentralHeader(s));
  EXPECT_EQ(s.Position(), s.Size() - 4);  // behind name, extra and comment
  EXPECT_EQ(r.Directory(), "a" + kSep + "b" + kSep);
  EXPECT_EQ(r.FileName(), "c.txt");
  EXPECT_EQ(r.dateTime, 0x54A3633Cu);
  EXPECT_EQ(r.crc32, 0xDEADBEEFu);
  EXPECT_EQ(r.compressedSize, 7u);
  EXPECT_EQ(r.uncompressedSize, 9u);
  EXPECT_EQ(r.relativeOffset, 1234u);
  EXPECT_EQ(r.fileCommentLength, 4);
  EXPECT_FALSE(r.HasFileComment());  // comments load on demand
  EXPECT_EQ(r.centralOffset, 2u);
}

TEST(ZipRecords, FailedReadsRestoreThePosition) {
  struct Case {
    const char* label;
    std::vector<uint8_t> bytes;
  };
  ZipEntry good;
  good.SetFileName("name.txt");
  MemoryStream full;
  good.WriteCentralHeader(full);
  std::vector<uint8_t> cutName(full.Data().begin(), full.Data().end() - 3);
  std::vector<uint8_t> wrongSig = full.Data();
  wrongSig[2] = 3;
  std::vector<Case> cases = {
      {"empty", {}}, {"short", {0x50, 0x4B, 1, 2}}, {"cut name", cutName}, {"wrong signature", wrongSig}};
  for (const Case& c : cases) {
    MemoryStream s(c.bytes);
    ZipEntry r;
    EXPECT_FALSE(r.ReadCentralHeader(s)) << c.label;
    EXPECT_EQ(s.Position(), 0u) << c.label;
    EXPECT_FALSE(r.ReadLocalHeader(s)) << c.label;
    EXPECT_EQ(s.Position(), 0u) << c.label;
  }
}

TEST(ZipRecords, HostDecidesNameConversion) {
  // 0x82 is e-acute in code page 437; as UTF-8 it is invalid on its own.
  struct Case {
    uint16_t madeBy;
    uint16_t flags;
    std::string stored;
    std::string expected;
  };
  std::vector<Case> cases = {
      {0x0014, 0, "caf\x82", "caf\xC3\xA9"},              // MS-DOS host: code page 437
      {0x0314, 0, "caf\xC3\xA9", "caf\xC3\xA9"},          // Unix host, valid UTF-8: as is
      {0x0314, 0, "caf\x82", "caf\x82"},                  // Unix host, not UTF-8: byte for byte
      {0x0B14, 0, "caf\x82", "caf\xC3\xA9"},              // other host, not UTF-8: code page 437
      {0x0014, kFlagUtf8, "caf\xC3\xA9", "caf\xC3\xA9"},  // bit 11: UTF-8
  };
  for (const Case& c : cases) {
    ZipEntry h;
    std::vector<uint8_t> raw;
    PutLE32(raw, kCentralHeaderSig);
    PutLE16(raw, c.madeBy);
    PutLE16(raw, 20);
    PutLE16(raw, c.flags);
    for (int i = 0; i < 18; ++i) raw.push_back(0);
    PutLE16(raw, static_cast<uint16_t>(c.stored.size()));
    for (int i = 0; i < 16; ++i) raw.push_back(0);
    PutBytes(raw, c.stored);
    MemoryStream s(raw);
    ASSERT_TRUE(h.ReadCentralHeader(s));
    EXPECT_EQ(h.FileName(), c.expected) << std::hex << c.madeBy;
  }
}

TEST(ZipRecords, NonAsciiNamesAreWrittenAsUtf8WithFlag) {
  ZipEntry h;
  h.SetFileName("cafe.txt");
  EXPECT_EQ(h.fileNameLength, 8);
  EXPECT_EQ(h.flags & kFlagUtf8, 0);
  h.SetFileName("\xE6\x97\xA5.txt");  // a CJK character: needs UTF-8
  EXPECT_EQ(h.fileNameLength, 7);
  EXPECT_NE(h.flags & kFlagUtf8, 0);
  MemoryStream s;
  ASSERT_TRUE(h.WriteLocalHeader(s));
  s.Seek(0);
  ZipEntry r;
  ASSERT_TRUE(r.ReadLocalHeader(s));
  EXPECT_EQ(r.FileName(), "\xE6\x97\xA5.txt");
}

TEST(ZipRecords, Zip64ExtraSuppliesLocalSizes) {
  std::vector<uint8_t> raw;
  PutLE32(raw, kLocalHeaderSig);
  PutLE16(raw, 45);
  PutLE16(raw, 0);
  PutLE16(raw, 8);
  PutLE32(raw, 0);
  PutLE32(raw, 0x12345678);
  PutLE32(raw, 0xFFFFFFFF);
  PutLE32(raw, 0xFFFFFFFF);
  PutLE16(raw, 1);
  PutLE16(raw, 20);
  raw.push_back('-');
  PutLE16(raw, kExtraZip64);
  PutLE16(raw, 16);
  PutLE64(raw, 19934);
  PutLE64(raw, 8595);
  raw.push_back(0xAA);  // first data byte
  MemoryStream s(raw);
  ZipEntry h;
  ASSERT_TRUE(h.ReadLocalHeader(s));
  EXPECT_EQ(h.uncompressedSize, 19934u);
  EXPECT_EQ(h.compressedSize, 8595u);
  EXPECT_EQ(h.localExtraFieldLength, 20);
  EXPECT_EQ(s.Position(), raw.size() - 1);

  EXPECT_TRUE(h.localZip64);

  raw[raw.size() - 17 + 4] = 1;  // uncompressed high dword: a size past 4 GiB
  MemoryStream big(raw);
  ASSERT_TRUE(h.ReadLocalHeader(big));
  EXPECT_EQ(h.uncompressedSize, (uint64_t{1} << 32) + 19934);
}

// Each time goes into the field that holds it: the extended timestamp for 1970..2106 (unsigned, so
// 2090 stays 2090), the NTFS field with its 100 ns before 1970 and after 2106.
TEST(ZipRecords, TimesBeforeAndAfterTheUnixRangeComeBack) {
  const struct {
    int64_t seconds;
    uint32_t nanos;
    uint32_t expectedNanos;
    uint16_t field;
  } cases[] = {
      {169898407, 0, 0, kExtraTimestamp},              // 1975
      {3800001601, 123456789, 0, kExtraTimestamp},     // 2090: whole seconds
      {-144676795, 250000099, 250000000, kExtraNtfs},  // 1965: 100 ns steps
      {int64_t{5000000000}, 100, 100, kExtraNtfs},     // 2128
      {-11644473599, 0, 0, kExtraNtfs},                // 1601, the NTFS field's first year
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.seconds);
    ZipEntry h;
    h.SetFileName("t.txt");
    h.dateTime = platform::DosDateTimeFromTime(static_cast<std::time_t>(c.seconds));
    h.unixTime = c.seconds;
    h.timeNanos = c.nanos;
    MemoryStream central, local;
    ASSERT_TRUE(h.WriteCentralHeader(central));
    ASSERT_TRUE(h.WriteLocalHeader(local));
    uint16_t id = 0;
    ASSERT_TRUE(GetLE16(central.Data().data(), central.Data().size(), kCentralHeaderSize + 5, id));
    EXPECT_EQ(id, c.field);
    for (MemoryStream* s : {&central, &local}) {
      s->Seek(0);
      ZipEntry r;
      ASSERT_TRUE(s == &central ? r.ReadCentralHeader(*s) : r.ReadLocalHeader(*s));
      ASSERT_TRUE(r.unixTime.has_value());
      EXPECT_EQ(*r.unixTime, c.seconds);
      EXPECT_EQ(r.timeNanos, c.expectedNanos);
    }
  }
}

TEST(EndCentral, WrittenSizesWithAndWithoutComment) {
  EndOfCentralDir e;
  MemoryStream plain;
  ASSERT_TRUE(e.Write(plain));
  EXPECT_EQ(plain.Data(), Bytes({0x50, 0x4B, 5, 6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  e.SetComment("abc");
  EXPECT_EQ(e.zipCommentLength, 3);
  MemoryStream withComment;
  ASSERT_TRUE(e.Write(withComment));
  EXPECT_EQ(withComment.Data().size(), 25u);
  EXPECT_EQ(withComment.Data()[20], 3);
  e.SetComment("");
  EXPECT_FALSE(e.HasComment());
}

TEST(EndCentral, FindByLength) {
  MemoryStream empty;
  EndOfCentralDir e;
  EXPECT_TRUE(e.FindAndRead(empty));
  for (size_t n : {1, 5, 21}) {
    MemoryStream s(std::vector<uint8_t>(n, 'P'));
    EXPECT_FALSE(e.FindAndRead(s)) << n;
  }
}

TEST(EndCentral, TheRecordWhoseCommentEndsTheFileWinsAndFieldsAreRead) {
  // Comments holding an end signature, one of them a whole empty end record.
  std::string emptyEnd = "PK\x05\x06";
  emptyEnd.append(18, '\0');
  for (std::string comment : {std::string("PK\x05\x06") + std::string(30, 'x'), emptyEnd}) {
    EndOfCentralDir e;
    e.totalEntries = e.entriesThisDisk = 3;
    e.centralSize = 100;
    e.centralOffset = 200;
    e.SetComment(comment);
    MemoryStream s;
    s.Write("prefix", 6);
    ASSERT_TRUE(e.Write(s));
    EndOfCentralDir r;
    ASSERT_TRUE(r.FindAndRead(s));
    EXPECT_EQ(r.recordPos, 6u);
    EXPECT_EQ(r.totalEntries, 3);
    EXPECT_EQ(r.zipCommentLength, comment.size());
  }

  // Without a record that reaches the end, the last signature is taken (bytes behind an archive).
  EndOfCentralDir e;
  e.SetComment("abc");
  MemoryStream s;
  s.Write("prefix", 6);
  ASSERT_TRUE(e.Write(s));
  const std::string trailing = "PK\x05\x06" + std::string(24, 'x');
  s.Write(trailing.data(), trailing.size());
  EndOfCentralDir r;
  ASSERT_TRUE(r.FindAndRead(s));
  EXPECT_EQ(r.recordPos, 6u + 25);

  EndOfCentralDir plainEnd;
  plainEnd.totalEntries = 3;
  plainEnd.centralOffset = 200;
  plainEnd.SetComment("abc");
  MemoryStream t;
  t.Write("prefix", 6);
  plainEnd.Write(t);
  ASSERT_TRUE(r.FindAndRead(t));
  EXPECT_EQ(r.totalEntries, 3);
  EXPECT_EQ(r.centralOffset, 200u);
  EXPECT_EQ(r.zipCommentLength, 3);
  EXPECT_EQ(r.zipCommentPos, 28u);
  EXPECT_FALSE(r.HasComment());
}

TEST(EndCentral, CopyKeepsCommentButNotTheChangedMark) {
  EndOfCentralDir a;
  a.SetComment("text");
  a.commentChanged = true;
  a.totalEntries = 4;
  EndOfCentralDir b = a;
  EXPECT_EQ(b.Comment(), "text");
  EXPECT_EQ(b.totalEntries, 4);
  EXPECT_FALSE(b.commentChanged);
  EndOfCentralDir none;
  b = none;
  EXPECT_FALSE(b.HasComment());
  EXPECT_EQ(b.zipCommentLength, 0);
}

}  // namespace
}  // namespace brisko::zip
