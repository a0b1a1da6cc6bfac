// brisko-zip x and t as a user runs them: exit codes, output lines and the files they leave.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "support/Commands.h"
#include "support/ScratchDir.h"
#include "support/TestManifest.h"
#include "support/ZipBuilder.h"

namespace brisko::test {
namespace {

namespace fs = std::filesystem;

class ZipCliExtractTest : public ScratchDir {
 protected:
  // Runs brisko-zip with args in the test folder, feeding input to its standard input; the output
  // holds standard output and standard error together.
  CommandResult Run(const std::string& args, const std::string& input = "") {
    Write("stdin.txt", input);
    return RunShell("cd " + ShellQuote(dir_.Path()) + " && " + ShellQuote(ProgramPath("brisko-zip")) + " " +
                    args + " < stdin.txt 2>&1");
  }
  static std::string Interop(const std::string& name) { return ShellQuote(TestDataPath("interop", name)); }
};

TEST_F(ZipCliExtractTest, ExtractWithFoldersOrFlat) {
  CommandResult r = Run("x -P 'Secret#123' -d out " + Interop("iz30_zipcrypto.zip"));
  EXPECT_EQ(r.exitCode, 0) << r.out;
  EXPECT_EQ(FilesBelow(P("out")), (std::vector<std::string>{"data.bin", "docs/nested/readme.txt", "empty.dat",
                                                            "hamlet_part.txt", "hello.txt", "zeros.bin"}));
  r = Run("x -j -P 'Secret#123' -d flat " + Interop("iz30_zipcrypto.zip"));
  EXPECT_EQ(r.exitCode, 0) << r.out;
  EXPECT_TRUE(fs::exists(P("flat/readme.txt")));
  EXPECT_FALSE(fs::exists(P("flat/docs")));
}

TEST_F(ZipCliExtractTest, MembersPickNamesFoldersAndWildcards) {
  struct Case {
    std::string members;
    std::vector<std::string> files;
    int exitCode;
  };
  const Case cases[] = {
      {"hello.txt docs", {"docs/nested/readme.txt", "hello.txt"}, 0},
      {"docs/nested/", {"docs/nested/readme.txt"}, 0},
      {"'*.bin'", {"data.bin", "zeros.bin"}, 0},
      {"hello.txt nothere.txt", {"hello.txt"}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.members);
    fs::remove_all(P("out"));
    const CommandResult r =
        Run("x -P 'Secret#123' -d out " + Interop("iz30_zipcrypto.zip") + " " + c.members);
    EXPECT_EQ(r.exitCode, c.exitCode) << r.out;
    EXPECT_EQ(FilesBelow(P("out")), c.files);
    if (c.exitCode != 0) {
      EXPECT_NE(r.out.find("nothere.txt: not in the archive"), std::string::npos) << r.out;
    }
  }
}

TEST_F(ZipCliExtractTest, ExtractIntoTheCurrentFolderByDefault) {
  const CommandResult r = Run("x " + Interop("7z_unix_utf8.zip"));
  EXPECT_EQ(r.exitCode, 0) << r.out;
  EXPECT_EQ(Read(P("ascii.txt")).size(), 17u);
}

TEST_F(ZipCliExtractTest, OverwriteChoices) {
  Write("out/hello.txt", "mine");
  struct Case {
    const char* label;
    std::string args;
    std::string input;
    bool replaced;
  };
  const Case cases[] = {
      {"never", "-o never", "", false},
      {"prompt answered no", "", "n\n", false},
      {"prompt without an answer", "", "", false},
      {"prompt answered yes", "", "y\n", true},
      {"always", "-o always", "", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    Write("out/hello.txt", "mine");
    const CommandResult r = Run("x " + c.args + " -d out " + Interop("iz30_pipe_dd.zip"), c.input);
    EXPECT_EQ(r.exitCode, 0) << r.out;
    EXPECT_EQ(Read(P("out/hello.txt")) != "mine", c.replaced);
  }
}

TEST_F(ZipCliExtractTest, FailuresGiveExitCodeOne) {
  CommandResult r = Run("x -P wrong -d out " + Interop("7z_zipcrypto.zip"));
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.out.find("hello.txt: skipped, password not accepted"), std::string::npos) << r.out;
  r = Run("x -P wrong -d out1 " + Interop("7z_zipcrypto.zip") + " docs/nested/readme.txt");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_FALSE(fs::exists(P("out1/docs"))) << "no folders for a member that cannot be read";
  // Without a password, the need for one is said once.
  r = Run("x -d out1 " + Interop("7z_zipcrypto.zip"));
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.out.find("password required (-P): 6 encrypted member(s) not extracted"), std::string::npos)
      << r.out;
  EXPECT_EQ(r.out.find("password not accepted"), std::string::npos) << r.out;

  r = Run("x -d out2 " + Interop("crc_corrupt_data.zip"));
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.out.find("hello.txt: bad CRC"), std::string::npos) << r.out;
  EXPECT_FALSE(fs::exists(P("out2/hello.txt")));

  WriteBytes(P("evil.zip"), BuildZip({StoredMember("../escaped.txt", "x")}));
  r = Run("x -d out3 evil.zip");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_FALSE(fs::exists(P("escaped.txt")));
}

TEST_F(ZipCliExtractTest, UnreadableArchivesAndUsageGiveExitCodeTwo) {
  CommandResult r = Run("x -d out " + Interop("truncated_in_data.zip"));
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_NE(r.out.find("Incomplete Zip File"), std::string::npos) << r.out;
  EXPECT_EQ(Run("x missing.zip").exitCode, 2);
  EXPECT_EQ(Run("x").exitCode, 2);
  EXPECT_EQ(Run("x -o sometimes a.zip").exitCode, 2);
  EXPECT_EQ(Run("t").exitCode, 2);
  EXPECT_EQ(Run("t -q a.zip").exitCode, 2);
}

TEST_F(ZipCliExtractTest, TestCommandReportsOneLinePerFailingEntry) {
  CommandResult r = Run("t " + Interop("crc_corrupt_field.zip"));
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "hello.txt: bad CRC d35b67ed (should be d35b6712)\n");

  r = Run("t -P 'Secret#123' " + Interop("bsdtar_zipcrypto.zip"));
  EXPECT_EQ(r.exitCode, 0) << r.out;
  EXPECT_EQ(r.out, "");
  r = Run("t " + Interop("bsdtar_zipcrypto.zip"));
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out.rfind("password required (-P): ", 0), 0u) << r.out;  // once, not a line per member
  EXPECT_EQ(Lines(r.out).size(), 1u) << r.out;

  r = Run("t " + Interop("truncated_in_cd.zip"));
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_NE(r.out.find("Incomplete Zip File"), std::string::npos);

  r = Run("t '" + TestDataPath("legacy", "pkzip080_reduce4.zip") + "'");
  EXPECT_EQ(r.exitCode, 0) << r.out;
  EXPECT_TRUE(FilesBelow(dir_.Path()) == std::vector<std::string>{"stdin.txt"});  // nothing written
}

// Damage that unzip or 7-Zip reports fails t and x with the same words; l lists what the archive
// holds and warns.
TEST_F(ZipCliExtractTest, DamagedSamplesFailTestAndExtractAlike) {
  const BuiltZip good = BuildZipLayout({StoredMember("a.txt", "hello a"), StoredMember("b.txt", "hello b")});
  const size_t secondCentral = good.centralOffset + 46 + 5;
  const std::string emptyEnd = std::string("PK\x05\x06") + std::string(18, '\0');
  struct Case {
    const char* label;
    std::function<void(std::vector<uint8_t>&)> damage;
    const char* words;  // in the output of t and x
  };
  const Case cases[] = {
      {"local compressed size", [](auto& b) { b[18] = 5; },
       "a.txt: damaged data (local header differs from the central directory: compressed size)"},
      {"local name", [](auto& b) { b[30] = 'z'; },
       "a.txt: damaged data (local header differs from the central directory: name)"},
      {"two records at one offset",
       [&](auto& b) { std::fill_n(b.begin() + static_cast<long>(secondCentral + 42), 4, 0); },
       "Central records a.txt and b.txt point at the same local header"},
      {"an end record as the comment",
       [&](auto& b) {
         b[b.size() - 2] = 22;
         b.insert(b.end(), emptyEnd.begin(), emptyEnd.end());
       },
       "followed by another one"},
      {"an end record appended", [&](auto& b) { b.insert(b.end(), emptyEnd.begin(), emptyEnd.end()); },
       "An empty archive's end record follows the archive's own"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    std::vector<uint8_t> bytes = good.bytes;
    c.damage(bytes);
    WriteBytes(P("d.zip"), bytes);
    fs::remove_all(P("out"));
    for (const char* command : {"t d.zip", "x -d out d.zip"}) {
      const CommandResult r = Run(command);
      EXPECT_EQ(r.exitCode, 1) << command;
      EXPECT_NE(r.out.find(c.words), std::string::npos) << command << "\n" << r.out;
    }
    const CommandResult list = Run("l d.zip");
    EXPECT_EQ(list.exitCode, std::string(c.label).find("local") == 0 ? 0 : 1) << list.out;
    EXPECT_NE(list.out.find("a.txt"), std::string::npos) << list.out;
  }
}

}  // namespace
}  // namespace brisko::test
