// The engine's Windows rules: MS-DOS host and attributes, names that differ only in case, hidden
// folders, drive letters. Each test runs on Windows only; the POSIX rules have tests of their own.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "support/RawZipScan.h"
#include "support/ScratchDir.h"
#include "zip/names/ZipPaths.h"
#include "zip/write/DirSearch.h"
#include "zip/write/WriteJob.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace brisko::zip {
namespace {

namespace fs = std::filesystem;

constexpr const char* kWindowsOnly = "Windows rules (POSIX: Unix modes, case-sensitive names)";

class WindowsRulesTest : public test::ScratchDir {
 protected:
  void SetUp() override {
    if (!platform::kWindows) GTEST_SKIP() << kWindowsOnly;
  }
  // The members of an archive; their data points into bytes_.
  std::vector<test::RawMember> Scan(const std::string& archive) {
    bytes_ = test::ReadBytes(archive);
    return test::ScanRawZip(bytes_);
  }
  std::vector<uint8_t> bytes_;
};

TEST_F(WindowsRulesTest, ArchivesCarryDosAttributesAndPortableNames) {
  Write("tree/plain.txt", "plain");
  Write("tree/nested/\xCE\xB1\xCE\xB2\xCE\xB3.txt", "greek");
  ASSERT_TRUE(platform::SetReadOnly(Write("tree/readonly.txt", "fixed"), true));
  WriteJob writer;
  writer.SetZipName(P("out.zip"));
  writer.Options().rootDir = P("tree");
  writer.Options().relativePaths = true;
  writer.Options().recurse = true;
  writer.Options().filesList = {P("tree") + "\\*"};
  ASSERT_EQ(writer.Run(), 3);

  std::set<std::string> names;
  for (const test::RawMember& m : Scan(P("out.zip"))) {
    names.insert(m.name);
    EXPECT_EQ(m.madeBy >> 8, 0) << m.name << ": made by MS-DOS";
    EXPECT_EQ(m.externalAttributes >> 16, 0u) << m.name << ": no Unix mode";
    EXPECT_EQ((m.externalAttributes & platform::kAttrReadOnly) != 0, m.name == "readonly.txt") << m.name;
    EXPECT_EQ((m.flags & 0x800) != 0, m.name.find('\xCE') != std::string::npos) << m.name << ": UTF-8 bit";
  }
  EXPECT_EQ(names,
            (std::set<std::string>{"plain.txt", "readonly.txt", "nested/\xCE\xB1\xCE\xB2\xCE\xB3.txt"}));
}

TEST_F(WindowsRulesTest, NamesThatDifferOnlyInCaseAreOneName) {
  const std::string first = Write("one/Note.txt", "first");
  const std::string twin = Write("two/NOTE.TXT", "second, longer");
  fs::last_write_time(test::FsPath(first), fs::last_write_time(test::FsPath(first)) - std::chrono::hours(1));
  WriteJob writer;
  writer.SetZipName(P("out.zip"));
  writer.Options().filesList = {first, P("two") + "/NOTE.TXT"};  // '/' separates folders as '\\' does
  EXPECT_EQ(writer.Run(), 1) << "the twin is a duplicate";
  std::vector<test::RawMember> members = Scan(P("out.zip"));
  ASSERT_EQ(members.size(), 1u);
  EXPECT_EQ(members[0].uncompressedSize, 5u);

  // An update matches the stored name whatever its case: the newer twin replaces the member.
  writer.Options().filesList = {twin};
  EXPECT_EQ(writer.Run(), 1);
  members = Scan(P("out.zip"));
  ASSERT_EQ(members.size(), 1u);
  EXPECT_EQ(members[0].uncompressedSize, 14u);
}

TEST_F(WindowsRulesTest, HiddenAndDotFoldersAreWalked) {
  Write("hidden/a.txt", "a");
  Write(".dot/b.txt", "b");
#ifdef _WIN32
  ASSERT_TRUE(::SetFileAttributesW(test::FsPath(P("hidden")).c_str(), FILE_ATTRIBUTE_HIDDEN));
#endif
  if ((platform::StatFile(P("hidden")).attributes & platform::kAttrHidden) == 0)
    GTEST_SKIP() << "this file system keeps no hidden attribute";
  DirSearch search(dir_.Path(), true, "*.txt");
  std::set<std::string> found;
  for (std::string path = search.Next(); !path.empty(); path = search.Next())
    found.insert(path.substr(dir_.Path().size() + 1));
  EXPECT_EQ(found, (std::set<std::string>{"hidden\\", "hidden\\a.txt", ".dot\\", ".dot\\b.txt"}));
}

TEST(WindowsPathsTest, StoredFoldersDropDrivesAndShares) {
  if (!platform::kWindows) GTEST_SKIP() << kWindowsOnly;
  const struct {
    const char* path;
    StoredPathOptions options;
    const char* stored;
  } cases[] = {
      // options: store paths, relative paths, root folder
      {"C:\\data\\sub\\x.txt", {true, false, ""}, "data\\sub\\"},
      {"C:/data/sub/x.txt", {true, false, ""}, "data\\sub\\"},
      {"C:\\data\\sub\\x.txt", {true, true, "c:\\DATA\\"}, "sub\\"},
      {"C:\\database\\x.txt", {true, true, "C:\\data"}, "database\\"},
      {"\\\\server\\share\\docs\\x.txt", {true, false, ""}, "docs\\"},
      {"C:\\x.txt", {true, false, ""}, ""},
      {"C:\\data\\x.txt", {false, false, ""}, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(StoredDirectoryFor(c.path, c.options), c.stored) << c.path;
  EXPECT_TRUE(SameName("Data/Report.TXT", "data\\report.txt"));
  EXPECT_EQ(NameKey("Data\\R\xC3\x89SUM\xC3\x89.txt"), "data\\r\xC3\x89sum\xC3\x89.txt")
      << "ASCII letters only";
}

}  // namespace
}  // namespace brisko::zip
