// A backup stores every file of its sources or fails loudly: each way a run used to lose files
// while reporting success, as one scenario table, and the cases that need their own set-up.
#ifndef _WIN32
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <functional>

#include "BackupFixture.h"
#include "core/BackupRun.h"
#include "core/ProjectStore.h"
#include "support/TestEnvironment.h"

namespace brisko::core::test {
namespace {

using BackupLossTest = BackupFixture;

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

bool HasMemberEndingWith(const std::vector<std::string>& members, const std::string& end) {
  return std::any_of(members.begin(), members.end(), [&](const std::string& m) { return EndsWith(m, end); });
}

TEST_F(BackupLossTest, EveryFileIsStoredOrTheRunFailsLoudly) {
  BRISKO_SKIP_WITHOUT_POSIX_SHELL();
  struct Case {
    const char* label;
    Keys keys;
    std::function<void()> prepare;
    BackupOutcome outcome;
    std::vector<std::string> memberEnds;  // checked when an archive is expected
    const char* status;                   // newest log entry
    std::string information;              // part of its Information
  };
  const std::string S = src.string() + "/";
  const std::time_t now = std::time(nullptr);
  const std::string inAnHour = FormatDateTime(FromTimeT(now + 3600));
  const std::vector<Case> cases = {
      {"names that differ only in case are two files",
       {},
       [&] {
         WriteFile("README", "upper\n");
         WriteFile("readme", "lower\n");
       },
       BackupOutcome::Succeeded,
       {"README", "readme"},
       "Succeeds",
       "Kb"},
      {"dot folders are user data",
       {{"Whether store path in Zip", "1"}},
       [&] {
         WriteFile(".config/app/settings.ini", "x=1\n");
         WriteFile(".ssh/config", "Host *\n");
       },
       BackupOutcome::Succeeded,
       {"/.config/app/settings.ini", "/.ssh/config"},
       "Succeeds",
       "Kb"},
      {"empty folders are kept",
       {{"Whether store path in Zip", "1"}},
       [&] { fs::create_directories(src / "empty/inner"); },
       BackupOutcome::Succeeded,
       {"/empty/", "/empty/inner/", "/sub/", "/sub/c.txt"},
       "Succeeds",
       "Kb"},
      {"links are stored as links, never followed out of the source",
       {{"Whether store path in Zip", "1"}},
       [&] {
         fs::create_directory_symlink("/", src / "root-link");
         fs::create_symlink("a.txt", src / "a-link");
       },
       BackupOutcome::Succeeded,
       {"/root-link", "/a-link"},
       "Succeeds",
       "Kb"},
      {"a missing source folder fails the run",
       {{"Backup Directory Count", "2"}, {"Backup1", S + "gone/*.*"}},
       {},
       BackupOutcome::Failed,
       {},
       "Fails",
       "gone/ (not found)"},
      {"a folder named with a trailing separator backs up its files",
       {{"Backup0", S}},
       {},
       BackupOutcome::Succeeded,
       {"a.txt", "c.txt"},
       "Succeeds",
       "Kb"},
      {"a list shorter than its count fails the run",
       {{"Backup Directory Count", "2"}},
       {},
       BackupOutcome::Failed,
       {},
       "Fails",
       "'Backup1' is missing"},
      {"a missing listed file fails the run",
       {{"Backup Directory Count", "2"}, {"Backup1", S + "gone.txt"}},
       {},
       BackupOutcome::Failed,
       {},
       "Fails",
       "gone.txt (not found)"},
      {"a name stored twice fails the run",
       {},
       [&] { WriteFile("sub/a.txt", "second a\n"); },
       BackupOutcome::Incomplete,
       {"a.txt", "c.txt"},
       "Fails",
       "(a member of that name is already present)"},
      {"a file two entries name is stored once",
       {{"Backup Directory Count", "2"}, {"Backup1", S + "a.txt"}},
       {},
       BackupOutcome::Succeeded,
       {"a.txt", "c.txt"},
       "Succeeds",
       "Kb"},
      {"nothing new writes no archive",
       {{"isUseNew", "1"}, {"NewDateTime", inAnHour}},
       [&] { clock.Set(FromTimeT(now + 7200)); },
       BackupOutcome::NothingToStore,
       {},
       "Succeeds",
       "No file is newer than " + inAnHour},
      {"a file moved in with an old time is stored",
       {{"isUseNew", "1"}, {"NewDateTime", FormatDateTime(FromTimeT(now - 3600))}},
       [&] {
         clock.Set(FromTimeT(now + 60));
         SetMTime("a.txt", FromTimeT(now - 2 * 86400));
       },
       BackupOutcome::Succeeded,
       {"a.txt", "b.txt"},
       "Succeeds",
       "Kb"},
      {"a newer-than moment in the future fails the run",
       {{"isUseNew", "1"}, {"NewDateTime", "2099-01-01 00:00:00"}},
       {},
       BackupOutcome::Failed,
       {},
       "Fails",
       "'2099-01-01 00:00:00', lies in the future"},
      {"the stored instant in UTC wins over the local time",
       {{"isUseNew", "1"},
        {"NewDateTime", "2099-01-01 00:00:00"},
        {"NewDateTime UTC", "2000-01-01 00:00:00"}},
       {},
       BackupOutcome::Succeeded,
       {"a.txt", "c.txt"},
       "Succeeds",
       "Kb"},
      {"an unreadable newer-than moment never becomes now",
       {{"isUseNew", "1"}, {"NewDateTime", "someday"}},
       {},
       BackupOutcome::Failed,
       {},
       "Fails",
       "'someday', is not a valid date and time"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    SetUp();  // a fresh tree for every case
    clock.Set(At(2024, 3, 5, 14, 7, 9));
    if (c.prepare) c.prepare();
    WriteOneProject(c.keys);
    auto model = StartModel();
    ui.calls.clear();
    EXPECT_EQ(model->RunBackup(), c.outcome);
    const bool archived = c.outcome == BackupOutcome::Succeeded || c.outcome == BackupOutcome::Incomplete;
    EXPECT_EQ(DestFiles().size(), archived ? 1u : 0u);  // never a temporary file left
    if (archived) {
      EXPECT_TRUE(UnzipTestOk(DestPath("Docs1.zip")));
      const auto members = ZipMembers(DestPath("Docs1.zip"));
      for (const std::string& end : c.memberEnds) EXPECT_TRUE(HasMemberEndingWith(members, end)) << end;
    }
    EXPECT_EQ(ProjectIni().ReadInteger("Docs", "Value", -1), archived ? 1 : 0);
    EXPECT_EQ(fs::exists(data / "StoreNumber.txt"), archived);
    EXPECT_EQ(LastLog("Status"), c.status);
    EXPECT_EQ(LastLog("Project"), "Docs");
    EXPECT_NE(LastLog("Information").find(c.information), std::string::npos) << LastLog("Information");
    EXPECT_EQ(LastLog("Information").find(".part"), std::string::npos) << LastLog("Information");
    if (c.outcome == BackupOutcome::Failed) {
      const auto errors = ui.CallsOf("ShowMessage");
      ASSERT_EQ(errors.size(), 1u);
      EXPECT_NE(errors[0].text.find("Project Name: 'Docs'"), std::string::npos) << errors[0].text;
    }
  }
}

// Runs `body` as a user whom file permissions stop: the current one when it is not root, else
// "nobody" in a child process. Returns the body's result, or -1 when no such user can be had.
int AsUnprivilegedUser(const std::vector<fs::path>& writable, const std::function<int()>& body) {
  if (!IsSuperuser()) return body();
#ifdef _WIN32
  return -1;
#else
  const passwd* nobody = ::getpwnam("nobody");
  if (!nobody) return -1;
  for (const fs::path& p : writable) fs::permissions(p, fs::perms::all);
  const pid_t child = ::fork();
  if (child == 0) {
    if (::setgroups(0, nullptr) != 0 || ::setgid(nobody->pw_gid) != 0 || ::setuid(nobody->pw_uid) != 0)
      _exit(99);
    _exit(body());
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 98;
#endif
}

TEST_F(BackupLossTest, UnreadableFolderAtAnyDepthFailsTheRun) {
  BRISKO_POSIX_ONLY("a folder without read permission cannot be listed");
  WriteFile("deep/locked/secret.txt", "cannot be listed\n");
  fs::permissions(src / "deep/locked", fs::perms::none);
  WriteOneProject();
  const int outcome = AsUnprivilegedUser({root, data, dest}, [&] {
    auto model = StartModel();
    return static_cast<int>(model->RunBackup());
  });
  fs::permissions(src / "deep/locked", fs::perms::owner_all);
  if (outcome == -1) GTEST_SKIP() << "running as root and no unprivileged user exists";
  EXPECT_EQ(outcome, static_cast<int>(BackupOutcome::Failed));
  EXPECT_TRUE(DestFiles().empty());
  EXPECT_EQ(LastLog("Status"), "Fails");
  EXPECT_NE(LastLog("Information").find("deep/locked/ (cannot be read: Permission denied)"),
            std::string::npos)
      << LastLog("Information");
  EXPECT_EQ(ProjectIni().ReadInteger("Docs", "Value", -1), 0);
}

#ifndef _WIN32
// Folders of 200-byte names, `levels` deep below `base`, made relative to each open folder (their path
// outgrows the system's limit), with deep.txt at the bottom.
void MakeDeepTree(const fs::path& base, int levels) {
  const std::string name(200, 'd');
  int fd = ::open(base.c_str(), O_RDONLY | O_DIRECTORY);
  for (int i = 0; i < levels && fd >= 0; ++i) {
    ::mkdirat(fd, name.c_str(), 0755);
    const int next = ::openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY);
    ::close(fd);
    fd = next;
  }
  ASSERT_GE(fd, 0);
  const int file = ::openat(fd, "deep.txt", O_WRONLY | O_CREAT, 0644);
  ASSERT_EQ(::write(file, "deep\n", 5), 5);
  ::close(file);
  ::close(fd);
}
#endif

TEST_F(BackupLossTest, TheWalkAndTheReadLeaveNothingOutSilently) {
  BRISKO_POSIX_ONLY("folder permissions, named pipes and links swapped in by the test");
  BRISKO_SKIP_WITHOUT_POSIX_SHELL();
#ifndef _WIN32
  struct Case {
    const char* label;
    std::function<void()> prepare;
    // Runs before each time the backup opens a source file to read it.
    std::function<void(const std::string& path)> beforeRead;
    BackupOutcome outcome;
    std::string information;  // part of the log entry's
    std::vector<std::string> memberEnds;
  };
  const std::string S = src.string() + "/";
  const std::string secret = (root / "secret.txt").string();
  // Replaces swap.txt by what `make` puts at its path, the first time it is about to be read.
  const auto swapIn = [&](std::function<void(const std::string&)> make) {
    return [make](const std::string& path) {
      if (!EndsWith(path, "/swap.txt") || !platform::StatFile(path, true).isRegular) return;
      fs::remove(path);
      make(path);
    };
  };
  const auto writeGrowing = [&] {
    WriteFile("grow.txt", "start\n");
    fs::permissions(src / "grow.txt", fs::perms::all);
  };
  int appended = 0;
  const auto appendTimes = [&](int times) {
    return [&appended, times](const std::string& path) {
      if (EndsWith(path, "/grow.txt") && appended++ < times) std::ofstream(path, std::ios::app) << "more\n";
    };
  };
  const std::vector<Case> cases = {
      {"a folder that can be listed but not entered",
       [&] {
         WriteFile("locked/secret.txt", "cannot be reached\n");
         fs::permissions(src / "locked", static_cast<fs::perms>(0644));
       },
       {},
       BackupOutcome::Failed,
       "locked/secret.txt (cannot be read: Permission denied)",
       {}},
      {"a path longer than the system's limit",
       [&] { MakeDeepTree(src, 25); },
       {},
       BackupOutcome::Succeeded,
       "Kb",
       {"deep.txt"}},
      {"a file swapped for a link after the walk",
       [&] {
         WriteFile("swap.txt", "plain\n");
         std::ofstream(secret) << "top secret\n";
       },
       swapIn([&](const std::string& path) { fs::create_symlink(secret, path); }),
       BackupOutcome::Incomplete,
       "swap.txt (cannot be read)",
       {"a.txt"}},
      {"a file swapped for a named pipe after the walk",
       [&] { WriteFile("swap.txt", "plain\n"); },
       swapIn([](const std::string& path) { ::mkfifo(path.c_str(), 0644); }),
       BackupOutcome::Incomplete,
       "swap.txt (cannot be read)",
       {"a.txt"}},
      {"a file that changes once while read is read again",
       writeGrowing,
       appendTimes(1),
       BackupOutcome::Succeeded,
       "Kb",
       {"grow.txt"}},
      {"a file that keeps changing is stored and named",
       writeGrowing,
       appendTimes(100),
       BackupOutcome::Succeeded,
       "1 file(s) changed while being read, first: " + S + "grow.txt",
       {"grow.txt"}},
      {"special files are counted",
       [&] { ::mkfifo((src / "pipe").c_str(), 0644); },
       {},
       BackupOutcome::Succeeded,
       "1 special file(s) not backed up, first: " + S + "pipe",
       {"a.txt"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    SetUp();
    appended = 0;
    c.prepare();
    WriteOneProject();
    // Permissions stop the backup only when it does not run as root.
    const int outcome = AsUnprivilegedUser({root, data, dest, src}, [&] {
      auto model = StartModel();
      model->beforeSourceRead = c.beforeRead;
      return static_cast<int>(model->RunBackup());
    });
    if (outcome == -1) GTEST_SKIP() << "running as root and no unprivileged user exists";
    EXPECT_EQ(outcome, static_cast<int>(c.outcome));
    EXPECT_NE(LastLog("Information").find(c.information), std::string::npos) << LastLog("Information");
    if (!c.memberEnds.empty()) {
      const auto members = ZipMembers(DestPath("Docs1.zip"));
      for (const std::string& end : c.memberEnds) EXPECT_TRUE(HasMemberEndingWith(members, end)) << end;
      EXPECT_FALSE(HasMemberEndingWith(members, "swap.txt"));
      EXPECT_EQ(RunShell("unzip -p " + ShellQuote(DestPath("Docs1.zip")) + " | grep -c 'top secret'").out,
                "0\n");
    }
    RunShell("rm -rf " + ShellQuote(src.string()));  // a tree too deep for the fixture's clean-up
  }
#endif
}

TEST_F(BackupLossTest, RefusedLogKeepsTheBookkeepingOfAnArchiveInPlace) {
  WriteOneProject({{"Store Number", "2"}});
  auto model = StartModel();
  ASSERT_EQ(model->RunBackup(), BackupOutcome::Succeeded);
  // A log.txt without write permission is refused even to root.
  fs::permissions(data / "log.txt", fs::perms::owner_read);
  ui.calls.clear();
  EXPECT_EQ(model->RunBackup(), BackupOutcome::Failed);
  EXPECT_EQ(DestFiles(), (std::vector<std::string>{"Docs1.zip", "Docs2.zip"}));
  EXPECT_EQ(ProjectIni().ReadInteger("Docs", "Value", -1), 2);
  EXPECT_EQ(IniFile((data / "StoreNumber.txt").string()).ReadString("Docs", "N2", ""), DestPath("Docs2.zip"));
  const auto errors = ui.CallsOf("ShowMessage");
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].text.find("activity log could not be written"), std::string::npos) << errors[0].text;
  // The next run is not stuck on an existing name; the ring goes on.
  fs::permissions(data / "log.txt", fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(model->RunBackup(), BackupOutcome::Succeeded);
  EXPECT_EQ(DestFiles(), (std::vector<std::string>{"Docs2.zip", "Docs3.zip"}));
}

TEST_F(BackupLossTest, UseLastBackupDateStoresTheMomentTheRunStarted) {
  WriteOneProject({{"isUseNew", "1"}, {"isUseToday", "1"}});
  auto model = StartModel();
  const DateTime start = clock.Now();
  // The clock moves on once the new archive is being written.
  OutputThrough output;
  output.open = [&, open = output.open](const std::string& path) {
    clock.Set(start + 1.0 / 24);
    return open(path);
  };
  model->writerOutput = &output;
  ASSERT_EQ(model->RunBackup(), BackupOutcome::Succeeded);
  EXPECT_EQ(ProjectIni().ReadString("Docs", "NewDateTime", ""), FormatDateTime(start));
  EXPECT_EQ(FormatDateTime(model->Form().NewerThan()), FormatDateTime(start));
}

}  // namespace
}  // namespace brisko::core::test
