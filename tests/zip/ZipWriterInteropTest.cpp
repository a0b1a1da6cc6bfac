// Archives written by `brisko-zip a` checked by real peers: unzip -t, 7-Zip's test and Python's zipfile.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/Commands.h"
#include "support/ScratchDir.h"

using namespace brisko::test;

namespace {

const std::string kTool = ProgramPath("brisko-zip");

std::string SevenZip() {
  for (const char* name : {"7z", "7zz", "7za"}) {
    std::string out;
    if (Shell(std::string("command -v ") + name, &out) == 0) return name;
  }
  return {};
}

class ZipWriterInteropTest : public ScratchDir {
 protected:
  void MakeTree() {
    Write("src/plain.txt", TextOf(200000));
    Write("src/random.bin", RandomText(300000, 11));
    Write("src/nested/deeper/still/x.txt", "deep file\n");
    Write("src/nested/empty.dat", "");
    Write("src/caf\xc3\xa9.txt", "cp437 can hold this name\n");
    Write("src/\xe6\x97\xa5\xe6\x9c\xac.txt", "needs a UTF-8 name\n");
    Write("src/\xc3\xbcn\xc3\xaf/\xc3\x9f.txt", TextOf(3000));
  }
};

TEST_F(ZipWriterInteropTest, PeersAcceptWhatTheToolWrites) {
  BRISKO_SKIP_WITHOUT_POSIX_SHELL();
  MakeTree();
  const std::string sevenZip = SevenZip();
  struct Case {
    const char* label;
    std::string args;
    std::string password;
    std::string comment;
  };
  const std::vector<Case> cases = {
      {"stored", "-0", "", ""},
      {"level1", "-1", "", ""},
      {"level6", "", "", ""},
      {"level9", "-9", "", ""},
      {"encrypted", "-P s3cret", "s3cret", ""},
      {"encrypted stored", "-0 -P s3cret", "s3cret", ""},
      {"comment", "-z " + ShellQuote("backup of the day"), "", "backup of the day"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    std::string archive = P(std::string("out-") + c.label + ".zip");
    std::string out;
    ASSERT_EQ(Shell("cd " + ShellQuote(P("src")) + " && " + ShellQuote(kTool) + " a -r " + c.args + " " +
                        ShellQuote(archive) + " .",
                    &out),
              0)
        << out;
    std::string pw = c.password.empty() ? "" : " -P " + ShellQuote(c.password);
    EXPECT_EQ(Shell("unzip -t" + pw + " " + ShellQuote(archive), &out), 0) << out;
    if (!sevenZip.empty()) {
      std::string p7 = c.password.empty() ? "" : " -p" + ShellQuote(c.password);
      EXPECT_EQ(Shell(sevenZip + " t" + p7 + " " + ShellQuote(archive), &out), 0) << out;
    }
    ASSERT_EQ(PythonZipCheck(archive, c.password, P("src"), &out), 0) << out;
    for (const char* name :
         {"plain.txt\t", "nested/deeper/still/x.txt\t", "nested/empty.dat\t", "caf\xc3\xa9.txt\t",
          "\xe6\x97\xa5\xe6\x9c\xac.txt\t", "\xc3\xbcn\xc3\xaf/\xc3\x9f.txt\t"})
      EXPECT_NE(out.find(name), std::string::npos) << name << "\n" << out;
    EXPECT_NE(out.find("COMMENT " + c.comment), std::string::npos) << out;
    // unzip's extraction gives back the same bytes. Debian's unzip maps the names of MS-DOS-host
    // members from code page 437 even when bit 11 marks them UTF-8, so only ASCII names are compared
    // here; Python and 7-Zip check the others.
    std::string dest = P(std::string("x-") + c.label);
    ASSERT_EQ(Shell("unzip -q" + pw + " -d " + ShellQuote(dest) + " " + ShellQuote(archive), &out), 0) << out;
    for (const char* name : {"plain.txt", "random.bin", "nested"})
      EXPECT_EQ(
          Shell("diff -r " + ShellQuote(P(std::string("src/") + name)) + " " + ShellQuote(dest + "/" + name),
                &out),
          0)
          << name << out;
  }
}

TEST_F(ZipWriterInteropTest, CommandLineErrorsAndOptions) {
  BRISKO_SKIP_WITHOUT_POSIX_SHELL();
  MakeTree();
  std::string out;
  EXPECT_EQ(Shell(ShellQuote(kTool) + " a", &out), 2) << out;
  EXPECT_EQ(Shell(ShellQuote(kTool) + " a -Q x.zip y", &out), 2) << out;
  Write("notzip.zip", "this is text, not an archive");
  EXPECT_EQ(
      Shell(ShellQuote(kTool) + " a " + ShellQuote(P("notzip.zip")) + " " + ShellQuote(P("src/plain.txt")),
            &out),
      2)
      << out;
  EXPECT_NE(out.find("Not a valid zip file!"), std::string::npos) << out;
  // -j drops folders, -x excludes, a missing entry is reported and the rest is still written.
  std::string archive = P("junk.zip");
  EXPECT_EQ(Shell(ShellQuote(kTool) + " a -j -r -x '*.bin' " + ShellQuote(archive) + " " +
                      ShellQuote(P("src")) + " " + ShellQuote(P("src/missing.txt")),
                  &out),
            1)
      << out;
  EXPECT_NE(out.find("missing.txt"), std::string::npos) << out;
  ASSERT_EQ(PythonZipCheck(archive, "", "", &out), 0) << out;
  EXPECT_EQ(out.find("random.bin"), std::string::npos) << out;
  EXPECT_NE(out.find("\nx.txt\t"), std::string::npos) << out;
}

}  // namespace
