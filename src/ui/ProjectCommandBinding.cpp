// The toolbar's project commands as the window calls them.
#include "ui/ProjectCommandBinding.h"

#include "core/MainModel.h"

namespace brisko::ui {

// Interim binding until the core's project commands are available: only the commands that are a
// plain state change of the model run here; the others do nothing yet.
void RunProjectCommand(core::MainModel& model, ProjectCommand command) {
  switch (command) {
    case ProjectCommand::Add:
      if (model.Ui().RunAddProjectWizard()) model.LoadSettings();
      break;
    case ProjectCommand::Edit:
      if (model.Projects().empty()) return;
      model.ShowPage(core::MainPage::Backup);
      model.SetEditState(true);
      break;
    case ProjectCommand::Cancel:
      model.SetEditState(false);
      model.LoadProject();
      break;
    case ProjectCommand::Save:
    case ProjectCommand::Rename:
    case ProjectCommand::Copy:
    case ProjectCommand::Delete:
      break;
  }
}

}  // namespace brisko::ui
