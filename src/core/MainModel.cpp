// The main-window model: start-up, shutdown, settings, selection and the window states.
#include "core/MainModel.h"

#include <algorithm>
#include <exception>

#include "core/ArchiveName.h"
#include "core/DateTimeParseError.h"
#include "core/ProjectList.h"
#include "core/TextUtil.h"
#include "core/view/ProjectFormStore.h"

namespace brisko::core {

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

}  // namespace brisko::core
