// Commands of the brisko-backup front end: each command is a function registered by name.
#pragma once

#include <string>
#include <vector>

#include "platform/InstanceLock.h"

namespace brisko::app {

// What every command gets: the data folder (with trailing separator) and its own arguments.
struct BackupCliContext {
  std::string dataDir;
  std::vector<std::string> args;  // after the command name
};

// Exit codes: 0 done ("Succeeds"), 1 failed ("Fails", an error), 2 usage, 3 "Interrupt", 4 the
// project failed its checks, 5 another instance holds the settings folder.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitInterrupted = 3;
inline constexpr int kExitCheckFailed = 4;
inline constexpr int kExitLocked = 5;

struct BackupCliCommand {
  const char* name;
  const char* usage;  // one line, e.g. "run NAME"
  int (*run)(const BackupCliContext& context);
};

// Adds a command; use as `static const bool registered = RegisterBackupCommand({...});` in a
// backupcli_*.cpp file, or list it in the table of brisko_backup_main.cpp.
bool RegisterBackupCommand(const BackupCliCommand& command);

// Takes the settings folder's lock (one run, restore or daemon at a time), or says why not on
// stderr and in the activity log (under `operation` and `project`). The lock is held while `lock`
// lives.
bool LockDataDir(platform::InstanceLock& lock, const std::string& dataDir, const std::string& operation,
                 const std::string& project);

}  // namespace brisko::app
