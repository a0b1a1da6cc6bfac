// Folder listing and document opening through the platform layer.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/DirectoryWalker.h"
#include "platform/OpenDocument.h"
#include "platform/Platform.h"
#include "support/TempDir.h"
#include "support/TestEnvironment.h"

namespace brisko::platform {
namespace {

namespace fs = std::filesystem;

// The entries of one folder as the walk gives them, in its order (by name).
std::vector<DirectoryItem> ListFolder(const std::string& folder) {
  DirectoryWalker walker(folder, false);
  std::vector<DirectoryItem> items;
  std::string in;
  for (DirectoryItem item; walker.Next(in, item);) items.push_back(item);
  return items;
}

TEST(DirectoryWalker, NamesAttributesSizesAndLinks) {
  BRISKO_POSIX_ONLY("dot files count as hidden and folder links are listed as links");
  test::TempDir dir;
  std::ofstream(dir.Path() + "/file.bin") << std::string(1500, 'x');
  std::ofstream(dir.Path() + "/.dot") << "d";
  fs::create_directory(dir.Path() + "/folder");
  fs::create_directory_symlink(dir.Path() + "/folder", dir.Path() + "/link");
  ASSERT_TRUE(SetLastWriteTime(dir.Path() + "/file.bin", 1600000000));
  SetReadOnly(dir.Path() + "/file.bin", true);

  auto items = ListFolder(dir.Path());
  ASSERT_EQ(items.size(), 4u);
  EXPECT_EQ(items[0].name, ".dot");
  EXPECT_TRUE(items[0].attributes & kAttrHidden);
  EXPECT_EQ(items[1].name, "file.bin");
  EXPECT_EQ(items[1].size, 1500u);
  EXPECT_EQ(items[1].lastWrite, 1600000000);
  EXPECT_EQ(items[1].attributes & (kAttrArchive | kAttrReadOnly | kAttrDirectory),
            kAttrArchive | kAttrReadOnly);
  EXPECT_EQ(items[2].name, "folder");
  EXPECT_TRUE(items[2].attributes & kAttrDirectory);
  EXPECT_FALSE(items[2].isSymlink);
  EXPECT_EQ(items[3].name, "link");
  EXPECT_TRUE(items[3].attributes & kAttrDirectory);
  EXPECT_TRUE(items[3].isSymlink);
  EXPECT_TRUE(ListFolder(dir.Path() + "/missing").empty());
}

TEST(OpenDocument, HandsThePathToTheDesktopOpener) {
  BRISKO_POSIX_ONLY("documents open through xdg-open");
  test::TempDir dir;
  const std::string record = dir.Path() + "/opened.txt";
  const std::string script = dir.Path() + "/xdg-open";
  std::ofstream(script) << "#!/bin/sh\nprintf '%s' \"$1\" > '" << record << "'\n";
  fs::permissions(script, fs::perms::owner_all);
  // The opener runs detached: wait for what it recorded before the next step changes its world.
  const auto recorded = [&record](const std::string& expected) {
    std::string got;
    for (int i = 0; i < 1000 && got != expected; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
      std::ifstream in(record);
      std::getline(in, got);
    }
    return got;
  };
  const char* oldPath = std::getenv("PATH");
  test::ScopedEnv path("PATH", dir.Path() + ":" + (oldPath ? oldPath : ""));
  EXPECT_TRUE(OpenDocument("/some/archive name.zip"));
  EXPECT_EQ(recorded("/some/archive name.zip"), "/some/archive name.zip");
  test::SetEnv("PATH", dir.Path());  // nothing on the path but the opener
  EXPECT_TRUE(OpenDocument("/x.zip"));
  EXPECT_EQ(recorded("/x.zip"), "/x.zip");
  fs::remove(script);
  EXPECT_FALSE(OpenDocument("/x.zip"));  // an opener that is missing
  EXPECT_FALSE(OpenDocument(""));
}

}  // namespace
}  // namespace brisko::platform
