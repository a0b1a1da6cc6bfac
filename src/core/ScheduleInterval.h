// The time between two runs of a stored schedule, read one way for the scheduler and the warnings.
#pragma once

#include <optional>
#include <string>

#include "core/DateTimeValue.h"
#include "core/ProjectKinds.h"

namespace brisko::core {

// "Daily every" N minutes as a time of day built from N div 60 and N mod 60: 1 hour when N is no
// integer or 1440 or more; values below 2, never written by the program, count as 2.
DateTime MinutesInterval(const std::string& value);

// One day, seven days, or the minutes above; nullopt when the mode schedules nothing.
std::optional<DateTime> ScheduleInterval(ScheduleMode mode, const std::string& value);

}  // namespace brisko::core
