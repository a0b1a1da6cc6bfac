// Archives built to attack the extractor: escaping paths, planted symbolic links, size lies and
// malformed legacy streams. Nothing may land outside the target folder and no output may exceed its size.
#include <gtest/gtest.h>

#include "Extraction.h"
#include "support/TestEnvironment.h"
#include "support/ZipBuilder.h"
#include "zip/extract/EntryCheck.h"
#include "zip/extract/EntryTest.h"

namespace brisko::zip::test {
namespace {

class HostileArchiveTest : public ScratchDir {
 protected:
  void SetUp() override {
    ScratchDir::SetUp();
    fs::create_directories(P("target"));
    fs::create_directories(P("outside"));
  }
  // Extracts members into P("target") with stored folders recreated and overwriting allowed.
  // Returns what the run reported.
  RunLog Extract(const std::vector<TestMember>& members) {
    WriteBytes(P("hostile.zip"), BuildZip(members));
    Extraction reader;
    reader.archive.SetZipName(P("hostile.zip"));
    reader.options.destDir = P("target");
    reader.options.doAll = true;
    reader.options.recreateDirs = true;
    reader.options.overwriteMode = OverwriteRule::Always;
    reader.Run();
    return reader.log;
  }
  // Every file below the test folder outside "target" (apart from the archive itself).
  std::vector<std::string> FilesOutsideTarget() {
    std::vector<std::string> files;
    for (const std::string& f : FilesBelow(dir_.Path()))
      if (f.rfind("target/", 0) != 0 && f != "hostile.zip") files.push_back(f);
    return files;
  }
};

TEST_F(HostileArchiveTest, DotDotEntriesAreSkippedAndReported) {
  const char* names[] = {"../evil.txt", "a/../../evil.txt", "a/b/../../../outside/evil.txt", "..", "a/.."};
  for (const char* name : names) {
    SCOPED_TRACE(name);
    const RunLog log = Extract({StoredMember(name, "evil"), StoredMember("good.txt", "good")});
    EXPECT_TRUE(log.SkippedWith(SkipReason::CreateError));
    EXPECT_TRUE(FilesOutsideTarget().empty());
    EXPECT_EQ(Read(P("target/good.txt")), "good");
  }
}

TEST_F(HostileArchiveTest, AbsoluteNamesLandBelowTheTarget) {
  BRISKO_POSIX_ONLY("symbolic links and absolute POSIX names");
  const std::string outside = P("outside/abs.txt");
  Extract(
      {StoredMember(outside.substr(1), "rel"), StoredMember(outside, "abs"), StoredMember("//x/y.txt", "y")});
  EXPECT_FALSE(fs::exists(outside));
  EXPECT_EQ(Read(P("target") + outside), "abs");
  EXPECT_EQ(Read(P("target/x/y.txt")), "y");
}

TEST_F(HostileArchiveTest, SymbolicLinkInTheTargetIsNotFollowed) {
  BRISKO_POSIX_ONLY("symbolic links and absolute POSIX names");
  fs::create_directory_symlink(P("outside"), P("target/link"));
  fs::create_directory_symlink("../outside", P("target/rel"));
  fs::create_directories(P("target/real"));
  fs::create_directory_symlink(P("target"), P("target/real/up"));  // inside, then out via "rel"
  const RunLog log =
      Extract({StoredMember("link/evil.txt", "evil"), StoredMember("link/deeper/evil.txt", "evil"),
               StoredMember("rel/evil.txt", "evil"), StoredMember("real/up/rel/evil.txt", "evil")});
  EXPECT_EQ(log.skipped.size(), 4u);
  EXPECT_TRUE(log.SkippedWith(SkipReason::CreateError));
  EXPECT_TRUE(FilesOutsideTarget().empty());
}

TEST_F(HostileArchiveTest, SymbolicLinkThatStaysInsideTheTargetIsFollowed) {
  BRISKO_POSIX_ONLY("symbolic links and absolute POSIX names");
  fs::create_directories(P("target/real"));
  fs::create_directory_symlink(P("target/real"), P("target/inner"));
  fs::create_directory_symlink("real", P("target/relative"));
  const RunLog log = Extract({StoredMember("inner/a.txt", "a"), StoredMember("relative/b.txt", "b")});
  EXPECT_TRUE(log.skipped.empty());
  EXPECT_EQ(Read(P("target/real/a.txt")), "a");
  EXPECT_EQ(Read(P("target/real/b.txt")), "b");
}

TEST_F(HostileArchiveTest, SymbolicLinkAsTheTargetFileIsReplacedNotWrittenThrough) {
  BRISKO_POSIX_ONLY("symbolic links and absolute POSIX names");
  Write(P("outside/victim.txt"), "precious");
  fs::create_symlink(P("outside/victim.txt"), P("target/f.txt"));
  Extract({StoredMember("f.txt", "new")});
  EXPECT_EQ(Read(P("outside/victim.txt")), "precious");
  EXPECT_FALSE(fs::is_symlink(P("target/f.txt")));
  EXPECT_EQ(Read(P("target/f.txt")), "new");
}

TEST_F(HostileArchiveTest, DeflateStreamLongerThanItsRecordedSize) {
  const std::vector<uint8_t> plain(1 << 20, 'z');
  TestMember bomb = DeflatedMember("bomb.bin", plain);
  bomb.uncompressedSize = 1000;  // claims little, inflates to a megabyte
  const RunLog log = Extract({bomb, StoredMember("after.txt", "after")});
  EXPECT_EQ(log.badCrc.size(), 1u);
  EXPECT_FALSE(fs::exists(P("target/bomb.bin")));
  EXPECT_EQ(Read(P("target/after.txt")), "after");

  // In memory the output stops at the recorded size too.
  ArchiveDirectory archive;
  archive.SetZipName(P("hostile.zip"));
  archive.ReadDirectory();
  std::vector<uint8_t> out;
  const EntryCheck check = ExtractToBuffer(archive, 0, "", 1 << 30, out);
  EXPECT_EQ(check.result, EntryResult::TooLarge);
  EXPECT_LE(out.size(), 1000u);
}

TEST_F(HostileArchiveTest, StoredDataLongerThanItsRecordedSize) {
  TestMember m = StoredMember("long.txt", std::string(4000, 'x'));
  m.uncompressedSize = 10;
  const RunLog log = Extract({m});
  EXPECT_EQ(log.badCrc.size(), 1u);
  EXPECT_FALSE(fs::exists(P("target/long.txt")));
}

TEST_F(HostileArchiveTest, MalformedLegacyStreamsFailTheirEntryOnly) {
  auto legacy = [](const std::string& name, uint16_t method, uint16_t flags, std::vector<uint8_t> data) {
    TestMember m;
    m.name = name;
    m.method = method;
    m.flags = flags;
    m.data = std::move(data);
    m.uncompressedSize = 5000;
    m.crc = 0x12345678;
    return m;
  };
  const RunLog log =
      Extract({legacy("implode_tree.bin", 6, 0, {0x03, 0xF0, 0xF0, 0xF0, 0xF0}),  // 64 codes of one bit
               legacy("implode_short.bin", 6, 6, {0x00, 0x05}),                   // too few lengths
               legacy("shrink_code.bin", 1, 0, {0x41, 0x58, 0x02}),               // 'A', then undefined code
               legacy("reduce_sets.bin", 5, 0, {0xFF, 0xFF, 0xFF}),               // follower set of 63
               legacy("empty_stream.bin", 8, 0, {}),                              // deflate with no data
               StoredMember("after.txt", "after")});
  EXPECT_EQ(log.badCrc.size(), 5u);
  EXPECT_EQ(FilesBelow(P("target")), std::vector<std::string>{"after.txt"});
}

TEST_F(HostileArchiveTest, NamesWithNulBytesAreRefused) {
  const RunLog log = Extract({StoredMember(std::string("a\0b.txt", 7), "x")});
  EXPECT_TRUE(log.SkippedWith(SkipReason::CreateError));
  EXPECT_TRUE(FilesBelow(P("target")).empty());
}

}  // namespace
}  // namespace brisko::zip::test
