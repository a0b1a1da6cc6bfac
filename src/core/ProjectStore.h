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
void LoadSettings(const std::string& dataDir, SettingsState& state);

// Puts the project list in the selector's order (alphabetical without regard to case, stable),
// keeping the same project selected. For a model that shows the list sorted after LoadSettings.
void SortProjectList(SettingsState& state);

// Nothing when the project list is empty. Otherwise writes, in one rewrite of the file,
// Is Append 0, Width, IsOverWrite, PromptBeforeBackup, Last Project, the project list, By Field,
// Sort, Log Count and Enable schedule. Auto Run, Is Minimized and the wildcards are not written.
void SaveSettings(const std::string& dataDir, const SettingsState& state);

// Reads the section of the trimmed name into the plain record: defaults for missing keys, numbers
// clamped to their fields' bounds, the password decoded (only when the project uses one).
Project ReadProject(const std::string& dataDir, const std::string& name);
// Writes the record to the section `project.name` (trimmed by the caller), in one rewrite of the file.
// The password is stored only when the project uses one, the comment only when it uses one that is
// not blank, the schedule value only with a schedule.
void WriteProject(const std::string& dataDir, const Project& project);

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
