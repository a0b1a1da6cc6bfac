// One backup project as stored in its section of project.ini.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/ProjectKinds.h"

namespace brisko::core {

// The stored record, defaults as for missing keys; ReadProject and WriteProject are its only reader
// and writer. The window edits a ProjectForm made from it.
struct Project {
  std::string name;                        // section name
  std::string prefix;                      // "Filename prefix"
  SuffixKind suffix = SuffixKind::Number;  // "Suffix"
  bool suffixKnown = true;                 // false: the stored suffix is none of the kinds (read as Number)
  int increase = 1;                        // "Increase Value", 1..1000
  int value = 1;                           // "Value": the last number used
  std::string savePath;                    // "Save Path", default DefaultSaveFolder()
  std::vector<std::string> backupList;     // "Backup Directory Count", "Backup<i>"
  std::vector<std::string> excludeList;    // "No Backup Directory Count", "NoBackup<i>"
  bool includeSubfolders = true;           // "Whether include Subdirectory"
  bool usePassword = true;                 // "Whether password Project"
  std::string password;                    // "Password", decoded
  EncryptionKind encryption = EncryptionKind::Traditional;  // "Encryption"
  bool verify = true;                                       // "Verify"
  bool storePaths = true;                                   // "Whether store path in Zip"
  bool useComment = true;                                   // "Whether store comment in Zip"
  std::string comment;                                      // "Comment"
  ScheduleMode scheduleMode = ScheduleMode::None;           // "BackupMode"
  bool scheduleKnown = true;  // false: the stored mode is none of the modes (read as None)
  std::string scheduleValue;  // "StartTime_or_Increase", as stored; not written while the mode is None
  int packLevel = 6;          // "PackLevel", 0..9
  int storeNumber = 50;       // "Store Number", 1..50000
  bool useNew = false;        // "isUseNew"
  bool useToday = false;      // "isUseToday"
  std::optional<std::string> newDateTime;  // "NewDateTime", as stored
  // "NewDateTime UTC": the same moment in UTC, as stored by a run; written only with a NewDateTime
  // that differs from the stored one (a moment set by hand is a local time).
  std::string newDateTimeUtc;

  // The next archive number: Value + Increase Value, clamped to 1..kCounterMax.
  int NextNumber() const;
};

}  // namespace brisko::core
