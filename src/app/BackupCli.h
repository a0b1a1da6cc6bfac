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

// Exit codes: 0 done ("Succeeds"), 1 failed (a check, "Fails", an error), 2 usage, 3 "Interrupt".
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitInterrupted = 3;

struct BackupCliCommand {
  const char* name;
  const char* usage;  // one line, e.g. "run NAME"
  int (*run)(const BackupCliContext& context);
};

// Adds a command; use as `static const bool registered = RegisterBackupCommand({...});` in a
// backupcli_*.cpp file, or list it in the table of brisko_backup_main.cpp.
bool RegisterBackupCommand(const BackupCliCommand& command);

// Takes the settings folder's lock (one run, restore or daemon at a time), or says on stderr why
// not. The lock is held while `lock` lives.
bool LockDataDir(platform::InstanceLock& lock, const std::string& dataDir);

}  // namespace brisko::app
