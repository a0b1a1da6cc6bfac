// The scheduler's table and tick.
#include "core/Scheduler.h"

#include "core/ActivityLog.h"
#include "core/ProjectKinds.h"
#include "core/ProjectList.h"
#include "core/ProjectStore.h"
#include "core/ScheduleInterval.h"
#include "core/ScheduleMemory.h"
#include "core/TextUtil.h"

namespace brisko::core {
namespace {

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
void RememberRun(ScheduleTable& table, const std::string& dataDir, ScheduledRunner& runner,
                 const ScheduleEntry& ran, DateTime started, BackupOutcome outcome) {
  ScheduleMemory memory;
  memory.lastRun = started;
  try {
    WriteLastScheduledRun(dataDir, ran.projectName, started, ResultOf(outcome));
  } catch (const std::exception& e) {
    runner.OnError(
        std::string(e.what()) +
        "\rThe scheduled run was not recorded; it may run again after a restart.\rProject Name: '" +
        ran.projectName + "'");
  }
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

ScheduleTable StartScheduleTable(const std::string& dataDir, const std::vector<std::string>& projects,
                                 DateTime now) {
  ScheduleTable table = BuildScheduleTable(dataDir, projects, now);
  // An interval schedule counts from the moment it was first seen, so restarts do not put it off.
  for (const ScheduleEntry& entry : table) {
    if (static_cast<ScheduleMode>(entry.mode) != ScheduleMode::DailyEvery) continue;
    const ScheduleMemory memory = ReadScheduleMemory(dataDir, entry.projectName);
    if (memory.lastRun || memory.since) continue;
    try {
      WriteScheduledSince(dataDir, entry.projectName, now);
    } catch (const std::exception&) {
      // Unwritten, the schedule still counts from now while the program runs.
    }
  }
  return table;
}

void ScheduleTick(ScheduleTable& table, const std::vector<std::string>& projects, const std::string& dataDir,
                  const Clock& clock, ScheduledRunner& runner) {
  // By index: the table is not rebuilt by a run, but stays valid even if it were.
  for (size_t i = 0; i < table.size(); ++i) {
    const ScheduleEntry entry = table[i];
    const DateTime now = clock.Now();
    if (!(now > entry.nextDue)) continue;
    // After a pause (sleep, a stopped program) a project runs once, not once per moment it missed.
    const bool catchUp = entry.catchUp || now - entry.nextDue >= entry.interval;
    BackupOutcome outcome = BackupOutcome::NotRun;
    if (IndexOfProject(projects, entry.projectName) >= 0) {
      if (catchUp) {
        ActivityLog(dataDir, clock)
            .AddLogEntry("Schedule", "Catch-up",
                         "The run due at " + FormatDateTime(entry.nextDue) + " was missed; it runs once now",
                         entry.projectName);
        runner.OnLogged();
      }
      outcome = runner.RunScheduled(entry.projectName);
    }
    RememberRun(table, dataDir, runner, entry, now, outcome);
    if (outcome == BackupOutcome::CheckFailed || outcome == BackupOutcome::Failed) return;
  }
}

}  // namespace brisko::core
