// Reader behaviour on archives made here: sort orders, name changes, re-reads, the central file,
// split sets, repair and cancelling.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include "platform/Platform.h"
#include "support/Commands.h"
#include "support/Files.h"
#include "support/ScratchDir.h"
#include "support/ThrownMessage.h"
#include "support/ZipBuilder.h"
#include "zip/extract/ExtractJob.h"
#include "zip/format/ZipErrors.h"
#include "zip/io/FileStream.h"
#include "zip/io/MemoryStream.h"
#include "zip/read/ArchiveDirectory.h"

namespace brisko::zip {
namespace {

namespace fs = std::filesystem;
using test::BuildZipLayout;
using test::TestMember;
using test::ThrownMessage;

const std::string kSep(1, platform::kPathDelim);

uint32_t Dos(int year, int month, int day) {
  return static_cast<uint32_t>(day | (month << 5) | ((year - 1980) << 9)) << 16;
}

class ReaderFiles : public test::ScratchDir {
 protected:
  std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) {
    test::WriteBytes(P(name), bytes);
    return P(name);
  }
};

// A stored member of size bytes dated date whose central header claims compressedSize.
TestMember Sized(const std::string& name, char fill, size_t size, uint32_t date, uint32_t compressedSize) {
  TestMember m = test::StoredMember(name, std::string(size, fill));
  m.dosDateTime = date;
  m.claimedCompressedSize = compressedSize;
  return m;
}

// Members chosen so that every order differs: sizes, dates, folders and rates.
std::vector<TestMember> SortCorpus() {
  return {
      Sized("b/zeta.txt", 'a', 100, Dos(2020, 1, 1), 50),  // rate 50
      Sized("Alpha.txt", 'b', 300, Dos(2022, 5, 5), 30),   // rate 10
      Sized("a/mid.txt", 'c', 200, Dos(2021, 3, 3), 200),  // rate 100
      Sized("beta.txt", 'd', 200, Dos(2022, 5, 5), 150),   // rate 75; same date as Alpha
  };
}

// The same members with their true sizes, for walks over the local headers.
std::vector<TestMember> TrueCorpus() {
  std::vector<TestMember> members = SortCorpus();
  for (auto& m : members) m.claimedCompressedSize.reset();
  return members;
}

std::vector<std::string> Order(const ArchiveDirectory& reader) {
  std::vector<std::string> names;
  for (int i = 0; i < reader.EntryCount(); ++i) names.push_back(reader.Entry(i).FileName());
  return names;
}

TEST_F(ReaderFiles, EightSortOrders) {
  // Compressed sizes are the data lengths here; the rates come from the recorded sizes only.
  std::string path = Write("sort.zip", BuildZipLayout(TrueCorpus()).bytes);
  struct Case {
    EntryOrder mode;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {EntryOrder::ByNone, {"zeta.txt", "Alpha.txt", "mid.txt", "beta.txt"}},
      {EntryOrder::ByName,
       {"mid.txt", "Alpha.txt", "zeta.txt", "beta.txt"}},  // "a/m" < "alpha", "b/" < "beta"
      {EntryOrder::ByFileName, {"Alpha.txt", "beta.txt", "mid.txt", "zeta.txt"}},
      {EntryOrder::ByDirectoryName, {"Alpha.txt", "beta.txt", "mid.txt", "zeta.txt"}},
      {EntryOrder::ByDate, {"Alpha.txt", "beta.txt", "mid.txt", "zeta.txt"}},  // equal dates keep order
      {EntryOrder::ByCompressedSize, {"Alpha.txt", "mid.txt", "beta.txt", "zeta.txt"}},
      {EntryOrder::ByUnCompressedSize, {"Alpha.txt", "mid.txt", "beta.txt", "zeta.txt"}},
      {EntryOrder::ByRate, {"zeta.txt", "Alpha.txt", "mid.txt", "beta.txt"}},  // all 100: archive order
  };
  for (const Case& c : cases) {
    ArchiveDirectory reader;
    reader.Options().sortMode = c.mode;
    reader.SetZipName(path);
    reader.ReadDirectory();
    EXPECT_EQ(Order(reader), c.expected) << static_cast<int>(c.mode);
  }
}

TEST(SortedZip, RateOrderRoundsHalvesToEven) {
  SortedEntries list(EntryOrder::ByRate, false);
  auto add = [&](const char* name, uint32_t c, uint32_t u) {
    auto h = std::make_unique<ZipEntry>();
    h->SetFileName(name);
    h->compressedSize = c;
    h->uncompressedSize = u;
    list.Add(std::move(h));
  };
  add("r50", 1, 2);      // 50
  add("r0", 5, 0);       // empty: 0
  add("r12", 1, 8);      // 12.5 -> 12
  add("r14", 7, 50);     // 14
  add("r100", 9, 3);     // capped at 100
  add("r12b", 25, 200);  // 12.5 -> 12, after r12
  std::vector<std::string> names;
  for (int i = 0; i < list.Count(); ++i) names.push_back(list[i]->FileName());
  EXPECT_EQ(names, (std::vector<std::string>{"r100", "r50", "r14", "r12", "r12b", "r0"}));
  EXPECT_THROW(list.Item(6), ListIndexError);
}

TEST_F(ReaderFiles, EmptyFileIsAnEmptyArchiveAndTextIsNothing) {
  ArchiveDirectory reader;
  reader.SetZipName(Write("empty.zip", {}));
  EXPECT_NO_THROW(reader.ReadDirectory());
  EXPECT_TRUE(reader.DirectoryLoaded());
  EXPECT_EQ(reader.EntryCount(), 0);

  std::string text = "This is not an archive, just text that happens to be named .zip\n";
  reader.SetZipName(Write("text.zip", std::vector<uint8_t>(text.begin(), text.end())));
  EXPECT_NO_THROW(reader.ReadDirectory());
  EXPECT_EQ(reader.EntryCount(), 0);
}

TEST_F(ReaderFiles, IndexOutOfRangeNamesTheIndex) {
  ArchiveDirectory reader;
  reader.SetZipName(Write("a.zip", BuildZipLayout(SortCorpus()).bytes));
  reader.ReadDirectory();
  EXPECT_EQ(ThrownMessage<ListIndexError>([&] { reader.EntryName(4); }), "Index 4 is out of range");
  EXPECT_THROW(reader.EntrySize(-1), ListIndexError);
}

TEST_F(ReaderFiles, AccessorsAndNameChanges) {
  std::string path = Write("a.zip", BuildZipLayout(SortCorpus(), "the comment").bytes);
  ArchiveDirectory reader;
  reader.Options().sortMode = EntryOrder::ByDate;
  reader.SetZipName(path);
  reader.ReadDirectory();
  EXPECT_EQ(reader.EntryName(0), "Alpha.txt");
  EXPECT_EQ(reader.EntryPath(2), "a" + kSep);
  EXPECT_EQ(reader.EntrySize(0), 300u);
  EXPECT_DOUBLE_EQ(reader.EntryDateTime(0), platform::EncodeDateTime(2022, 5, 5, 0, 0, 0));
  EXPECT_EQ(reader.ZipComment(), "the comment");

  reader.SetZipName(path);  // the same name changes nothing
  EXPECT_EQ(reader.EntryCount(), 4);
  reader.SetZipName(P("other.zip"));
  EXPECT_EQ(reader.EntryCount(), 0);
  EXPECT_EQ(reader.ZipComment(), "");

  reader.SetZipName(path);
  reader.ReadDirectory();
  reader.CloseArchive();
  EXPECT_EQ(reader.ZipName(), "");
  EXPECT_EQ(reader.EntryCount(), 0);
}

TEST_F(ReaderFiles, DirectoryIsReadAgainOnlyWhenTheFileChanged) {
  std::string path = Write("a.zip", BuildZipLayout(SortCorpus()).bytes);
  struct CountingOpener : StreamOpener {
    int streams = 0;
    std::unique_ptr<ZipStream> Open(const std::string& p) override {
      ++streams;
      auto f = std::make_unique<FileStream>();
      return f->Open(p, FileMode::OpenRead) ? std::move(f) : nullptr;
    }
  } opener;
  DirectoryOptions options;
  options.streamOpener = &opener;
  ArchiveDirectory reader(options);
  reader.SetZipName(path);
  reader.ReadDirectory();
  ZipEntry* first = &reader.Entry(0);
  reader.ReadDirectory();
  EXPECT_EQ(&reader.Entry(0), first);  // same records: not read again

  std::vector<TestMember> fewer = SortCorpus();
  fewer.pop_back();
  Write("a.zip", BuildZipLayout(fewer).bytes);
  reader.ReadDirectory();
  EXPECT_EQ(reader.EntryCount(), 3);
  EXPECT_GE(opener.streams, 3);
}

TEST_F(ReaderFiles, QuestionMarkIsAnOrdinaryName) {
  ArchiveDirectory reader;
  reader.SetZipName(P("?"));
  EXPECT_EQ(reader.ZipName(), P("?"));
}

TEST_F(ReaderFiles, CentralFileHoldsTheDirectory) {
  const std::string comment = "kept in the central file";
  test::BuiltZip built = BuildZipLayout(TrueCorpus(), comment);
  std::vector<uint8_t> members(built.bytes.begin(),
                               built.bytes.begin() + static_cast<long>(built.centralOffset));
  std::vector<uint8_t> central(built.bytes.begin() + static_cast<long>(built.centralOffset),
                               built.bytes.end());
  // In the central file the directory starts at 0.
  size_t end = central.size() - 22 - comment.size();
  for (size_t i = end + 16; i < end + 20; ++i) central[i] = 0;
  std::string path = Write("set.zip", members);
  Write("set.zfc", central);
  ArchiveDirectory reader;
  reader.SetZipName(path);
  reader.ReadDirectory();
  ASSERT_EQ(reader.EntryCount(), 4);
  EXPECT_EQ(reader.Entry(3).FileName(), "beta.txt");
  EXPECT_EQ(reader.Entry(3).relativeOffset, 30u + 10 + 100 + 30 + 9 + 300 + 30 + 9 + 200);
  EXPECT_EQ(reader.ZipComment(), "kept in the central file");
}

TEST_F(ReaderFiles, DuplicateOffsetsAreRepairedFromLocalHeaders) {
  test::BuiltZip built = BuildZipLayout(TrueCorpus());
  // Point the second central header at the first local header.
  size_t second = built.centralOffset + 46 + 10;
  for (int i = 0; i < 4; ++i) built.bytes[second + 42 + i] = 0;
  ArchiveDirectory reader;
  reader.SetZipName(Write("dup.zip", built.bytes));
  reader.ReadDirectory();
  ASSERT_EQ(reader.EntryCount(), 4);
  EXPECT_EQ(reader.Entry(0).FileName(), "zeta.txt");
  EXPECT_EQ(reader.Entry(1).FileName(), "Alpha.txt");
  EXPECT_EQ(reader.Entry(1).relativeOffset, 140u);
  EXPECT_EQ(reader.Entry(1).versionMadeBy, 0);   // its central header is the damaged one
  EXPECT_EQ(reader.Entry(2).versionMadeBy, 20);  // completed from its central header
  EXPECT_EQ(reader.Entry(0).versionMadeBy, 20);
}

TEST_F(ReaderFiles, CancelStopsTheRepairScan) {
  std::vector<uint8_t> bytes(40000, 'x');
  test::BuiltZip built = BuildZipLayout(TrueCorpus());
  bytes.insert(bytes.end(), built.bytes.begin(),
               built.bytes.begin() + static_cast<long>(built.centralOffset));
  struct Impatient : ArchiveObserver {
    int asked = 0;
    bool CancelRequested() override { return ++asked == 2; }
  } impatient;
  ArchiveDirectory reader({EntryOrder::ByNone, IncompleteArchiveRule::AssumeBad}, &impatient);
  reader.SetZipName(Write("junk.zip", bytes));
  EXPECT_EQ(ThrownMessage<CanceledError>([&] { reader.ReadDirectory(); }), "User Aborted Operation");
  EXPECT_EQ(reader.ZipName(), "");  // closed

  ArchiveDirectory patient;
  patient.Options().incompleteZipMode = IncompleteArchiveRule::AssumeBad;
  patient.SetZipName(P("junk.zip"));
  patient.ReadDirectory();
  EXPECT_EQ(patient.EntryCount(), 4);
  EXPECT_EQ(patient.Entry(0).relativeOffset, 40000u);
}

TEST_F(ReaderFiles, RepairFailureIsABadZipFile) {
  std::string text(3000, 'y');
  ArchiveDirectory reader;
  reader.Options().incompleteZipMode = IncompleteArchiveRule::AssumeBad;
  reader.SetZipName(Write("nothing.zip", std::vector<uint8_t>(text.begin(), text.end())));
  EXPECT_EQ(ThrownMessage<BadArchiveError>([&] { reader.ReadDirectory(); }), "Not a valid zip file!");
  EXPECT_EQ(reader.ZipName(), "");
}

TEST_F(ReaderFiles, MissingArchiveIsAnErrorNamingIt) {
  ArchiveDirectory reader;
  reader.SetZipName(P("absent.zip"));
  EXPECT_NE(ThrownMessage<ZipError>([&] { reader.ReadDirectory(); }).find("absent.zip"), std::string::npos);
}

TEST_F(ReaderFiles, MemoryStreamsThroughTheOpener) {
  std::vector<uint8_t> bytes = BuildZipLayout(SortCorpus()).bytes;
  MemoryStreamOpener opener(bytes);
  ArchiveDirectory reader({EntryOrder::ByNone, IncompleteArchiveRule::AssumeMulti, false, &opener});
  reader.SetZipName("in-memory");
  reader.ReadDirectory();
  EXPECT_EQ(reader.EntryCount(), 4);
}

// A split set made by Info-ZIP (name.z01, name.z02, ..., name.zip) read through OnGetNextDisk.
TEST_F(ReaderFiles, SplitSetAsksForItsDisks) {
  std::string data;
  unsigned seed = 7;
  for (int i = 0; i < 150000; ++i) {
    seed = seed * 1103515245 + 12345;
    data.push_back(static_cast<char>(seed >> 16));
  }
  std::ofstream(P("big.bin"), std::ios::binary) << data;
  std::ofstream(P("small.txt")) << "small file\n";
  BRISKO_REQUIRE_TOOL("zip");
  const std::string cmd =
      "cd " + test::ShellQuote(dir_.Path()) + " && zip -q -s 64k split.zip big.bin small.txt";
  if (test::Shell(cmd) != 0 || !fs::exists(P("split.z01"))) GTEST_SKIP() << "zip -s not available";

  struct Disks : ArchiveObserver {
    std::function<std::string(int)> nameOf;  // "" refuses
    std::optional<std::string> OnGetNextDisk(int disk, const std::string&) override { return nameOf(disk); }
  } disks, refusing;
  disks.nameOf = [&](int disk) {
    char ext[8];
    std::snprintf(ext, sizeof ext, ".z%02d", disk);
    return fs::exists(P(std::string("split") + ext)) ? P(std::string("split") + ext) : P("split.zip");
  };
  refusing.nameOf = [](int) { return std::string(); };
  ArchiveDirectory reader({}, &disks);
  reader.SetZipName(P("split.zip"));
  reader.ReadDirectory();
  ASSERT_EQ(reader.EntryCount(), 2);
  EXPECT_EQ(reader.MultiMode(), SplitMode::Blocks);
  EXPECT_EQ(reader.Entry(0).FileName(), "big.bin");
  EXPECT_EQ(reader.Entry(1).FileName(), "small.txt");
  EXPECT_EQ(reader.Entry(1).uncompressedSize, 11u);

  // Without a handler the parts are found by their names; a missing one is named.
  ExtractOptions all;
  all.doAll = true;
  all.destDir = P("out");
  ArchiveDirectory found;
  found.SetZipName(P("split.zip"));
  EXPECT_EQ(ExtractJob(found, all).Run(), 2);
  EXPECT_EQ(fs::file_size(P("out/big.bin")), data.size());
  fs::rename(P("split.z01"), P("split.z01.away"));
  ArchiveDirectory missing;
  missing.SetZipName(P("split.zip"));
  all.destDir = P("out2");
  const std::string noDisk = ThrownMessage<FatalExtractError>([&] { ExtractJob(missing, all).Run(); });
  EXPECT_NE(noDisk.find("split.z01"), std::string::npos) << noDisk;
  fs::rename(P("split.z01.away"), P("split.z01"));

  ArchiveDirectory refused({}, &refusing);
  refused.SetZipName(P("split.zip"));
  try {
    refused.ReadDirectory();
    // The directory may sit wholly on the last disk; then nothing had to be asked.
  } catch (const CanceledError& e) {
    EXPECT_STREQ(e.what(), "User canceled loading new disk.");
  }
}

TEST_F(ReaderFiles, SettingTheCommentMarksOnlyRealChanges) {
  ArchiveDirectory reader;
  reader.SetZipName(Write("c.zip", BuildZipLayout(TrueCorpus(), "old text").bytes));
  reader.ReadDirectory();
  reader.SetZipComment("old text");
  EXPECT_FALSE(reader.EndCentral().commentChanged);
  reader.SetZipComment("new text");
  EXPECT_TRUE(reader.EndCentral().commentChanged);
  EXPECT_EQ(reader.ZipComment(), "new text");
  EXPECT_EQ(reader.EndCentral().zipCommentLength, 8);
}

TEST_F(ReaderFiles, TargetFolderAndStoredRoot) {
  const std::string path = Write("a.zip", BuildZipLayout(TrueCorpus()).bytes);
  ArchiveDirectory archive;
  archive.SetZipName(path);
  ExtractOptions options;
  options.doAll = true;
  options.recreateDirs = true;
  options.rootDir = "a";  // "a/mid.txt" lands as "mid.txt"
  options.destDir = P("out") + kSep;
  EXPECT_EQ(ExtractJob(archive, options).Run(), 4);
  EXPECT_TRUE(fs::exists(P("out/mid.txt")));
  EXPECT_TRUE(fs::exists(P("out/b/zeta.txt")));
}

}  // namespace
}  // namespace brisko::zip
