// Moving a project between its stored record and the window's form.
#pragma once

#include <functional>
#include <string>

#include "core/Clock.h"
#include "core/Project.h"
#include "core/view/ProjectForm.h"

namespace brisko::core {

// The record the form stands for, under the trimmed name: the prefix and password trimmed, the
// counter stored as the last number used, the destination the folder part of the name field.
// The newer-than moment is the form's, with no UTC instant: a moment set by hand is a local time.
Project ProjectOfForm(const std::string& name, const ProjectForm& form);

// Fills the form from the section of the trimmed name; nothing when the name is blank. Fields the
// load does not reach keep their contents (the counter fields while the suffix is not Number, the
// schedule fields of the other modes, the suffix and schedule when the stored ones are unknown).
// `composeName`, when given, is called once the destination is in the form, to recompute
// form.fileName with the naming rule (before a failure of the last step too). Throws
// DateTimeParseError "'%s' is not a valid date and time" when NewDateTime is no date-time; the other
// fields keep their new values. `clock` gives the default of a missing NewDateTime.
void LoadProject(const std::string& dataDir, const std::string& name, ProjectForm& form, const Clock& clock,
                 const std::function<void(ProjectForm&)>& composeName = {});

// Writes the form to the section of the trimmed name, in one rewrite of the file. Updates the form
// as the window does: the password fields are emptied when no password is stored, the comment
// when no comment is stored, and saveFolder becomes the folder part of the name field.
// Also used by the wizard, which fills a ProjectForm from its own controls.
void SaveProject(const std::string& dataDir, const std::string& name, ProjectForm& form);

}  // namespace brisko::core
