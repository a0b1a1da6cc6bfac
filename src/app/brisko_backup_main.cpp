// brisko-backup: the backup side without a window (list, run, daemon, log); never asks anything.
#include <algorithm>
#include <charconv>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <limits>
#include <string>
#include <thread>
#include <vector>

#include "app/BackupCli.h"
#include "app/CliInteraction.h"
#include "app/CommandLine.h"
#include "app/StandardOptions.h"
#include "core/ActivityLog.h"
#include "core/BackupRun.h"
#include "core/DataDir.h"
#include "core/InteractionObserver.h"
#include "core/ProjectIniWatch.h"
#include "core/ProjectKinds.h"
#include "core/ProjectList.h"
#include "core/ProjectStore.h"
#include "core/Scheduler.h"
#include "core/SettingsFiles.h"
#include "core/SystemClock.h"
#include "core/TextUtil.h"
#include "platform/Console.h"
#include "platform/InstanceLock.h"
#include "platform/Platform.h"
#include "platform/StopSignals.h"
#include "zip/names/PrintableText.h"

namespace brisko::app {
namespace {

std::vector<BackupCliCommand>& Commands() {
  static std::vector<BackupCliCommand> commands;
  return commands;
}

volatile std::sig_atomic_t gStop = 0;
extern "C" void OnStopSignal(int) {
  gStop = 1;
}

// The schedule of a project as the Schedule group shows it.
std::string ScheduleText(const core::Project& project) {
  const std::string& value = project.scheduleValue;
  switch (project.scheduleMode) {
    case core::ScheduleMode::DailyAt:
      return "Daily once at " + value;
    case core::ScheduleMode::DailyEvery:
      return "Daily every " + value + " minutes";
    case core::ScheduleMode::Weekly:
      return "Weekly every on " + value + " 12:00:00";
    case core::ScheduleMode::None:
      break;
  }
  return "None";
}

int CmdList(const BackupCliContext& context) {
  if (!context.args.empty()) return kExitUsage;
  core::SettingsState state;
  core::LoadSettings(context.dataDir, state);
  const core::DateTime now = core::SystemClock::Instance().Now();
  const core::ScheduleTable table = core::BuildScheduleTable(context.dataDir, state.projects, now);
  for (const std::string& name : state.projects) {
    std::string line = name + "\t" + ScheduleText(core::ReadProject(context.dataDir, name));
    auto it = std::find_if(table.begin(), table.end(),
                           [&](const core::ScheduleEntry& e) { return e.projectName == name; });
    line += "\t" + (it != table.end() ? core::FormatDateTime(it->nextDue) : std::string("-"));
    std::printf("%s\n", line.c_str());
  }
  return kExitOk;
}

int ExitCodeOf(core::BackupOutcome outcome) {
  switch (outcome) {
    case core::BackupOutcome::Succeeded:
    case core::BackupOutcome::NothingToStore:
      return kExitOk;
    case core::BackupOutcome::Interrupted:
      return kExitInterrupted;
    case core::BackupOutcome::CheckFailed:
      return kExitCheckFailed;
    default:
      return kExitFailed;
  }
}

// Results on stdout, errors on stderr; a stop signal ends the run in progress as the Stop button
// does: the partial archive is removed and the run logged "Interrupt".
class CliRunObserver : public core::InteractionObserver {
 public:
  explicit CliRunObserver(CliInteraction& ui) : InteractionObserver(ui) {
    platform::OnStopSignals(OnStopSignal);
  }
  bool StopRequested() override { return gStop != 0; }
};

// The settings and the project list; a settings file that cannot be read is said and read as empty.
core::SettingsState LoadSettingsSaying(const std::string& dataDir) {
  core::SettingsState state;
  try {
    core::LoadSettings(dataDir, state);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "Error: %s\n", zip::PrintableText(CliInteraction::Lines(e.what()), true).c_str());
  }
  return state;
}

int CmdRun(const BackupCliContext& context) {
  if (context.args.size() != 1) return kExitUsage;
  platform::InstanceLock lock;
  if (!LockDataDir(lock, context.dataDir, "Backup", context.args[0])) return kExitLocked;
  CliInteraction ui;
  CliRunObserver observer(ui);
  const core::SettingsState state = LoadSettingsSaying(context.dataDir);
  const int index = core::IndexOfProject(state.projects, context.args[0]);
  if (index < 0) {
    std::fprintf(stderr, "Error: no project named '%s'\n", context.args[0].c_str());
    core::ActivityLog(context.dataDir, core::SystemClock::Instance())
        .AddLogEntry("Backup", "Fails", "Not run: no project of that name", context.args[0]);
    return kExitFailed;
  }
  // As the scheduler starts a run: without the confirmation question.
  return ExitCodeOf(core::BackUpStoredProject(context.dataDir, core::SystemClock::Instance(), state.settings,
                                              state.projects[static_cast<size_t>(index)], observer));
}

// The daemon's runs: the stored project, as brisko-backup run backs it up.
class DaemonRunner : public core::ScheduledRunner {
 public:
  DaemonRunner(const std::string& dataDir, const core::SettingsState& state, CliRunObserver& observer)
      : dataDir_(dataDir), state_(state), observer_(observer) {}
  core::BackupOutcome RunScheduled(const std::string& projectName) override {
    return core::BackUpStoredProject(dataDir_, core::SystemClock::Instance(), state_.settings, projectName,
                                     observer_);
  }
  void OnError(const std::string& text) override { observer_.OnError(text); }

 private:
  const std::string& dataDir_;
  const core::SettingsState& state_;
  CliRunObserver& observer_;
};

int CmdDaemon(const BackupCliContext& context) {
  int tickMilliseconds = core::kScheduleTickMilliseconds;
  CommandLine line;
  line.Value("--tick", [&](const std::string& text) -> std::string {
    int seconds = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (error != std::errc() || end != text.data() + text.size() || seconds < 1 ||
        seconds > std::numeric_limits<int>::max() / 1000)
      return "--tick takes a number of seconds";
    tickMilliseconds = seconds * 1000;
    return {};
  });
  std::vector<std::string> operands;
  if (!line.Parse(context.args, operands).empty() || !operands.empty()) return kExitUsage;
  platform::InstanceLock lock;
  if (!LockDataDir(lock, context.dataDir, "Schedule", "")) return kExitLocked;

  CliInteraction ui;
  CliRunObserver observer(ui);
  const core::Clock& clock = core::SystemClock::Instance();
  core::SettingsState state;
  core::ScheduleTable schedule;
  const auto load = [&] {
    state = LoadSettingsSaying(context.dataDir);
    schedule = core::StartScheduleTable(context.dataDir, state.projects, clock.Now());
  };
  load();
  DaemonRunner runner(context.dataDir, state, observer);
  core::ProjectIniWatch iniWatch(core::ProjectIniPath(context.dataDir));
  std::printf("Watching %s: %zu scheduled project(s)\n", context.dataDir.c_str(), schedule.size());
  for (const core::ScheduleEntry& entry : schedule)
    std::printf("%s: next run %s%s\n", entry.projectName.c_str(), core::FormatDateTime(entry.nextDue).c_str(),
                entry.catchUp ? " (missed, runs now)" : "");
  std::fflush(stdout);

  using Clock = std::chrono::steady_clock;
  const auto tick = std::chrono::milliseconds(tickMilliseconds);
  auto nextTick = Clock::now() + tick;
  while (!gStop) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    if (gStop || Clock::now() < nextTick) continue;
    nextTick = std::max(nextTick + tick, Clock::now());
    // Projects edited meanwhile by hand take effect as after a save.
    if (iniWatch.TakeChange()) load();
    if (schedule.empty() || !state.settings.enableSchedule) continue;
    iniWatch.BeforeRuns();
    core::ScheduleTick(schedule, state.projects, context.dataDir, clock, runner);
    iniWatch.AfterRuns();
  }
  std::printf("Stopped\n");
  return kExitOk;
}

int CmdLog(const BackupCliContext& context) {
  if (!context.args.empty()) return kExitUsage;
  core::SettingsState state;
  core::LoadSettings(context.dataDir, state);
  core::ActivityLog log(context.dataDir, core::SystemClock::Instance(), state.settings.logCount);
  log.LoadLog();
  for (int row = 1; row <= log.Shown(); ++row) {
    const core::LogRow& r = log.Rows()[static_cast<size_t>(row)];
    std::printf("%s\t%s\t%s\t%s\t%s\n", r[0].c_str(), r[1].c_str(), r[2].c_str(), r[3].c_str(), r[4].c_str());
  }
  return kExitOk;
}

const bool registered = RegisterBackupCommand({"list", "list", &CmdList}) &&
                        RegisterBackupCommand({"run", "run NAME", &CmdRun}) &&
                        RegisterBackupCommand({"daemon", "daemon [--tick SECONDS]", &CmdDaemon}) &&
                        RegisterBackupCommand({"log", "log", &CmdLog});

void Usage(std::FILE* out = stderr) {
  std::fprintf(out,
               "usage: brisko-backup [--config-dir DIR] COMMAND\n"
               "       brisko-backup --help | --version\n"
               "commands:\n");
  for (const BackupCliCommand& c : Commands()) std::fprintf(out, "  %s\n", c.usage);
}

}  // namespace

bool LockDataDir(platform::InstanceLock& lock, const std::string& dataDir, const std::string& operation,
                 const std::string& project) {
  if (lock.TryAcquire(dataDir)) return true;
  std::fprintf(stderr, "Error: %s\n", lock.ErrorText().c_str());
  // A refused cron run must show in the log the window shows, not only on a terminal nobody reads.
  try {
    core::SettingsState state;
    core::LoadSettings(dataDir, state);
    core::ActivityLog log(dataDir, core::SystemClock::Instance(), state.settings.logCount);
    log.AddLogEntry(operation, "Fails", "Not started: " + lock.ErrorText(), project);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "Error: the activity log could not be written: %s\n", e.what());
  }
  return false;
}

bool RegisterBackupCommand(const BackupCliCommand& command) {
  Commands().push_back(command);
  return true;
}

}  // namespace brisko::app

int main(int argc, char** argv) {
  using namespace brisko::app;
  brisko::platform::UseUtf8Console();
  (void)registered;
  switch (FindStandardOption(argc, argv)) {
    case StandardOption::Help:
      Usage(stdout);
      return kExitOk;
    case StandardOption::Version:
      PrintVersion("brisko-backup");
      return kExitOk;
    case StandardOption::None:
      break;
  }
  std::vector<std::string> args(argv + 1, argv + argc);
  std::string dataDir;
  if (args.size() >= 2 && args[0] == "--config-dir") {
    dataDir = args[1];
    args.erase(args.begin(), args.begin() + 2);
    const brisko::platform::FileStat st = brisko::platform::StatFile(dataDir);
    if (!st.exists || !st.isDirectory) {
      std::fprintf(stderr, "Error: no folder %s\n", dataDir.c_str());
      return kExitUsage;
    }
    if (dataDir.back() != brisko::platform::kPathDelim) dataDir += brisko::platform::kPathDelim;
  }
  if (args.empty()) {
    Usage();
    return kExitUsage;
  }
  for (const BackupCliCommand& command : Commands()) {
    if (args[0] != command.name) continue;
    try {
      if (dataDir.empty()) dataDir = brisko::core::DataDirectory();
      BackupCliContext context{dataDir, std::vector<std::string>(args.begin() + 1, args.end())};
      const int code = command.run(context);
      if (code == kExitUsage)
        std::fprintf(stderr, "usage: brisko-backup [--config-dir DIR] %s\n", command.usage);
      return code;
    } catch (const std::exception& e) {
      std::fprintf(stderr, "Error: %s\n",
                   brisko::zip::PrintableText(CliInteraction::Lines(e.what()), true).c_str());
      return kExitFailed;
    }
  }
  Usage();
  return kExitUsage;
}
