// The state the main window shows and the operations behind it, without any user interface.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/ActivityLog.h"
#include "core/BackupOutcome.h"
#include "core/Clock.h"
#include "core/GlobalSettings.h"
#include "core/ProjectStore.h"
#include "core/ScheduleTable.h"
#include "core/UserInteraction.h"
#include "core/view/ControlEnabling.h"
#include "core/view/ProjectForm.h"

namespace brisko::zip {
class StreamOpener;
}

namespace brisko::core {

// The three tabs of the main window.
enum class MainPage { Backup = 0, Restore = 1, Log = 2 };

// Bits passed to listeners: what changed since the last notification.
namespace ModelChange {
enum : unsigned {
  Settings = 1u << 0,        // GlobalSettings (sort menu, scheduling switch and look, log limit)
  ProjectList = 1u << 1,     // names, selection, tray submenu
  Form = 1u << 2,            // the project controls (ProjectForm), including the name field
  State = 1u << 3,           // edit or busy state: recompute Enabling()
  Progress = 1u << 4,        // the progress bar
  Log = 1u << 5,             // the log grid
  Schedule = 1u << 6,        // the schedule table, tray marks, timer running or stopped
  Page = 1u << 7,            // the tab shown
  RestoreRefresh = 1u << 8,  // the restore page should list its folder again (after a run)
  All = 0xFFFFu,
};
}

// One item of the tray's "Backup Project" submenu.
struct TrayProjectItem {
  std::string name;
  bool scheduled = false;  // shows the schedule mark
};

// Owned by the window (or the command line). Every operation runs on the caller's thread; the
// writer calls processEvents during long work, so a listener may see Busy() in between.
class MainModel {
 public:
  // dataDir ends with the separator; clock and ui must outlive the model.
  MainModel(std::string dataDir, const Clock& clock, UserInteraction& ui);
  ~MainModel();
  MainModel(const MainModel&) = delete;
  MainModel& operator=(const MainModel&) = delete;

  // ---- Life ----
  // Start-up without the window: LoadSettings (settings, project list, tray submenu, restore sort
  // menu, scheduling switch, BuildScheduleTable, LoadProject of the selected project), then the
  // log limit and LoadLog. An error is shown and skips the steps after it; a bad NewDateTime of
  // the selected project is shown but does not stop anything.
  void Start();
  // Shutdown: stops the timer, then SaveSettings unless the project list is empty. Asks nothing.
  void Shutdown();

  // ---- Settings and projects ----
  // Re-reads Common, the project list and the selection; rebuilds the tray submenu and the schedule
  // table; loads the selected project. Used at start-up and after the add-project wizard.
  void LoadSettings();
  // Writes Common (nothing when the project list is empty).
  void SaveSettings();
  // Loads the selected project into Form(); nothing when none is selected. A stored NewDateTime
  // that is no date-time shows "'%s' is not a valid date and time" and leaves the newer-than fields
  // at the current moment; the rest of the project is loaded.
  void LoadProject();
  // Selects the project at index (the selector) and loads it.
  void SelectProject(int index);
  // Selects a project by name (without regard to case) and loads it; false when it is not listed.
  bool SelectProjectByName(const std::string& name);
  // Recomputes Form().fileName from the save folder, prefix and suffix.
  void ComposeArchiveName();
  // The four checks of a project; the first that fails is shown as an error and false returned.
  bool ValidateProject();
  // The backup run of the project shown, on a copy of the form (see BackupRun.h): asks first when
  // the preferences say so and `askFirst` (scheduled runs do not ask), makes the form's checks, then
  // shows the counter and the newer-than moment the run moved on.
  BackupOutcome RunBackup(bool askFirst = true) { return RunBackup(askFirst, false); }
  // A run nobody started by hand: no question, no box; a failure becomes one notice naming the
  // project and the reason.
  BackupOutcome RunUnattendedBackup() { return RunBackup(false, true); }

  // ---- Scheduler ----
  void BuildScheduleTable();
  void ScheduleTick();
  // The scheduling switch as the user turns it: turning off asks "Do you want to disable all
  // scheduling?" (No keeps it on); turning on never asks. Returns the switch afterwards.
  bool SetSchedulingByUser(bool on);
  // "Enabled Scheduling" / "Disabled Scheduling", and the icon name "forauto" / "fornormal".
  // The tray's menu item says what choosing it does: "Disable scheduling" / "Enable scheduling".
  std::string SchedulingCaption() const;
  std::string SchedulingActionCaption() const;
  std::string SchedulingIcon() const;
  // Whether the 30-second timer should run (the table has entries and the model is not shut down).
  bool TimerActive() const { return timerActive_; }
  void SetTimerActive(bool active);
  const ScheduleTable& Schedule() const { return schedule_; }
  ScheduleTable& Schedule() { return schedule_; }

  // ---- State the window shows ----
  const std::string& DataDir() const { return dataDir_; }
  const Clock& GetClock() const { return clock_; }
  UserInteraction& Ui() { return ui_; }

  SettingsState& State() { return state_; }
  const SettingsState& State() const { return state_; }
  GlobalSettings& Settings() { return state_.settings; }
  const GlobalSettings& Settings() const { return state_.settings; }
  std::vector<std::string>& Projects() { return state_.projects; }
  const std::vector<std::string>& Projects() const { return state_.projects; }
  int Selected() const { return state_.selected; }
  void SetSelected(int index);  // selection only, without loading
  std::string SelectedName() const { return state_.SelectedName(); }

  ProjectForm& Form() { return form_; }
  const ProjectForm& Form() const { return form_; }

  bool Editing() const { return editing_; }
  // Entering the edit state remembers the form, so that changes made since can be told.
  void SetEditState(bool on);
  // In the edit state with the form changed since it began.
  bool HasUnsavedChanges() const { return editing_ && !(form_ == editBase_); }
  bool Busy() const { return busy_; }
  void SetBusy(bool on);
  // True from the start of RunBackup (before its question and checks) to its end.
  bool RunInProgress() const { return runInProgress_; }
  int Progress() const { return progress_; }
  void SetProgress(int percent);
  // Asks the running backup or restore to stop at its next check ("Stop", the tray, quitting); each
  // run clears the request when it starts.
  void RequestStop() { stopRequested_ = true; }
  bool StopRequested() const { return stopRequested_; }
  void ClearStopRequest() { stopRequested_ = false; }
  MainPage Page() const { return page_; }
  // Shows a tab, unless the tab is held (a scheduled run leaves the user's tab in front).
  void ShowPage(MainPage page);
  void HoldPage(bool held) { pageHeld_ = held; }
  bool StartMinimized() const { return state_.startMinimized; }
  void ClearStartMinimized() { state_.startMinimized = false; }

  ActivityLog& Log() { return *log_; }
  const ActivityLog& Log() const { return *log_; }
  // Applies a new log limit (preferences): settings and grid rows.
  void SetLogLimit(int limit);

  // Rebuilds the tray's "Backup Project" items from the project list (marks follow the schedule).
  void RebuildTrayMenu();
  const std::vector<TrayProjectItem>& TrayItems() const { return tray_; }

  // The enabling of every control, from the edit and busy states and the form.
  ControlEnabling Enabling() const { return ComputeEnabling(editing_, busy_, form_); }

  // ---- Notification ----
  using Listener = std::function<void(unsigned changes)>;
  // Adds a listener; returns an id for Unsubscribe.
  int Subscribe(Listener listener);
  void Unsubscribe(int id);
  // Tells every listener; the operations above call it themselves.
  void Notify(unsigned changes);

  // ---- Hooks ----
  // Lets the host's event loop run during long archive work (empty: nothing).
  std::function<void()> processEvents;
  // Creates the stream a backup writes its new archive to instead of a file (tests inject failing
  // streams here); null: a file.
  zip::StreamOpener* writerOutput = nullptr;
  // Called with a source file's path before each time a backup opens it to read it (tests swap or
  // change the file there); empty: nothing.
  std::function<void(const std::string& path)> beforeSourceRead;

 private:
  BackupOutcome RunBackup(bool askFirst, bool unattended);
  void UpdateTrayMarks();

  std::string dataDir_;
  const Clock& clock_;
  UserInteraction& ui_;
  SettingsState state_;
  ProjectForm form_;
  ProjectForm editBase_;
  bool editing_ = false;
  bool busy_ = false;
  bool runInProgress_ = false;
  bool stopRequested_ = false;
  int progress_ = 0;
  MainPage page_ = MainPage::Backup;
  bool pageHeld_ = false;
  ScheduleTable schedule_;
  bool timerActive_ = false;
  std::unique_ptr<ActivityLog> log_;
  std::vector<TrayProjectItem> tray_;
  std::vector<std::pair<int, Listener>> listeners_;
  int nextListenerId_ = 1;
};

}  // namespace brisko::core
