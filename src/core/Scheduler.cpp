// The scheduler's table and tick.
#include "core/Scheduler.h"

#include "core/MainModel.h"
#include "core/ProjectKinds.h"
#include "core/ProjectList.h"
#include "core/ProjectStore.h"
#include "core/ScheduleInterval.h"
#include "core/ScheduleMemory.h"
#include "core/TextUtil.h"

namespace brisko::core {
namespace {

// Restores the confirmation setting when a scheduled run ends, however it ends.
class PromptSuppressor {
 public:
  explicit PromptSuppressor(bool& prompt) : prompt_(prompt), saved_(prompt) { prompt_ = false; }
  ~PromptSuppressor() { prompt_ = saved_; }
  PromptSuppressor(const PromptSuppressor&) = delete;
  PromptSuppressor& operator=(const PromptSuppressor&) = delete;

 private:
  bool& prompt_;
  bool saved_;
};

// Keeps the tab shown while a scheduled run loads its project and runs, however it ends.
class PageHold {
 public:
  explicit PageHold(MainModel& model) : model_(model) { model_.HoldPage(true); }
  ~PageHold() { model_.HoldPage(false); }
  PageHold(const PageHold&) = delete;
  PageHold& operator=(const PageHold&) = delete;

 private:
  MainModel& model_;
};

// The word the log uses for how a run ended.
std::string ResultOf(BackupOutcome outcome) {
  switch (outcome) {
    case BackupOutcome::Succeeded:
    case BackupOutcome::NothingToStore:
      return "Succeeds";
    case BackupOutcome::Interrupted:
      return "Interrupt";
    case BackupOutcome::NotRun:
      return "Not run";
    default:
      return "Fails";
  }
}

// Records the run in Schedule.txt and moves the entry to its next moment after `started`. A record
// that cannot be written is reported; the entry moves on all the same, so the project does not run
// at every tick.
void RememberRun(MainModel& model, const ScheduleEntry& ran, DateTime started, BackupOutcome outcome) {
  ScheduleMemory memory;
  memory.lastRun = started;
  try {
    WriteLastScheduledRun(model.DataDir(), ran.projectName, started, ResultOf(outcome));
  } catch (const std::exception& e) {
    model.Ui().ShowMessage(MessageKind::Error, std::string(e.what()) +
                                                   "\rThe scheduled run was not recorded; it may run again "
                                                   "after a restart.\rProject Name: '" +
                                                   ran.projectName + "'");
  }
  auto& table = model.Schedule();
  for (ScheduleEntry& entry : table) {
    if (entry.projectName != ran.projectName) continue;
    if (auto next = MakeScheduleEntry(ran.projectName, ran.mode, ran.value, started, memory)) entry = *next;
  }
}

}  // namespace

std::optional<ScheduleEntry> MakeScheduleEntry(const std::string& projectName, int mode,
                                               const std::string& value, DateTime now,
                                               const ScheduleMemory& memory) {
  const DateTime today = DateOf(now);
  ScheduleEntry entry;
  entry.projectName = projectName;
  entry.mode = mode;
  entry.value = value;
  // A moment that recurs every `interval` days, `moment` being one of them: without a last run
  // it is due as given; with one, the latest moment begun by now runs unless that run came after it.
  auto recurring = [&](DateTime moment, DateTime interval) {
    entry.interval = interval;
    if (memory.lastRun) {
      while (moment > now) moment -= interval;
      if (*memory.lastRun >= moment) moment += interval;
    }
    entry.nextDue = moment;
  };
  switch (static_cast<ScheduleMode>(mode)) {
    case ScheduleMode::DailyAt: {
      std::optional<DateTime> due = TryStrToDateTime(FormatDate(today) + " " + value);
      recurring(due ? *due : today + 0.5, 1.0);
      break;
    }
    case ScheduleMode::DailyEvery: {
      entry.interval = MinutesInterval(value);
      const std::optional<DateTime> base = memory.lastRun ? memory.lastRun : memory.since;
      entry.nextDue = (base ? *base : now) + entry.interval;
      break;
    }
    case ScheduleMode::Weekly: {
      int day = -1;
      for (int d = 0; d <= 7 && day < 0; ++d)
        if (WeekdayName(today + d) == value) day = d;
      if (day < 0) {
        entry.nextDue = today + 8 + 0.5;
        entry.interval = 7.0;
      } else {
        recurring(today + day + 0.5, 7.0);
      }
      break;
    }
    case ScheduleMode::None:
    default:
      return std::nullopt;
  }
  entry.catchUp = !(entry.nextDue > now);
  return entry;
}

ScheduleTable BuildScheduleTable(const std::string& dataDir, const std::vector<std::string>& projects,
                                 DateTime now) {
  ScheduleTable table;
  for (const std::string& name : projects) {
    const Project project = ReadProject(dataDir, name);
    if (!project.scheduleKnown || project.scheduleMode == ScheduleMode::None) continue;
    if (auto entry = MakeScheduleEntry(name, static_cast<int>(project.scheduleMode), project.scheduleValue,
                                       now, ReadScheduleMemory(dataDir, name)))
      table.push_back(*entry);
  }
  return table;
}

void MainModel::BuildScheduleTable() {
  SetTimerActive(false);
  const DateTime now = clock_.Now();
  schedule_ = core::BuildScheduleTable(dataDir_, state_.projects, now);
  // An interval schedule counts from the moment it was first seen, so restarts do not put it off.
  for (const ScheduleEntry& entry : schedule_) {
    if (static_cast<ScheduleMode>(entry.mode) != ScheduleMode::DailyEvery) continue;
    const ScheduleMemory memory = ReadScheduleMemory(dataDir_, entry.projectName);
    if (memory.lastRun || memory.since) continue;
    try {
      WriteScheduledSince(dataDir_, entry.projectName, now);
    } catch (const std::exception&) {
      // Unwritten, the schedule still counts from now while the program runs.
    }
  }
  UpdateTrayMarks();
  SetTimerActive(!schedule_.empty());
  Notify(ModelChange::Schedule | ModelChange::ProjectList);
}

void MainModel::ScheduleTick() {
  core::ScheduleTick(*this);
}

bool MainModel::SetSchedulingByUser(bool on) {
  if (!on && !ui_.Confirm(MessageKind::Warning, "Do you want to disable all scheduling?")) on = true;
  state_.settings.enableSchedule = on;
  Notify(ModelChange::Settings);
  return on;
}

std::string MainModel::SchedulingCaption() const {
  return state_.settings.enableSchedule ? "Enabled Scheduling" : "Disabled Scheduling";
}

std::string MainModel::SchedulingIcon() const {
  return state_.settings.enableSchedule ? "forauto" : "fornormal";
}

void ScheduleTick(MainModel& model) {
  if (!model.Settings().enableSchedule) return;
  if (model.Editing()) return;
  // A run in progress, or one still waiting at its question or its checks, keeps the tick idle.
  if (model.Busy() || model.RunInProgress()) return;
  // By index: the table is not rebuilt by a run, but stays valid even if it were.
  for (size_t i = 0; i < model.Schedule().size(); ++i) {
    const ScheduleEntry entry = model.Schedule()[i];
    const DateTime now = model.GetClock().Now();
    if (!(now > entry.nextDue)) continue;
    // After a pause (sleep, a stopped program) a project runs once, not once per moment it missed.
    const bool catchUp = entry.catchUp || now - entry.nextDue >= entry.interval;
    const int index = IndexOfProject(model.Projects(), entry.projectName);
    BackupOutcome outcome = BackupOutcome::NotRun;
    if (index >= 0) {
      if (catchUp) {
        model.Log().AddLogEntry(
            "Schedule", "Catch-up",
            "The run due at " + FormatDateTime(entry.nextDue) + " was missed; it runs once now",
            entry.projectName);
        model.Notify(ModelChange::Log);
      }
      // The run shows in the status bar and the tray; the page the user works on stays in front,
      // never switched away and back (which would list the Restore tab anew).
      PageHold hold(model);
      model.SelectProject(index);
      PromptSuppressor quiet(model.Settings().promptBeforeBackup);
      outcome = model.RunBackup();
    }
    RememberRun(model, entry, now, outcome);
    if (outcome == BackupOutcome::CheckFailed || outcome == BackupOutcome::Failed) return;
  }
}

}  // namespace brisko::core
