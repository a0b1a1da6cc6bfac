// The toolbar's project commands as the window calls them.
#include "ui/ProjectCommandBinding.h"

#include "core/view/MainModel.h"
#include "core/view/ProjectCommands.h"

namespace brisko::ui {

void RunProjectCommand(core::MainModel& model, ProjectCommand command) {
  core::ProjectCommands commands(model);
  switch (command) {
    case ProjectCommand::Add:
      commands.AddProject();
      break;
    case ProjectCommand::Edit:
      commands.EditProject();
      break;
    case ProjectCommand::Save:
      commands.SaveProject();
      break;
    case ProjectCommand::Cancel:
      commands.Cancel();
      break;
    case ProjectCommand::Rename:
      commands.RenameProject();
      break;
    case ProjectCommand::Copy:
      commands.CopyProject();
      break;
    case ProjectCommand::Delete:
      commands.DeleteProject();
      break;
  }
}

bool SettleUnsavedChanges(core::MainModel& model) {
  return core::ProjectCommands(model).SettleUnsavedChanges();
}

}  // namespace brisko::ui
