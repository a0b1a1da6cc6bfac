// The engine's Windows rules: MS-DOS host and attributes, names that differ only in case, hidden
// folders, drive letters. Each test runs on Windows only; the POSIX rules have tests of their own.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "support/RawZipScan.h"
#include "zip/DirSearch.h"
#include "zip/WriteJob.h"
#include "zip/ZipPaths.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace brisko::zip {
namespace {

namespace fs = std::filesystem;

constexpr const char* kWindowsOnly = "Windows rules (POSIX: Unix modes, case-sensitive names)";

class WindowsRulesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!platform::kWindows) GTEST_SKIP() << kWindowsOnly;
    root_ = fs::temp_directory_path() / ("brisko-windows-" + std::to_string(std::random_device{}()));
    fs::create_directories(root_);
  }
  void TearDown() override {
    if (root_.empty()) return;
    std::error_code ec;
    for (const auto& item : fs::recursive_directory_iterator(root_, ec))
      fs::permissions(item.path(), fs::perms::owner_write, fs::perm_options::add, ec);
    fs::remove_all(root_, ec);
  }
  // The UTF-8 path of a file below the test folder ('/' in rel becomes the native separator).
  std::string P(std::string rel) const {
    for (char& c : rel)
      if (c == '/') c = platform::kPathDelim;
    return root_.string() + platform::kPathDelim + rel;
  }
  static fs::path Native(const std::string& utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
  }
  std::string Write(const std::string& rel, const std::string& content) {
    const std::string path = P(rel);
    fs::create_directories(Native(path).parent_path());
    std::ofstream(Native(path), std::ios::binary) << content;
    return path;
  }
  std::vector<test::RawMember> Scan(const std::string& archive) {
    std::ifstream in(archive, std::ios::binary);
    bytes_.assign(std::istreambuf_iterator<char>(in), {});
    return test::ScanRawZip(bytes_);
  }
  fs::path root_;
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
  fs::last_write_time(Native(first), fs::last_write_time(Native(first)) - std::chrono::hours(1));
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
  ASSERT_TRUE(::SetFileAttributesW(Native(P("hidden")).c_str(), FILE_ATTRIBUTE_HIDDEN));
#endif
  if ((platform::StatFile(P("hidden")).attributes & platform::kAttrHidden) == 0)
    GTEST_SKIP() << "this file system keeps no hidden attribute";
  DirSearch search(root_.string(), true, "*.txt");
  std::set<std::string> found;
  uint64_t size = 0;
  for (std::string path = search.Next(size); !path.empty(); path = search.Next(size))
    found.insert(path.substr(root_.string().size() + 1));
  EXPECT_EQ(found, (std::set<std::string>{"hidden\\", "hidden\\a.txt", ".dot\\", ".dot\\b.txt"}));
}

TEST(WindowsPathsTest, StoredFoldersDropDrivesAndShares) {
  if (!platform::kWindows) GTEST_SKIP() << kWindowsOnly;
  const struct {
    const char* path;
    StoredPathOptions options;
    const char* stored;
  } cases[] = {
      // options: store paths, relative paths, store volumes, root folder
      {"C:\\data\\sub\\x.txt", {true, false, false, ""}, "data\\sub\\"},
      {"C:/data/sub/x.txt", {true, false, false, ""}, "data\\sub\\"},
      {"C:\\data\\sub\\x.txt", {true, false, true, ""}, "C:\\data\\sub\\"},
      {"C:\\data\\sub\\x.txt", {true, true, false, "c:\\DATA\\"}, "sub\\"},
      {"C:\\database\\x.txt", {true, true, false, "C:\\data"}, "database\\"},
      {"\\\\server\\share\\docs\\x.txt", {true, false, false, ""}, "docs\\"},
      {"C:\\x.txt", {true, false, false, ""}, ""},
      {"C:\\data\\x.txt", {false, false, false, ""}, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(StoredDirectoryFor(c.path, c.options), c.stored) << c.path;
  EXPECT_TRUE(SameName("Data/Report.TXT", "data\\report.txt"));
  EXPECT_EQ(NameKey("Data\\R\xC3\x89SUM\xC3\x89.txt"), "data\\r\xC3\x89sum\xC3\x89.txt")
      << "ASCII letters only";
}

}  // namespace
}  // namespace brisko::zip
