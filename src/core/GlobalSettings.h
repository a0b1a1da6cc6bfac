// The global settings: the Common section of project.ini.
#pragma once

#include <string>
#include <vector>

namespace brisko::core {

struct GlobalSettings {
  bool promptBeforeBackup = false;     // "PromptBeforeBackup"
  bool isAppend0 = false;              // "Is Append 0": pad the number suffix with zeros
  int width = 2;                       // "Width", 2..30
  bool isOverWrite = false;            // "IsOverWrite"
  int logCount = 50;                   // "Log Count", 10..200: limit of the activity log
  bool enableSchedule = true;          // "Enable schedule"
  int byField = 2;                     // "By Field": 0 by name, 1 by size, 2 by date
  int sort = 0;                        // "Sort": 0 ascending, 1 descending
  bool autoRun = false;                // "Auto Run" (written by the preferences dialog)
  bool isMinimized = false;            // "Is Minimized" (written by the preferences dialog)
  std::vector<std::string> wildcards;  // "Wildcard Total", "Wildcard<i>" (written by its dialog)
  int threads = 0;                     // "Threads", 0..16: threads compressing a backup, 0 = one per core
                                       // (set by hand to leave cores to other work; never written)
};

}  // namespace brisko::core
