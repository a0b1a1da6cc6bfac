// Member names holding terminal controls reach no terminal and no log raw: every message of
// brisko-zip x, brisko-backup verify and brisko-backup restore that names a member escapes it.
#include <gtest/gtest.h>

#include "BackupCliFixture.h"
#include "support/ZipBuilder.h"

namespace brisko::core::test {
namespace {

using brisko::test::TestMember;

// ESC (with a colour sequence), BEL and the right-to-left override; a NUL that must not cut the name.
const std::string kControls = "e\x1b[31m\x07\xE2\x80\xAE";
const std::string kNul("n\0ul", 4);

class HostileNamesTest : public BackupCliFixture {
 protected:
  void SetUp() override {
    BackupFixture::SetUp();
    TestMember badCrc = brisko::test::StoredMember(kControls + "crc.txt", "hello");
    badCrc.crc ^= 1;
    TestMember method = brisko::test::StoredMember(kControls + kNul + "method.txt", "xx");
    method.method = 14;  // LZMA
    std::vector<TestMember> members = {
        badCrc, method, brisko::test::StoredMember(kControls + "kept.txt", "kept"),
        brisko::test::StoredMember(kNul + ".txt", "a name no file system takes")};
    for (TestMember& m : members) m.flags |= 0x0800;  // UTF-8 names
    const std::vector<uint8_t> bytes = brisko::test::BuildZip(members);
    archive = (root / "hostile.zip").string();
    brisko::test::WriteBytes(archive, bytes);
  }
  // Nothing raw of the controls, and the escapes in their place.
  static void ExpectEscaped(const std::string& text) {
    for (const std::string& raw :
         {std::string("\x1b"), std::string("\x07"), std::string("\xE2\x80\xAE"), std::string(1, '\0')})
      EXPECT_EQ(text.find(raw), std::string::npos) << text;
    EXPECT_NE(text.find("\\x1b[31m\\x07\\u202e"), std::string::npos) << text;
  }
  std::string archive;
};

TEST_F(HostileNamesTest, ExtractVerifyAndRestoreEscapeEveryName) {
  struct Case {
    const char* label;
    std::string command;  // output and errors together
    std::string input;
    bool backup;
  };
  const std::string zipTool = ShellQuote(ProgramPath("brisko-zip"));
  const std::string out = ShellQuote((root / "out").string());
  const Case cases[] = {
      {"x", zipTool + " x -d " + out + " " + ShellQuote(archive), "", false},
      {"x again, asked to replace", zipTool + " x -d " + out + " " + ShellQuote(archive), "n\n", false},
      {"x of members not there",
       zipTool + " x -d " + out + " " + ShellQuote(archive) + " " + ShellQuote(kControls), "", false},
      {"verify", "verify " + ShellQuote(archive), "", true},
      {"restore", "restore " + ShellQuote(archive) + " --to " + out, "", true},
      {"restore again, asked to replace",
       "restore " + ShellQuote(archive) + " --to " + out + " --overwrite prompt", "n\n", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    std::string output, errors;
    if (c.backup) {
      EXPECT_EQ(Cli(c.command, &output, &errors, c.input), 1);
    } else {
      const CommandResult r = RunShell("printf '%s' " + ShellQuote(c.input) + " | " + c.command + " 2>&1");
      EXPECT_EQ(r.exitCode, 1);
      output = r.out;
    }
    ExpectEscaped(output + errors);
  }
  ExpectEscaped(ReadFile((data / "log.txt").string()));
}

}  // namespace
}  // namespace brisko::core::test
