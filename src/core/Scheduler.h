// The scheduler: the table of due moments built from project.ini and the 30-second tick.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/ScheduleTable.h"

namespace brisko::core {

class MainModel;

inline constexpr int kScheduleTickMilliseconds = 30000;

// The entry of one project from its stored BackupMode and StartTime_or_Increase, built at `now`;
// nullopt when the mode schedules nothing (3 "None", or any value outside 0..3).
//  0 daily at a time: today at that time (12:00:00 when it is no time), every day;
//  1 every N minutes: now + N minutes, every N minutes (1 hour when N is no integer or 1440 or
//    more; values below 2, never written by the program, count as 2);
//  2 weekly: 12:00:00 of the first day from today whose English weekday name equals the value
//    exactly, else today + 8 days at 12:00:00; every 7 days.
std::optional<ScheduleEntry> MakeScheduleEntry(const std::string& projectName, int mode,
                                               const std::string& value, DateTime now);

// The whole table for the project list, in list order, reading each project's schedule from
// project.ini in dataDir.
ScheduleTable BuildScheduleTable(const std::string& dataDir, const std::vector<std::string>& projects,
                                 DateTime now);

// One tick of the timer: nothing while scheduling is off, a project is being edited or a run is in
// progress; otherwise every entry whose due moment has passed moves on to its first moment still
// ahead (once, however many moments it missed) and its project is selected, loaded and backed up without the
// confirmation question (restored after the run, also after an error). A run that fails its checks or ends
// with an error ends the tick; the entries after it run at the following ticks.
void ScheduleTick(MainModel& model);

}  // namespace brisko::core
