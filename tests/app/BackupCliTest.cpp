// brisko-backup on temporary folders: list, run, log, the folder lock and the daemon.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "BackupCliFixture.h"
#include "core/PasswordCodec.h"
#include "core/SystemClock.h"
#include "platform/InstanceLock.h"
#include "support/TestEnvironment.h"

namespace brisko::core::test {
namespace {

class BackupCliTest : public BackupCliFixture {
 protected:
  static bool WaitFor(const std::function<bool()>& condition, int milliseconds = 8000) {
    for (int waited = 0; waited < milliseconds; waited += 50) {
      if (condition()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return condition();
  }
  std::string DaemonOutput() const { return ReadFile(Utf8Of(root / "daemon.out")); }
  // Starts the program in the background; returns its process id once it is watching.
  std::string StartDaemon(const std::string& args) {
    std::string pid = RunShell(ShellQuote(Program()) + " --config-dir " + ShellQuote(data.string()) + " " +
                               args + " >" + ShellQuote((root / "daemon.out").string()) + " 2>&1 & echo $!")
                          .out;
    while (!pid.empty() && (pid.back() == '\n' || pid.back() == ' ')) pid.pop_back();
    if (!WaitFor([&] { return DaemonOutput().find("Watching") != std::string::npos; })) return "";
    return pid;
  }
  void StopDaemon(const std::string& pid) {
    RunShell("kill -TERM " + pid);
    EXPECT_TRUE(WaitFor([&] { return RunShell("kill -0 " + pid + " 2>/dev/null").exitCode != 0; }));
    EXPECT_NE(DaemonOutput().find("Stopped"), std::string::npos) << DaemonOutput();
  }
};

TEST_F(BackupCliTest, ListShowsNamesWithTheirSchedule) {
  WriteProjectIni({{"Docs", ProjectKeys({{"BackupMode", "0"}, {"StartTime_or_Increase", "09:00:00"}})},
                   {"Mail", ProjectKeys({{"BackupMode", "1"}, {"StartTime_or_Increase", "90"}})},
                   {"Pics", ProjectKeys({{"BackupMode", "2"}, {"StartTime_or_Increase", "Friday"}})},
                   {"Zeta", ProjectKeys()}});
  std::string out;
  ASSERT_EQ(Cli("list", &out), 0);
  const auto lines = Lines(out);
  ASSERT_EQ(lines.size(), 4u) << out;
  EXPECT_EQ(lines[0].rfind("Docs\tDaily once at 09:00:00\t", 0), 0u) << lines[0];
  EXPECT_EQ(lines[0].substr(lines[0].size() - 8), "09:00:00");
  EXPECT_EQ(lines[1].rfind("Mail\tDaily every 90 minutes\t", 0), 0u) << lines[1];
  EXPECT_EQ(lines[2].rfind("Pics\tWeekly every on Friday 12:00:00\t", 0), 0u) << lines[2];
  EXPECT_EQ(lines[3], "Zeta\tNone\t-");
}

TEST_F(BackupCliTest, RunBacksUpAHandWrittenProjectAsTheWindowDoes) {
  WriteOneProject({{"Whether password Project", "1"},
                   {"Password", EncodePassword("pw", "Docs")},
                   {"Whether store path in Zip", "1"},
                   {"Whether store comment in Zip", "1"},
                   {"Comment", "nightly"},
                   {"PromptBeforeBackup", "1"}},
                  {{"PromptBeforeBackup", "1"}});
  std::string out, err;
  ASSERT_EQ(Cli("run Docs", &out, &err), 0) << err;
  EXPECT_NE(out.find("Backup Files Succeeds!\nProject Name: 'Docs'\nFile Name:    'Docs1.zip'"),
            std::string::npos)
      << out;
  const std::string viaCli = DestPath("Docs1.zip");
  EXPECT_EQ(RunShell("unzip -tq -P pw " + ShellQuote(viaCli) + " >/dev/null 2>&1").exitCode, 0);
  EXPECT_EQ(ProjectIni().ReadInteger("Docs", "Value", -1), 1);
  EXPECT_EQ(LastLog("Status"), "Succeeds");

  // The same project run through the window's model gives the same members and contents.
  auto model = StartModel();
  ui.confirmAnswers = {true};
  ASSERT_EQ(model->RunBackup(), BackupOutcome::Succeeded);
  const std::string viaModel = DestPath("Docs2.zip");
  const auto members = ZipMembers(viaCli);
  ASSERT_EQ(members, ZipMembers(viaModel));
  ASSERT_EQ(members.size(), 4u);  // three files and the folder entry of "sub"
  for (const std::string& m : members) {
    EXPECT_EQ(RunShell("unzip -p -P pw " + ShellQuote(viaCli) + " " + ShellQuote(m)).out,
              RunShell("unzip -p -P pw " + ShellQuote(viaModel) + " " + ShellQuote(m)).out)
        << m;
  }
  EXPECT_NE(members[0].find('/'), std::string::npos);  // stored paths
}

TEST_F(BackupCliTest, ExitCodesOfTheOutcomes) {
  WriteProjectIni({{"Same", ProjectKeys({{"Filename prefix", "Same"}, {"Suffix", "0"}})},
                   {"Empty", ProjectKeys({{"Filename prefix", "Empty"}, {"Backup Directory Count", "0"}})}});
  std::string out, err;
  EXPECT_EQ(Cli("run Same", &out), 0);
  EXPECT_EQ(Cli("run same", &out), 0);  // names compare without regard to case; its own archive is replaced
  WriteFile(DestPath("Same.zip"), "someone else's file");
  EXPECT_EQ(Cli("run Same", &out), 3);
  EXPECT_NE(out.find(DestPath("Same.zip") + " exists,backup will be interrupted!"), std::string::npos) << out;
  EXPECT_EQ(Cli("run Empty", &out, &err), 4);
  EXPECT_NE(err.find("Please select files to backup"), std::string::npos) << err;
  EXPECT_EQ(Cli("run Nobody", &out, &err), 1);
  EXPECT_NE(err.find("Nobody"), std::string::npos);
  EXPECT_EQ(Cli("run", &out, &err), 2);
  EXPECT_EQ(Cli("bogus", &out, &err), 2);

  ASSERT_EQ(Cli("log", &out), 0);
  const auto lines = Lines(out);
  ASSERT_EQ(lines.size(), 5u) << out;  // newest first
  EXPECT_NE(lines[0].find("\tBackup\tFails\tNobody\tNot run: no project of that name"), std::string::npos)
      << lines[0];
  EXPECT_NE(lines[1].find("\tBackup\tFails\tEmpty\tNot run: Please select files to backup"),
            std::string::npos)
      << lines[1];
  EXPECT_NE(
      lines[2].find("\tBackup\tInterrupt\tSame\t'" + DestPath("Same.zip") + "' exists,backup interripted"),
      std::string::npos)
      << lines[2];
  EXPECT_NE(lines[4].find("\tBackup\tSucceeds\tSame\t" + DestPath("Same.zip") + "  0Kb"), std::string::npos)
      << lines[4];
}

TEST_F(BackupCliTest, AFolderThatCannotBeEnteredFailsTheRun) {
  WriteFile("locked/secret.txt", "listed but out of reach\n");
  fs::permissions(src / "locked", static_cast<fs::perms>(0644));
  WriteOneProject();
  // Root passes every permission: the program then runs as an ordinary user.
  std::string as;
  if (IsSuperuser()) {
    if (RunShell("command -v setpriv && id nobody").exitCode != 0) GTEST_SKIP() << "no way to run as nobody";
    as = "setpriv --reuid=nobody --regid=nogroup --clear-groups ";
    for (const fs::path& p : {root, data, dest}) fs::permissions(p, fs::perms::all);
  }
  const CommandResult r =
      RunShell(as + ShellQuote(Program()) + " --config-dir " + ShellQuote(data.string()) + " run Docs 2>&1");
  fs::permissions(src / "locked", fs::perms::owner_all);
  EXPECT_NE(r.exitCode, 0) << r.out;
  EXPECT_NE(r.out.find("locked/secret.txt"), std::string::npos) << r.out;
  EXPECT_EQ(LastLog("Status"), "Fails");
  EXPECT_NE(LastLog("Information")
                .find("1 source(s) missing or unreadable, first: " + src.string() + "/locked/secret.txt"),
            std::string::npos)
      << LastLog("Information");
  EXPECT_TRUE(DestFiles().empty());
}

TEST_F(BackupCliTest, FolderLockRefusesASecondUser) {
  WriteOneProject();
  platform::InstanceLock lock;
  ASSERT_TRUE(lock.TryAcquire(data.string()));
  std::string out, err;
  EXPECT_EQ(Cli("run Docs", &out, &err), 5);
  EXPECT_NE(err.find("Another instance"), std::string::npos) << err;
  EXPECT_TRUE(DestFiles().empty());
  EXPECT_EQ(LastLog("Status"), "Fails");
  EXPECT_EQ(LastLog("Project"), "Docs");
  EXPECT_NE(LastLog("Information").find("Not started: Another instance"), std::string::npos);
  lock.Release();
  EXPECT_EQ(Cli("run Docs", &out, &err), 0) << err;
}

TEST_F(BackupCliTest, InputFormsAndTheLockOfRestore) {
  WriteOneProject();
  const std::string ini = Utf8Of(data / "project.ini");
  WriteFile(ini, "\xEF\xBB\xBF" + ReadFile(ini));
  std::string out, err;
  ASSERT_EQ(Cli("run Docs", &out, &err), 0) << err;  // a byte-order mark does not hide the first section
  for (const char* tick : {"2147484", "99999999999", "5x", "-3", "0"})
    EXPECT_EQ(Cli(std::string("daemon --tick ") + tick, &out, &err), 2) << tick;

  const std::string restore =
      "restore " + ShellQuote(DestPath("Docs1.zip")) + " --to " + ShellQuote((root / "out").string());
  platform::InstanceLock lock;
  ASSERT_TRUE(lock.TryAcquire(data.string()));
  EXPECT_EQ(Cli(restore, &out, &err), 5);
  EXPECT_NE(err.find("Another instance"), std::string::npos) << err;
  EXPECT_FALSE(fs::exists(root / "out"));
  lock.Release();
  EXPECT_EQ(Cli(restore, &out, &err), 0) << err;
}

TEST_F(BackupCliTest, DaemonRefusesASecondDaemonAndStopsOnTerm) {
  WriteOneProject({{"BackupMode", "1"}, {"StartTime_or_Increase", "5"}});
  const std::string pid = StartDaemon("daemon");
  ASSERT_FALSE(pid.empty());
  EXPECT_NE(DaemonOutput().find("1 scheduled project(s)"), std::string::npos) << DaemonOutput();

  std::string out, err;
  EXPECT_EQ(Cli("daemon", &out, &err), 5);
  EXPECT_NE(err.find("Another instance"), std::string::npos) << err;
  StopDaemon(pid);
}

TEST_F(BackupCliTest, DaemonStartedThreeTimesRunsAPassedDailyTimeOnce) {
  WriteOneProject({{"BackupMode", "0"}, {"StartTime_or_Increase", "00:00:00"}});
  std::string pid = StartDaemon("daemon --tick 1");
  ASSERT_FALSE(pid.empty());
  ASSERT_TRUE(WaitFor([&] { return fs::exists(DestPath("Docs1.zip")); })) << DaemonOutput();
  StopDaemon(pid);
  const std::string tomorrow = FormatDate(DateOf(SystemClock::Instance().Now()) + 1) + " 00:00:00";
  for (int start = 2; start <= 3; ++start) {
    pid = StartDaemon("daemon --tick 1");
    ASSERT_FALSE(pid.empty());
    EXPECT_NE(DaemonOutput().find("Docs: next run " + tomorrow + "\n"), std::string::npos)
        << "start " << start << ": " << DaemonOutput();
    StopDaemon(pid);
  }
  EXPECT_EQ(DestFiles(), std::vector<std::string>{"Docs1.zip"});

  // A hand edit takes effect as a save does: a time moved to after the last run is due today.
  pid = StartDaemon("daemon --tick 1");
  ASSERT_FALSE(pid.empty());
  ProjectIni().WriteString("Docs", "Filename prefix", "Edited");
  ProjectIni().WriteString("Docs", "StartTime_or_Increase", FormatTime(SystemClock::Instance().Now()));
  EXPECT_TRUE(WaitFor([&] { return fs::exists(DestPath("Edited2.zip")); })) << DaemonOutput();
  StopDaemon(pid);
  EXPECT_EQ(DestFiles(), (std::vector<std::string>{"Docs1.zip", "Edited2.zip"}));
  EXPECT_TRUE(UnzipTestOk(DestPath("Edited2.zip")));
}

TEST_F(BackupCliTest, StopSignalsEndARunAsTheStopButtonDoes) {
  // A sparse file reads as gigabytes of zeros: long enough to be stopped half-way.
  const fs::path big = src / "big.bin";
  { std::ofstream(big, std::ios::binary); }
  fs::resize_file(big, uint64_t{16} << 30);
  WriteOneProject({{"BackupMode", "0"}, {"StartTime_or_Increase", "00:00:00"}});
  struct Case {
    const char* command;
    const char* signal;
    int exitCode;
  } cases[] = {{"run Docs", "TERM", 3}, {"run Docs", "HUP", 3}, {"daemon --tick 1", "INT", 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.command) + " SIG" + c.signal);
    const std::string status = (root / "status").string(), pidFile = (root / "pid").string();
    fs::remove(status);
    fs::remove(pidFile);
    RunShell("(" + ShellQuote(Program()) + " --config-dir " + ShellQuote(data.string()) + " " + c.command +
             " >/dev/null 2>&1 & p=$!; echo $p >" + ShellQuote(pidFile) + "; wait $p; echo $? >" +
             ShellQuote(status) + ") >/dev/null 2>&1 &");
    const auto partFile = [&] {
      for (const std::string& name : DestFiles())
        if (name.size() > 5 && name.compare(name.size() - 5, 5, ".part") == 0) return true;
      return false;
    };
    const bool writing = WaitFor(partFile, 30000);
    const std::string pid = Lines(ReadFile(pidFile)).at(0);
    RunShell("kill -" + std::string(c.signal) + " " + pid);
    if (!WaitFor([&] { return fs::exists(status) && !ReadFile(status).empty(); }, 30000))
      RunShell("kill -KILL " + pid);  // never left reading gigabytes after the test
    ASSERT_TRUE(writing);
    ASSERT_TRUE(fs::exists(status) && !ReadFile(status).empty());
    EXPECT_EQ(std::stoi(ReadFile(status)), c.exitCode);
    EXPECT_TRUE(DestFiles().empty());
    EXPECT_EQ(LastLog("Status"), "Interrupt");
    EXPECT_NE(LastLog("Information").find("not written, backup stopped"), std::string::npos);
  }
}
}  // namespace
}  // namespace brisko::core::test
