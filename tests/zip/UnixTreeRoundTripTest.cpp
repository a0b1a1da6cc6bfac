// A Linux tree comes back exactly: modes, symbolic links (to a file and to a folder), an empty
// folder, a UTF-8 name and a time before 1980, through our writer and extractor and through zip/unzip.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <map>

#include "platform/Platform.h"
#include "support/Commands.h"
#include "support/Files.h"
#include "support/ScratchDir.h"
#include "support/TestEnvironment.h"

namespace brisko::test {
namespace {

const std::string kTool = ShellQuote(ProgramPath("brisko-zip"));

// Every path below root with its type and permission bits, time, and link text or content.
std::map<std::string, std::string> Snapshot(const fs::path& root) {
  std::map<std::string, std::string> out;
  for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
    const platform::FileStat st = platform::StatFile(it->path().string(), true);
    std::string what = std::to_string(st.posixMode);
    if (st.isSymlink)
      what += " -> " + fs::read_symlink(it->path()).string();
    else if (st.isRegular)
      what += " " + std::to_string(st.lastWrite) + " " + ReadFile(Utf8Of(it->path()));
    else if (fs::is_empty(it->path()))
      what += " " + std::to_string(st.lastWrite);  // folders with contents vary
    out[fs::relative(it->path(), root).string()] = what;
  }
  return out;
}

class UnixTreeRoundTrip : public ScratchDir {
 protected:
  void SetUp() override {
    BRISKO_POSIX_ONLY("Unix modes and links, checked with Linux tools");
#ifndef _WIN32
    ::umask(022);
#endif
    Write("src/tree/run.sh", "#!/bin/sh\necho hi\n");
    fs::permissions(P("src/tree/run.sh"), fs::perms(0755));
    Write("src/tree/sub/secret.txt", "only for me");
    fs::permissions(P("src/tree/sub/secret.txt"), fs::perms(0600));
    Write(
        "src/tree/Gr\xC3\xBC\xC3\x9F"
        "e.txt",
        "umlauts");
    Write("src/tree/old.txt", "from 1975");
    platform::SetLastWriteTime(P("src/tree/old.txt"), 170000000);
    fs::create_directories(P("src/tree/empty"));
    fs::create_symlink("sub/secret.txt", P("src/tree/to-file"));
    fs::create_symlink("sub", P("src/tree/to-folder"));
    fs::create_symlink("/etc", P("src/tree/out-of-tree"));
  }
};

TEST_F(UnixTreeRoundTrip, ThroughOwnToolsAndPeers) {
  BRISKO_SKIP_WITHOUT_POSIX_SHELL();
  struct Way {
    const char* label;
    const char* maker;      // tool that writes the archive
    const char* extractor;  // tool that extracts it
    std::string make, extract;
  };
  const std::vector<Way> ways = {
      {"ours", "", "", kTool + " a -r -y ../a.zip tree", kTool + " x -d ../out ../a.zip"},
      {"ours+unzip", "", "unzip", kTool + " a -r -y ../a.zip tree", "cd ../out && unzip -q ../a.zip"},
      {"zip+ours", "zip", "", "zip -qry ../a.zip tree", kTool + " x -d ../out ../a.zip"},
  };
  const auto expected = Snapshot(P("src"));
  for (const Way& way : ways) {
    SCOPED_TRACE(way.label);
    if ((*way.maker && !HaveTool(way.maker)) || (*way.extractor && !HaveTool(way.extractor))) continue;
    fs::remove_all(P("out"));
    fs::remove(P("a.zip"));
    fs::create_directories(P("out"));
    std::string log;
    ASSERT_EQ(Shell("cd " + ShellQuote(P("src")) + " && " + way.make, &log), 0) << log;
    ASSERT_EQ(Shell("cd " + ShellQuote(P("src")) + " && " + way.extract, &log), 0) << log;
    EXPECT_EQ(Snapshot(P("out")), expected);
  }
}

TEST_F(UnixTreeRoundTrip, NothingIsWrittenThroughALinkMember) {
  BRISKO_SKIP_WITHOUT_POSIX_SHELL();
  // A link member "tree/to-folder" pointing outside, then a member stored below that name.
  fs::remove(P("src/tree/to-folder"));
  fs::create_symlink(P("outside"), P("src/tree/to-folder"));
  ASSERT_EQ(Shell("cd " + ShellQuote(P("src")) + " && " + kTool + " a -y ../a.zip tree/to-folder"), 0);
  fs::remove(P("src/tree/to-folder"));
  Write("src/tree/to-folder/planted.txt", "planted");
  ASSERT_EQ(Shell("cd " + ShellQuote(P("src")) + " && " + kTool + " a ../a.zip tree/to-folder/planted.txt"),
            0);
  fs::create_directories(P("outside"));
  fs::create_directories(P("out"));
  std::string log;
  Shell(kTool + " x -d " + ShellQuote(P("out")) + " " + ShellQuote(P("a.zip")), &log);
  EXPECT_TRUE(fs::is_symlink(P("out/tree/to-folder"))) << log;
  EXPECT_FALSE(fs::exists(P("outside/planted.txt"))) << log;
}

}  // namespace
}  // namespace brisko::test
