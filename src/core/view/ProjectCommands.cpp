// The project commands and the browse/edit state changes around them.
//
// Rename and Copy check the form before anything is stored, then write the new section before the
// list names it, and touch the old section only after the list no longer names it. A failed check
// therefore changes nothing, and a refused write at any step leaves every listed project with its
// settings.
#include "core/view/ProjectCommands.h"

#include "core/ProjectList.h"
#include "core/ProjectStore.h"
#include "core/Rotation.h"
#include "core/ScheduleMemory.h"
#include "core/SettingsFiles.h"
#include "core/TextUtil.h"
#include "core/UserInteraction.h"
#include "core/view/MainModel.h"
#include "core/view/ProjectFormStore.h"
#include "zip/names/ZipPaths.h"

namespace brisko::core {

namespace {

// Writes the list naming a freshly written section; on failure the section goes again (it is
// listed nowhere) and the error travels on.
void WriteListNaming(const std::string& dataDir, const std::vector<std::string>& list,
                     const std::string& newSection) {
  try {
    WriteProjectList(dataDir, list);
  } catch (...) {
    try {
      EraseProjectSection(dataDir, newSection);
    } catch (...) {
      // An unlisted section is never read; leaving it is harmless.
    }
    throw;
  }
}

}  // namespace

ProjectWizard ProjectCommands::NewWizard() const {
  return ProjectWizard(model_.DataDir(), model_.Projects(), model_.Settings(), model_.GetClock());
}

bool ProjectCommands::AddProject() {
  if (!model_.Enabling().spNew) return false;
  model_.ShowPage(MainPage::Backup);
  if (!model_.Ui().RunAddProjectWizard()) return false;
  model_.LoadSettings();
  return true;
}

bool ProjectCommands::EditProject() {
  if (!model_.Enabling().spEdit || model_.Projects().empty()) return false;
  model_.ShowPage(MainPage::Backup);
  model_.SetEditState(true);
  return true;
}

bool ProjectCommands::SaveProject() {
  if (!model_.Enabling().spSave) return false;
  const std::string name = TrimBlanks(model_.SelectedName());
  if (name.empty() || !model_.ValidateProject()) return false;
  core::SaveProject(model_.DataDir(), name, model_.Form());
  model_.SetEditState(false);
  model_.BuildScheduleTable();
  model_.Notify(ModelChange::Form);
  return true;
}

bool ProjectCommands::Cancel() {
  if (!model_.Enabling().spCancel) return false;
  model_.SetEditState(false);
  model_.LoadProject();
  return true;
}

std::string ProjectCommands::AskNewName(const char* caption, const std::string& proposed, int position) {
  const auto typed = model_.Ui().AskName(caption, proposed);
  if (!typed) return {};
  const std::string name = TrimBlanks(*typed);
  if (name.empty()) return {};
  const int found = IndexOfProject(model_.Projects(), name);
  if (found == position) return {};  // the same project, perhaps in other letter case
  // "Common" holds the global settings and cannot be a project's section.
  if (found >= 0 || zip::SameTextAscii(name, kCommonSection)) {
    model_.Ui().ShowMessage(MessageKind::Error, kNameExistsMessage);
    return {};
  }
  return name;
}

bool ProjectCommands::RenameProject() {
  if (!model_.Enabling().spRename) return false;
  const std::string oldName = TrimBlanks(model_.SelectedName());
  if (oldName.empty()) return false;
  const int position = model_.Selected();
  const std::string newName = AskNewName(kRenameCaption, oldName, position);
  if (newName.empty() || !model_.ValidateProject()) return false;

  const std::string& dir = model_.DataDir();
  core::SaveProject(dir, newName, model_.Form());
  // Before the schedule is rebuilt: the renamed project's moments that ran do not run again.
  RenameScheduleMemory(dir, oldName, newName);
  std::vector<std::string> list = model_.Projects();
  list[static_cast<size_t>(position)] = newName;  // keeps its place until the list is next loaded
  ListSavedProject(std::move(list), newName, position);

  // The old name is listed nowhere now; its records follow the project.
  EraseProjectSection(dir, oldName);
  RenameRotationSection(dir, oldName, newName);
  return true;
}

bool ProjectCommands::CopyProject() {
  if (!model_.Enabling().spCopy) return false;
  const std::string source = TrimBlanks(model_.SelectedName());
  if (source.empty()) return false;
  const std::string newName = AskNewName(kCopyCaption, kCopyPrefix + source, model_.Selected());
  if (newName.empty() || !model_.ValidateProject()) return false;

  // The controls (edited or not) become the copy's settings; the source's section is not touched
  // and the copy starts without a rotation record.
  const std::string& dir = model_.DataDir();
  // Two projects with one prefix would write, and rotate away, each other's archives: unless the
  // prefix was changed already, the copy names its archives after itself.
  if (model_.Form().prefix == ReadProject(dir, source).prefix) {
    model_.Form().prefix = newName;
    model_.ComposeArchiveName();
  }
  core::SaveProject(dir, newName, model_.Form());
  std::vector<std::string> list = model_.Projects();
  const int position = InsertProjectSorted(list, newName);
  ListSavedProject(std::move(list), newName, position);
  return true;
}

void ProjectCommands::ListSavedProject(std::vector<std::string> list, const std::string& name, int position) {
  WriteListNaming(model_.DataDir(), list, name);
  model_.Projects() = std::move(list);
  model_.SetSelected(position);
  model_.RebuildTrayMenu();
  model_.SetEditState(false);
  model_.BuildScheduleTable();
  model_.Notify(ModelChange::Form);
}

bool ProjectCommands::DeleteProject() {
  if (!model_.Enabling().spDelete || model_.Projects().empty()) return false;
  const std::string name = TrimBlanks(model_.SelectedName());
  if (!model_.Ui().Confirm(MessageKind::Warning,
                           "Do you want to delete '" + name + "' project?\rIts archives are kept."))
    return false;
  const int position = model_.Selected();
  if (position < 0) return false;

  // Unlisted first: a refused write later leaves at most an unread section, never a listed
  // project without settings.
  const std::string& dir = model_.DataDir();
  std::vector<std::string> list = model_.Projects();
  list.erase(list.begin() + position);
  WriteProjectList(dir, list);
  model_.Projects() = std::move(list);
  EraseProjectSection(dir, name);
  EraseRotationSection(dir, name);
  EraseScheduleMemory(dir, name);

  model_.RebuildTrayMenu();
  if (!model_.Projects().empty()) {
    model_.SelectProject(0);
  } else {
    model_.SetSelected(-1);
    ProjectForm& form = model_.Form();
    form.prefix.clear();
    form.fileName.clear();
    form.backupList.clear();
    form.excludeList.clear();
    model_.Notify(ModelChange::Form);
  }
  model_.BuildScheduleTable();
  return true;
}

bool ProjectCommands::SettleUnsavedChanges() {
  if (!model_.HasUnsavedChanges()) return true;
  const std::string text =
      "The project '" + model_.SelectedName() + "' has changes that are not saved. Save them?";
  switch (model_.Ui().AskUnsavedChanges(text)) {
    case UnsavedAnswer::Save:
      return SaveProject();
    case UnsavedAnswer::Discard:
      Cancel();
      return true;
    case UnsavedAnswer::Cancel:
      break;
  }
  return false;
}

bool ProjectCommands::ChooseSaveFolder() {
  if (!model_.Enabling().groupDestination) return false;
  const auto folder = model_.Ui().PickFolder(kSelectFolderCaption, model_.Form().saveFolder);
  if (!folder || TrimBlanks(model_.SelectedName()).empty()) return false;
  model_.Form().saveFolder = *folder;
  model_.ComposeArchiveName();
  return true;
}

bool ProjectCommands::NameDialogAccepts(const std::string& typed, UserInteraction& ui) {
  if (!TrimBlanks(typed).empty()) return true;
  ui.ShowMessage(MessageKind::Warning, kBlankNameMessage);
  return false;
}

bool ProjectCommands::HasScheduleMark(const std::string& dataDir, const std::string& name) {
  const Project project = ReadProject(dataDir, name);
  return !project.scheduleKnown || project.scheduleMode != ScheduleMode::None;
}

}  // namespace brisko::core
