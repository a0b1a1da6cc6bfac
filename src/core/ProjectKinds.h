// The stored codes of the archive-name suffix and of the schedule mode.
#pragma once

namespace brisko::core {

// Key "Suffix": what follows the prefix in archive names.
enum class SuffixKind { None = 0, Date = 1, Number = 2 };

// Key "BackupMode": 0 "Daily once at", 1 "Daily every" (minutes), 2 "Weekly every on", 3 "None".
enum class ScheduleMode { DailyAt = 0, DailyEvery = 1, Weekly = 2, None = 3 };

}  // namespace brisko::core
