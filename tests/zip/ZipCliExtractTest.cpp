// brisko-zip x and t as a user runs them: exit codes, output lines and the files they leave.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>

#include "ExtractFixture.h"
#include "TestManifest.h"
#include "TestZipBuilder.h"

namespace brisko::zip::test {
namespace {

struct CliResult {
  int exitCode = -1;
  std::string output;  // stdout and stderr together
};

class ZipCliExtractTest : public ExtractFixture {
 protected:
  // Runs brisko-zip with args in the test folder, feeding input to its standard input.
  CliResult Run(const std::string& args, const std::string& input = "") {
    const std::string tool = std::string(BRISKO_BINARY_DIR) + "/src/app/brisko-zip";
    WriteText(Path("stdin.txt"), input);
    const std::string command = "cd '" + root_.string() + "' && '" + tool + "' " + args + " < stdin.txt 2>&1";
    CliResult result;
    FILE* pipe = popen(command.c_str(), "r");
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) result.output.append(buffer, n);
    const int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
  }
  static std::string Interop(const std::string& name) { return "'" + TestDataPath("interop", name) + "'"; }
};

TEST_F(ZipCliExtractTest, ExtractWithFoldersOrFlat) {
  CliResult r = Run("x -P 'Secret#123' -d out " + Interop("iz30_zipcrypto.zip"));
  EXPECT_EQ(r.exitCode, 0) << r.output;
  EXPECT_EQ(FilesBelow(Path("out")),
            (std::vector<std::string>{"data.bin", "docs/nested/readme.txt", "empty.dat", "hamlet_part.txt",
                                      "hello.txt", "zeros.bin"}));
  r = Run("x -j -P 'Secret#123' -d flat " + Interop("iz30_zipcrypto.zip"));
  EXPECT_EQ(r.exitCode, 0) << r.output;
  EXPECT_TRUE(fs::exists(Path("flat/readme.txt")));
  EXPECT_FALSE(fs::exists(Path("flat/docs")));
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
    fs::remove_all(Path("out"));
    const CliResult r = Run("x -P 'Secret#123' -d out " + Interop("iz30_zipcrypto.zip") + " " + c.members);
    EXPECT_EQ(r.exitCode, c.exitCode) << r.output;
    EXPECT_EQ(FilesBelow(Path("out")), c.files);
    if (c.exitCode != 0) {
      EXPECT_NE(r.output.find("nothere.txt: not in the archive"), std::string::npos) << r.output;
    }
  }
}

TEST_F(ZipCliExtractTest, ExtractIntoTheCurrentFolderByDefault) {
  const CliResult r = Run("x " + Interop("7z_unix_utf8.zip"));
  EXPECT_EQ(r.exitCode, 0) << r.output;
  EXPECT_EQ(ReadText(Path("ascii.txt")).size(), 17u);
}

TEST_F(ZipCliExtractTest, OverwriteChoices) {
  WriteText(Path("out/hello.txt"), "mine");
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
    WriteText(Path("out/hello.txt"), "mine");
    const CliResult r = Run("x " + c.args + " -d out " + Interop("iz30_pipe_dd.zip"), c.input);
    EXPECT_EQ(r.exitCode, 0) << r.output;
    EXPECT_EQ(ReadText(Path("out/hello.txt")) != "mine", c.replaced);
  }
}

TEST_F(ZipCliExtractTest, FailuresGiveExitCodeOne) {
  CliResult r = Run("x -P wrong -d out " + Interop("7z_zipcrypto.zip"));
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.output.find("hello.txt: skipped, password not accepted"), std::string::npos) << r.output;

  r = Run("x -d out2 " + Interop("crc_corrupt_data.zip"));
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.output.find("hello.txt: bad CRC"), std::string::npos) << r.output;
  EXPECT_FALSE(fs::exists(Path("out2/hello.txt")));

  WriteFileBytes(Path("evil.zip"), BuildZip({StoredMember("../escaped.txt", "x")}));
  r = Run("x -d out3 evil.zip");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_FALSE(fs::exists(Path("escaped.txt")));
}

TEST_F(ZipCliExtractTest, UnreadableArchivesAndUsageGiveExitCodeTwo) {
  CliResult r = Run("x -d out " + Interop("truncated_in_data.zip"));
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_NE(r.output.find("Incomplete Zip File"), std::string::npos) << r.output;
  EXPECT_EQ(Run("x missing.zip").exitCode, 2);
  EXPECT_EQ(Run("x").exitCode, 2);
  EXPECT_EQ(Run("x -o sometimes a.zip").exitCode, 2);
  EXPECT_EQ(Run("t").exitCode, 2);
  EXPECT_EQ(Run("t -q a.zip").exitCode, 2);
}

TEST_F(ZipCliExtractTest, TestCommandReportsOneLinePerFailingEntry) {
  CliResult r = Run("t " + Interop("crc_corrupt_field.zip"));
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.output, "hello.txt: bad CRC d35b67ed (should be d35b6712)\n");

  r = Run("t -P 'Secret#123' " + Interop("bsdtar_zipcrypto.zip"));
  EXPECT_EQ(r.exitCode, 0) << r.output;
  EXPECT_EQ(r.output, "");

  r = Run("t " + Interop("truncated_in_cd.zip"));
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_NE(r.output.find("Incomplete Zip File"), std::string::npos);

  r = Run("t '" + TestDataPath("legacy", "pkzip080_reduce4.zip") + "'");
  EXPECT_EQ(r.exitCode, 0) << r.output;
  EXPECT_TRUE(FilesBelow(root_.string()) == std::vector<std::string>{"stdin.txt"});  // nothing written
}

}  // namespace
}  // namespace brisko::zip::test
