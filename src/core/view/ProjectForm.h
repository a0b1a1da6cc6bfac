// The editable copy of a project: one member per control of the main window's Backup tab.
#pragma once

#include <string>
#include <vector>

#include "core/DateTimeValue.h"
#include "core/ProjectKinds.h"

namespace brisko::core {

// Loading a project fills these members; members a load does not reach keep whatever they held
// (the counter fields while the suffix is not Number, the schedule fields of the other modes).
// Initial values are those of the window before any project is loaded.
struct ProjectForm {
  // "Source" group.
  std::vector<std::string> backupList;   // ListboxBackup
  std::vector<std::string> excludeList;  // the exclude list
  bool includeSubfolders = false;        // "Include Subdirectories ( ... )"
  bool onlyNewer = false;                // "Only files newer than"
  DateTime newerDate = 0;                // date picker: whole days
  DateTime newerTime = 0;                // time picker: fraction of a day
  bool useLastBackup = false;            // "Use last backup date"

  // "Destination" group.
  std::string prefix;                      // "Prefix:"
  SuffixKind suffix = SuffixKind::Number;  // radio "None" / "Date" / "Number"
  int nextNumber = 1;                      // number field, 1..kCounterMax
  int increase = 1;                        // "Next increase:", 1..1000
  std::string fileName;                    // "Filename:" edit: the full archive path shown
  std::string saveFolder;                  // the destination folder held by the window

  // "Options" group.
  bool usePassword = false;     // "Use password protect Zip file:"
  std::string password;         // "Enter Password:"
  std::string passwordConfirm;  // "Retype Password:"
  // The cipher choice; new projects take AES-256, a loaded project what it stored (Traditional when
  // it stored none).
  EncryptionKind encryption = EncryptionKind::Aes256;
  bool verify = true;       // key "Verify": read each new archive back before it counts
  bool storePaths = false;  // "Save full path information to Zip"
  bool useComment = false;  // "Add comment:"
  std::string comment;
  int packLevel = 7;     // "Compression ratio:", 0..9
  int storeNumber = 50;  // "Only keep the last " .. "backups", 1..50000

  // "Schedule" group.
  ScheduleMode scheduleMode = ScheduleMode::None;
  DateTime scheduleTime = 0.5;  // "Daily once at" time picker (12:00:00)
  int scheduleMinutes = 2;      // "Daily every" minutes field, 2..1000
  int scheduleWeekday = -1;     // "Weekly every on": 0 Sunday .. 6 Saturday, -1 none

  // Enabling rules that follow from the members (the edit state decides the groups as a whole).
  bool CounterFieldsEnabled() const { return suffix == SuffixKind::Number; }
  bool PasswordFieldsEnabled() const { return usePassword; }
  bool CommentFieldEnabled() const { return useComment; }
  bool UseLastBackupEnabled() const { return onlyNewer; }
  bool NewerPickersEnabled() const { return onlyNewer && !useLastBackup; }
  bool ScheduleTimeEnabled() const { return scheduleMode == ScheduleMode::DailyAt; }
  bool ScheduleMinutesEnabled() const { return scheduleMode == ScheduleMode::DailyEvery; }
  bool ScheduleWeekdayEnabled() const { return scheduleMode == ScheduleMode::Weekly; }

  // Choosing a schedule mode; "Weekly every on" with no weekday chosen chooses "Sunday".
  void ChooseScheduleMode(ScheduleMode mode) {
    scheduleMode = mode;
    if (mode == ScheduleMode::Weekly && scheduleWeekday < 0) scheduleWeekday = 0;
  }
  bool operator==(const ProjectForm&) const = default;

  // The newer-than moment: the date field's day with the time field's time.
  DateTime NewerThan() const { return DateOf(newerDate) + TimeOf(newerTime); }
};

}  // namespace brisko::core
