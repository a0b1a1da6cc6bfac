// Native path rules: separators, and the folder, name and drive parts of a path.
#include "platform/PathRules.h"

#include <gtest/gtest.h>

namespace brisko::platform {
namespace {

TEST(PathRulesTest, DirAndNameParts) {
  struct Case {
    const char* path;
    const char* dir;
    const char* name;
  };
  const Case cases[] = {
      {"/a.txt", "/", "a.txt"},
      {"/data/docs/a.txt", "/data/docs", "a.txt"},
      {"sub/a.txt", "sub", "a.txt"},
      {"a.txt", "", "a.txt"},
      {"/data/sub/", "/data/sub", ""},
      {"//x", "//", "x"},
#ifndef _WIN32
      {"/data/back\\slash.txt", "/data", "back\\slash.txt"},  // '\' is a name character on POSIX
#endif
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ExtractDirPart(c.path), c.dir) << c.path;
    EXPECT_EQ(ExtractNamePart(c.path), c.name) << c.path;
  }
  EXPECT_EQ(ExtractDrivePart("/data/a.txt"), "");
  EXPECT_EQ(IncludeTrailingDelim("/data"), "/data/");
  EXPECT_EQ(IncludeTrailingDelim("/data/"), "/data/");
  EXPECT_EQ(ExcludeTrailingDelim("/data/"), "/data");
}

TEST(PathRulesTest, Separators) {
  EXPECT_TRUE(IsSeparator('/'));
  EXPECT_FALSE(IsSeparator('a'));
  EXPECT_EQ(IsSeparator('\\'), kHasDrives);
  EXPECT_EQ(IsPathDelimOrDrive(':'), kHasDrives);
}

}  // namespace
}  // namespace brisko::platform
