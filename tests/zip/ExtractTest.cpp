// Extraction behaviour: selection, target folders, overwrite rules, passwords, attributes, cancel.
#include <gtest/gtest.h>

#include "EncryptedTestMember.h"
#include "Extraction.h"
#include "platform/DosDateTime.h"
#include "support/ThrownMessage.h"
#include "support/ZipBuilder.h"
#include "zip/crypto/ZipCrypto.h"
#include "zip/format/ZipErrors.h"

namespace brisko::zip::test {
namespace {

class ExtractTest : public ScratchDir {
 protected:
  std::string MakeZip(const std::vector<TestMember>& members, const std::string& name = "a.zip") {
    const std::string path = P(name);
    WriteBytes(path, BuildZip(members));
    return path;
  }
  // An extraction of archive with everything going into P("out").
  void Prepare(Extraction& reader, const std::string& archive, bool recreate = true) {
    reader.archive.SetZipName(archive);
    reader.options.destDir = P("out");
    reader.options.doAll = true;
    reader.options.recreateDirs = recreate;
  }
};

TEST_F(ExtractTest, RecreateDirsOnAndOff) {
  const std::string zip = MakeZip({StoredMember("top.txt", "T"), StoredMember("d1/a.txt", "A"),
                                   StoredMember("d1/d2/b.txt", "B"), StoredMember("empty/", "")});
  {
    Extraction reader;
    Prepare(reader, zip, true);
    EXPECT_EQ(reader.Run(), 4);
    EXPECT_EQ(FilesBelow(P("out")), (std::vector<std::string>{"d1/a.txt", "d1/d2/b.txt", "top.txt"}));
    EXPECT_TRUE(fs::is_directory(P("out/empty")));
    EXPECT_EQ(reader.log.completeCount, 4);
    EXPECT_EQ(reader.log.startInfoFiles, 3);
    EXPECT_EQ(reader.log.startInfoBytes, 3);
    EXPECT_EQ(reader.log.lastTotalPercent, 100);
  }
  fs::remove_all(P("out"));
  {
    Extraction reader;
    Prepare(reader, zip, false);
    reader.Run();
    EXPECT_EQ(FilesBelow(P("out")), (std::vector<std::string>{"a.txt", "b.txt", "top.txt"}));
    EXPECT_FALSE(fs::exists(P("out/empty")));
    EXPECT_EQ(reader.log.completeCount, 4);  // the folder entry counts with DoAll, though nothing is made
  }
}

TEST_F(ExtractTest, RootDirIsRemovedFromStoredFolders) {
  const std::string zip = MakeZip({StoredMember("DATA/sub/a.txt", "A"), StoredMember("other/b.txt", "B")});
  Extraction reader;
  Prepare(reader, zip);
  reader.options.rootDir = "data";
  reader.Run();
  EXPECT_EQ(FilesBelow(P("out")), (std::vector<std::string>{"other/b.txt", "sub/a.txt"}));
}

TEST_F(ExtractTest, MembersAreChosenByExactStoredName) {
  const std::string zip = MakeZip({StoredMember("a.txt", "A"), StoredMember("B.TXT", "B"),
                                   StoredMember("c.doc", "C"), StoredMember("sub/d.txt", "D")});
  Extraction reader;
  Prepare(reader, zip);
  reader.options.doAll = false;
  reader.options.members = {"a.txt", std::string("sub") + platform::kPathDelim + "d.txt"};
  reader.Run();
  EXPECT_EQ(FilesBelow(P("out")), (std::vector<std::string>{"a.txt", "sub/d.txt"}));
  EXPECT_EQ(reader.log.completeCount, 2);

  // No wildcard and no other case: a name is only itself.
  fs::remove_all(P("out"));
  reader.options.members = {"*.txt", "b.txt", "nothing"};
  reader.Run();
  EXPECT_TRUE(!fs::exists(P("out")) || FilesBelow(P("out")).empty());
  EXPECT_EQ(reader.log.completeCount, 0);
}

TEST_F(ExtractTest, EmptyFilesAreCreatedWithTheirTime) {
  TestMember empty = StoredMember("empty.dat", "");
  empty.dosDateTime = platform::MakeDosDateTime({2020, 2, 29, 13, 14, 16});
  const std::string zip = MakeZip({empty});
  Extraction reader;
  Prepare(reader, zip);
  reader.Run();
  EXPECT_EQ(reader.log.completeCount, 1);
  ASSERT_TRUE(fs::exists(P("out/empty.dat")));
  EXPECT_EQ(fs::file_size(P("out/empty.dat")), 0u);
  EXPECT_EQ(platform::StatFile(P("out/empty.dat")).lastWrite, platform::DosDateTimeToTime(empty.dosDateTime));
}

TEST_F(ExtractTest, OverwriteModes) {
  const uint32_t entryDos = platform::MakeDosDateTime({2021, 6, 15, 12, 34, 56});
  const std::time_t entryTime = platform::DosDateTimeToTime(entryDos);
  struct Case {
    const char* label;
    OverwriteRule mode;
    std::time_t fileTime;
    bool replaced;
  };
  const Case cases[] = {
      {"always", OverwriteRule::Always, entryTime, true},
      {"never", OverwriteRule::Never, entryTime - 100, false},
      {"newer: file older", OverwriteRule::IfNewer, entryTime - 100, true},
      {"newer: file newer", OverwriteRule::IfNewer, entryTime + 100, false},
      {"newer: same 2-second step", OverwriteRule::IfNewer, entryTime + 1, false},
      {"newer: equal", OverwriteRule::IfNewer, entryTime, false},
      {"older: file newer", OverwriteRule::IfOlder, entryTime + 100, true},
      {"older: file older", OverwriteRule::IfOlder, entryTime - 100, false},
      {"older: same 2-second step", OverwriteRule::IfOlder, entryTime + 1, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    TestMember m = StoredMember("f.txt", "new");
    m.dosDateTime = entryDos;
    const std::string zip = MakeZip({m});
    Write(P("out/f.txt"), "old");
    ASSERT_TRUE(platform::SetLastWriteTime(P("out/f.txt"), c.fileTime));
    Extraction reader;
    Prepare(reader, zip);
    reader.options.overwriteMode = c.mode;
    reader.Run();
    EXPECT_EQ(Read(P("out/f.txt")), c.replaced ? "new" : "old");
    EXPECT_EQ(reader.log.SkippedWith(SkipReason::NoOverwrite), !c.replaced);
    EXPECT_EQ(reader.log.completeCount, c.replaced ? 1 : 0);
  }
}

TEST_F(ExtractTest, PromptModeAsksTheHandlerAndKeepsFilesWithoutOne) {
  const std::string zip = MakeZip({StoredMember("f.txt", "new"), StoredMember("g.txt", "new")});
  Write(P("out/f.txt"), "old");
  Write(P("out/g.txt"), "old");
  Extraction reader;
  Prepare(reader, zip);
  std::vector<std::string> asked;
  reader.onPromptForOverwrite = [&](int, const std::string& fname) {
    asked.push_back(fs::path(fname).filename().string());
    return fname.find("f.txt") != std::string::npos ? ExistingFile::Replace : ExistingFile::Keep;
  };
  reader.Run();
  EXPECT_EQ(asked, (std::vector<std::string>{"f.txt", "g.txt"}));
  EXPECT_EQ(Read(P("out/f.txt")), "new");
  EXPECT_EQ(Read(P("out/g.txt")), "old");

  // Without an answer the existing file stays.
  Write(P("out/f.txt"), "old");
  Extraction unanswered;
  Prepare(unanswered, zip);
  unanswered.Run();
  EXPECT_EQ(Read(P("out/f.txt")), "old");
  EXPECT_EQ(unanswered.log.skipped.size(), 2u);
}

TEST_F(ExtractTest, WrongPasswordWithAndWithoutHandler) {
  const std::string zip =
      MakeZip({EncryptedMember("s1.txt", "secret one", "right"),
               EncryptedMember("s2.txt", "secret two", "right"), StoredMember("plain.txt", "plain")});
  {
    SCOPED_TRACE("no handler: every encrypted entry skipped with reason 0");
    Extraction reader;
    Prepare(reader, zip);
    reader.options.password = "wrong";
    reader.Run();
    EXPECT_EQ(reader.log.skipped.size(), 2u);
    EXPECT_TRUE(reader.log.SkippedWith(SkipReason::BadPassword));
    EXPECT_EQ(FilesBelow(P("out")), std::vector<std::string>{"plain.txt"});
    EXPECT_EQ(reader.log.completeCount, 1);
  }
  fs::remove_all(P("out"));
  {
    SCOPED_TRACE("handler gives the right password once; it stays for the next entry");
    Extraction reader;
    Prepare(reader, zip);
    reader.options.password = "wrong";
    int asked = 0;
    reader.onBadPassword = [&](int) {
      ++asked;
      return std::optional<std::string>("right");
    };
    reader.Run();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(reader.options.password, "right");
    EXPECT_EQ(Read(P("out/s1.txt")), "secret one");
    EXPECT_EQ(Read(P("out/s2.txt")), "secret two");
    EXPECT_EQ(reader.log.completeCount, 3);
  }
  fs::remove_all(P("out"));
  {
    SCOPED_TRACE("handler returning the same password: skipped");
    Extraction reader;
    Prepare(reader, zip);
    reader.options.password = "wrong";
    reader.onBadPassword = [&](int) { return std::optional<std::string>("wrong"); };
    reader.Run();
    EXPECT_EQ(reader.log.skipped.size(), 2u);
  }
  {
    SCOPED_TRACE("an exception from the handler ends the run; completion still reported");
    Extraction reader;
    Prepare(reader, zip);
    reader.options.password = "wrong";
    reader.options.members = {"x"};
    reader.onBadPassword = [&](int) -> std::optional<std::string> { throw CanceledError("silent"); };
    EXPECT_THROW(reader.Run(), CanceledError);
    EXPECT_EQ(reader.log.completeCalls, 1);
  }
}

TEST_F(ExtractTest, CancelMidEntryLeavesNoPartialFile) {
  std::vector<uint8_t> big(3 * 1024 * 1024);
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<uint8_t>(i * 2654435761u >> 13);
  const std::string zip = MakeZip({StoredMember("small.txt", "s"), DeflatedMember("big.bin", big)});
  Extraction reader;
  Prepare(reader, zip);
  reader.onFilePercentDone = [&](int percent) {
    if (percent > 0 && percent < 100) reader.cancel = true;
  };
  EXPECT_EQ(ThrownMessage<CanceledError>([&] { reader.Run(); }), "User Aborted Operation");
  EXPECT_EQ(reader.log.completeCalls, 1);
  EXPECT_EQ(reader.log.completeCount, 1);
  EXPECT_EQ(FilesBelow(P("out")), std::vector<std::string>{"small.txt"});
}

TEST_F(ExtractTest, StartInfoStopNowAndStartUnZipSkip) {
  const std::string zip = MakeZip({StoredMember("a.txt", "A"), StoredMember("b.txt", "B")});
  {
    Extraction reader;
    Prepare(reader, zip);
    reader.stopAtStart = true;
    reader.Run();
    EXPECT_EQ(reader.log.completeCount, 0);
    EXPECT_FALSE(fs::exists(P("out/a.txt")));
  }
  {
    Extraction reader;
    Prepare(reader, zip);
    reader.onStartUnZip = [&](int, const std::string& target) -> std::optional<std::string> {
      if (target.find("a.txt") != std::string::npos) return std::nullopt;
      return P("renamed/b2.txt");
    };
    reader.Run();
    EXPECT_EQ(reader.log.completeCount, 1);
    EXPECT_TRUE(reader.log.skipped.empty());
    EXPECT_FALSE(fs::exists(P("out/a.txt")));
    EXPECT_EQ(Read(P("renamed/b2.txt")), "B");
  }
}

TEST_F(ExtractTest, ReadOnlyAttributeAndReplaceReadOnly) {
  TestMember ro = StoredMember("ro.txt", "new");
  ro.externalAttributes = 0x21;
  const std::string zip = MakeZip({ro});
  {
    Extraction reader;
    Prepare(reader, zip);
    reader.Run();
    EXPECT_TRUE(platform::StatFile(P("out/ro.txt")).attributes & platform::kAttrReadOnly);
  }
  {
    SCOPED_TRACE("existing read-only target without ReplaceReadOnly: cannot be created");
    Extraction reader;
    Prepare(reader, zip);
    reader.options.overwriteMode = OverwriteRule::Always;
    reader.Run();
    EXPECT_TRUE(reader.log.SkippedWith(SkipReason::CreateError));
  }
  {
    SCOPED_TRACE("ReplaceReadOnly clears the attribute and replaces the file");
    platform::SetReadOnly(P("out/ro.txt"), false);
    Write(P("out/ro.txt"), "old");
    platform::SetReadOnly(P("out/ro.txt"), true);
    Extraction reader;
    Prepare(reader, zip);
    reader.options.overwriteMode = OverwriteRule::Always;
    reader.options.replaceReadOnly = true;
    reader.options.retainAttributes = false;
    reader.Run();
    EXPECT_EQ(Read(P("out/ro.txt")), "new");
    EXPECT_FALSE(platform::StatFile(P("out/ro.txt")).attributes & platform::kAttrReadOnly);
  }
}

TEST_F(ExtractTest, UnknownMethodIsReportedAndNothingIsWritten) {
  TestMember odd = StoredMember("odd.bin", "whatever");
  odd.method = 12;
  const std::string zip = MakeZip({odd, StoredMember("fine.txt", "ok")});
  Extraction reader;
  Prepare(reader, zip);
  reader.Run();
  EXPECT_TRUE(reader.log.SkippedWith(SkipReason::UnknownMethod));
  EXPECT_EQ(FilesBelow(P("out")), std::vector<std::string>{"fine.txt"});
  EXPECT_EQ(reader.log.completeCount, 1);
}

TEST_F(ExtractTest, FailedCrcKeepsTheExistingFile) {
  TestMember bad = StoredMember("f.txt", "new content");
  bad.crc ^= 1;
  const std::string zip = MakeZip({bad});
  Write(P("out/f.txt"), "old");
  Extraction reader;
  Prepare(reader, zip);
  reader.options.overwriteMode = OverwriteRule::Always;
  reader.Run();
  EXPECT_EQ(reader.log.badCrc.size(), 1u);
  EXPECT_EQ(Read(P("out/f.txt")), "old");
  EXPECT_EQ(FilesBelow(P("out")), std::vector<std::string>{"f.txt"});
}

TEST_F(ExtractTest, PrematureEndEndsTheRun) {
  TestMember lying = StoredMember("b.txt", std::string(5000, 'b'));
  lying.uncompressedSize = 50000;
  lying.claimedCompressedSize = 50000;  // more than the archive holds
  MakeZip({StoredMember("a.txt", "A"), lying});
  Extraction reader;
  Prepare(reader, P("a.zip"));
  EXPECT_EQ(ThrownMessage<FatalExtractError>([&] { reader.Run(); }), "Premature end of file reached");
  EXPECT_EQ(reader.log.completeCalls, 1);
  EXPECT_EQ(FilesBelow(P("out")), std::vector<std::string>{"a.txt"});
}

}  // namespace
}  // namespace brisko::zip::test
