// Exclusion masks of the finder: folder parts and drives.
#include <gtest/gtest.h>

#include "find/NameMasks.h"
#include "platform/PathRules.h"

namespace brisko::find {
namespace {

TEST(NameMasks, ExcludeMaskWithFolderPart) {
  if (platform::kHasDrives) GTEST_SKIP() << "POSIX paths (Windows folders start with a drive)";
  struct Case {
    const char* mask;
    const char* folder;
    const char* name;
    bool match;
  };
  const Case cases[] = {
      {"*.tmp", "/data/x/", "a.TMP", true},
      {"*.tmp", "/data/x/", "a.b.tmp", true},
      {"*.tmp", "/data/x/", "a.tmp.old", false},
      {"/data/x/*.tmp", "/data/x/", "a.tmp", true},
      {"x/*.tmp", "/data/x/", "a.tmp", true},
      {"/other/*.tmp", "/data/x/", "a.tmp", false},
      {"/data/x/", "/data/x/", "whatever.bin", true},  // empty name part: every name
      {"/DATA/X/a.tmp", "/data/x/", "A.TMP", true},    // case ignored
      {"/a/very/long/path/x/*.tmp", "/x/", "a.tmp", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MatchesExcludeMask(c.mask, c.folder, c.name), c.match)
        << c.mask << " vs " << c.folder << c.name;
}

TEST(NameMasks, ExcludeMaskWithDriveLetter) {
  if (!platform::kHasDrives) GTEST_SKIP() << "Windows paths (POSIX paths have no drive)";
  struct Case {
    const char* mask;
    const char* folder;
    bool match;
  };
  const Case cases[] = {
      {"C:\\data\\x\\*.tmp", "C:\\data\\x\\", true},
      {"c:\\DATA\\X\\*.tmp", "C:\\data\\x\\", true},  // case ignored, the letter's too
      {"D:\\data\\x\\*.tmp", "C:\\data\\x\\", false},
      {"*:\\data\\x\\*.tmp", "E:\\data\\x\\", true},  // "*" and "?" stand for any drive
      {"?:\\x\\*.tmp", "C:\\x\\", true},
      {"\\data\\x\\*.tmp", "C:\\data\\x\\", true},  // a folder without drive matches the end
      {"x\\*.tmp", "C:\\data\\x\\", true},
      {"\\data\\x\\*.tmp", "\\data\\x\\", false},  // the item's drive must fit before it
  };
  for (const Case& c : cases)
    EXPECT_EQ(MatchesExcludeMask(c.mask, c.folder, "a.tmp"), c.match) << c.mask << " vs " << c.folder;
}

}  // namespace
}  // namespace brisko::find
