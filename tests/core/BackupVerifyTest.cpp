// The project's cipher choice reaches the archive, and every new archive is read back before it counts:
// a byte damaged on its way to the disk fails the run and leaves the older archives as they were.
#include <gtest/gtest.h>

#include "BackupFixture.h"
#include "core/ProjectStore.h"
#include "zip/io/FileStream.h"

namespace brisko::core::test {
namespace {

using BackupVerifyTest = BackupFixture;

// Writes to the file but flips one bit of the byte at `target`, as failing hardware might.
class CorruptingStream : public zip::FileStream {
 public:
  explicit CorruptingStream(uint64_t target) : target_(target) {}
  size_t Write(const void* buffer, size_t n) override {
    const uint64_t at = Position();
    if (target_ >= at && target_ < at + n) {
      std::string copy(static_cast<const char*>(buffer), n);
      copy[static_cast<size_t>(target_ - at)] ^= 0x04;
      return FileStream::Write(copy.data(), n);
    }
    return FileStream::Write(buffer, n);
  }

 private:
  uint64_t target_;
};

TEST_F(BackupVerifyTest, EncryptionChoiceReachesTheArchive) {
  BRISKO_SKIP_WITHOUT_POSIX_SHELL();
  const std::string sevenZip = RunShell("command -v 7zz").exitCode == 0 ? "7zz" : "";
  struct Case {
    const char* value;  // "" = key missing
    const char* method;
  };
  for (const Case& c : {Case{"AES256", "AES-256"}, Case{"Traditional", "ZipCrypto"}, Case{"", "ZipCrypto"}}) {
    SCOPED_TRACE(c.value);
    Keys keys = {{"Whether password Project", "1"}};
    if (*c.value) keys.emplace_back("Encryption", c.value);
    WriteOneProject(keys);
    auto model = StartModel();
    model->Form().password = model->Form().passwordConfirm = "pw";
    ASSERT_EQ(model->RunBackup(), BackupOutcome::Succeeded);
    EXPECT_NE(LastLog("Information").find("  verified"), std::string::npos) << LastLog("Information");
    const std::string archive = DestPath("Docs1.zip");
    if (!sevenZip.empty()) {
      auto [code, out] = RunShell("7zz l -slt -ppw " + ShellQuote(archive));
      EXPECT_NE(out.find("Method = " + std::string(c.method)), std::string::npos) << out;
      EXPECT_EQ(RunShell("7zz t -ppw " + ShellQuote(archive) + " >/dev/null 2>&1").exitCode, 0);
    }
    fs::remove(FsPath(archive));
  }
}

TEST_F(BackupVerifyTest, DamagedNewArchiveFailsTheRunAndKeepsTheOlderOnes) {
  BRISKO_SKIP_WITHOUT_POSIX_SHELL();
  // Members large enough that byte 70 lies in the first one's data whichever comes first.
  uint32_t seed = 1;
  for (const char* name : {"a.txt", "b.txt", "sub/c.txt"}) {
    std::string text(3000, ' ');
    for (char& ch : text) ch = static_cast<char>('a' + ((seed = seed * 1103515245u + 12345u) >> 16) % 26);
    WriteFile(name, text);
  }
  for (const char* encryption : {"AES256", "Traditional", "none"}) {
    SCOPED_TRACE(encryption);
    for (const auto& e : fs::directory_iterator(dest)) fs::remove(e.path());
    const bool password = std::string(encryption) != "none";
    WriteOneProject({{"Store Number", "2"},
                     {"Whether password Project", password ? "1" : "0"},
                     {"Encryption", password ? encryption : "Traditional"}});
    auto model = StartModel();
    model->Form().password = model->Form().passwordConfirm = password ? "pw" : "";
    ASSERT_EQ(model->RunBackup(), BackupOutcome::Succeeded);
    ASSERT_EQ(model->RunBackup(), BackupOutcome::Succeeded);
    const std::vector<std::string> before = DestFiles();
    ASSERT_EQ(before, (std::vector<std::string>{"Docs1.zip", "Docs2.zip"}));
    const int value = ProjectIni().ReadInteger("Docs", "Value", -1);

    OutputThrough corrupting([](const std::string& path) {  // corrupts a byte inside the first member's data
      return OpenAs<CorruptingStream>(path, zip::FileMode::Create, 70);
    });
    model->writerOutput = &corrupting;
    ui.calls.clear();
    EXPECT_EQ(model->RunBackup(), BackupOutcome::Failed);
    EXPECT_EQ(DestFiles(), before);  // nothing rotated, no partial archive left
    EXPECT_EQ(ProjectIni().ReadInteger("Docs", "Value", -1), value);
    EXPECT_EQ(LastLog("Status"), "Fails");
    EXPECT_NE(LastLog("Information").find("failed verification"), std::string::npos)
        << LastLog("Information");
    EXPECT_NE(LastLog("Information").find(".txt: "), std::string::npos) << LastLog("Information");
    const auto errors = ui.CallsOf("ShowMessage");
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].text.find("Docs"), std::string::npos) << errors[0].text;

    // With verification switched off the damage goes unnoticed: the check is what catches it.
    ProjectIni().WriteBool("Docs", "Verify", false);
    model = StartModel();
    model->Form().password = model->Form().passwordConfirm = password ? "pw" : "";
    model->writerOutput = &corrupting;
    EXPECT_EQ(model->RunBackup(), BackupOutcome::Succeeded);
    EXPECT_EQ(LastLog("Information").find("verified"), std::string::npos);

    // brisko-backup verify runs the same check on any archive.
    const std::string program =
        ShellQuote(ProgramPath("brisko-backup")) + " --config-dir " + ShellQuote(data.string()) + " verify ";
    const std::string pw = password ? " --password pw" : "";
    auto [goodCode, goodOut] = RunShell(program + ShellQuote(DestPath("Docs2.zip")) + pw + " 2>&1");
    EXPECT_EQ(goodCode, 0) << goodOut;
    EXPECT_NE(goodOut.find("3 member(s) verified"), std::string::npos) << goodOut;
    auto [badCode, badOut] = RunShell(program + ShellQuote(DestPath("Docs3.zip")) + pw + " 2>&1");
    EXPECT_EQ(badCode, 1) << badOut;
    EXPECT_NE(badOut.find("failed verification: "), std::string::npos) << badOut;
  }
}

TEST_F(BackupVerifyTest, StopWhileVerifyingKeepsTheOlderArchives) {
  WriteOneProject({{"Store Number", "2"}});
  auto model = StartModel();
  ASSERT_EQ(model->RunBackup(), BackupOutcome::Succeeded);
  const std::vector<std::string> before = DestFiles();
  // The new archive is written once its stream is closed.
  struct WatchedFile : zip::FileStream {
    explicit WatchedFile(bool* closed) : closed(closed) {}
    bool* closed;
    bool Close() override {
      *closed = true;
      return zip::FileStream::Close();
    }
  };
  bool written = false;
  OutputThrough output([&written](const std::string& path) {
    return OpenAs<WatchedFile>(path, zip::FileMode::CreateNew, &written);
  });
  model->writerOutput = &output;
  model->processEvents = [&] {
    if (written) model->RequestStop();
  };
  EXPECT_EQ(model->RunBackup(), BackupOutcome::Interrupted);
  EXPECT_EQ(DestFiles(), before);
  EXPECT_EQ(LastLog("Status"), "Interrupt");
}

}  // namespace
}  // namespace brisko::core::test
