// AES-encrypted archives in both directions with 7-Zip as the peer, wrong passwords, altered data, and
// the keystream staying the same however the data is cut into calls.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/Commands.h"
#include "support/ScratchDir.h"
#include "zip/crypto/AesEncryption.h"

using namespace brisko::test;

namespace {

const std::string kTool = ProgramPath("brisko-zip");
// 7-Zip takes a non-ASCII password from the command line in the locale's encoding.
const std::string kUtf8Env = "LANG=C.UTF-8 LC_ALL=C.UTF-8 ";
const std::string kUtf8Password =
    "\xd0\xbf\xd0\xb0\xd1\x80\xd0\xbe\xd0\xbb\xd1\x8c\xe2\x82\xac";  // "пароль€"

bool HaveSevenZip() {
  return Shell("command -v 7zz") == 0;
}

class AesInteropTest : public ScratchDir {
 protected:
  void MakeTree() {
    Write("src/empty.txt", "");
    Write("src/tiny.txt", "tiny\n");
    Write("src/text.txt", TextOf(150000));
    Write("src/random.bin", RandomText(70001, 3));
  }
  int Tool(const std::string& args, std::string* out) { return Shell(ShellQuote(kTool) + " " + args, out); }
};

TEST_F(AesInteropTest, SevenZipArchivesExtractExactly) {
  BRISKO_SKIP_WITHOUT_POSIX_SHELL();
  if (!HaveSevenZip()) GTEST_SKIP() << "7zz not installed";
  MakeTree();
  for (const char* strength : {"AES128", "AES192", "AES256"}) {
    for (const char* level : {"-mx0", "-mx5"}) {
      SCOPED_TRACE(std::string(strength) + " " + level);
      const std::string archive = P(std::string("7z-") + strength + level + ".zip");
      std::string out;
      ASSERT_EQ(Shell("cd " + ShellQuote(P("src")) + " && 7zz a -tzip " + level + " -mem=" + strength +
                          " -pS3cret " + ShellQuote(archive) + " .",
                      &out),
                0)
          << out;
      const std::string dest = P(std::string("x-") + strength + level);
      ASSERT_EQ(Tool("x -P S3cret -d " + ShellQuote(dest) + " " + ShellQuote(archive), &out), 0) << out;
      EXPECT_EQ(Shell("diff -r " + ShellQuote(P("src")) + " " + ShellQuote(dest), &out), 0) << out;
      EXPECT_EQ(Tool("t -P S3cret " + ShellQuote(archive), &out), 0) << out;
      EXPECT_NE(Tool("t -P wrong " + ShellQuote(archive), &out), 0);
      EXPECT_NE(out.find("tiny.txt: password not accepted"), std::string::npos) << out;
      const std::string refused = P(std::string("refused-") + strength + level);
      EXPECT_NE(Tool("x -P wrong -d " + ShellQuote(refused) + " " + ShellQuote(archive), &out), 0);
      EXPECT_FALSE(fs::exists(refused + "/tiny.txt"));
    }
  }
}

TEST_F(AesInteropTest, SevenZipOpensWhatWeWrite) {
  BRISKO_SKIP_WITHOUT_POSIX_SHELL();
  if (!HaveSevenZip()) GTEST_SKIP() << "7zz not installed";
  MakeTree();
  struct Case {
    const char* label;
    const char* level;
    std::string password;
  };
  const std::vector<Case> cases = {
      {"deflated", "", "S3cret"}, {"stored", "-0", "S3cret"}, {"utf8", "", kUtf8Password}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const std::string archive = P(std::string("ours-") + c.label + ".zip");
    std::string out;
    ASSERT_EQ(Shell("cd " + ShellQuote(P("src")) + " && " + ShellQuote(kTool) + " a " + c.level +
                        " --aes -P " + ShellQuote(c.password) + " " + ShellQuote(archive) + " .",
                    &out),
              0)
        << out;
    ASSERT_EQ(Tool("l " + ShellQuote(archive), &out), 0);
    EXPECT_NE(out.find(" AES-256 "), std::string::npos) << out;
    EXPECT_EQ(Shell(kUtf8Env + "7zz l -slt -p" + ShellQuote(c.password) + " " + ShellQuote(archive) +
                        " | grep -c 'Method = AES-256'",
                    &out),
              0)
        << out;
    EXPECT_EQ(out, "4\n");
    const std::string dest = P(std::string("7x-") + c.label);
    ASSERT_EQ(Shell(kUtf8Env + "7zz x -y -p" + ShellQuote(c.password) + " -o" + ShellQuote(dest) + " " +
                        ShellQuote(archive),
                    &out),
              0)
        << out;
    EXPECT_EQ(Shell("diff -r " + ShellQuote(P("src")) + " " + ShellQuote(dest), &out), 0) << out;
    EXPECT_NE(Shell(kUtf8Env + "7zz t -pwrong " + ShellQuote(archive), &out), 0);
    EXPECT_NE(out.find("Wrong password"), std::string::npos) << out;
    EXPECT_EQ(Tool("t -P " + ShellQuote(c.password) + " " + ShellQuote(archive), &out), 0) << out;
  }
}

TEST_F(AesInteropTest, HundredMegabytesBothWays) {
  BRISKO_SKIP_WITHOUT_POSIX_SHELL();
  if (!HaveSevenZip()) GTEST_SKIP() << "7zz not installed";
  const size_t size = 100u << 20;
  Write("big/big.bin", TextOf(size / 2) + RandomText(size - size / 2, 9));
  std::string out;
  const std::string ours = P("ours-big.zip"), theirs = P("7z-big.zip");
  ASSERT_EQ(Shell("cd " + ShellQuote(P("big")) + " && " + ShellQuote(kTool) + " a -1 --aes -P S3cret " +
                      ShellQuote(ours) + " big.bin",
                  &out),
            0)
      << out;
  EXPECT_EQ(Shell("7zz t -pS3cret " + ShellQuote(ours), &out), 0) << out;
  ASSERT_EQ(Shell("cd " + ShellQuote(P("big")) + " && 7zz a -tzip -mx1 -mem=AES256 -pS3cret " +
                      ShellQuote(theirs) + " big.bin",
                  &out),
            0)
      << out;
  EXPECT_EQ(Tool("t -P S3cret " + ShellQuote(theirs), &out), 0) << out;
}

TEST_F(AesInteropTest, AlteredDataIsReportedAndNotWritten) {
  BRISKO_SKIP_WITHOUT_POSIX_SHELL();
  Write("src/a.txt", TextOf(5000));
  const std::string archive = P("a.zip");
  std::string out;
  for (const char* level : {"-0", "-6"}) {
    SCOPED_TRACE(level);
    fs::remove(archive);
    ASSERT_EQ(Shell("cd " + ShellQuote(P("src")) + " && " + ShellQuote(kTool) + " a " + level +
                        " --aes -P pw " + ShellQuote(archive) + " a.txt",
                    &out),
              0)
        << out;
    std::string bytes = Read(archive);
    bytes[30 + 5 + 11 + 18 + 40] ^= 0x10;  // inside the encrypted data, behind header, salt and verifier
    std::ofstream(archive, std::ios::binary) << bytes;
    EXPECT_NE(Tool("t -P pw " + ShellQuote(archive), &out), 0);
    EXPECT_NE(out.find("damaged or was altered"), std::string::npos) << out;
    const std::string dest = P(std::string("x") + level);
    EXPECT_NE(Tool("x -P pw -d " + ShellQuote(dest) + " " + ShellQuote(archive), &out), 0);
    EXPECT_FALSE(fs::exists(dest + "/a.txt"));
  }
}

TEST(AesStages, KeystreamIndependentOfCallSizes) {
  using namespace brisko::zip;
  const AesField field{2, kAesStrength256, 0};
  const std::string plain = RandomText(1000, 5);
  const std::vector<uint8_t> salt(field.SaltSize(), 7);
  AesMemberCipher whole("pw", field, salt.data());
  std::string once = plain;
  whole.Encrypt(reinterpret_cast<uint8_t*>(once.data()), once.size());
  const auto code = whole.AuthCode();
  for (size_t step : {1u, 7u, 16u, 33u, 4097u}) {
    AesMemberCipher pieces("pw", field, salt.data());
    std::string text = plain;
    for (size_t at = 0; at < text.size(); at += step)
      pieces.Encrypt(reinterpret_cast<uint8_t*>(text.data()) + at, std::min(step, text.size() - at));
    EXPECT_EQ(text, once) << step;
    EXPECT_EQ(pieces.AuthCode(), code) << step;
  }
  AesMemberCipher back("pw", field, salt.data());
  back.Decrypt(reinterpret_cast<uint8_t*>(once.data()), once.size());
  EXPECT_EQ(once, plain);
  EXPECT_EQ(AesField::Parse(field.Bytes().substr(4)), field);
  EXPECT_FALSE(AesField::Parse(field.Bytes().substr(4, 6)));
}

}  // namespace
