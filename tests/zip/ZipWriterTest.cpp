// Tests of the write job: event order and progress, file-list expansion, duplicates, comments, update path.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "TestWriter.h"
#include "support/Commands.h"
#include "support/ScratchDir.h"
#include "support/TestEnvironment.h"
#include "zip/format/ZipErrors.h"
#include "zip/write/WriteJob.h"

using namespace brisko::zip;
using namespace brisko::test;

namespace {

std::vector<std::string> MemberNames(WriteJob& w) {
  std::vector<std::string> names;
  for (int i = 0; i < w.Archive().EntryCount(); ++i) names.push_back(w.Archive().Entry(i).StoredName());
  return names;
}

std::set<std::string> NameSet(WriteJob& w) {
  auto v = MemberNames(w);
  return {v.begin(), v.end()};
}

class ZipWriterTest : public ScratchDir {};

TEST_F(ZipWriterTest, EventsComeInOrderWithRoundedProgress) {
  BRISKO_SKIP_WITHOUT_POSIX_SHELL();
  std::string f1 = Write("f1.txt", TextOf(300000));
  std::string f2 = Write("f2.bin", "0123456789");
  std::string f3 = Write("empty.txt", "");
  std::vector<std::string> log;
  TestWriter w;
  w.SetZipName(P("out.zip"));
  w.Options().filesList = {f1, f2, f3};
  w.onStartZipInfo = [&](int n, int64_t total) {
    log.push_back("info " + std::to_string(n) + " " + std::to_string(total));
    return JobStart::Go;
  };
  w.onFilePercentDone = [&](int p) { log.push_back("file " + std::to_string(p)); };
  w.onTotalPercentDone = [&](int p) { log.push_back("total " + std::to_string(p)); };
  w.onEndZip = [&](const std::string& name, int64_t size, int64_t, int64_t pos) {
    log.push_back("end " + fs::path(name).filename().string() + " " + std::to_string(size) +
                  (pos > 0 ? " +" : " 0"));
  };
  w.onZipComplete = [&](int n) { log.push_back("complete " + std::to_string(n)); };
  EXPECT_EQ(w.Run(), 3);
  // 262144 of 300000 bytes read first: 87.38 % of the file, 87.38 % of 300010 in total.
  const std::vector<std::string> expected = {"info 3 300010",     "file 87",   "total 87",
                                             "file 100",          "total 100", "end f1.txt 300000 +",
                                             "file 100",          "total 100", "end f2.bin 10 +",
                                             "end empty.txt 0 +", "complete 3"};
  EXPECT_EQ(log, expected);
  EXPECT_TRUE(w.Options().filesList.empty());
  std::string out;
  EXPECT_EQ(PythonZipCheck(P("out.zip"), "", P(""), &out), 0) << out;
}

TEST_F(ZipWriterTest, ExpansionOfWildcardsPrefixesAndExcludes) {
  for (const char* f : {"data/a.txt", "data/B.TXT", "data/c.doc", "data/noext", "data/x.bak",
                        "data/sub/y.BAK", "data/sub/d.txt", "data/.git/e.txt"})
    Write(f, std::string("content of ") + f);
  const std::string data = P("data");
  struct Case {
    const char* label;
    std::vector<std::string> files;
    bool recurse;
    bool storePaths;
    std::vector<std::string> exclude;
    std::set<std::string> expected;
  };
  const Case cases[] = {
      {"mask ignores case", {data + "/*.txt"}, false, false, {}, {"a.txt", "B.TXT"}},
      {"stored paths", {data + "/*.txt"}, false, true, {}, {"data/a.txt", "data/B.TXT"}},
      {"> recurses",
       {">" + data + "/*.txt"},
       false,
       true,
       {},
       {"data/a.txt", "data/B.TXT", "data/sub/d.txt", "data/.git/e.txt"}},
      {"| does not", {"|" + data + "/*.txt"}, true, true, {}, {"data/a.txt", "data/B.TXT"}},
      {"*.* takes names without extension",
       {data + "/*.*"},
       false,
       false,
       {},
       {"a.txt", "B.TXT", "c.doc", "noext", "x.bak"}},
      {"exclude by name",
       {data + "/*"},
       true,
       true,
       {"*.bak"},
       {"data/a.txt", "data/B.TXT", "data/c.doc", "data/noext", "data/sub/d.txt", "data/.git/e.txt"}},
      {"exclude a folder below",
       {data + "/*"},
       true,
       true,
       {data + "/sub/*"},
       {"data/a.txt", "data/B.TXT", "data/c.doc", "data/noext", "data/x.bak", "data/.git/e.txt"}},
      {"exclude a folder path alone",
       {data + "/*"},
       true,
       true,
       {data + "/sub"},
       {"data/a.txt", "data/B.TXT", "data/c.doc", "data/noext", "data/x.bak", "data/sub/y.BAK",
        "data/sub/d.txt", "data/.git/e.txt"}},
      {"plain entry naming a folder", {data + "/sub"}, false, true, {}, {}},
      {"wildcard without folder and no root", {"*.txt"}, false, true, {}, {}},
      {"missing wildcard folder", {data + "/none/*.txt"}, true, true, {}, {}},
      {"plain files and exclude", {data + "/a.txt", data + "/x.bak"}, false, false, {"*.BAK"}, {"a.txt"}},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    TestWriter w;
    std::string archive = P("out" + std::to_string(n++) + ".zip");
    w.SetZipName(archive);
    w.Options().rootDir = root_.string();
    w.Options().relativePaths = c.storePaths;
    w.Options().storePaths = c.storePaths;
    w.Options().recurse = c.recurse;
    w.Options().excludeList = c.exclude;
    w.Options().filesList = c.files;
    w.Run();
    EXPECT_EQ(NameSet(w), c.expected);
  }
}

TEST_F(ZipWriterTest, DuplicatesMissingFilesAndTheArchiveItself) {
  BRISKO_POSIX_ONLY("names that differ in case are two files, and named pipes");
  std::string r1 = Write("a/r.txt", "first");
  std::string r2 = Write("b/r.txt", "second");
  std::vector<std::string> events;
  TestWriter w;
  w.SetZipName(P("a/out.zip"));
  w.onSkippingFile = [&](SkipReason reason, const std::string& name, int index) {
    events.push_back("skip " + std::to_string(static_cast<int>(reason)) + " " + name + " " +
                     std::to_string(index));
  };
  w.onNoSuchFile = [&](const std::string& name) { events.push_back("missing " + name); };
  // Names that differ only in case are two files on POSIX.
  const std::string upper = Write("a/R.TXT", "upper case twin");
  w.Options().filesList = {r1, r2, P("nope.txt"), upper};
  EXPECT_EQ(w.Run(), 2);
  EXPECT_EQ(events, (std::vector<std::string>{"missing " + P("nope.txt"), "skip 1 " + r2 + " -1"}));
  // A pipe named directly is reported as a file that cannot be opened instead of blocking the run.
#ifndef _WIN32
  ASSERT_EQ(::mkfifo(P("pipe").c_str(), 0600), 0);
#endif
  events.clear();
  w.Options().filesList = {P("pipe")};
  w.Run();
  EXPECT_EQ(events, std::vector<std::string>{"skip 2 " + P("pipe") + " -1"});
  EXPECT_EQ(MemberNames(w), (std::vector<std::string>{"r.txt", "R.TXT"}));

  // The archive lies in the walked folder: it is never added to itself, also under another spelling.
  w.Options().filesList = {P("a/./*"), P("a/*")};
  events.clear();
  w.Run();
  EXPECT_EQ(MemberNames(w), (std::vector<std::string>{"r.txt", "R.TXT"}));
  std::string out;
  EXPECT_EQ(PythonZipCheck(P("a/out.zip"), "", P("a"), &out), 0) << out;
}

TEST_F(ZipWriterTest, EmptyListWritesOnlyTheEndRecordWithComment) {
  TestWriter w;
  int completed = -1;
  w.onZipComplete = [&](int n) { completed = n; };
  w.SetZipName(P("empty.zip"));
  w.SetZipComment("abc");
  w.Options().filesList = {P("missing.txt")};
  EXPECT_EQ(w.Run(), 0);
  EXPECT_EQ(completed, 0);
  std::string bytes = Read(P("empty.zip"));
  ASSERT_EQ(bytes.size(), 25u);
  EXPECT_EQ(bytes.substr(22), "abc");
  EXPECT_EQ(bytes[20], 3);
  EXPECT_FALSE(w.Archive().EndCentral().commentChanged);
}

TEST_F(ZipWriterTest, CommentStaysWithTheNameAndPendingCommentIsFlushed) {
  BRISKO_SKIP_WITHOUT_POSIX_SHELL();
  std::string f = Write("f.txt", TextOf(1000));
  std::string g = Write("g.txt", TextOf(2000));
  TestWriter w;
  w.SetZipName(P("one.zip"));
  w.SetZipComment("hello");
  EXPECT_TRUE(w.Archive().EndCentral().commentChanged);
  w.Options().filesList = {f};
  w.Run();
  EXPECT_FALSE(w.Archive().EndCentral().commentChanged);
  // A second Zip under the same name updates the archive and keeps the comment.
  w.Options().filesList = {g};
  w.Run();
  std::string out;
  ASSERT_EQ(PythonZipCheck(P("one.zip"), "", P(""), &out), 0) << out;
  EXPECT_NE(out.find("f.txt\t"), std::string::npos);
  EXPECT_NE(out.find("g.txt\t"), std::string::npos);
  EXPECT_NE(out.find("COMMENT hello"), std::string::npos);

  // A pending comment goes into the current archive before the name changes.
  w.SetZipComment("changed");
  w.SetZipName(P("two.zip"));
  ASSERT_EQ(PythonZipCheck(P("one.zip"), "", P(""), &out), 0) << out;
  EXPECT_NE(out.find("COMMENT changed"), std::string::npos);
  EXPECT_NE(out.find("g.txt\t"), std::string::npos);

  // With no archive behind the current name, nothing is created for the pending comment.
  w.SetZipComment("orphan");
  w.SetZipName(P("three.zip"));
  EXPECT_FALSE(fs::exists(P("two.zip")));
}

TEST_F(ZipWriterTest, UpdateReplacesNewerFilesAndKeepsTheRest) {
  BRISKO_SKIP_WITHOUT_POSIX_SHELL();
  std::string a = Write("a.txt", "old a");
  std::string b = Write("b.txt", TextOf(5000));
  fs::last_write_time(a, fs::file_time_type::clock::now() - std::chrono::hours(2));
  TestWriter w;
  w.SetZipName(P("u.zip"));
  w.Options().filesList = {a};
  w.Run();
  std::vector<std::string> updates;
  w.onUpdate = [&](UpdateAction action, int index) {
    updates.push_back(std::to_string(static_cast<int>(action)) + ":" + std::to_string(index));
  };
  // Same date: kept; then a newer file replaces the member in place.
  w.Options().filesList = {a, b};
  EXPECT_EQ(w.Run(), 1);
  EXPECT_EQ(updates, std::vector<std::string>{"1:0"});
  Write("a.txt", "new a, longer");
  updates.clear();
  w.Options().filesList = {a};
  EXPECT_EQ(w.Run(), 1);
  EXPECT_EQ(updates, std::vector<std::string>{"0:0"});
  EXPECT_EQ(MemberNames(w), (std::vector<std::string>{"a.txt", "b.txt"}));
  // An empty list copies every member through the temporary file.
  EXPECT_EQ(w.Run(), 0);
  std::string out;
  EXPECT_EQ(PythonZipCheck(P("u.zip"), "", P(""), &out), 0) << out;
  EXPECT_EQ(w.Archive().EntryCount(), 2);
  // A file that is not an archive is never replaced.
  Write("text.zip", "just text");
  TestWriter other;
  other.SetZipName(P("text.zip"));
  other.Options().filesList = {a};
  EXPECT_THROW(other.Run(), NotAnArchiveError);
  EXPECT_EQ(Read(P("text.zip")), "just text");
}

TEST_F(ZipWriterTest, EncryptionAndStoreDecisionsSeenByPython) {
  BRISKO_SKIP_WITHOUT_POSIX_SHELL();
  std::string text = Write("t.txt", TextOf(80000));
  std::string noise = Write("n.bin", RandomText(300000, 7));
  std::string empty = Write("e.txt", "");
  for (int level : {0, 1, 6, 9}) {
    for (const char* password : {"", "pa55 word"}) {
      SCOPED_TRACE(std::to_string(level) + " " + password);
      TestWriter w;
      std::string archive = P("enc" + std::to_string(level) + (*password ? "p" : "") + ".zip");
      w.SetZipName(archive);
      w.Options().packLevel = level;
      w.Options().password = password;
      w.Options().filesList = {text, noise, empty};
      ASSERT_EQ(w.Run(), 3);
      for (int i = 0; i < w.Archive().EntryCount(); ++i) {
        const ZipEntry& e = w.Archive().Entry(i);
        EXPECT_EQ(e.IsEncrypted(), *password != 0);
        uint32_t extra = *password ? 12 : 0;
        if (e.FileName() != "t.txt" || level == 0) {
          EXPECT_EQ(e.compressionMethod, kMethodStored) << e.FileName();
          EXPECT_EQ(e.compressedSize, e.uncompressedSize + extra) << e.FileName();
        } else {
          EXPECT_EQ(e.compressionMethod, kMethodDeflated);
        }
      }
      std::string out;
      EXPECT_EQ(PythonZipCheck(archive, password, P(""), &out), 0) << out;
    }
  }
}

}  // namespace
