// Which controls of the main window are enabled, as one value the window binds to.
#pragma once

#include "core/view/ProjectForm.h"

namespace brisko::core {

// One flag per control (or group of controls that always move together), named after the control.
struct ControlEnabling {
  // Toolbar.
  bool comboProject = true;
  bool spNew = true, spEdit = true, spSave = false, spCancel = false;
  bool spRename = true, spCopy = true, spDelete = true;
  bool spMenu = true, menuPreferences = true, spEnable = true;
  bool spStart = true, spRestore = true, spExit = true;
  // The tab control and the tray's "Backup Project" items.
  bool pageControl = true, trayProjectItems = true;
  bool busyCursor = false;
  // The four groups of the Backup tab.
  bool groupSource = false, groupDestination = false, groupOptions = false, groupSchedule = false;
  // Controls inside the groups (effective only while their group is enabled).
  bool newerPickers = false;        // date and time pickers of "Only files newer than"
  bool checkUseLastBackup = false;  // "Use last backup date"
  bool suffixNumbers = true;        // next-number and "Next increase:" fields
  bool passwordEdits = false;       // "Enter Password:" and "Retype Password:"
  bool commentEdit = false;         // the comment edit
  bool scheduleTime = false;        // "Daily once at" time picker
  bool scheduleMinutes = false;     // "Daily every" minutes field and its "minutes" label
  bool scheduleWeekday = false;     // "Weekly every on" day list
};

// The enabling for the browse or edit state, with the busy state of a backup or restore on top.
// While busy, the project commands stay disabled as well, so that no project can be edited,
// renamed or deleted under a run that is still writing its counter and log.
inline ControlEnabling ComputeEnabling(bool editing, bool busy, const ProjectForm& form) {
  ControlEnabling e;
  const bool browse = !editing && !busy;
  e.comboProject = browse;
  e.spNew = e.spEdit = e.spRename = e.spDelete = browse;
  e.menuPreferences = browse;
  e.spSave = e.spCancel = editing && !busy;
  e.spCopy = !busy;
  e.spStart = e.spRestore = browse;
  e.pageControl = e.trayProjectItems = !busy;
  e.busyCursor = busy;
  e.groupSource = e.groupDestination = e.groupOptions = e.groupSchedule = editing && !busy;
  e.newerPickers = form.NewerPickersEnabled();
  e.checkUseLastBackup = form.UseLastBackupEnabled();
  e.suffixNumbers = form.CounterFieldsEnabled();
  e.passwordEdits = form.PasswordFieldsEnabled();
  e.commentEdit = form.CommentFieldEnabled();
  e.scheduleTime = form.ScheduleTimeEnabled();
  e.scheduleMinutes = form.ScheduleMinutesEnabled();
  e.scheduleWeekday = form.ScheduleWeekdayEnabled();
  return e;
}

}  // namespace brisko::core
