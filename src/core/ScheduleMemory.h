// What the scheduler remembers of each project across restarts: when its last scheduled run
// started and how it ended, in Schedule.txt in the settings folder.
#pragma once

#include <optional>
#include <string>

#include "core/DateTimeValue.h"

namespace brisko::core {

struct ScheduleMemory {
  // The start of the last scheduled run (local time), none before the first.
  std::optional<DateTime> lastRun;
  // How that run ended, as its log entry says it ("Succeeds", "Fails", ...).
  std::string result;
  // When an interval schedule was first seen without a run, so that its first run is due one
  // interval later however often the program restarts in between.
  std::optional<DateTime> since;
};

// The memory of a project (section = trimmed name); empty when there is none or a value is no
// date-time.
ScheduleMemory ReadScheduleMemory(const std::string& dataDir, const std::string& projectName);
// Records a scheduled run. Throws SettingsWriteError.
void WriteLastScheduledRun(const std::string& dataDir, const std::string& projectName, DateTime started,
                           const std::string& result);
// Records the moment an interval schedule starts counting from. Throws SettingsWriteError.
void WriteScheduledSince(const std::string& dataDir, const std::string& projectName, DateTime since);
// A renamed project keeps its memory; a deleted one loses it.
void RenameScheduleMemory(const std::string& dataDir, const std::string& oldName, const std::string& newName);
void EraseScheduleMemory(const std::string& dataDir, const std::string& projectName);

}  // namespace brisko::core
