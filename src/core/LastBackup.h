// What a person asks first of a backup tool: when did each project last back up, and did it work.
// Kept per project in Schedule.txt beside the scheduler's memory, written by every backup run
// (by hand, scheduled or from the command line), so that it outlives a cleared log.
#pragma once

#include <optional>
#include <string>

#include "core/DateTimeValue.h"
#include "core/ProjectKinds.h"

namespace brisko::core {

struct LastBackup {
  std::optional<DateTime> at;           // start of the last backup run (local time); none before the first
  std::string result;                   // as its log entry says it: "Succeeds", "Fails", "Interrupt"
  std::string detail;                   // "verified", or the reason of a failure
  std::optional<DateTime> lastSuccess;  // start of the last run that succeeded
};

LastBackup ReadLastBackup(const std::string& dataDir, const std::string& projectName);
// Records a finished run; a success also moves lastSuccess. Throws SettingsWriteError.
void RecordLastBackup(const std::string& dataDir, const std::string& projectName, DateTime started,
                      const std::string& result, const std::string& detail);

// "Last backup: 2026-12-08 18:33, succeeded (verified)", "... failed: reason", "Last backup: none".
std::string DescribeLastBackup(const LastBackup& last);

// A scheduled project is overdue when it has had no successful backup for more than twice its
// interval, counted from its last success, else from `watchedSince` (when its schedule was first
// seen); never without either.
bool BackupOverdue(const LastBackup& last, ScheduleMode mode, const std::string& value,
                   std::optional<DateTime> watchedSince, DateTime now);

// "No successful backup of 'NAME' since 2026-12-01 18:30" or "... yet".
std::string DescribeOverdue(const std::string& projectName, const LastBackup& last);

// What the window and the tray say of a project at `now`: its last-backup line, or the overdue
// warning when its schedule has gone without a success for too long.
struct BackupStatus {
  std::string text;
  bool warning = false;
};
BackupStatus BackupStatusOf(const std::string& dataDir, const std::string& projectName, DateTime now);

}  // namespace brisko::core
