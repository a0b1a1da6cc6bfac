// The scheduler's table and tick.
#include "core/Scheduler.h"

#include <charconv>
#include <cmath>

#include "core/MainModel.h"
#include "core/ProjectKinds.h"
#include "core/ProjectList.h"
#include "core/ProjectStore.h"
#include "core/TextUtil.h"

namespace brisko::core {
namespace {

std::optional<int> ParseInteger(const std::string& text) {
  const std::string t = TrimBlanks(text);
  int value = 0;
  const char* begin = t.data();
  const char* end = t.data() + t.size();
  if (begin != end && *begin == '+') ++begin;
  auto [ptr, ec] = std::from_chars(begin, end, value);
  if (ec != std::errc() || ptr != end || begin == end) return std::nullopt;
  return value;
}

// Every N minutes as a time of day built from N div 60 and N mod 60; 1 hour when that is none.
DateTime MinutesInterval(const std::string& value) {
  const DateTime oneHour = 1.0 / 24.0;
  std::optional<int> minutes = ParseInteger(value);
  if (!minutes) return oneHour;
  // The program never writes fewer than 2 minutes; a hand-edited 0 would otherwise run at every tick.
  int n = *minutes < 2 ? 2 : *minutes;
  std::optional<DateTime> span = TryEncodeTime(n / 60, n % 60, 0);
  return span ? *span : oneHour;
}

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

}  // namespace

std::optional<ScheduleEntry> MakeScheduleEntry(const std::string& projectName, int mode,
                                               const std::string& value, DateTime now) {
  const DateTime today = DateOf(now);
  ScheduleEntry entry;
  entry.projectName = projectName;
  switch (static_cast<ScheduleMode>(mode)) {
    case ScheduleMode::DailyAt: {
      std::optional<DateTime> due = TryStrToDateTime(FormatDate(today) + " " + value);
      entry.nextDue = due ? *due : today + 0.5;
      entry.interval = 1.0;
      return entry;
    }
    case ScheduleMode::DailyEvery:
      entry.interval = MinutesInterval(value);
      entry.nextDue = now + entry.interval;
      return entry;
    case ScheduleMode::Weekly: {
      entry.nextDue = today + 8 + 0.5;
      for (int d = 0; d <= 7; ++d) {
        if (WeekdayName(today + d) == value) {
          entry.nextDue = today + d + 0.5;
          break;
        }
      }
      entry.interval = 7.0;
      return entry;
    }
    case ScheduleMode::None:
      break;
  }
  return std::nullopt;
}

ScheduleTable BuildScheduleTable(const std::string& dataDir, const std::vector<std::string>& projects,
                                 DateTime now) {
  ScheduleTable table;
  for (const std::string& name : projects) {
    const int mode = ReadBackupMode(dataDir, name);
    if (mode < 0 || mode > 2) continue;
    if (auto entry = MakeScheduleEntry(name, mode, ReadScheduleValue(dataDir, name), now))
      table.push_back(*entry);
  }
  return table;
}

void MainModel::BuildScheduleTable() {
  SetTimerActive(false);
  schedule_ = core::BuildScheduleTable(dataDir_, state_.projects, clock_.Now());
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
    ScheduleEntry& entry = model.Schedule()[i];
    const DateTime now = model.GetClock().Now();
    if (!(now > entry.nextDue)) continue;
    // After a pause (sleep, a long run) a project runs once: its next moment is the first one
    // still ahead, not each moment it missed in turn.
    if (entry.interval > 0) {
      entry.nextDue += (std::floor((now - entry.nextDue) / entry.interval) + 1) * entry.interval;
      while (!(entry.nextDue > now)) entry.nextDue += entry.interval;
    } else {
      entry.nextDue = now + 1.0;
    }
    const std::string name = entry.projectName;
    const int index = IndexOfProject(model.Projects(), name);
    if (index < 0) continue;
    // The run shows in the status bar and the tray; the page the user works on stays in front,
    // never switched away and back (which would list the Restore tab anew).
    BackupOutcome outcome;
    {
      PageHold hold(model);
      model.SelectProject(index);
      PromptSuppressor quiet(model.Settings().promptBeforeBackup);
      outcome = model.RunBackup();
    }
    if (outcome == BackupOutcome::CheckFailed || outcome == BackupOutcome::Failed) return;
  }
}

}  // namespace brisko::core
