// The activity log: entries, trimming at the capacity, clearing, and the grid model.
#include "core/ActivityLog.h"

#include <gtest/gtest.h>

#include "core/IniFile.h"
#include "core/ManualClock.h"
#include "core/SettingsFiles.h"
#include "support/Files.h"
#include "support/TempDir.h"
#include "support/TestEnvironment.h"

namespace brisko::core {
namespace {

using namespace brisko::test;

class ActivityLogTest : public ::testing::Test {
 protected:
  IniFile LogIni() { return IniFile(LogFilePath(dir.Dir())); }
  void AddNumbered(ActivityLog& log, int n) {
    clock.Advance(1.0 / kMinutesPerDay);
    log.AddLogEntry("Backup", "Succeeds", "entry " + std::to_string(n), "Docs");
  }
  TempDir dir;
  ManualClock clock{*TryEncodeDate(2024, 3, 5) + *TryEncodeTime(10, 0, 0)};
};

TEST_F(ActivityLogTest, TheFileKeepsMoreThanTheGridAndDropsTheOldestPastItsCapacity) {
  ActivityLog log(dir.Dir(), clock, 10, /*capacity=*/30, /*keptOnTrim=*/20);
  ASSERT_EQ(log.Rows().size(), 11u);
  EXPECT_EQ(log.Rows()[0][lcInformation], "Information");
  for (int n = 1; n <= 30; ++n) AddNumbered(log, n);
  // Past the grid's ten rows nothing is lost: the file holds every entry.
  EXPECT_EQ(log.Count(), 30);
  EXPECT_EQ(log.Shown(), 10);
  EXPECT_EQ(LogIni().ReadString("Log1", "Information", ""), "entry 1");
  EXPECT_EQ(log.Rows()[1][lcInformation], "entry 30");
  EXPECT_EQ(log.Rows()[10][lcInformation], "entry 21");

  AddNumbered(log, 31);
  IniFile ini = LogIni();
  EXPECT_EQ(log.Count(), 20);
  EXPECT_EQ(ini.ReadInteger("Common", "Log Total", 0), 20);
  for (int k = 1; k <= 20; ++k)
    EXPECT_EQ(ini.ReadString("Log" + std::to_string(k), "Information", ""),
              "entry " + std::to_string(k + 11));
  EXPECT_FALSE(ini.Load().SectionExists("Log21"));
  EXPECT_EQ(log.Rows()[1][lcInformation], "entry 31");
  EXPECT_EQ(log.Rows()[10][lcInformation], "entry 22");

  // A restart shows the same.
  ActivityLog again(dir.Dir(), clock, 10, 30, 20);
  again.LoadLog();
  EXPECT_EQ(again.Rows(), log.Rows());
}

TEST_F(ActivityLogTest, TwoProgramsAppendWithoutOverwritingEachOther) {
  ActivityLog daemon(dir.Dir(), clock, 50);
  ActivityLog restore(dir.Dir(), clock, 50);
  daemon.LoadLog();
  restore.LoadLog();
  AddNumbered(daemon, 1);
  AddNumbered(restore, 2);
  AddNumbered(daemon, 3);
  IniFile ini = LogIni();
  EXPECT_EQ(ini.ReadInteger("Common", "Log Total", 0), 3);
  for (int k = 1; k <= 3; ++k)
    EXPECT_EQ(ini.ReadString("Log" + std::to_string(k), "Information", ""), "entry " + std::to_string(k));
  EXPECT_EQ(daemon.Count(), 3);
  EXPECT_EQ(daemon.Rows()[2][lcInformation], "entry 2");  // the grid shows the other's entry too
}

TEST_F(ActivityLogTest, DateTextDropsMidnight) {
  ActivityLog log(dir.Dir(), clock, 50);
  clock.Set(*TryEncodeDate(2024, 3, 6));
  log.AddLogEntry("Restore", "Succeeds", "x", "P");
  EXPECT_EQ(LogIni().ReadString("Log1", "Date", ""), "2024-03-06");
  clock.Advance(1.0 / kSecondsPerDay);
  log.AddLogEntry("Restore", "Succeeds", "x", "P");
  EXPECT_EQ(log.Rows()[1][lcDate], "2024-03-06 00:00:01");
  EXPECT_EQ(LogIni().ReadString("Log2", "Date", ""), "2024-03-06 00:00:01");
}

TEST_F(ActivityLogTest, ClearThenOneEntry) {
  ActivityLog log(dir.Dir(), clock, 50);
  for (int n = 1; n <= 3; ++n) AddNumbered(log, n);
  log.ClearLog();
  EXPECT_EQ(log.Rows()[1][lcInformation], "");
  AddNumbered(log, 4);
  EXPECT_EQ(LogIni().ReadInteger("Common", "Log Total", 0), 1);
  EXPECT_EQ(LogIni().ReadString("Log1", "Information", ""), "entry 4");
  ActivityLog restarted(dir.Dir(), clock, 50);
  restarted.LoadLog();
  EXPECT_EQ(restarted.Count(), 1);
  EXPECT_EQ(restarted.Rows()[1][lcInformation], "entry 4");
  EXPECT_EQ(restarted.Rows()[2][lcInformation], "");
}

TEST_F(ActivityLogTest, ALongerStoredLogShowsItsNewestEntries) {
  LogIni().Update([](IniDocument& doc) {
    doc.WriteInteger("Common", "Log Total", 60);
    for (int k = 1; k <= 60; ++k)
      doc.WriteString("Log" + std::to_string(k), "Information", std::to_string(k));
  });
  ActivityLog log(dir.Dir(), clock, 50);
  log.LoadLog();
  EXPECT_EQ(log.Count(), 60);
  EXPECT_EQ(log.Rows()[1][lcInformation], "60");
  EXPECT_EQ(log.Rows()[50][lcInformation], "11");
  // The next entry follows the newest stored one.
  AddNumbered(log, 61);
  EXPECT_EQ(log.Count(), 61);
  EXPECT_EQ(LogIni().ReadString("Log61", "Information", ""), "entry 61");
  EXPECT_EQ(log.Rows()[1][lcInformation], "entry 61");
  EXPECT_EQ(log.Rows()[2][lcInformation], "60");
}

TEST_F(ActivityLogTest, RedRowsFollowTheStatus) {
  ActivityLog log(dir.Dir(), clock, 10);
  log.AddLogEntry("Backup", "Interrupt", "'x' exists,backup interripted", "P");
  log.AddLogEntry("Restore", "Succeeds", "x", "P");
  log.AddLogEntry("Restore", "Fails", "x", "P");
  EXPECT_TRUE(log.IsRedRow(1));
  EXPECT_FALSE(log.IsRedRow(2));
  EXPECT_TRUE(log.IsRedRow(3));
  EXPECT_FALSE(log.IsRedRow(0));
  EXPECT_FALSE(log.IsRedRow(99));
}

TEST_F(ActivityLogTest, ALoweredLimitShortensTheGridOnly) {
  ActivityLog log(dir.Dir(), clock, 50);
  for (int n = 1; n <= 20; ++n) AddNumbered(log, n);
  log.SetLimit(10);
  EXPECT_EQ(log.Rows().size(), 11u);
  AddNumbered(log, 21);
  EXPECT_EQ(log.Count(), 21);
  EXPECT_EQ(log.Rows()[10][lcInformation], "entry 12");
  EXPECT_EQ(LogIni().ReadString("Log1", "Information", ""), "entry 1");
}

TEST_F(ActivityLogTest, RefusedWriteKeepsTheCount) {
  ActivityLog log(dir.Dir(), clock, 10);
  AddNumbered(log, 1);
  SetPermissionBits(LogFilePath(dir.Dir()), 0444);
  EXPECT_ANY_THROW(AddNumbered(log, 2));
  SetPermissionBits(LogFilePath(dir.Dir()), 0600);
  EXPECT_EQ(log.Count(), 1);
  EXPECT_EQ(log.Rows()[1][lcInformation], "entry 1");
}

}  // namespace
}  // namespace brisko::core
