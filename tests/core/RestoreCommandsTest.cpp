// Restore, delete, copy and open on the Restore tab, through the model and scripted answers.
#include <gtest/gtest.h>

#include <fstream>

#include "RestoreFixture.h"
#include "zip/extract/EntryCheck.h"
#include "zip/format/ZipErrors.h"

namespace brisko::core::test {
namespace {

class RestoreCommandsTest : public RestoreFixture {
 protected:
  void SetUp() override {
    RestoreFixture::SetUp();
    browser->SetDirectoryRestore(Target());
  }
  RestoreOutcome RestoreArchive(const std::string& name) {
    Browse(name);
    return commands->Restore();
  }
  std::string LogInformation(const std::string& archive, const std::string& tail) const {
    return archive + "  " + std::to_string(fs::file_size(archive) / 1024) + "Kb  " + tail;
  }
  // An AES archive of the source whose a.txt has one byte of its encrypted data flipped.
  std::string AlteredAesArchive(const std::string& name) {
    std::string archive = ZipWithWriter(name, "secret", zip::MemberEncryption::Aes256);
    std::string bytes = ReadFile(archive);
    const size_t at = bytes.find("a.txt");  // the name in the local header
    const size_t extra = static_cast<uint8_t>(bytes[at - 2]) | static_cast<uint8_t>(bytes[at - 1]) << 8;
    bytes[at + 5 + extra + 16 + 2 + 3] ^= 0x01;  // behind the salt and the password verifier
    std::ofstream(archive, std::ios::binary | std::ios::trunc) << bytes;
    return archive;
  }
};

TEST_F(RestoreCommandsTest, ConfirmationText) {
  browser->SetDirectoryRestore("  /restore/here ");
  commands->options.useOriginalFolder = false;
  commands->options.overwriteMode = zip::OverwriteRule::Prompt;
  EXPECT_EQ(commands->ConfirmationText("x.zip"),
            "Do you want to restore the file 'x.zip'?\r"
            "Extract to:          '/restore/here'\r"
            "Use original folder: 'No'\r"
            "Overwrite Mode:      'Prompt Before  Overwrite'");
}

TEST_F(RestoreCommandsTest, NothingToRestoreAndDeclined) {
  Browse();
  commands->Restore();
  ASSERT_EQ(ui.CallsOf("ShowMessage").size(), 1u);
  EXPECT_EQ(ui.CallsOf("ShowMessage")[0].text, "No Zip file to restore!");
  EXPECT_EQ(ui.CallsOf("ShowMessage")[0].kind, MessageKind::Information);

  ZipWithCli("x.zip");
  ui.confirmAnswers = {false};
  RestoreOutcome outcome = RestoreArchive("x.zip");
  EXPECT_EQ(outcome.status, RestoreStatus::NotRun);
  EXPECT_FALSE(fs::exists(Target("a.txt")));
  EXPECT_EQ(LogTotal(), 0);
}

TEST_F(RestoreCommandsTest, RestoresWithFoldersTimesAndLog) {
  std::string archive = ZipWithCli("x.zip");
  std::vector<bool> busySeen;
  model->Subscribe([&](unsigned changes) {
    if (changes & ModelChange::State) busySeen.push_back(model->Busy());
  });
  RestoreOutcome outcome = RestoreArchive("x.zip");
  EXPECT_EQ(outcome.status, RestoreStatus::Succeeds);
  EXPECT_EQ(outcome.fileCount, 2);
  EXPECT_EQ(ReadFile(Target("a.txt")), ReadFile(Src("a.txt")));
  EXPECT_EQ(ReadFile(Target("sub/b.txt")), ReadFile(Src("sub/b.txt")));
  EXPECT_EQ(platform::StatFile(Target("sub/b.txt")).lastWrite, LocalMomentToTime(2024, 3, 2, 11, 30, 4));
  EXPECT_EQ(busySeen, (std::vector<bool>{true, false}));
  EXPECT_FALSE(model->Busy());
  EXPECT_EQ(model->Progress(), 0);
  ASSERT_EQ(TimedTexts().size(), 1u);
  EXPECT_EQ(TimedTexts()[0], "Restore Files Succeeds!\rProject Name: 'Docs'\rFilename:     'x.zip'");
  EXPECT_EQ(ui.CallsOf("ShowTimedMessage")[0].seconds, 4);
  EXPECT_EQ(LastLog("Operate"), "Restore");
  EXPECT_EQ(LastLog("Status"), "Succeeds");
  EXPECT_EQ(LastLog("Project"), "Docs");
  EXPECT_EQ(LastLog("Information"), LogInformation(archive, "2 of 2 files restored"));
  EXPECT_EQ(model->Log().Rows()[1][lcStatus], "Succeeds");
}

TEST_F(RestoreCommandsTest, FlatRestoreAndWriterArchive) {
  ZipWithWriter("w.zip");
  commands->options.useOriginalFolder = false;
  EXPECT_EQ(RestoreArchive("w.zip").status, RestoreStatus::Succeeds);
  EXPECT_TRUE(fs::exists(Target("a.txt")));
  EXPECT_TRUE(fs::exists(Target("b.txt")));
  EXPECT_FALSE(fs::exists(Target("sub")));
  commands->options.useOriginalFolder = true;
  commands->options.overwriteMode = zip::OverwriteRule::Always;
  EXPECT_EQ(RestoreArchive("w.zip").status, RestoreStatus::Succeeds);
  EXPECT_EQ(ReadFile(Target("sub/b.txt")), ReadFile(Src("sub/b.txt")));
}

TEST_F(RestoreCommandsTest, OverwriteModes) {
  struct Case {
    const char* label;
    zip::OverwriteRule mode;
    std::time_t existingTime;  // the entry a.txt is from 2024-03-01 10:00:00
    std::optional<bool> promptAnswer;
    bool replaced;
  };
  const std::time_t older = LocalMomentToTime(2024, 1, 1, 8, 0, 0);
  const std::time_t newer = LocalMomentToTime(2024, 6, 1, 8, 0, 0);
  const std::time_t sameInterval = LocalMomentToTime(2024, 3, 1, 10, 0, 1);
  const Case cases[] = {
      {"always", zip::OverwriteRule::Always, newer, std::nullopt, true},
      {"never", zip::OverwriteRule::Never, older, std::nullopt, false},
      {"if newer, existing older", zip::OverwriteRule::IfNewer, older, std::nullopt, true},
      {"if newer, existing newer", zip::OverwriteRule::IfNewer, newer, std::nullopt, false},
      {"if newer, same 2 seconds", zip::OverwriteRule::IfNewer, sameInterval, std::nullopt, false},
      {"if older, existing newer", zip::OverwriteRule::IfOlder, newer, std::nullopt, true},
      {"if older, existing older", zip::OverwriteRule::IfOlder, older, std::nullopt, false},
      {"prompt, yes", zip::OverwriteRule::Prompt, older, true, true},
      {"prompt, no", zip::OverwriteRule::Prompt, older, false, false},
  };
  ZipWithCli("x.zip");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    fs::remove_all(Target());
    WriteFileAt(Target("a.txt"), "existing", c.existingTime);
    ui.calls.clear();
    ui.overwriteAnswers.clear();
    if (c.promptAnswer) ui.overwriteAnswers = {*c.promptAnswer};
    commands->options.overwriteMode = c.mode;
    EXPECT_EQ(RestoreArchive("x.zip").status, RestoreStatus::Succeeds);
    EXPECT_EQ(ReadFile(Target("a.txt")) != "existing", c.replaced);
    EXPECT_EQ(ReadFile(Target("sub/b.txt")), ReadFile(Src("sub/b.txt")));
    auto asked = ui.CallsOf("AskOverwrite");
    if (c.promptAnswer) {
      ASSERT_EQ(asked.size(), 1u);
      EXPECT_EQ(asked[0].caption, "File Exists Alert");
      EXPECT_EQ(asked[0].text, "Replace existing file " + Target("a.txt") + "?");
    } else {
      EXPECT_TRUE(asked.empty());
    }
    EXPECT_EQ(LastLog("Status"), "Succeeds");
  }
}

TEST_F(RestoreCommandsTest, PasswordIsKeptForTheNextRestore) {
  ZipWithCli("p1.zip", "-P secret");
  ZipWithCli("p2.zip", "-P secret");
  commands->options.password = "secret";
  EXPECT_EQ(RestoreArchive("p1.zip").status, RestoreStatus::Succeeds);
  fs::remove_all(Target());
  commands->options.password = "  ";
  EXPECT_EQ(RestoreArchive("p2.zip").status, RestoreStatus::Succeeds);
  EXPECT_EQ(ReadFile(Target("a.txt")), ReadFile(Src("a.txt")));
  EXPECT_EQ(commands->Password(), "secret");
}

TEST_F(RestoreCommandsTest, WrongPasswordFails) {
  std::string archive = ZipLikeCli("p.zip", "-P secret");
  commands->options.password = "wrong";
  RestoreOutcome outcome = RestoreArchive("p.zip");
  EXPECT_EQ(outcome.status, RestoreStatus::Fails);
  EXPECT_TRUE(outcome.badPassword);
  ASSERT_EQ(ui.CallsOf("ShowMessage").size(), 2u);  // no second password is asked for
  EXPECT_EQ(ui.CallsOf("ShowMessage")[0].text, "The password is incorrect");
  EXPECT_EQ(ui.CallsOf("ShowMessage")[1].text,
            "Not restored (0 of 2 files restored):\ra.txt: wrong password");
  EXPECT_EQ(ui.CallsOf("ShowMessage")[0].kind, MessageKind::Error);
  EXPECT_EQ(TimedTexts(), std::vector<std::string>{"Restore files fails!"});
  EXPECT_EQ(ui.CallsOf("ShowTimedMessage")[0].kind, MessageKind::Error);
  EXPECT_EQ(LastLog("Status"), "Fails");
  EXPECT_EQ(LastLog("Information"), LogInformation(archive, "0 of 2 files restored; a.txt: wrong password"));
  EXPECT_FALSE(model->Busy());
  EXPECT_FALSE(fs::exists(Target("a.txt")));
}

TEST_F(RestoreCommandsTest, CorruptedMemberFails) {
  std::string archive = ZipWithCli("bad.zip", "-0");
  std::string bytes = ReadFile(archive);
  size_t at = bytes.find("alpha alpha");
  ASSERT_NE(at, std::string::npos);
  bytes[at] = 'A';
  std::ofstream(archive, std::ios::binary | std::ios::trunc) << bytes;
  RestoreOutcome outcome = RestoreArchive("bad.zip");
  EXPECT_EQ(outcome.status, RestoreStatus::Fails);
  EXPECT_EQ(outcome.badCrc, 1);
  ASSERT_EQ(outcome.failures.size(), 1u);
  EXPECT_EQ(outcome.failures[0].name, "a.txt");
  EXPECT_EQ(outcome.failures[0].reason, "bad CRC");
  EXPECT_EQ(TimedTexts(), std::vector<std::string>{"Restore files fails!"});
  EXPECT_EQ(LastLog("Status"), "Fails");
  EXPECT_FALSE(fs::exists(Target("a.txt")));  // the bad output is deleted
  EXPECT_TRUE(fs::exists(Target("sub/b.txt")));
}

TEST_F(RestoreCommandsTest, AesMemberWithWrongPasswordOrAlteredDataFails) {
  ZipWithWriter("aes.zip", "secret", zip::MemberEncryption::Aes256);
  AlteredAesArchive("altered.zip");
  struct Case {
    const char* archive;
    const char* password;
    const char* reason;
  };
  for (const Case& c :
       {Case{"aes.zip", "wrong", "wrong password"}, Case{"altered.zip", "secret", "damaged or altered"}}) {
    SCOPED_TRACE(c.archive);
    fs::remove_all(Target());
    commands->options.password = c.password;
    RestoreOutcome outcome = RestoreArchive(c.archive);
    EXPECT_EQ(outcome.status, RestoreStatus::Fails);
    ASSERT_FALSE(outcome.failures.empty());
    EXPECT_EQ(outcome.failures[0].name, "a.txt");
    EXPECT_EQ(outcome.failures[0].reason, c.reason);
    EXPECT_FALSE(fs::exists(Target("a.txt")));
  }
  EXPECT_EQ(ReadFile(Target("sub/b.txt")),
            ReadFile(Src("sub/b.txt")));  // the intact member of the altered one
}

TEST_F(RestoreCommandsTest, EntryThatCannotBeCreatedFails) {
  ZipWithCli("x.zip");
  fs::create_directories(Target());
  WriteFileAt(Target("sub"), "a file where the folder should be");
  commands->options.overwriteMode = zip::OverwriteRule::Always;
  RestoreOutcome outcome = RestoreArchive("x.zip");
  EXPECT_EQ(outcome.status, RestoreStatus::Fails);
  EXPECT_EQ(LastLog("Status"), "Fails");
  ASSERT_EQ(outcome.failures.size(), 1u);
  const std::string member = std::string("sub") + platform::kPathDelim + "b.txt";  // named natively
  EXPECT_EQ(outcome.failures[0].name, member);
  EXPECT_EQ(outcome.failures[0].reason.rfind("cannot create", 0), 0u) << outcome.failures[0].reason;
  EXPECT_NE(LastLog("Information").find("1 of 2 files restored; " + member + ": cannot create"),
            std::string::npos);
}

TEST_F(RestoreCommandsTest, StopEndsTheRunAndLogsItInterrupted) {
  WriteSource("big.bin", std::string(4 << 20, 'x'), LocalMomentToTime(2024, 3, 1, 10, 0, 0));
  ZipWithWriter("x.zip");
  model->processEvents = [this] { model->RequestStop(); };
  const RestoreOutcome outcome = RestoreArchive("x.zip");
  EXPECT_EQ(outcome.status, RestoreStatus::Interrupted);
  EXPECT_EQ(LastLog("Status"), "Interrupt");
  EXPECT_NE(LastLog("Information").find("stopped by the user"), std::string::npos);
  EXPECT_FALSE(fs::exists(Target("big.bin")));  // no partial file is left
  for (const auto& e : fs::recursive_directory_iterator(Target()))
    EXPECT_FALSE(e.is_regular_file()) << e.path();
  EXPECT_FALSE(model->Busy());
  EXPECT_EQ(model->Progress(), 0);
}

TEST_F(RestoreCommandsTest, NotAnArchiveIsThrownWithoutLog) {
  WriteFileAt(Archives("text.zip"), "this is no archive at all");
  Browse("text.zip");
  EXPECT_THROW(commands->Restore(), zip::IncompleteArchiveError);
  EXPECT_EQ(LogTotal(), 0);
  EXPECT_TRUE(TimedTexts().empty());
  EXPECT_FALSE(model->Busy());
}

TEST_F(RestoreCommandsTest, DeleteSelectedAsksAndRefreshes) {
  for (const char* n : {"1.zip", "2.zip", "3.zip", "4.zip"}) WriteFileAt(Archives(n), "x");
  model->Settings().byField = 0;
  Browse("1.zip");
  browser->SelectRange(0, 2);
  ui.confirmAnswers = {false};
  commands->DeleteSelected();
  EXPECT_EQ(ui.CallsOf("Confirm").back().text, "Do you want to delete the 3 files \r1.zip\r2.zip\r3.zip");
  EXPECT_EQ(browser->Archives().size(), 4u);
  browser->SelectRow(0);
  browser->SelectRange(0, 2);
  commands->DeleteSelected();
  EXPECT_EQ(browser->ArchiveCountLabel(), "(Total 1 files)");
  ASSERT_EQ(browser->Archives().size(), 1u);
  EXPECT_EQ(browser->Archives()[0].name, "4.zip");
  EXPECT_EQ(LogTotal(), 0);
}

TEST_F(RestoreCommandsTest, CopyAsksBeforeReplacing) {
  std::string archive = ZipWithCli("x.zip");
  Browse("x.zip");
  ui.folderAnswers = {std::nullopt};
  EXPECT_FALSE(commands->CopyCurrent());
  ui.folderAnswers = {Target()};
  EXPECT_TRUE(commands->CopyCurrent());
  EXPECT_EQ(ui.CallsOf("PickFolder").back().caption, "Copy 'x.zip' to destination folder");
  EXPECT_EQ(ReadFile(Target("x.zip")), ReadFile(archive));
  EXPECT_EQ(platform::StatFile(Target("x.zip")).lastWrite, platform::StatFile(archive).lastWrite);
  EXPECT_TRUE(ui.CallsOf("AskOverwrite").empty());

  WriteFileAt(Target("x.zip"), "older copy");
  ui.folderAnswers = {Target()};
  ui.overwriteAnswers = {false};
  EXPECT_FALSE(commands->CopyCurrent());
  EXPECT_EQ(ui.CallsOf("AskOverwrite").back().text, "File already exists! Do you want to overwrite?");
  EXPECT_EQ(ReadFile(Target("x.zip")), "older copy");
  ui.folderAnswers = {Target()};
  ui.overwriteAnswers = {true};
  EXPECT_TRUE(commands->CopyCurrent());
  EXPECT_EQ(ReadFile(Target("x.zip")), ReadFile(archive));

  // Onto its own folder: asked, and the archive stays as it was.
  const std::string before = ReadFile(archive);
  ui.folderAnswers = {Archives()};
  ui.overwriteAnswers = {true};
  commands->CopyCurrent();
  EXPECT_EQ(ReadFile(archive), before);
  EXPECT_EQ(ui.CallsOf("AskOverwrite").size(), 3u);
}

TEST_F(RestoreCommandsTest, OpenUsesThePlatformOpener) {
  Browse();
  EXPECT_FALSE(commands->OpenCurrent());
  ZipWithCli("x.zip");
  Browse("x.zip");
  EXPECT_TRUE(commands->OpenCurrent());
  EXPECT_EQ(opened, std::vector<std::string>{Archives("x.zip")});
}

TEST_F(RestoreCommandsTest, TestActionChecksEveryMemberWithTheRestorePassword) {
  ZipWithCli("plain.zip");
  ZipWithCli("secret.zip", "-P pw");
  ZipWithWriter("aes.zip", "secret", zip::MemberEncryption::Aes256);
  AlteredAesArchive("altered.zip");
  std::string damaged = ZipWithCli("damaged.zip", "-0");
  std::string bytes = ReadFile(damaged);
  // Inside the first member's stored data, behind its local header, name and extra fields.
  const auto u16 = [&bytes](size_t at) {
    return static_cast<uint8_t>(bytes[at]) | static_cast<uint8_t>(bytes[at + 1]) << 8;
  };
  bytes[30 + u16(26) + u16(28) + 5] ^= 0x01;
  std::ofstream(damaged, std::ios::binary | std::ios::trunc) << bytes;
  struct Case {
    const char* archive;
    const char* password;
    bool passes;
    std::string text;
  };
  for (const Case& c : {Case{"plain.zip", "", true, "Test of 'plain.zip' passed: 2 member(s) verified"},
                        Case{"secret.zip", "pw", true, "passed"},
                        Case{"secret.zip", "wrong", false, "Test of 'secret.zip' failed: "},
                        Case{"damaged.zip", "", false, "Test of 'damaged.zip' failed: a.txt: bad CRC"},
                        Case{"aes.zip", "secret", true, "passed: 2 member(s)"},
                        Case{"aes.zip", "wrong", false, "password not accepted"},
                        Case{"altered.zip", "secret", false, "a.txt: " + std::string(zip::kMsgAltered)}}) {
    SCOPED_TRACE(std::string(c.archive) + " " + c.password);
    Browse(c.archive);
    commands->options.password = c.password;
    ui.calls.clear();
    EXPECT_EQ(commands->TestCurrent(), c.passes);
    const auto shown = ui.CallsOf("ShowMessage");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].text.find(c.text), std::string::npos) << shown[0].text;
    EXPECT_EQ(shown[0].kind, c.passes ? MessageKind::Information : MessageKind::Error);
    EXPECT_FALSE(model->Busy());
  }
}

}  // namespace
}  // namespace brisko::core::test
