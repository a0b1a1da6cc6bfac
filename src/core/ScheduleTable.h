// The in-memory table of scheduled projects with their next due moment.
#pragma once

#include <string>
#include <vector>

#include "core/DateTimeValue.h"

namespace brisko::core {

struct ScheduleEntry {
  std::string projectName;  // as in the project list
  DateTime nextDue = 0;     // local date-time
  DateTime interval = 0;    // span in days (1 day = 1.0)
  int mode = 0;             // BackupMode and StartTime_or_Increase it was built from
  std::string value;
  bool catchUp = false;  // due when built: a moment passed while the program was not running
};

// One entry per project whose schedule mode is not None, in project-list order.
using ScheduleTable = std::vector<ScheduleEntry>;

}  // namespace brisko::core
