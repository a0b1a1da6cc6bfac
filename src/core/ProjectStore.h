// Moving settings and projects between project.ini and memory.
#pragma once

#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/Clock.h"
#include "core/GlobalSettings.h"
#include "core/Project.h"
#include "core/ProjectForm.h"

namespace brisko::core {

// What the main window holds from the Common section besides GlobalSettings.
struct SettingsState {
  GlobalSettings settings;
  std::vector<std::string> projects;  // the project list
  int selected = -1;                  // index into projects, -1 when the list is empty
  bool startMinimized = false;        // set when Auto Run and Is Minimized are both true

  // The selected project's name, "" when none.
  std::string SelectedName() const;
};

// Every function takes the data directory (with trailing separator) explicitly; project.ini is
// opened and closed within each call. Writes throw SettingsWriteError ("Unable to write to %s").

// Reads Common into `state`: PromptBeforeBackup, the project list (in stored order), the selection (Last
// Project when listed, compared without regard to case, else the first), By Field and Sort (values other than
// 0..2 / 0..1 leave the fields as they were), the start-minimised flag (only ever set, never cleared, here),
// Is Append 0, Width, IsOverWrite, Log Count, Enable schedule, Auto Run, Is Minimized and the wildcard list.
// Width and Log Count are clamped to 2..30 and 10..200.
//
// The window model then does, in this order: show the Backup page, rebuild the tray's project
// submenu, tick the restore sort menu, update the scheduling look, BuildScheduleTable, and
// LoadProject for state.SelectedName().
void LoadSettings(const std::string& dataDir, SettingsState& state);

// Puts the project list in the selector's order (alphabetical without regard to case, stable),
// keeping the same project selected. For a model that shows the list sorted after LoadSettings.
void SortProjectList(SettingsState& state);

// Nothing when the project list is empty. Otherwise writes, in one rewrite of the file,
// Is Append 0, Width, IsOverWrite, PromptBeforeBackup, Last Project, the project list, By Field,
// Sort, Log Count and Enable schedule. Auto Run, Is Minimized and the wildcards are not written.
void SaveSettings(const std::string& dataDir, const SettingsState& state);

// Fills the form from the section of the trimmed name; nothing when the name is blank. Fields the
// load does not reach keep their contents. `composeName`, when given, is called right after the
// destination folder is read, to recompute form.fileName with the naming rule (it runs before a
// failure of the last step too). Throws DateTimeParseError "'%s' is not a valid date and time" when
// NewDateTime is no date-time; the fields read before that step keep their new values.
// `clock` gives the default of a missing NewDateTime.
void LoadProject(const std::string& dataDir, const std::string& name, ProjectForm& form, const Clock& clock,
                 const std::function<void(ProjectForm&)>& composeName = {});

// Writes the form to the section of the trimmed name, in one rewrite of the file. Updates the form
// as the window does: the password fields are emptied when no password is stored, the comment
// when no comment is stored, and saveFolder becomes the folder part of the name field.
// Also used by the wizard, which fills a ProjectForm from its own controls.
void SaveProject(const std::string& dataDir, const std::string& name, ProjectForm& form);

// Reads a project section into the plain record (no window rules beyond defaults and clamping).
Project ReadProject(const std::string& dataDir, const std::string& name);

// The first key of the backup or exclude list that the list's count promises and the section lacks
// (or holds empty), with that count's key: {"Backup1", "Backup Directory Count"}; nullopt when the
// lists are whole. A damaged file must not pass for a smaller backup.
std::optional<std::pair<std::string, std::string>> FirstMissingListKey(const std::string& dataDir,
                                                                       const std::string& name);
// Single keys written by other commands.
void WriteProjectValue(const std::string& dataDir, const std::string& name, int value);  // "Value"
// "NewDateTime" (local time) and kNewDateTimeUtcKey (the same instant in UTC, which tells the two
// moments of the hour repeated when daylight saving time ends apart).
void WriteNewDateTime(const std::string& dataDir, const std::string& name, DateTime moment,
                      std::time_t instant);
inline constexpr const char* kNewDateTimeUtcKey = "NewDateTime UTC";
void EraseProjectSection(const std::string& dataDir, const std::string& name);
// "BackupMode" (default 3) of a project; used by the selector drawing and the schedule table.
int ReadBackupMode(const std::string& dataDir, const std::string& name);
// "StartTime_or_Increase" (default "").
std::string ReadScheduleValue(const std::string& dataDir, const std::string& name);
// "Auto Run" and "Is Minimized", written at once by the preferences dialog.
void WriteAutoRun(const std::string& dataDir, bool autoRun, bool isMinimized);
// "Wildcard Total" / "Wildcard<i>".
std::vector<std::string> ReadWildcards(const std::string& dataDir);
void WriteWildcards(const std::string& dataDir, const std::vector<std::string>& wildcards);
// "Last Project".
void WriteLastProject(const std::string& dataDir, const std::string& name);

// The folder part of a path: everything up to and including the last separator (or, on Windows,
// the drive colon); "" when there is none.
std::string ExtractFileDir(const std::string& path);

}  // namespace brisko::core
