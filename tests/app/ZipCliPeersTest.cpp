// brisko-zip beside zip, unzip, 7-Zip and bsdtar: file times before 1970 and after 2038 cross in both
// directions, `a` replaces a member changed within the same second, and a file incompressible only at
// its head takes no more room than zip gives it.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/Platform.h"
#include "support/Commands.h"
#include "support/ScratchDir.h"
#include "support/TestEnvironment.h"

namespace brisko::test {
namespace {

namespace fs = std::filesystem;

const std::string kOurs = ShellQuote(ProgramPath("brisko-zip"));

struct DatedFile {
  const char* name;
  std::time_t seconds;
  uint32_t nanos;
};
// 2090 and 2040 need the extended timestamp read unsigned; 1965 needs the NTFS field.
const DatedFile kDated[] = {{"2090.txt", 3800001601, 123456700},
                            {"2040.txt", 2222164803, 500000000},
                            {"1965.txt", -144676795, 250000000},
                            {"1975.txt", 169898407, 0}};

// How a tool makes a.zip from the files in src (run there) and extracts it into out (run there).
struct Tool {
  const char* name;
  std::string make, extract;
  bool ntfs;  // writes the NTFS time field (100 ns)
};
const Tool kOursTool = {"ours", kOurs + " a ../a.zip *", kOurs + " x -d . ../a.zip", false};
const Tool kPeers[] = {
    {"zip", "zip -q ../a.zip *", "unzip -q ../a.zip", false},
    {"7zz", "7zz a -tzip ../a.zip * >/dev/null", "7zz x ../a.zip >/dev/null", true},
    {"bsdtar", "bsdtar -a -cf ../a.zip *", "bsdtar -xf ../a.zip", false},
};

class ZipCliPeersTest : public ScratchDir {
 protected:
  void SetUp() override { BRISKO_SKIP_WITHOUT_POSIX_SHELL(); }
  // Runs a command line in the test folder's sub-folder dir; fails the test when it fails.
  void ShellIn(const std::string& dir, const std::string& command) {
    fs::create_directories(P(dir));
    std::string log;
    ASSERT_EQ(Shell("cd " + ShellQuote(P(dir)) + " && " + command, &log), 0) << command << "\n" << log;
  }
};

TEST_F(ZipCliPeersTest, TimesCrossToTheSecondBothWays) {
  for (const DatedFile& f : kDated) {
    Write("src/" + std::string(f.name), f.name);
    ASSERT_TRUE(platform::SetLastWriteTime(P("src/" + std::string(f.name)), f.seconds, false, f.nanos));
  }
  struct Way {
    const Tool& maker;
    const Tool& extractor;
  };
  std::vector<Way> ways = {{kOursTool, kOursTool}};
  for (const Tool& peer : kPeers) {
    ways.push_back({kOursTool, peer});
    ways.push_back({peer, kOursTool});
  }
  for (const Way& way : ways) {
    const bool ours = way.maker.name == kOursTool.name;
    const Tool& peer = ours ? way.extractor : way.maker;
    SCOPED_TRACE(std::string(way.maker.name) + " -> " + way.extractor.name);
    if (!HaveTool(peer.name)) continue;
    fs::remove_all(P("out"));
    fs::remove(P("a.zip"));
    ShellIn("src", way.maker.make);
    ShellIn("out", way.extractor.extract);
    for (const DatedFile& f : kDated) {
      SCOPED_TRACE(f.name);
      // unzip and bsdtar read no NTFS field, and no extended timestamp holds a time before 1970.
      const bool viaNtfs = way.maker.ntfs || (ours && f.seconds < 0);
      if (ours && f.seconds < 0 && !way.extractor.ntfs && way.extractor.name != kOursTool.name) continue;
      const platform::FileStat st = platform::StatFile(P("out/" + std::string(f.name)));
      ASSERT_TRUE(st.exists);
      EXPECT_EQ(st.lastWrite, f.seconds);
      if (viaNtfs) {
        EXPECT_EQ(st.lastWriteNanos, f.nanos);
      }
    }
  }
}

TEST_F(ZipCliPeersTest, AddReplacesUpdatesAndFreshens) {
  BRISKO_REQUIRE_TOOL("unzip");
  const std::time_t when = 1700000000;
  struct Step {
    const char* args;
    const char* file;
    const char* content;
    std::string expectedNames;  // unzip -Z1, one per line
    const char* expectedContent;
  };
  const Step steps[] = {
      {"a", "f.txt", "one", "f.txt\n", "one"},
      {"a", "f.txt", "two", "f.txt\n", "two"},            // same second: replaced all the same
      {"a -u", "f.txt", "three", "f.txt\n", "two"},       // -u: not newer, kept
      {"a -f", "g.txt", "new", "f.txt\n", "two"},         // -f: nothing new added
      {"a -u", "g.txt", "new", "f.txt\ng.txt\n", "two"},  // -u: new files added
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(std::string(step.args) + " " + step.file);
    Write(step.file, step.content);
    ASSERT_TRUE(platform::SetLastWriteTime(P(step.file), when));
    ShellIn("", kOurs + " " + step.args + " a.zip " + step.file);
    EXPECT_EQ(RunShell("unzip -Z1 " + ShellQuote(P("a.zip"))).out, step.expectedNames);
    EXPECT_EQ(RunShell("unzip -p " + ShellQuote(P("a.zip")) + " f.txt").out, step.expectedContent);
  }
  // Nothing to add: no empty archive stands in for the missing files.
  std::string log;
  EXPECT_EQ(Shell("cd " + ShellQuote(P("")) + " && " + kOurs + " a new.zip missing.txt", &log), 1);
  EXPECT_NE(log.find("missing.txt: no such file"), std::string::npos) << log;
  EXPECT_FALSE(fs::exists(P("new.zip")));
}

TEST_F(ZipCliPeersTest, RecursionSaysWhatItPassesOver) {
  Write("src/sub/b.txt", "b");
  fs::create_symlink("/nonexistent/target", P("src/dangling"));
  fs::create_directory_symlink("sub", P("src/folderlink"));
  // Following links, a link leading nowhere fails the run and a link to a folder is said; -y stores both.
  const struct {
    const char* options;
    int exitCode;
    std::vector<const char*> warned;
    std::string names;  // unzip -Z1
  } runs[] = {
      {"-r",
       1,
       {"dangling: cannot be read", "folderlink: a link to a folder, not followed"},
       "src/sub/b.txt\n"},
      {"-r -y", 0, {}, "src/dangling\nsrc/folderlink\nsrc/sub/b.txt\n"},
  };
  for (const auto& run : runs) {
    SCOPED_TRACE(run.options);
    fs::remove(P("a.zip"));
    std::string log;
    EXPECT_EQ(Shell("cd " + ShellQuote(P("")) + " && " + kOurs + " a " + run.options + " a.zip src", &log),
              run.exitCode);
    for (const char* warning : run.warned) EXPECT_NE(log.find(warning), std::string::npos) << log;
    if (run.warned.empty()) {
      EXPECT_EQ(log.find("warning"), std::string::npos) << log;
    }
    EXPECT_EQ(RunShell("unzip -Z1 " + ShellQuote(P("a.zip")) + " | grep -v '/$'").out, run.names);
  }
}

TEST_F(ZipCliPeersTest, RandomHeadBeforeZerosIsNoLargerThanZipMakesIt) {
  BRISKO_REQUIRE_TOOL("zip");
  // Whole members (up to 8 MiB) and members deflated in chunks decide apart.
  for (const size_t zeros : {size_t{4} << 20, size_t{24} << 20}) {
    SCOPED_TRACE(zeros);
    std::string data = RandomText(64 * 1024, 7);
    data.append(zeros, '\0');
    Write("src/head.bin", data);
    fs::remove(P("ours.zip"));
    fs::remove(P("zip.zip"));
    ShellIn("src", kOurs + " a ../ours.zip head.bin");
    ShellIn("src", "zip -q ../zip.zip head.bin");
    EXPECT_LE(fs::file_size(P("ours.zip")), fs::file_size(P("zip.zip")) * 102 / 100);
  }
}

}  // namespace
}  // namespace brisko::test
