// The scheduler: the table of due moments built from project.ini and the 30-second tick.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/BackupOutcome.h"
#include "core/Clock.h"
#include "core/ScheduleMemory.h"
#include "core/ScheduleTable.h"

namespace brisko::core {

inline constexpr int kScheduleTickMilliseconds = 30000;

// The entry of one project from its stored BackupMode and StartTime_or_Increase and what the
// scheduler remembers of it, built at `now`; nullopt when the mode schedules nothing (3 "None", or
// any value outside 0..3).
//  0 daily at a time (12:00:00 when it is no time), every day;
//  1 every N minutes (1 hour when N is no integer or 1440 or more; values below 2, never written by
//    the program, count as 2): due one interval after the last run, else after `since`, else after now;
//  2 weekly at 12:00:00 of the day whose English weekday name equals the value exactly, every 7
//    days; a value that is no weekday name is due today + 8 days at 12:00:00.
// Daily and weekly: without a last run, the moment of today (today's moment for weekly, even when
// passed); with one, the latest moment already begun when that run started before it (a missed
// moment runs once), else the moment after it. An entry due at `now` is marked as a catch-up.
std::optional<ScheduleEntry> MakeScheduleEntry(const std::string& projectName, int mode,
                                               const std::string& value, DateTime now,
                                               const ScheduleMemory& memory = {});

// The whole table for the project list, in list order, reading each project's schedule from
// project.ini and its memory from Schedule.txt in dataDir.
ScheduleTable BuildScheduleTable(const std::string& dataDir, const std::vector<std::string>& projects,
                                 DateTime now);

// BuildScheduleTable, and the start of counting for interval schedules seen for the first time
// ("Since" in Schedule.txt), so that restarts do not put them off.
ScheduleTable StartScheduleTable(const std::string& dataDir, const std::vector<std::string>& projects,
                                 DateTime now);

// What a tick needs from the program that keeps the schedule.
class ScheduledRunner {
 public:
  virtual ~ScheduledRunner() = default;
  // Backs up the listed project without asking first.
  virtual BackupOutcome RunScheduled(const std::string& projectName) = 0;
  // An entry was added to log.txt.
  virtual void OnLogged() {}
  // A failure the user must see.
  virtual void OnError(const std::string& text) = 0;
};

// One tick of the timer, for a caller that found scheduling on and no run under way: every entry
// whose due moment has passed runs once through `runner`, however many moments it missed (a
// catch-up is logged as such first; a project no longer in `projects` does not run), the run's start
// and result are remembered in Schedule.txt and the entry is built anew from them. A run that fails
// its checks or ends with an error ends the tick; the entries after it run at the following ticks.
void ScheduleTick(ScheduleTable& table, const std::vector<std::string>& projects, const std::string& dataDir,
                  const Clock& clock, ScheduledRunner& runner);

}  // namespace brisko::core
