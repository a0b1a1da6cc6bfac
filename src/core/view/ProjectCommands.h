// The toolbar commands that act on projects: add, edit, save, cancel, rename, copy, delete and the
// save-folder chooser, over the main window's model.
#pragma once

#include <string>
#include <vector>

#include "core/view/ProjectWizard.h"

namespace brisko::core {

class MainModel;
class UserInteraction;

// Each command first checks that its button is enabled in the model's current state (so a stray
// shortcut cannot run it in the wrong state), asks through the model's UserInteraction, and
// tells the model's listeners what changed. Commands return true when they changed something.
// A refused write of a settings file throws SettingsWriteError ("Unable to write to %s").
class ProjectCommands {
 public:
  static constexpr const char* kRenameCaption = "Rename Project";
  static constexpr const char* kCopyCaption = "Copy Project";
  static constexpr const char* kNameDialogLabel = "Please enter new project name";
  static constexpr const char* kBlankNameMessage = "Please enter project name";
  static constexpr const char* kNameExistsMessage = "Project Name exists,Rename fail!";
  static constexpr const char* kCopyPrefix = "Copy of ";
  static constexpr const char* kSelectFolderCaption = "Please select directory";

  explicit ProjectCommands(MainModel& model) : model_(model) {}

  // A wizard set up for the model's data folder, project list and number padding; the view of
  // UserInteraction::RunAddProjectWizard shows it.
  ProjectWizard NewWizard() const;

  // Runs the wizard; after Finish, reloads the settings, which select and load the new project.
  bool AddProject();
  // Opens the selected project's settings for change; nothing when no project is listed.
  bool EditProject();
  // Checks the form and writes it under the selected name; the edit state ends.
  bool SaveProject();
  // Ends the edit state and reloads the selected project, dropping unsaved changes.
  bool Cancel();
  // Gives the selected project a new name: its settings (password encoded again), its list entry
  // and its rotation record move to the new name.
  bool RenameProject();
  // Writes the form's values as a new project, listed in sorted place and selected.
  bool CopyProject();
  // After confirmation removes the selected project, its settings and its rotation record.
  bool DeleteProject();
  // Before the window closes or another project is loaded: changes not saved yet are saved,
  // dropped or kept as the user answers. True when it may go ahead (nothing to save, saved, or
  // dropped); false on Cancel or when the save's checks fail.
  bool SettleUnsavedChanges();
  // "Select directory to save": the picked folder becomes the save folder and the name is recomposed.
  bool ChooseSaveFolder();

  // The name dialog's "&Ok": false (after the warning) when the typed name is blank.
  static bool NameDialogAccepts(const std::string& typed, UserInteraction& ui);
  // Whether the project selector draws the schedule mark before a name (follows what is stored).
  static bool HasScheduleMark(const std::string& dataDir, const std::string& name);

 private:
  // Asks for the new name of Rename or Copy; "" when the command is to stop.
  std::string AskNewName(const char* caption, const std::string& proposed, int position);
  // Writes the list naming a freshly saved project and shows it selected at position.
  void ListSavedProject(std::vector<std::string> list, const std::string& name, int position);

  MainModel& model_;
};

}  // namespace brisko::core
