// Tests of the directory walk on a temporary tree.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "support/Files.h"
#include "support/ScratchDir.h"
#include "support/TestEnvironment.h"
#include "zip/write/DirSearch.h"

namespace fs = std::filesystem;
using brisko::zip::DirSearch;

namespace {

class DirSearchTest : public brisko::test::ScratchDir {
 protected:
  void Touch(const std::string& rel, size_t bytes = 0) { dir_.Write(rel, std::string(bytes, 'x')); }
  // The paths the walk gives, relative to the root and with '/' between folders.
  std::vector<std::string> Walk(bool recurse, const std::string& mask) {
    DirSearch search(dir_.Path(), recurse, mask);
    std::vector<std::string> out;
    for (std::string p = search.Next(); !p.empty(); p = search.Next()) {
      p.erase(0, dir_.Path().size() + 1);
      std::replace(p.begin(), p.end(), brisko::platform::kPathDelim, '/');
      out.push_back(p);
    }
    return out;
  }
  // The native path of a folder below the root, with its trailing separator as the walk names it.
  std::string FolderPath(const std::string& rel) const {
    return dir_.Path(rel) + brisko::platform::kPathDelim;
  }
};

TEST_F(DirSearchTest, MasksOnOneFolder) {
  Touch("a.txt");
  Touch("B.TXT");
  Touch("noext");
  Touch("c.doc");
  Touch("sub/d.txt");
  struct Case {
    const char* mask;
    std::set<std::string> expected;
  };
  const Case cases[] = {
      {"*", {"a.txt", "B.TXT", "noext", "c.doc"}},
      {"*.*", {"a.txt", "B.TXT", "noext", "c.doc"}},
      {"*.txt", {"a.txt", "B.TXT"}},
      {"*.", {"noext"}},
      {"*.zip", {}},
  };
  for (const auto& c : cases) {
    auto got = Walk(false, c.mask);
    EXPECT_EQ(std::set<std::string>(got.begin(), got.end()), c.expected) << c.mask;
  }
}

TEST_F(DirSearchTest, RecursionReportsFolderFirstAndEntersDotFolders) {
  Touch("sub/a.doc", 5);
  Touch("sub/b.txt");
  Touch(".git/c.doc");
  Touch("naïve/résumé.doc");  // names beyond ASCII reach the system intact
  auto got = Walk(true, "*.doc");
  std::sort(got.begin(), got.end());
  EXPECT_EQ(got, (std::vector<std::string>{".git/", ".git/c.doc", "naïve/", "naïve/résumé.doc", "sub/",
                                           "sub/a.doc"}));
  DirSearch search(FolderPath("sub"), false, "a.doc");
  EXPECT_EQ(search.Next(), dir_.Path("sub/a.doc"));
  // The walk's status is the file's, as a separate look would read it.
  const brisko::platform::FileStat seen = brisko::platform::StatFile(dir_.Path("sub/a.doc"));
  EXPECT_EQ(search.Status().size, 5u);
  EXPECT_TRUE(search.Status().identity.SameState(seen.identity));
  EXPECT_EQ(search.Status().posixMode, seen.posixMode);
  EXPECT_EQ(search.Status().lastWriteNanos, seen.lastWriteNanos);
}

TEST_F(DirSearchTest, FoldersThatCannotBeListedAreKept) {
  EXPECT_TRUE(Walk(true, "*").empty());
  DirSearch missing(dir_.Path("nope"), true, "*");
  EXPECT_EQ(missing.Next(), "");
  ASSERT_EQ(missing.Unreadable().size(), 1u);
  EXPECT_EQ(missing.Unreadable()[0].path, FolderPath("nope"));

  // A folder removed after its parent was listed: the walk goes on and names it.
  Touch("gone/x.txt");
  Touch("kept/y.txt");
  DirSearch search(dir_.Path(), true, "*");
  fs::remove_all(root_ / "gone");
  std::vector<std::string> got;
  for (std::string p = search.Next(); !p.empty(); p = search.Next()) got.push_back(p);
  EXPECT_NE(std::find(got.begin(), got.end(), dir_.Path("kept/y.txt")), got.end());
  ASSERT_EQ(search.Unreadable().size(), 1u);
  EXPECT_EQ(search.Unreadable()[0].path, FolderPath("gone"));
}

TEST_F(DirSearchTest, DeepTreesKeepGoingAndLinksAreNotFollowed) {
  BRISKO_POSIX_ONLY("folder links and named pipes");
  std::string rel;
  for (int i = 0; i < 40; ++i) rel += "d" + std::to_string(i) + "/";
  Touch(rel + "deep.txt");
  fs::create_directory_symlink(root_, root_ / "loop");
#ifndef _WIN32
  ::mkfifo((root_ / "pipe.txt").c_str(), 0600);
#endif
  auto got = Walk(true, "*.txt");
  ASSERT_EQ(got.size(), 41u);
  EXPECT_EQ(got.back(), rel + "deep.txt");
}

}  // namespace
