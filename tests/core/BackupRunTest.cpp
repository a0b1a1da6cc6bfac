// Backup runs through the main-window model on temporary folders.
#include "core/BackupRun.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#endif

#include <cstring>

#include "BackupFixture.h"
#include "core/LastBackup.h"
#include "core/OwnArchives.h"
#include "core/ProjectStore.h"
#include "core/view/ProjectFormCheck.h"
#include "support/TestEnvironment.h"
#include "zip/io/ZipStream.h"
#include "zip/names/ZipPaths.h"

namespace brisko::core::test {
namespace {

using BackupRunTest = BackupFixture;

TEST_F(BackupRunTest, NumberRunWritesArchiveLogsAndAdvances) {
  WriteOneProject({{"Value", "11"}}, {{"Is Append 0", "1"}, {"Width", "4"}});
  auto model = StartModel();
  EXPECT_EQ(model->Form().fileName, DestPath("Docs0012.zip"));

  EXPECT_EQ(model->RunBackup(), BackupOutcome::Succeeded);
  const std::string archive = DestPath("Docs0012.zip");
  ASSERT_TRUE(fs::exists(FsPath(archive)));
  EXPECT_TRUE(UnzipTestOk(archive));
  EXPECT_EQ(ZipMembers(archive), (std::vector<std::string>{"a.txt", "b.txt", "c.txt"}));
  EXPECT_EQ(DestFiles(), std::vector<std::string>{"Docs0012.zip"});  // no temporary left

  // The field shows the next name, the stored Value is the number just used.
  EXPECT_EQ(model->Form().fileName, DestPath("Docs0013.zip"));
  EXPECT_EQ(model->Form().nextNumber, 13);
  EXPECT_EQ(ProjectIni().ReadInteger("Docs", "Value", -1), 12);

  const auto timed = ui.CallsOf("ShowTimedMessage");
  ASSERT_EQ(timed.size(), 1u);
  EXPECT_EQ(timed[0].kind, MessageKind::Information);
  EXPECT_EQ(timed[0].seconds, 4);
  EXPECT_EQ(timed[0].text,
            "Backup Files Succeeds!\rProject Name: 'Docs'\rFile Name:    'Docs0012.zip'\r"
            "File Size:    '0Kb'");
  EXPECT_EQ(LastLog("Operate"), "Backup");
  EXPECT_EQ(LastLog("Status"), "Succeeds");
  EXPECT_EQ(LastLog("Project"), "Docs");
  EXPECT_EQ(LastLog("Information"), archive + "  0Kb  verified");
  EXPECT_EQ(DescribeLastBackup(ReadLastBackup(dataDir, "Docs")),
            "Last backup: 2024-03-05 14:07, succeeded (verified)");
  EXPECT_EQ(model->Log().Rows()[1][lcStatus], "Succeeds");
  EXPECT_FALSE(model->Busy());
  EXPECT_EQ(model->Progress(), 0);
}

TEST_F(BackupRunTest, CountingGoesOnPastOneThousand) {
  WriteOneProject({{"Value", "999"}, {"Increase Value", "5"}});
  auto model = StartModel();
  EXPECT_EQ(model->Form().nextNumber, 1004);
  ASSERT_EQ(model->RunBackup(), BackupOutcome::Succeeded);
  EXPECT_EQ(model->Form().fileName, DestPath("Docs1009.zip"));
  EXPECT_EQ(ProjectIni().ReadInteger("Docs", "Value", -1), 1004);
}

TEST_F(BackupRunTest, ChecksStopTheRunInOrder) {
  struct Case {
    const char* label;
    Keys keys;
    std::function<void(ProjectForm&)> edit;
    const char* message;
  } cases[] = {
      {"no file name", {}, [](ProjectForm& f) { f.fileName = "  "; }, kMsgNoFileName},
      {"no prefix", {}, [](ProjectForm& f) { f.prefix = " "; }, kMsgNoPrefix},
      {"passwords differ",
       {},
       [](ProjectForm& f) {
         f.usePassword = true;
         f.password = "a";
         f.passwordConfirm = "b";
       },
       kMsgPasswordMismatch},
      {"no files", {}, [](ProjectForm& f) { f.backupList.clear(); }, kMsgNoFiles},
  };
  for (const Case& c : cases) {
    WriteOneProject(c.keys);
    ui.calls.clear();
    auto model = StartModel();
    c.edit(model->Form());
    EXPECT_EQ(model->RunBackup(), BackupOutcome::CheckFailed) << c.label;
    const auto boxes = ui.CallsOf("ShowMessage");
    ASSERT_EQ(boxes.size(), 1u) << c.label;
    EXPECT_EQ(boxes[0].kind, MessageKind::Error) << c.label;
    EXPECT_EQ(boxes[0].text, c.message) << c.label;
    EXPECT_TRUE(DestFiles().empty()) << c.label;
  }
  // Two empty password fields pass.
  ProjectForm form;
  form.fileName = "x.zip";
  form.prefix = "x";
  form.usePassword = true;
  form.password = " ";
  form.backupList = {"a"};
  EXPECT_FALSE(FirstFailedCheck(form).has_value());
}

TEST_F(BackupRunTest, DeclinedConfirmationWritesNothing) {
  WriteOneProject({}, {{"PromptBeforeBackup", "1"}});
  ui.confirmAnswers = {false};
  auto model = StartModel();
  EXPECT_EQ(model->RunBackup(), BackupOutcome::NotRun);
  const auto asked = ui.CallsOf("Confirm");
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].text, "Do you want to backup the project 'Docs'?");
  EXPECT_EQ(asked[0].kind, MessageKind::Information);
  EXPECT_TRUE(DestFiles().empty());
  EXPECT_FALSE(fs::exists(data / "log.txt"));
  EXPECT_EQ(ProjectIni().ReadInteger("Docs", "Value", -1), 0);
}

TEST_F(BackupRunTest, ForeignFileUnderTheNameInterruptsWithoutOverwrite) {
  WriteOneProject({{"Suffix", "0"}});
  auto model = StartModel();
  ASSERT_EQ(model->RunBackup(), BackupOutcome::Succeeded);
  const std::string archive = DestPath("Docs.zip");
  ::brisko::test::WriteFile(archive, "not written by the project");
  const auto before = fs::last_write_time(FsPath(archive));
  ui.calls.clear();

  EXPECT_EQ(model->RunBackup(), BackupOutcome::Interrupted);
  const auto timed = ui.CallsOf("ShowTimedMessage");
  ASSERT_EQ(timed.size(), 1u);
  EXPECT_EQ(timed[0].kind, MessageKind::Warning);
  EXPECT_EQ(timed[0].seconds, 4);
  EXPECT_EQ(timed[0].text.rfind(archive + " exists,backup will be interrupted!\r", 0), 0u) << timed[0].text;
  EXPECT_EQ(LastLog("Status"), "Interrupt");
  EXPECT_EQ(LastLog("Information").rfind("'" + archive + "' exists,backup interripted  ", 0), 0u);
  EXPECT_TRUE(model->Log().IsRedRow(1));
  EXPECT_EQ(fs::last_write_time(FsPath(archive)), before);
  EXPECT_EQ(IniFile((data / "StoreNumber.txt").string()).ReadString("Docs", "N1", ""), "");  // no ring
}

TEST_F(BackupRunTest, StopRemovesThePartialArchiveAndLogsTheRunInterrupted) {
  WriteFile("big.bin", std::string(4 << 20, 'x'));
  WriteOneProject({{"Suffix", "0"}});
  auto model = StartModel();
  model->processEvents = [&model] { model->RequestStop(); };
  ui.calls.clear();
  EXPECT_EQ(model->RunBackup(), BackupOutcome::Interrupted);
  EXPECT_TRUE(DestFiles().empty());  // neither the archive nor its temporary file
  EXPECT_TRUE(ui.CallsOf("ShowMessage").empty());
  ASSERT_EQ(ui.CallsOf("ShowTimedMessage").size(), 1u);
  EXPECT_EQ(ui.CallsOf("ShowTimedMessage")[0].text,
            "Backup stopped: " + DestPath("Docs.zip") + " was not written.");
  EXPECT_EQ(LastLog("Status"), "Interrupt");
  EXPECT_EQ(LastLog("Information"), "'" + DestPath("Docs.zip") + "' not written, backup stopped by the user");
  EXPECT_EQ(DescribeLastBackup(ReadLastBackup(dataDir, "Docs")),
            "Last backup: 2024-03-05 14:07, stopped: by the user");
  EXPECT_FALSE(model->Busy());

  model->processEvents = nullptr;  // the next run starts without the old request
  EXPECT_EQ(model->RunBackup(), BackupOutcome::Succeeded);
}

TEST_F(BackupRunTest, OverwriteReplacesTheArchiveOnlyWhenTheNewOneIsComplete) {
  WriteOneProject({{"Suffix", "0"}}, {{"IsOverWrite", "1"}});
  auto model = StartModel();
  ASSERT_EQ(model->RunBackup(), BackupOutcome::Succeeded);
  const std::string archive = DestPath("Docs.zip");
  WriteFile("new.txt", "added later\n");
  ASSERT_EQ(model->RunBackup(), BackupOutcome::Succeeded);
  EXPECT_TRUE(UnzipTestOk(archive));
  EXPECT_EQ(ZipMembers(archive), (std::vector<std::string>{"a.txt", "b.txt", "c.txt", "new.txt"}));

  // A write that fails (disk full) leaves the previous archive as it was and nothing beside it.
  const std::uintmax_t size = fs::file_size(FsPath(archive));
  const std::string oldBytes = ReadFile(archive);
  WriteFile("more.txt", std::string(100000, 'x'));
  struct FullDisk : zip::ZipStream {
    size_t Read(void*, size_t) override { return 0; }
    size_t Write(const void*, size_t n) override { return written_ + n > 200 ? 0 : (written_ += n, n); }
    bool Seek(uint64_t p) override {
      pos_ = p;
      return true;
    }
    uint64_t Position() const override { return pos_; }
    uint64_t Size() override { return written_; }
    size_t written_ = 0;
    uint64_t pos_ = 0;
  };
  OutputThrough output([](const std::string&) { return std::unique_ptr<zip::ZipStream>(new FullDisk); });
  model->writerOutput = &output;
  ui.calls.clear();
  EXPECT_EQ(model->RunBackup(), BackupOutcome::Failed);
  const auto errors = ui.CallsOf("ShowMessage");
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].text, "Not enough room to write archive\rProject Name: 'Docs'");
  EXPECT_EQ(fs::file_size(FsPath(archive)), size);
  EXPECT_EQ(ReadFile(archive), oldBytes);
  EXPECT_EQ(DestFiles(), std::vector<std::string>{"Docs.zip"});
  EXPECT_EQ(LastLog("Status"), "Fails");
  EXPECT_EQ(LastLog("Information"), archive + "  Not enough room to write archive");
  EXPECT_FALSE(model->Busy());
}

TEST_F(BackupRunTest, OwnArchivesInsideTheSourceAreNotBackedUpIntoTheirSuccessors) {
  WriteOneProject({{"Save Path", src.string() + "/"}});
  WriteFile("Docs-notes.zip", "a user's file that only looks alike");
  WriteFile("Docs1.zip.0123456789ab.part", "left by a killed run");
  auto model = StartModel();
  for (int i = 0; i < 3; ++i) ASSERT_EQ(model->RunBackup(), BackupOutcome::Succeeded);
  EXPECT_EQ(ZipMembers((src / "Docs3.zip").string()),
            (std::vector<std::string>{"Docs-notes.zip", "a.txt", "b.txt", "c.txt"}));
  EXPECT_FALSE(fs::exists(src / "Docs1.zip.0123456789ab.part"));  // the leftover was cleared away
  EXPECT_TRUE(IsOwnArchiveName("Docs2024-03-05_14h07m09s.zip", "Docs"));
  EXPECT_TRUE(IsOwnArchiveName("Docs03-05_14h07m09s.zip", "Docs"));  // named before the year was added
  EXPECT_TRUE(IsOwnArchiveName("Docs.zip", "Docs"));
  EXPECT_FALSE(IsOwnArchiveName("Docs03-05.zip", "Docs"));
  // Another file where case counts; the same one where names ignore case.
  EXPECT_EQ(IsOwnArchiveName("docs1.zip", "Docs"), platform::kNamesIgnoreCase);
  EXPECT_FALSE(IsOwnArchiveName("Docs1.zip.part", "Docs", true));
}

// A socket cannot be opened for reading, even by root.
void MakeSocket(const fs::path& path) {
#ifndef _WIN32
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(fd, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  ASSERT_LT(path.string().size(), sizeof addr.sun_path);
  std::strcpy(addr.sun_path, path.c_str());
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  ::close(fd);
#endif
}

TEST_F(BackupRunTest, FileNotStoredMakesTheRunFailButKeepsTheArchive) {
  BRISKO_POSIX_ONLY("a socket is a file that cannot be read");
  const fs::path sock = root / "sock";
  MakeSocket(sock);
  WriteOneProject({{"Backup Directory Count", "2"}, {"Backup1", sock.string()}, {"isUseToday", "1"}});
  auto model = StartModel();
  const DateTime newerBefore = model->Form().NewerThan();
  EXPECT_EQ(model->RunBackup(), BackupOutcome::Incomplete);
  fs::remove(sock);

  const std::string archive = DestPath("Docs1.zip");
  ASSERT_TRUE(fs::exists(FsPath(archive)));
  EXPECT_TRUE(UnzipTestOk(archive));
  const auto timed = ui.CallsOf("ShowTimedMessage");
  ASSERT_EQ(timed.size(), 1u);
  EXPECT_EQ(timed[0].kind, MessageKind::Warning);
  EXPECT_NE(timed[0].text.find("1 file(s) not stored"), std::string::npos) << timed[0].text;
  EXPECT_EQ(timed[0].text.find("Succeeds"), std::string::npos);
  EXPECT_EQ(LastLog("Status"), "Fails");
  EXPECT_EQ(LastLog("Information"), archive +
                                        "  0Kb  verified  1 file(s) not stored, first: " + sock.string() +
                                        " (cannot be read); the archive is kept outside the rotation and no "
                                        "older archive was deleted");
  EXPECT_EQ(IniFile((data / "StoreNumber.txt").string()).ReadString("Docs", "N1", ""), "");
  // The counter moves on; the newer-than moment stays so the missed file is tried again.
  EXPECT_EQ(ProjectIni().ReadInteger("Docs", "Value", -1), 1);
  EXPECT_EQ(ProjectIni().ReadString("Docs", "NewDateTime", ""), "2024-01-01 12:00:00");
  EXPECT_DOUBLE_EQ(model->Form().NewerThan(), newerBefore);
}

TEST_F(BackupRunTest, NewerThanBoundaryAndUseLastBackupTime) {
  WriteFile("old.txt", "old\n");
  WriteFile("edge.txt", "edge\n");
  // Moments ahead of the files' change times (which no test can set): only modification times decide.
  const std::time_t newer = std::time(nullptr) + 3600, run1 = newer + 86400, run2 = run1 + 86400;
  WriteOneProject({{"isUseNew", "1"},
                   {"isUseToday", "1"},
                   {"NewDateTime", FormatDateTime(FromTimeT(newer))},
                   {"Backup0", src.string() + "/*.txt"},
                   {"Whether include Subdirectory", "0"}});
  SetMTime("old.txt", FromTimeT(newer - 1));
  SetMTime("edge.txt", FromTimeT(newer));
  SetMTime("a.txt", FromTimeT(run1 - 1));
  SetMTime("b.txt", FromTimeT(run1));
  clock.Set(FromTimeT(run1));
  auto model = StartModel();
  ASSERT_EQ(model->RunBackup(), BackupOutcome::Succeeded);
  EXPECT_EQ(ZipMembers(DestPath("Docs1.zip")), (std::vector<std::string>{"a.txt", "b.txt", "edge.txt"}));

  // The moment moved to the start of the run, in the file and in the fields.
  EXPECT_EQ(ProjectIni().ReadString("Docs", "NewDateTime", ""), FormatDateTime(FromTimeT(run1)));
  EXPECT_EQ(FormatDateTime(model->Form().NewerThan()), FormatDateTime(FromTimeT(run1)));

  // The next run passes over everything modified before that moment.
  clock.Set(FromTimeT(run2));
  ASSERT_EQ(model->RunBackup(), BackupOutcome::Succeeded);
  EXPECT_EQ(ZipMembers(DestPath("Docs2.zip")), std::vector<std::string>{"b.txt"});
  EXPECT_EQ(ProjectIni().ReadString("Docs", "NewDateTime", ""), FormatDateTime(FromTimeT(run2)));
}

TEST_F(BackupRunTest, NothingToStoreWritesNoArchiveAndRotatesNothing) {
  WriteOneProject({{"Backup0", src.string() + "/*.none"}});
  auto model = StartModel();
  ASSERT_EQ(model->RunBackup(), BackupOutcome::NothingToStore);
  EXPECT_TRUE(DestFiles().empty());
  EXPECT_EQ(LastLog("Status"), "Succeeds");
  EXPECT_EQ(LastLog("Information"), "No file was found, no archive written (" + DestPath("Docs1.zip") + ")");
  EXPECT_FALSE(fs::exists(data / "StoreNumber.txt"));
  EXPECT_EQ(model->Form().fileName, DestPath("Docs1.zip"));
}

TEST_F(BackupRunTest, PasswordAndCommentFollowTheProjectShown) {
  BRISKO_SKIP_WITHOUT_POSIX_SHELL();
  WriteProjectIni({{"Plain", ProjectKeys({{"Filename prefix", "Plain"}})},
                   {"Secret", ProjectKeys({{"Filename prefix", "Secret"},
                                           {"Whether store comment in Zip", "1"},
                                           {"Comment", "  weekly  "}})}});
  auto model = StartModel();
  ASSERT_TRUE(model->SelectProjectByName("secret"));
  model->Form().usePassword = true;
  model->Form().password = model->Form().passwordConfirm = " pw ";
  ASSERT_EQ(model->RunBackup(), BackupOutcome::Succeeded);
  const std::string secret = DestPath("Secret1.zip");
  EXPECT_EQ(RunShell("unzip -tq -P pw " + ShellQuote(secret) + " >/dev/null 2>&1").exitCode, 0);
  EXPECT_NE(RunShell("unzip -tq -P wrong " + ShellQuote(secret) + " >/dev/null 2>&1").exitCode, 0);
  EXPECT_EQ(
      RunShell("python3 -c 'import sys,zipfile; print(zipfile.ZipFile(sys.argv[1]).comment.decode())' " +
               ShellQuote(secret))
          .out,
      "weekly\n");

  ASSERT_TRUE(model->SelectProjectByName("Plain"));
  ASSERT_EQ(model->RunBackup(), BackupOutcome::Succeeded);
  EXPECT_TRUE(UnzipTestOk(DestPath("Plain1.zip")));  // no password asked: not encrypted
}

TEST_F(BackupRunTest, RotationKeepsTheLastArchivesWhileTheCountIsLoweredAndRaised) {
  WriteOneProject({{"Store Number", "3"}});
  auto model = StartModel();
  auto run = [&] { ASSERT_EQ(model->RunBackup(), BackupOutcome::Succeeded); };
  for (int i = 0; i < 5; ++i) run();
  EXPECT_EQ(DestFiles(), (std::vector<std::string>{"Docs3.zip", "Docs4.zip", "Docs5.zip"}));

  model->Form().storeNumber = 2;  // lowered: surplus goes at once
  run();
  EXPECT_EQ(DestFiles(), (std::vector<std::string>{"Docs5.zip", "Docs6.zip"}));

  model->Form().storeNumber = 4;  // raised: grows once the ring has passed its old end
  run();
  run();
  run();
  EXPECT_EQ(DestFiles(), (std::vector<std::string>{"Docs6.zip", "Docs7.zip", "Docs8.zip", "Docs9.zip"}));
  run();
  EXPECT_EQ(DestFiles(), (std::vector<std::string>{"Docs10.zip", "Docs7.zip", "Docs8.zip", "Docs9.zip"}));
  for (const std::string& name : DestFiles()) EXPECT_TRUE(UnzipTestOk(DestPath(name))) << name;
}

TEST_F(BackupRunTest, BadNewDateTimeIsShownButLoadingGoesOn) {
  WriteOneProject(
      {{"NewDateTime", "2024-13-45 99:00:00"}, {"BackupMode", "1"}, {"StartTime_or_Increase", "5"}});
  {
    IniFile log((data / "log.txt").string());
    log.WriteInteger("Common", "Log Total", 1);
    log.WriteString("Log1", "Status", "Succeeds");
  }
  auto model = StartModel();
  const auto boxes = ui.CallsOf("ShowMessage");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "'2024-13-45 99:00:00' is not a valid date and time");
  EXPECT_EQ(model->Form().prefix, "Docs");
  EXPECT_EQ(model->Form().fileName, DestPath("Docs1.zip"));
  EXPECT_EQ(model->Log().Count(), 1);  // the log was still loaded
  EXPECT_EQ(model->Schedule().size(), 1u);
  EXPECT_EQ(FormatDateTime(model->Form().NewerThan()), FormatDateTime(clock.Now()));
  EXPECT_EQ(model->RunBackup(), BackupOutcome::Succeeded);
}

TEST_F(BackupRunTest, EnablingFollowsBrowseEditAndBusy) {
  WriteOneProject();
  auto model = StartModel();
  ControlEnabling e = model->Enabling();
  EXPECT_TRUE(e.spStart && e.spEdit && e.comboProject && !e.spSave && !e.groupSource);
  model->SetEditState(true);
  e = model->Enabling();
  EXPECT_TRUE(!e.spStart && !e.spEdit && !e.comboProject && e.spSave && e.spCancel && e.groupOptions &&
              e.spCopy);
  model->SetEditState(false);
  bool sawBusy = false;
  model->Subscribe([&](unsigned changes) {
    if ((changes & ModelChange::State) && model->Busy()) {
      sawBusy = true;
      const ControlEnabling b = model->Enabling();
      EXPECT_FALSE(b.spStart || b.spRestore || b.pageControl || b.trayProjectItems);
      EXPECT_TRUE(b.busyCursor);
    }
  });
  ASSERT_EQ(model->RunBackup(), BackupOutcome::Succeeded);
  EXPECT_TRUE(sawBusy);
  EXPECT_TRUE(model->Enabling().spStart);
}

TEST_F(BackupRunTest, DateNamesOfTheSameSecondCoincide) {
  WriteOneProject({{"Suffix", "1"}, {"Store Number", "2"}});
  auto model = StartModel();
  const std::string archive = DestPath("Docs2024-03-05_14h07m09s.zip");
  EXPECT_EQ(model->Form().fileName, archive);
  ASSERT_EQ(model->RunBackup(), BackupOutcome::Succeeded);
  EXPECT_EQ(model->RunBackup(), BackupOutcome::Interrupted);
  // Overwriting never reaches an archive the ring keeps.
  model->Settings().isOverWrite = true;
  const auto before = fs::last_write_time(FsPath(archive));
  EXPECT_EQ(model->RunBackup(), BackupOutcome::Interrupted);
  EXPECT_EQ(fs::last_write_time(FsPath(archive)), before);
  EXPECT_EQ(DestFiles(), std::vector<std::string>{"Docs2024-03-05_14h07m09s.zip"});
  EXPECT_TRUE(UnzipTestOk(archive));
  // The name is taken when the run starts: a later clock gives a later name.
  clock.Set(At(2025, 3, 5, 14, 7, 10));
  ASSERT_EQ(model->RunBackup(), BackupOutcome::Succeeded);
  EXPECT_TRUE(fs::exists(FsPath(DestPath("Docs2025-03-05_14h07m10s.zip"))));
}

TEST_F(BackupRunTest, StartWithoutSettingsAndShutdownWithoutProjectsWriteNothing) {
  auto model = StartModel();
  EXPECT_TRUE(model->Projects().empty());
  EXPECT_TRUE(model->Settings().enableSchedule);
  EXPECT_EQ(model->Log().Rows().size(), 51u);
  EXPECT_FALSE(model->TimerActive());
  EXPECT_EQ(model->RunBackup(), BackupOutcome::NotRun);
  model->Settings().logCount = 10;  // changed in memory only
  model->Shutdown();
  EXPECT_FALSE(fs::exists(data / "project.ini"));
  EXPECT_TRUE(ui.calls.empty());
}

TEST_F(BackupRunTest, ShutdownSavesTheSelectionAndSettings) {
  WriteProjectIni({{"Alpha", ProjectKeys({{"Filename prefix", "Alpha"}})},
                   {"Beta", ProjectKeys({{"Filename prefix", "Beta"}, {"BackupMode", "1"}})}});
  auto model = StartModel();
  ASSERT_EQ(model->SelectedName(), "Alpha");
  ASSERT_EQ(model->TrayItems().size(), 2u);
  EXPECT_FALSE(model->TrayItems()[0].scheduled);
  EXPECT_TRUE(model->TrayItems()[1].scheduled);
  model->SelectProject(1);
  EXPECT_EQ(model->Form().prefix, "Beta");
  model->Settings().isOverWrite = true;
  model->Shutdown();
  EXPECT_FALSE(model->TimerActive());
  EXPECT_EQ(ProjectIni().ReadString("Common", "Last Project", ""), "Beta");
  EXPECT_TRUE(ProjectIni().ReadBool("Common", "IsOverWrite", false));
}

TEST(BackupRunHelpers, OlderThanThresholdAndSizeInKb) {
  TempDir tmp("helpers");
  const fs::path dir = tmp.Path();
  const std::string file = (dir / "f.bin").string();
  std::ofstream(file, std::ios::binary) << std::string(1023, 'x');
  EXPECT_EQ(ArchiveSizeKb(file), 0);
  std::ofstream(file, std::ios::binary) << std::string(2048, 'x');
  EXPECT_EQ(ArchiveSizeKb(file), 2);
  EXPECT_THROW(ArchiveSizeKb((dir / "missing").string()), std::runtime_error);

  // Ahead of the file's status change, which is now: only the modification time decides.
  const std::time_t moment = std::time(nullptr) + 3600;
  ASSERT_TRUE(platform::SetLastWriteTime(file, moment - 1));
  EXPECT_TRUE(IsOlderThanThreshold(platform::StatFile(file), moment));
  ASSERT_TRUE(platform::SetLastWriteTime(file, moment));
  EXPECT_FALSE(IsOlderThanThreshold(platform::StatFile(file), moment));
  if (platform::kUnixModes) {
    EXPECT_FALSE(IsOlderThanThreshold(platform::StatFile(file), moment - 7200));  // changed since
  }
  EXPECT_FALSE(IsOlderThanThreshold(platform::StatFile((dir / "missing").string()), moment));
  const std::string temp = TemporaryArchiveName((dir / "Docs7.zip").string());
  EXPECT_TRUE(IsOwnArchiveName(zip::ExtractNamePart(temp), "Docs", true)) << temp;
  EXPECT_NE(TemporaryArchiveName((dir / "Docs7.zip").string()), temp);
}

}  // namespace
}  // namespace brisko::core::test
