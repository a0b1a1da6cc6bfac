// The toolbar's project commands as the window calls them.
#pragma once

namespace brisko::core {
class MainModel;
}

namespace brisko::ui {

enum class ProjectCommand { Add, Edit, Save, Cancel, Rename, Copy, Delete };

// Runs one project command on the model; the command shows its own messages and notifies.
void RunProjectCommand(core::MainModel& model, ProjectCommand command);

// Asks what becomes of project changes not saved yet; true when the caller may go on.
bool SettleUnsavedChanges(core::MainModel& model);

}  // namespace brisko::ui
