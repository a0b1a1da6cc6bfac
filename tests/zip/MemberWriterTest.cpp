// Tests of the member data writer: store-vs-deflate, flags, text decision, encryption, full output.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/Files.h"
#include "support/ThrownMessage.h"
#include "support/ZipBuilder.h"
#include "zip/crypto/ZipCrypto.h"
#include "zip/format/ZipErrors.h"
#include "zip/io/MemoryStream.h"
#include "zip/write/MemberWriter.h"

using namespace brisko::zip;
using brisko::test::ThrownMessage;

namespace {

std::vector<uint8_t> RandomBytes(size_t n, unsigned seed) {
  return brisko::test::Bytes(brisko::test::RandomText(n, seed));
}

std::vector<uint8_t> TextBytes(size_t n) {
  return brisko::test::Bytes(brisko::test::TextOf(n));
}

struct Written {
  ZipEntry header;
  std::vector<uint8_t> archive;
  size_t dataStart = 0;
  uint64_t progress = 0;
};

// A file that grows by one block at every read, as a log being written while it is backed up.
class GrowingStream : public MemoryStream {
 public:
  using MemoryStream::MemoryStream;
  size_t Read(void* buffer, size_t n) override {
    const uint64_t at = Position();
    Seek(Size());
    const std::vector<uint8_t> more(64 * 1024, static_cast<uint8_t>('a' + reads_++ % 26));
    if (reads_ < 8) Write(more.data(), more.size());
    Seek(at);
    return MemoryStream::Read(buffer, n);
  }

 private:
  int reads_ = 0;
};

Written WriteMember(const std::vector<uint8_t>& content, int level, bool store,
                    const std::string& password = {}, bool growing = false) {
  Written w;
  GrowingStream growingIn(content);
  MemoryStream plainIn(content);
  MemoryStream& in = growing ? growingIn : plainIn;
  MemoryStream out;
  w.header.SetFileName("member.bin");
  w.header.dateTime = 0x58A17B2Cu;
  EXPECT_TRUE(w.header.WriteLocalHeader(out));
  w.dataStart = static_cast<size_t>(out.Position());
  MemberWriter writer;
  writer.SetPackLevel(level);
  writer.SetPassword(password);
  struct Progress : MemberWriterListener {
    uint64_t& bytes;
    explicit Progress(uint64_t& b) : bytes(b) {}
    void OnBlockRead(size_t n) override { bytes += n; }
    void AfterWrite() override {}
  } progress(w.progress);
  writer.SetListener(&progress);
  writer.WriteFileData(in, out, w.header, store, "member.bin");
  const size_t descriptor = password.empty() ? 0 : kDataDescriptorSize;
  EXPECT_EQ(out.Position(), w.dataStart + w.header.compressedSize + descriptor);
  w.archive = out.Data();
  w.archive.resize(static_cast<size_t>(out.Position()));
  return w;
}

TEST(MemberWriter, StoreOrDeflateDecisions) {
  struct Case {
    const char* label;
    std::vector<uint8_t> content;
    int level;
    bool store;
    uint16_t method;
    uint16_t levelFlags;
    uint16_t internal;
  };
  std::vector<uint8_t> binaryCompressible(50000);
  for (size_t i = 0; i < binaryCompressible.size(); ++i)
    binaryCompressible[i] = static_cast<uint8_t>(i % 7 ? 0 : 200);
  const Case cases[] = {
      {"text level 6", TextBytes(100000), 6, false, kMethodDeflated, 0, 1},
      {"text level 9", TextBytes(100000), 9, false, kMethodDeflated, kFlagDeflateMax, 1},
      {"text level 1", TextBytes(100000), 1, false, kMethodDeflated, kFlagDeflateFast, 1},
      {"text level 2", TextBytes(1000), 2, false, kMethodDeflated, kFlagDeflateFast, 1},
      {"binary compressible", binaryCompressible, 6, false, kMethodDeflated, 0, 0},
      {"random small", RandomBytes(3000, 1), 9, false, kMethodStored, kFlagDeflateMax, 0},
      {"random one block", RandomBytes(200000, 2), 6, false, kMethodStored, 0, 0},
      {"random many blocks", RandomBytes(900000, 3), 8, false, kMethodStored, kFlagDeflateMax, 0},
      {"empty", {}, 6, false, kMethodStored, 0, 1},
      {"tiny text", TextBytes(3), 6, false, kMethodStored, 0, 1},
      {"level 0", TextBytes(5000), 0, false, kMethodStored, 0, 0},
      {"no-compress list", TextBytes(5000), 6, true, kMethodStored, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    Written w = WriteMember(c.content, c.level, c.store);
    EXPECT_EQ(w.header.compressionMethod, c.method);
    EXPECT_EQ(w.header.flags & (kFlagDeflateMax | kFlagDeflateFast | kFlagEncrypted), c.levelFlags);
    EXPECT_EQ(w.header.internalAttributes, c.internal);
    EXPECT_EQ(w.header.uncompressedSize, c.content.size());
    EXPECT_EQ(w.header.crc32, brisko::test::CrcOf(c.content));
    EXPECT_EQ(w.progress, c.content.size());
    const uint8_t* data = w.archive.data() + w.dataStart;
    std::vector<uint8_t> back =
        c.method == kMethodStored
            ? std::vector<uint8_t>(data, data + w.header.compressedSize)
            : brisko::test::RawInflateBytes(data, w.header.compressedSize, c.content.size());
    EXPECT_EQ(back, c.content);
    if (c.method == kMethodStored) {
      EXPECT_EQ(w.header.compressedSize, c.content.size());
    }
    // The local header was rewritten in place with the final values.
    ZipEntry local;
    MemoryStream reread(w.archive);
    ASSERT_TRUE(local.ReadLocalHeader(reread));
    EXPECT_EQ(local.crc32, w.header.crc32);
    EXPECT_EQ(local.compressedSize, w.header.compressedSize);
    EXPECT_EQ(local.compressionMethod, w.header.compressionMethod);
  }
}

// Encrypted members are written in one pass: the check byte comes from the time, a data descriptor
// follows, and a file that grows while it is read is stored as read.
TEST(MemberWriter, EncryptedMembersDecryptToWhatWasRead) {
  struct Case {
    std::vector<uint8_t> content;
    int level;
    bool growing;
  } cases[] = {
      {TextBytes(70000), 6, false}, {RandomBytes(400000, 4), 6, false}, {{}, 6, false},
      {TextBytes(300000), 6, true}, {RandomBytes(300000, 5), 6, true},  {TextBytes(300000), 0, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.content.size()) + (c.growing ? " growing" : ""));
    Written w = WriteMember(c.content, c.level, false, "secret", c.growing);
    EXPECT_EQ(w.header.flags & (kFlagEncrypted | kFlagDataDescriptor), kFlagEncrypted | kFlagDataDescriptor);
    ASSERT_GE(w.header.compressedSize, 12u);
    std::vector<uint8_t> data(w.archive.begin() + static_cast<long>(w.dataStart),
                              w.archive.end() - kDataDescriptorSize);
    const std::vector<uint8_t> descriptor(w.archive.end() - kDataDescriptorSize, w.archive.end());
    EXPECT_EQ(descriptor,
              (std::vector<uint8_t>{
                  0x50, 0x4B, 0x07, 0x08, uint8_t(w.header.crc32), uint8_t(w.header.crc32 >> 8),
                  uint8_t(w.header.crc32 >> 16), uint8_t(w.header.crc32 >> 24),
                  uint8_t(w.header.compressedSize), uint8_t(w.header.compressedSize >> 8),
                  uint8_t(w.header.compressedSize >> 16), uint8_t(w.header.compressedSize >> 24),
                  uint8_t(w.header.uncompressedSize), uint8_t(w.header.uncompressedSize >> 8),
                  uint8_t(w.header.uncompressedSize >> 16), uint8_t(w.header.uncompressedSize >> 24)}));
    ZipCrypto crypto;
    EXPECT_EQ(ZipCrypto::CheckByte(w.header), 0x7B);
    ASSERT_TRUE(crypto.CheckHeader("secret", data.data(), ZipCrypto::CheckByte(w.header)));
    crypto.Decrypt(data.data() + 12, data.size() - 12);
    std::vector<uint8_t> back =
        w.header.compressionMethod == kMethodStored
            ? std::vector<uint8_t>(data.begin() + 12, data.end())
            : brisko::test::RawInflateBytes(data.data() + 12, data.size() - 12, w.header.uncompressedSize);
    EXPECT_EQ(brisko::test::CrcOf(back), w.header.crc32);
    EXPECT_EQ(back.size(), w.header.uncompressedSize);
    const std::vector<uint8_t> start(back.begin(), back.begin() + static_cast<long>(c.content.size()));
    EXPECT_EQ(start, c.content);
    EXPECT_EQ(back.size() > c.content.size(), c.growing);
    if (c.content.empty()) {
      EXPECT_EQ(w.header.compressedSize, 12u);
      EXPECT_EQ(w.header.crc32, 0u);
    }
  }
}

TEST(MemberWriter, ShortWritesRaiseNotEnoughRoom) {
  for (uint64_t limit : {40u, 1000u, 70000u}) {
    SCOPED_TRACE(limit);
    MemoryStream in(TextBytes(200000));
    MemoryStream out;
    out.SetWriteLimit(limit);
    ZipEntry header;
    header.SetFileName("a.txt");
    ASSERT_TRUE(header.WriteLocalHeader(out));
    MemberWriter writer;
    writer.SetPackLevel(0);
    EXPECT_EQ(
        ThrownMessage<NotEnoughRoomError>([&] { writer.WriteFileData(in, out, header, false, "a.txt"); }),
        "Not enough room to write archive");
  }
}

TEST(MemberWriter, TextDecision) {
  std::vector<uint8_t> mixed(100, 'a');
  for (int i = 0; i < 25; ++i) mixed[static_cast<size_t>(i)] = 0;  // 75 / 4 = 18 < 25
  EXPECT_FALSE(LooksLikeText(mixed.data(), mixed.size()));
  for (int i = 0; i < 7; ++i) mixed[static_cast<size_t>(i)] = 'b';  // 82 / 4 = 20 >= 18
  EXPECT_TRUE(LooksLikeText(mixed.data(), mixed.size()));
  EXPECT_TRUE(LooksLikeText(nullptr, 0));
}

}  // namespace
