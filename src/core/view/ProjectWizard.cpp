// The add-project wizard's page flow, checks and Finish.
#include "core/view/ProjectWizard.h"

#include "core/ArchiveName.h"
#include "core/DataDir.h"
#include "core/ProjectList.h"
#include "core/ProjectStore.h"
#include "core/SettingsFiles.h"
#include "core/SpinValue.h"
#include "core/TextUtil.h"
#include "core/UserInteraction.h"
#include "core/view/ProjectFormStore.h"
#include "core/view/TypedPath.h"
#include "platform/Platform.h"
#include "zip/names/ZipPaths.h"

namespace brisko::core {

ProjectWizard::ProjectWizard(std::string dataDir, std::vector<std::string> projects, GlobalSettings settings,
                             const Clock& clock)
    : dataDir_(std::move(dataDir)),
      projects_(std::move(projects)),
      settings_(std::move(settings)),
      clock_(clock) {
  // The wizard's own initial values differ from the main window's.
  form_.includeSubfolders = true;
  form_.newerDate = *TryEncodeDate(1980, 1, 1);
  form_.newerTime = 0;
  form_.storePaths = true;
  form_.packLevel = 6;
  form_.storeNumber = 50;
  form_.scheduleMode = ScheduleMode::None;
  form_.scheduleTime = 0.5;
  form_.scheduleMinutes = 20;
  form_.scheduleWeekday = -1;
  form_.saveFolder = DefaultSaveFolder();
}

std::string ProjectWizard::Caption() const {
  return "Add project wizard - Step " + std::to_string(page_ + 1) + " of " + std::to_string(kPageCount);
}

const char* ProjectWizard::NextCaption() const {
  return page_ == kPageCount - 1 ? "Finish" : "Next";
}

const char* ProjectWizard::SubfolderLabel() const {
  return form_.includeSubfolders ? "Subdirectories are included" : "Subdirectories are not included";
}

void ProjectWizard::Back() {
  if (page_ > 0) --page_;
}

ProjectWizard::NextResult ProjectWizard::Next(UserInteraction& ui) {
  if (!CheckPage(ui)) return NextResult::Stayed;
  if (page_ == kPageCount - 1) {
    Finish();
    return NextResult::Finished;
  }
  ++page_;
  return NextResult::Advanced;
}

bool ProjectWizard::CheckPage(UserInteraction& ui) {
  auto fail = [&ui](const std::string& message) {
    ui.ShowMessage(MessageKind::Error, message);
    return false;
  };
  switch (page_) {
    case 0: {
      const std::string name = TrimBlanks(name_);
      if (name.empty()) return fail("Please input a new project name!");
      // "Common" holds the global settings; a project of that name would overwrite them.
      if (IndexOfProject(projects_, name) >= 0 || zip::SameTextAscii(name, kCommonSection))
        return fail("Project '" + name + "' exists,please input another name!");
      if (TrimBlanks(form_.prefix).empty()) SetPrefix(name);
      return true;
    }
    case 1:
      if (backup_.Empty()) return fail("Please select files to backup");
      return CheckSources(ui);
    case 3:
      if (TrimBlanks(form_.prefix).empty()) return fail("Please enter the prefix of backup filename");
      return CheckDestination(ui);
    case 4:
      if (form_.usePassword && TrimBlanks(form_.password) != TrimBlanks(form_.passwordConfirm))
        return fail("Confirm password is not matching");
      return true;
    default:
      return true;
  }
}

bool ProjectWizard::CheckSources(UserInteraction& ui) {
  std::vector<std::string> entries = backup_.Entries();
  for (std::string& entry : entries) entry = ExpandHome(entry);
  if (entries != backup_.Entries()) backup_.Assign(entries);
  const std::vector<std::string> missing = MissingSources(entries);
  if (missing.empty()) return true;
  // A source that is not there now may be a disk to be attached later; the user decides.
  std::string text = "These sources do not exist:";
  for (const std::string& entry : missing) text += "\n" + entry;
  return ui.Confirm(MessageKind::Warning, text + "\nKeep them in the project?");
}

bool ProjectWizard::CheckDestination(UserInteraction& ui) {
  form_.fileName = ExpandHome(TrimBlanks(form_.fileName));
  const std::string folder = zip::ExtractDirPart(form_.fileName);
  if (folder.empty()) return true;
  form_.saveFolder = folder;
  if (platform::StatFile(folder).isDirectory) return true;
  if (!ui.Confirm(MessageKind::Confirmation, "The folder '" + folder + "' does not exist. Create it?"))
    return false;
  std::string error;
  if (CreateFolder(folder, error)) return true;
  ui.ShowMessage(MessageKind::Error, "Cannot create the folder '" + folder + "': " + error);
  return false;
}

void ProjectWizard::ComposeFileName() {
  form_.fileName = ComposeArchivePath(form_.saveFolder, form_.prefix, form_.suffix, form_.nextNumber,
                                      settings_.isAppend0, settings_.width, clock_.Now());
}

void ProjectWizard::SetPrefix(const std::string& prefix) {
  form_.prefix = prefix;
  ComposeFileName();
}

void ProjectWizard::ChooseSuffix(SuffixKind kind) {
  form_.suffix = kind;
  ComposeFileName();
}

void ProjectWizard::SetSuffixNumber(int number) {
  form_.nextNumber = ClampSpin(number, kNumberMin, kCounterMax);
  ComposeFileName();
}

void ProjectWizard::SetIncrease(int increase) {
  form_.increase = ClampSpin(increase, kNumberMin, kNumberMax);
  ComposeFileName();
}

bool ProjectWizard::PickSaveFolder(UserInteraction& ui) {
  const auto folder = ui.PickFolder("Please select directory", form_.saveFolder);
  if (!folder || TrimBlanks(name_).empty()) return false;
  form_.saveFolder = *folder;
  ComposeFileName();
  return true;
}

void ProjectWizard::Finish() {
  const std::string name = TrimBlanks(name_);
  form_.backupList = backup_.Entries();
  form_.excludeList = exclude_.Entries();
  SaveProject(dataDir_, name, form_);
  // The whole list is written, not only the new index: a stored list with gaps (an empty CountN
  // read as absent) would otherwise get the new name over a listed project.
  std::vector<std::string> list = projects_;
  list.push_back(name);
  WriteProjectList(dataDir_, list);
  WriteLastProject(dataDir_, name);
}

}  // namespace brisko::core
