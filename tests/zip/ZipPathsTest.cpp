// Tests of the engine's path helpers: percentages and stored member folders.
#include <gtest/gtest.h>

#include "support/TestEnvironment.h"
#include "zip/names/ZipPaths.h"

using namespace brisko::zip;

namespace {

TEST(ZipPaths, PercentageRoundsHalvesToEven) {
  struct Case {
    int64_t part, whole;
    int expected;
  };
  const Case cases[] = {
      {0, 100, 0}, {1, 0, 0},  {5, -1, 0},      {50, 100, 50},   {1, 200, 0},  // 0.5 -> 0
      {3, 200, 2},                                                             // 1.5 -> 2
      {5, 200, 2},                                                             // 2.5 -> 2
      {7, 200, 4},                                                             // 3.5 -> 4
      {2, 3, 67},  {1, 3, 33}, {200, 100, 100}, {100, 100, 100}, {int64_t{1} << 50, (int64_t{1} << 51), 50},
  };
  for (const auto& c : cases) EXPECT_EQ(Percentage(c.part, c.whole), c.expected) << c.part << "/" << c.whole;
}

TEST(ZipPaths, StoredDirectory) {
  BRISKO_POSIX_ONLY("paths with '/' as the only separator");
  struct Case {
    const char* path;
    bool storePaths;
    bool relative;
    const char* root;
    const char* expected;
  };
  const Case cases[] = {
      {"/Data/Docs/a.txt", true, false, "", "Data/Docs/"},
      {"/a.txt", true, false, "", ""},
      {"sub/a.txt", true, false, "", "sub/"},
      {"a.txt", true, false, "", ""},
      {"/Data/Docs/a.txt", false, false, "", ""},
      {"../up/a.txt", true, false, "", "up/"},
      {"./x/./y/a.txt", true, false, "", "x/y/"},
      {"//srv/x/a.txt", true, false, "", "srv/x/"},
      {"/home/u/data/sub/a.txt", true, true, "/home/u/data", "sub/"},
      {"/home/u/data/sub/a.txt", true, true, "/HOME/U/DATA/", "sub/"},
      {"/home/u/data/a.txt", true, true, "/home/u/data", ""},
      {"/home/u/database/a.txt", true, true, "/home/u/data", "home/u/database/"},
      {"/other/a.txt", true, true, "/home/u/data", "other/"},
  };
  for (const auto& c : cases) {
    StoredPathOptions o;
    o.storePaths = c.storePaths;
    o.relativePaths = c.relative;
    o.rootDir = c.root;
    EXPECT_EQ(StoredDirectoryFor(c.path, o), c.expected) << c.path << " root " << c.root;
  }
}

}  // namespace
