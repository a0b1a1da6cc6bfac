// Native path rules: separators, and the folder, name and drive parts of a path.
#include "platform/PathRules.h"

#include <gtest/gtest.h>

#include <vector>

namespace brisko::platform {
namespace {

struct PartsCase {
  const char* path;
  const char* dir;
  const char* name;
};

void ExpectParts(const std::vector<PartsCase>& cases) {
  for (const auto& c : cases) {
    EXPECT_EQ(ExtractDirPart(c.path), c.dir) << c.path;
    EXPECT_EQ(ExtractNamePart(c.path), c.name) << c.path;
  }
}

TEST(PathRulesTest, PosixDirAndNameParts) {
  if (kHasDrives) GTEST_SKIP() << "POSIX paths";
  ExpectParts({
      {"/a.txt", "/", "a.txt"},
      {"/data/docs/a.txt", "/data/docs", "a.txt"},
      {"sub/a.txt", "sub", "a.txt"},
      {"a.txt", "", "a.txt"},
      {"/data/sub/", "/data/sub", ""},
      {"//x", "//", "x"},
      {"/data/back\\slash.txt", "/data", "back\\slash.txt"},  // '\' is a name character on POSIX
  });
  EXPECT_EQ(ExtractDrivePart("/data/a.txt"), "");
  EXPECT_EQ(IncludeTrailingDelim("/data"), "/data/");
  EXPECT_EQ(IncludeTrailingDelim("/data/"), "/data/");
  EXPECT_EQ(ExcludeTrailingDelim("/data/"), "/data");
  EXPECT_EQ(PathRoot("/data/a"), "/");
  EXPECT_EQ(PathRoot("data/a"), "");
  EXPECT_EQ(PathKey("/Data/A.txt"), "/Data/A.txt");
}

TEST(PathRulesTest, WindowsDriveAndNetworkPaths) {
  if (!kHasDrives) GTEST_SKIP() << "Windows paths";
  ExpectParts({
      {"C:\\a.txt", "C:\\", "a.txt"},
      {"C:\\data\\docs\\a.txt", "C:\\data\\docs", "a.txt"},
      {"C:a.txt", "C:", "a.txt"},
      {"sub\\a.txt", "sub", "a.txt"},
      {"\\\\server\\share\\a.txt", "\\\\server\\share", "a.txt"},
      {"C:/data/docs/a.txt", "C:/data/docs", "a.txt"},  // '/' separates too
      {"C:/a.txt", "C:/", "a.txt"},
  });
  EXPECT_EQ(IncludeTrailingDelim("C:/data/"), "C:/data/");
  EXPECT_EQ(ExcludeTrailingDelim("C:\\data/"), "C:\\data");
  const struct {
    const char* path;
    const char* drive;
    const char* root;
  } roots[] = {
      {"C:\\data\\a.txt", "C:", "C:\\"},
      {"\\\\server\\share\\data\\a.txt", "\\\\server\\share", "\\\\server\\share"},
      {"\\\\server\\share", "\\\\server\\share", "\\\\server\\share"},
      {"C:", "C:", ""},
      {"C:data\\a.txt", "C:", ""},
      {"data\\a.txt", "", ""},
      {"\\data\\a.txt", "", "\\"},
  };
  for (const auto& r : roots) {
    EXPECT_EQ(ExtractDrivePart(r.path), r.drive) << r.path;
    EXPECT_EQ(PathRoot(r.path), r.root) << r.path;
  }
  EXPECT_EQ(PathKey("C:/Data\\A.TXT"), "c:\\data\\a.txt");
}

TEST(PathRulesTest, Separators) {
  EXPECT_TRUE(IsSeparator('/'));
  EXPECT_FALSE(IsSeparator('a'));
  EXPECT_EQ(IsSeparator('\\'), kHasDrives);
  EXPECT_EQ(IsPathDelimOrDrive(':'), kHasDrives);
}

}  // namespace
}  // namespace brisko::platform
