// The rules that keep stored names inside the target folder.
#include <gtest/gtest.h>

#include "support/TestEnvironment.h"
#include "zip/extract/SafePath.h"

namespace brisko::zip {
namespace {

TEST(SafePath, SplitStoredFolder) {
  BRISKO_POSIX_ONLY("a backslash is an ordinary character in a name");
  struct Case {
    const char* folder;
    bool ok;
    std::vector<std::string> parts;
  };
  const Case cases[] = {
      {"", true, {}},
      {"a/b/", true, {"a", "b"}},
      {"/abs/dir/", true, {"abs", "dir"}},
      {"//x//./y/", true, {"x", "y"}},
      {"./a/", true, {"a"}},
      {"a/../", false, {}},
      {"../", false, {}},
      {"a/..b/c../", true, {"a", "..b", "c.."}},
      {"a\\..\\b/", true, {"a\\..\\b"}},  // a backslash is an ordinary character here
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.folder);
    std::vector<std::string> parts;
    EXPECT_EQ(SplitStoredFolder(c.folder, parts), c.ok);
    if (c.ok) {
      EXPECT_EQ(parts, c.parts);
    }
  }
  std::vector<std::string> parts;
  EXPECT_FALSE(SplitStoredFolder(std::string("a\0b/", 4), parts));
}

TEST(SafePath, NameParts) {
  for (const char* good : {"a.txt", "..a", "a..", "...", " "}) EXPECT_TRUE(IsSafeNamePart(good)) << good;
  for (const char* bad : {"", ".", "..", "a/b"}) EXPECT_FALSE(IsSafeNamePart(bad)) << bad;
  EXPECT_FALSE(IsSafeNamePart(std::string("a\0b", 3)));
}

TEST(SafePath, JoinAndRelativeParts) {
  BRISKO_POSIX_ONLY("paths with '/' as the only separator");
  EXPECT_EQ(JoinBelow("/t", {"a", "b"}), "/t/a/b");
  EXPECT_EQ(JoinBelow("/", {"a"}), "/a");
  EXPECT_EQ(JoinBelow("/t", {}), "/t");
  std::vector<std::string> parts;
  EXPECT_TRUE(RelativeFolderParts("/t", "/t/a/b/f.txt", parts));
  EXPECT_EQ(parts, (std::vector<std::string>{"a", "b"}));
  EXPECT_TRUE(RelativeFolderParts("/t", "/t/f.txt", parts));
  EXPECT_TRUE(parts.empty());
  EXPECT_FALSE(RelativeFolderParts("/t", "/tx/f.txt", parts));
  EXPECT_FALSE(RelativeFolderParts("/t", "/t/../f.txt", parts));
  EXPECT_FALSE(RelativeFolderParts("/t", "/elsewhere/f.txt", parts));
}

TEST(SafePath, TemporaryNamesDiffer) {
  BRISKO_POSIX_ONLY("paths with '/' as the only separator");
  const std::string a = TemporaryNameIn("/t");
  const std::string b = TemporaryNameIn("/t");
  EXPECT_NE(a, b);
  EXPECT_EQ(a.rfind("/t/.brisko-", 0), 0u);
}

}  // namespace
}  // namespace brisko::zip
