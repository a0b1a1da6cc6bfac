// The last-backup state: what it says, when a scheduled project counts as overdue, what outlives
// a failure.
#include <gtest/gtest.h>

#include "core/LastBackup.h"
#include "support/TempDir.h"

namespace brisko::core {
namespace {

DateTime At(const char* text) {
  return StrToDateTime(text);
}

TEST(LastBackup, SaysWhenAndHowTheLastRunEnded) {
  const struct {
    LastBackup last;
    const char* expected;
  } cases[] = {
      {{}, "Last backup: none"},
      {{At("2026-12-08 18:33:12"), "Succeeds", "verified", {}},
       "Last backup: 2026-12-08 18:33, succeeded (verified)"},
      {{At("2026-12-08 18:33:12"), "Fails", "source folder missing", {}},
       "Last backup: 2026-12-08 18:33, failed: source folder missing"},
      {{At("2026-12-08 18:33:12"), "Interrupt", "", {}}, "Last backup: 2026-12-08 18:33, stopped"},
  };
  for (const auto& c : cases) EXPECT_EQ(DescribeLastBackup(c.last), c.expected);
}

TEST(LastBackup, OverdueAfterTwiceTheIntervalWithoutSuccess) {
  const LastBackup succeeded{At("2026-12-01 18:30"), "Succeeds", "", At("2026-12-01 18:30")};
  const LastBackup failing{At("2026-12-08 18:30"), "Fails", "disk full", At("2026-12-01 18:30")};
  const LastBackup never{};
  const struct {
    const char* label;
    const LastBackup& last;
    ScheduleMode mode;
    const char* value;
    std::optional<DateTime> since;
    const char* now;
    bool overdue;
  } cases[] = {
      {"daily, one day later", succeeded, ScheduleMode::DailyAt, "18:30:00", {}, "2026-12-02 19:00", false},
      {"daily, three days later", succeeded, ScheduleMode::DailyAt, "18:30:00", {}, "2026-12-04 19:00", true},
      {"failures do not count", failing, ScheduleMode::DailyAt, "18:30:00", {}, "2026-12-08 19:00", true},
      {"weekly, ten days later", succeeded, ScheduleMode::Weekly, "Tuesday", {}, "2026-12-11 19:00", false},
      {"every 30 minutes, 61 later", succeeded, ScheduleMode::DailyEvery, "30", {}, "2026-12-01 19:31", true},
      {"not scheduled", succeeded, ScheduleMode::None, "", {}, "2027-12-01 00:00", false},
      {"never ran, just scheduled", never, ScheduleMode::DailyAt, "18:30:00", At("2026-12-08 10:00"),
       "2026-12-09 10:00", false},
      {"never ran in three days", never, ScheduleMode::DailyAt, "18:30:00", At("2026-12-05 10:00"),
       "2026-12-09 10:00", true},
      {"nothing known", never, ScheduleMode::DailyAt, "18:30:00", {}, "2026-12-09 10:00", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(BackupOverdue(c.last, c.mode, c.value, c.since, At(c.now)), c.overdue) << c.label;
  EXPECT_EQ(DescribeOverdue("Docs", failing), "No successful backup of 'Docs' since 2026-12-01 18:30");
  EXPECT_EQ(DescribeOverdue("Docs", never), "No successful backup of 'Docs' yet");
}

TEST(LastBackup, FailureKeepsTheLastSuccessAndAReasonStaysOneLine) {
  test::TempDir dir;
  RecordLastBackup(dir.Dir(), "Docs", At("2026-12-01 18:30"), "Succeeds", "verified");
  RecordLastBackup(dir.Dir(), " Docs ", At("2026-12-02 18:30"), "Fails", "cannot read\r\n/home/a");
  const LastBackup last = ReadLastBackup(dir.Dir(), "Docs");
  EXPECT_EQ(DescribeLastBackup(last), "Last backup: 2026-12-02 18:30, failed: cannot read  /home/a");
  ASSERT_TRUE(last.lastSuccess);
  EXPECT_EQ(FormatDateTime(*last.lastSuccess), "2026-12-01 18:30:00");
}

}  // namespace
}  // namespace brisko::core
