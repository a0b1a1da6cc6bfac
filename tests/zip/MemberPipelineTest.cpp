// Tests of the member pipeline: the archive does not depend on the thread count, members passed over
// are dropped, and a cancelled run stops and leaves no archive.
#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

#include "TestWriter.h"
#include "platform/Platform.h"
#include "support/Commands.h"
#include "support/FixedRandom.h"
#include "support/ScratchDir.h"
#include "zip/extract/ArchiveCheck.h"
#include "zip/format/ByteIO.h"
#include "zip/format/ZipErrors.h"
#include "zip/io/MemoryStream.h"
#include "zip/threads/MemberPipeline.h"
#include "zip/write/WriteJob.h"

using namespace brisko::zip;
using namespace brisko::test;

namespace {

class MemberPipelineTest : public ScratchDir {
 protected:
  // Small and large (read whole or streamed), text and random, empty, never-deflated and folder entries.
  std::vector<std::string> MixedFiles() {
    std::vector<std::string> files;
    for (int i = 0; i < 40; ++i)
      files.push_back(Write("src/t" + std::to_string(i) + ".txt", TextOf(static_cast<size_t>(i) * 997)));
    files.push_back(Write("src/random.bin", RandomText(300000, 7)));
    files.push_back(Write("src/empty.txt", ""));
    files.push_back(Write("src/photo.jpg", TextOf(5000)));
    files.push_back(Write("src/large.txt", TextOf(kWholeMemberLimit + 12345)));
    files.push_back(Write("src/large.bin", RandomText(kWholeMemberLimit + 6789, 9)));
    files.push_back(P("src/"));
    return files;
  }

  std::string ZipWith(const std::vector<std::string>& files, const std::string& name, int threads,
                      const std::string& password, const WriterSizes& sizes = {},
                      MemberEncryption encryption = MemberEncryption::Traditional) {
    fs::remove(P(name));
    TestWriter w;
    w.SetZipName(P(name));
    w.Options().threads = threads;
    w.Options().password = password;
    w.Options().sizes = sizes;
    w.Options().encryption = encryption;
    // The same bytes on every call, from any thread: salts and encryption headers do not depend on
    // which thread asked first.
    FixedRandom fixed;
    w.Options().randomSource = &fixed;
    w.Options().noCompressList = {"*.jpg"};
    w.Options().filesList = files;
    EXPECT_EQ(w.Run(), static_cast<int>(files.size()));
    return Read(P(name));
  }
};

TEST_F(MemberPipelineTest, ArchiveIsTheSameForAnyThreadCount) {
  BRISKO_SKIP_WITHOUT_POSIX_SHELL();
  const std::vector<std::string> files = MixedFiles();
  struct Case {
    const char* password;
    MemberEncryption encryption;
  };
  for (const Case& c :
       {Case{"", MemberEncryption::Traditional}, Case{"secret", MemberEncryption::Traditional},
        Case{"secret", MemberEncryption::Aes256}}) {
    const std::string one = ZipWith(files, "one.zip", 1, c.password, {}, c.encryption);
    EXPECT_TRUE(ZipWith(files, "two.zip", 2, c.password, {}, c.encryption) == one) << c.password;
    EXPECT_TRUE(ZipWith(files, "four.zip", 4, c.password, {}, c.encryption) == one) << c.password;
  }
  // AES members sealed by the workers, read back with their authentication codes.
  const ArchiveCheck sealed = CheckArchive(P("four.zip"), "secret");
  EXPECT_TRUE(sealed.Ok()) << sealed.Summary();
  EXPECT_EQ(sealed.members, 46);
  // The plain archive checked by the reference reader (its decryption is too slow for megabytes).
  ZipWith(files, "four.zip", 4, "");
  std::string listing;
  EXPECT_EQ(PythonZipCheck(P("four.zip"), "", P("src"), &listing), 0) << listing;
  // Random data is found out on a sample and stored, small or large.
  EXPECT_NE(listing.find("random.bin\t0\t"), std::string::npos) << listing;
  EXPECT_NE(listing.find("large.bin\t0\t"), std::string::npos) << listing;
  EXPECT_NE(listing.find("large.txt\t8\t"), std::string::npos) << listing;
}

// Sizes shrunk a thousandfold stand for files beyond what is read whole (deflated in chunks) and
// beyond 4 GiB (64-bit sizes in the local header and in the data descriptor).
TEST_F(MemberPipelineTest, ChunkedMembersGetRoomFor64BitSizesAndTheSameBytesForAnyThreadCount) {
  BRISKO_SKIP_WITHOUT_POSIX_SHELL();
  WriterSizes sizes;
  sizes.wholeMember = 40000;
  sizes.chunk = 16384;
  sizes.localZip64From = 100000;
  struct Case {
    std::string name, data;
    bool zip64;
    uint16_t method;
  };
  const Case cases[] = {
      {"whole.txt", TextOf(30000), false, kMethodDeflated},
      {"chunked.txt", TextOf(90000) + RandomText(5000, 1), false, kMethodDeflated},
      {"big.txt", TextOf(250000) + RandomText(30000, 2) + TextOf(20000), true, kMethodDeflated},
      {"big.bin", RandomText(150000, 3), true, kMethodStored},
  };
  std::vector<std::string> files;
  for (const Case& c : cases) files.push_back(Write("z/" + c.name, c.data));
  for (const std::string password : {"", "secret"}) {
    SCOPED_TRACE(password);
    const std::string one = ZipWith(files, "one.zip", 1, password, sizes);
    ASSERT_TRUE(ZipWith(files, "two.zip", 2, password, sizes) == one);
    std::string listing;
    EXPECT_EQ(PythonZipCheck(P("two.zip"), password, P("z"), &listing), 0) << listing;
    ArchiveDirectory reader;
    reader.SetZipName(P("two.zip"));
    reader.ReadDirectory();
    ASSERT_EQ(reader.EntryCount(), 4);
    MemoryStream archive(std::vector<uint8_t>(one.begin(), one.end()));
    for (int i = 0; i < 4; ++i) {
      const ZipEntry& central = reader.Entry(i);
      const auto found = std::find_if(std::begin(cases), std::end(cases),
                                      [&](const Case& c) { return c.name == central.FileName(); });
      ASSERT_NE(found, std::end(cases)) << central.FileName();
      const Case& c = *found;
      SCOPED_TRACE(c.name);
      EXPECT_EQ(central.compressionMethod, c.method);
      ZipEntry local;
      ASSERT_TRUE(archive.Seek(central.relativeOffset) && local.ReadLocalHeader(archive));
      EXPECT_EQ(local.localZip64, c.zip64);
      EXPECT_EQ(local.uncompressedSize, c.data.size());
      EXPECT_EQ(local.compressedSize, central.compressedSize);
      if (password.empty()) continue;
      // The descriptor behind encrypted data: 64-bit sizes exactly where the local header has room.
      const size_t at = central.relativeOffset + local.LocalSize() + central.compressedSize;
      const auto* bytes = reinterpret_cast<const uint8_t*>(one.data());
      uint64_t size = 0;
      uint32_t size32 = 0;
      if (c.zip64)
        GetLE64(bytes, one.size(), at + 16, size);
      else if (GetLE32(bytes, one.size(), at + 12, size32))
        size = size32;
      EXPECT_EQ(size, c.data.size());
    }
  }
  // AES: sealed by the workers when read whole, encrypted as streamed otherwise, with 64-bit sizes
  // in the local header next to the AES field.
  const std::string one = ZipWith(files, "one.zip", 1, "secret", sizes, MemberEncryption::Aes256);
  ASSERT_TRUE(ZipWith(files, "two.zip", 2, "secret", sizes, MemberEncryption::Aes256) == one);
  const ArchiveCheck check = CheckArchive(P("two.zip"), "secret");
  EXPECT_TRUE(check.Ok()) << check.Summary();
  EXPECT_EQ(check.members, 4);
  ArchiveDirectory reader;
  reader.SetZipName(P("two.zip"));
  reader.ReadDirectory();
  for (int i = 0; i < reader.EntryCount(); ++i) {
    const ZipEntry& central = reader.Entry(i);
    EXPECT_EQ(central.compressionMethod, kMethodAes) << central.FileName();
    EXPECT_TRUE(central.aes) << central.FileName();
  }
}

TEST_F(MemberPipelineTest, RefusedFilesAreNeverOpenedAndTheRestFollowInOrder) {
  BRISKO_SKIP_WITHOUT_POSIX_SHELL();
  std::vector<std::string> files;
  for (int i = 0; i < 100; ++i) files.push_back(Write("s/f" + std::to_string(i) + ".txt", TextOf(1000 + i)));
  TestWriter w;
  w.SetZipName(P("skip.zip"));
  w.Options().threads = 2;
  w.Options().filesList = files;
  // Decided from the walk's status alone: file i holds 1000 + i bytes, every third is taken.
  w.Options().select = [](const std::string&, const brisko::platform::FileStat& status) {
    return status.size % 3 == 1;
  };
  std::mutex mutex;
  std::vector<std::string> opened;
  w.Options().beforeSourceRead = [&](const std::string& path) {
    std::lock_guard<std::mutex> lock(mutex);
    opened.push_back(path);
  };
  EXPECT_EQ(w.Run(), 34);
  for (const std::string& path : opened) EXPECT_EQ(brisko::platform::StatFile(path).size % 3, 1u) << path;
  std::string listing;
  EXPECT_EQ(PythonZipCheck(P("skip.zip"), "", P("s"), &listing), 0) << listing;
  EXPECT_EQ(listing.find("f1.txt"), std::string::npos);
  EXPECT_NE(listing.find("f99.txt"), std::string::npos);
}

TEST_F(MemberPipelineTest, TakeHandsOverEachJobOnceAndNullForWhatIsNotPrepared) {
  const std::string small = Write("a.txt", TextOf(5000));
  std::vector<MemberPipeline::Job> jobs = {{small, false}, {P("missing"), false}, {"", false}, {small, true}};
  MemberPipeline pipeline(jobs, 6, 2);
  auto first = pipeline.Take(0);
  ASSERT_TRUE(first);
  EXPECT_TRUE(first->Deflated());
  EXPECT_EQ(first->raw.size(), 5000u);
  EXPECT_FALSE(pipeline.Take(1));
  EXPECT_FALSE(pipeline.Take(2));
  auto stored = pipeline.Take(3);
  ASSERT_TRUE(stored);
  EXPECT_FALSE(stored->Deflated());
  EXPECT_EQ(stored->crc, first->crc);
}

TEST_F(MemberPipelineTest, CancelStopsTheRunAndRemovesThePartialArchive) {
  std::vector<std::string> files;
  for (int i = 0; i < 200; ++i)
    files.push_back(Write("c/f" + std::to_string(i) + ".bin", RandomText(20000, i)));
  TestWriter w;
  w.SetZipName(P("cancel.zip"));
  w.Options().threads = 2;
  w.Options().filesList = files;
  int ended = 0;
  w.onEndZip = [&](const std::string&, int64_t, int64_t, int64_t) {
    if (++ended == 50) w.cancel = true;
  };
  EXPECT_THROW(w.Run(), CanceledError);
  EXPECT_LE(ended, 51);
  EXPECT_FALSE(fs::exists(P("cancel.zip")));
}

}  // namespace
