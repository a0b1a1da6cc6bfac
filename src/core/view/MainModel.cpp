// The main-window model: start-up, shutdown, settings, selection and the window states.
#include "core/view/MainModel.h"

#include <algorithm>
#include <exception>

#include "core/ArchiveName.h"
#include "core/BackupRun.h"
#include "core/DateTimeParseError.h"
#include "core/ProjectList.h"
#include "core/Scheduler.h"
#include "core/TextUtil.h"
#include "core/view/ModelRunObserver.h"
#include "core/view/ProjectFormCheck.h"
#include "core/view/ProjectFormStore.h"

namespace brisko::core {
namespace {

// Sets a flag for the lifetime of a scope.
class ScopedFlag {
 public:
  explicit ScopedFlag(bool& flag) : flag_(flag) { flag_ = true; }
  ~ScopedFlag() { flag_ = false; }
  ScopedFlag(const ScopedFlag&) = delete;
  ScopedFlag& operator=(const ScopedFlag&) = delete;

 private:
  bool& flag_;
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

// Scheduled runs of the window: the project is selected and shown, the user's tab stays in front.
class ModelScheduledRunner : public ScheduledRunner {
 public:
  explicit ModelScheduledRunner(MainModel& model) : model_(model) {}

  BackupOutcome RunScheduled(const std::string& projectName) override {
    // The run shows in the status bar and the tray; the page the user works on stays in front,
    // never switched away and back (which would list the Restore tab anew).
    PageHold hold(model_);
    if (!model_.SelectProjectByName(projectName)) return BackupOutcome::NotRun;
    return model_.RunUnattendedBackup();
  }
  void OnLogged() override {
    model_.Log().LoadLog();
    model_.Notify(ModelChange::Log);
  }
  void OnError(const std::string& text) override {
    model_.Ui().NotifyUnattended({NoticeKind::Failure, "Scheduled backup", text});
  }

 private:
  MainModel& model_;
};

}  // namespace

MainModel::MainModel(std::string dataDir, const Clock& clock, UserInteraction& ui)
    : dataDir_(std::move(dataDir)),
      clock_(clock),
      ui_(ui),
      log_(std::make_unique<ActivityLog>(dataDir_, clock_, state_.settings.logCount)) {}

MainModel::~MainModel() = default;

void MainModel::Start() {
  try {
    LoadSettings();
    log_->SetLimit(state_.settings.logCount);
    log_->LoadLog();
  } catch (const std::exception& e) {
    // As at start-up of the window: the error is shown and the steps after it are skipped.
    ui_.ShowMessage(MessageKind::Error, e.what());
  }
  Notify(ModelChange::All);
}

void MainModel::Shutdown() {
  SetTimerActive(false);
  core::SaveSettings(dataDir_, state_);
}

void MainModel::LoadSettings() {
  ShowPage(MainPage::Backup);
  core::LoadSettings(dataDir_, state_);
  // The selector is a sorted list: names take their place without regard to case, whatever the
  // order in which add, copy and the wizard appended them to the file.
  SortProjectList(state_);
  RebuildTrayMenu();
  Notify(ModelChange::Settings | ModelChange::ProjectList);
  BuildScheduleTable();
  LoadProject();
}

void MainModel::SaveSettings() {
  core::SaveSettings(dataDir_, state_);
}

void MainModel::LoadProject() {
  const std::string name = SelectedName();
  if (TrimBlanks(name).empty()) return;
  try {
    core::LoadProject(dataDir_, name, form_, clock_, [this](ProjectForm&) { ComposeArchiveName(); });
  } catch (const DateTimeParseError& e) {
    // A damaged NewDateTime must not keep the project (or the program) from loading: the message is
    // shown and the newer-than fields take the moment a missing key would give.
    ui_.ShowMessage(MessageKind::Error, e.what());
    const DateTime now = clock_.Now();
    form_.newerDate = DateOf(now);
    form_.newerTime = TimeOf(now);
  }
  ShowPage(MainPage::Backup);
  Notify(ModelChange::Form | ModelChange::State);
}

void MainModel::SelectProject(int index) {
  SetSelected(index);
  LoadProject();
}

bool MainModel::SelectProjectByName(const std::string& name) {
  const int index = IndexOfProject(state_.projects, name);
  if (index < 0) return false;
  SelectProject(index);
  return true;
}

void MainModel::SetSelected(int index) {
  state_.selected = (index >= 0 && index < static_cast<int>(state_.projects.size())) ? index : -1;
  Notify(ModelChange::ProjectList);
}

void MainModel::ComposeArchiveName() {
  form_.fileName = ComposeArchivePath(form_.saveFolder, form_.prefix, form_.suffix, form_.nextNumber,
                                      state_.settings.isAppend0, state_.settings.width, clock_.Now());
  Notify(ModelChange::Form);
}

void MainModel::SetEditState(bool on) {
  if (on && !editing_) editBase_ = form_;
  editing_ = on;
  Notify(ModelChange::State);
}

void MainModel::SetBusy(bool on) {
  busy_ = on;
  Notify(ModelChange::State);
}

void MainModel::SetProgress(int percent) {
  progress_ = std::clamp(percent, 0, 100);
  Notify(ModelChange::Progress);
}

void MainModel::ShowPage(MainPage page) {
  if (pageHeld_) return;
  page_ = page;
  Notify(ModelChange::Page);
}

void MainModel::SetLogLimit(int limit) {
  state_.settings.logCount = limit;
  log_->SetLimit(limit);
  Notify(ModelChange::Settings | ModelChange::Log);
}

void MainModel::RebuildTrayMenu() {
  tray_.clear();
  for (const std::string& name : state_.projects) tray_.push_back({name, false});
  UpdateTrayMarks();
  Notify(ModelChange::ProjectList);
}

void MainModel::UpdateTrayMarks() {
  for (TrayProjectItem& item : tray_) {
    item.scheduled = std::any_of(schedule_.begin(), schedule_.end(),
                                 [&](const ScheduleEntry& e) { return e.projectName == item.name; });
  }
}

void MainModel::SetTimerActive(bool active) {
  if (timerActive_ == active) return;
  timerActive_ = active;
  Notify(ModelChange::Schedule);
}

int MainModel::Subscribe(Listener listener) {
  const int id = nextListenerId_++;
  listeners_.emplace_back(id, std::move(listener));
  return id;
}

void MainModel::Unsubscribe(int id) {
  std::erase_if(listeners_, [id](const auto& entry) { return entry.first == id; });
}

void MainModel::Notify(unsigned changes) {
  // A copy, so a listener may subscribe or unsubscribe while being told.
  const auto listeners = listeners_;
  for (const auto& entry : listeners)
    if (entry.second) entry.second(changes);
}

bool MainModel::ValidateProject() {
  if (std::optional<std::string> message = FirstFailedCheck(form_)) {
    ui_.ShowMessage(MessageKind::Error, *message);
    return false;
  }
  return true;
}

BackupOutcome MainModel::RunBackup(bool askFirst, bool unattended) {
  if (state_.projects.empty()) return BackupOutcome::NotRun;
  ScopedFlag running(runInProgress_);
  ClearStopRequest();
  const std::string name = SelectedName();
  if (askFirst && state_.settings.promptBeforeBackup &&
      !ui_.Confirm(MessageKind::Information, "Do you want to backup the project '" + TrimBlanks(name) + "'?"))
    return BackupOutcome::NotRun;
  ModelRunObserver observer(*this);
  observer.unattended = unattended;
  // Unattended, a run that did not end well raises one notice instead of its boxes.
  auto told = [&](BackupOutcome outcome) {
    const bool failed = outcome == BackupOutcome::CheckFailed || outcome == BackupOutcome::Failed ||
                        outcome == BackupOutcome::Incomplete || outcome == BackupOutcome::Interrupted;
    if (unattended && failed)
      ui_.NotifyUnattended(
          {NoticeKind::Failure, "Backup of '" + TrimBlanks(name) + "' failed", observer.report});
    return outcome;
  };
  BackupRun run(dataDir_, clock_, observer);
  if (std::optional<std::string> message = FirstFailedCheck(form_)) return told(run.Refuse(name, *message));

  const MainPage page = page_;
  BackupRequest request;
  request.project = ProjectOfForm(name, form_);
  request.settings = state_.settings;
  request.writerOutput = writerOutput;
  request.beforeSourceRead = beforeSourceRead;
  const std::optional<std::string> newerBefore = request.project.newDateTime;
  const BackupOutcome outcome = run.Execute(std::move(request));

  // The form shows what the run moved on.
  const Project& ran = run.Ran();
  if (form_.suffix == SuffixKind::Number) form_.nextNumber = ran.NextNumber();
  if (ran.newDateTime != newerBefore) {
    if (const std::optional<DateTime> moment = TryStrToDateTime(ran.newDateTime.value_or(""))) {
      form_.newerDate = DateOf(*moment);
      form_.newerTime = TimeOf(*moment);
    }
  }
  if (outcome != BackupOutcome::CheckFailed) ComposeArchiveName();
  if (observer.wrote) {
    ShowPage(page);
    if (page == MainPage::Restore) Notify(ModelChange::RestoreRefresh);
  }
  return told(outcome);
}

void MainModel::BuildScheduleTable() {
  SetTimerActive(false);
  schedule_ = StartScheduleTable(dataDir_, state_.projects, clock_.Now());
  UpdateTrayMarks();
  SetTimerActive(!schedule_.empty());
  Notify(ModelChange::Schedule | ModelChange::ProjectList);
}

void MainModel::ScheduleTick() {
  if (!state_.settings.enableSchedule || editing_) return;
  // A run in progress, or one still waiting at its question or its checks, keeps the tick idle.
  if (busy_ || runInProgress_) return;
  ModelScheduledRunner runner(*this);
  core::ScheduleTick(schedule_, state_.projects, dataDir_, clock_, runner);
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

std::string MainModel::SchedulingActionCaption() const {
  return state_.settings.enableSchedule ? "Disable scheduling" : "Enable scheduling";
}

std::string MainModel::SchedulingIcon() const {
  return state_.settings.enableSchedule ? "forauto" : "fornormal";
}

}  // namespace brisko::core
