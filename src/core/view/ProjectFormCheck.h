// The checks the window makes of the project form before it saves or backs it up.
#pragma once

#include <optional>
#include <string>

#include "core/view/ProjectForm.h"

namespace brisko::core {

// The message of the first check the form fails (name field, prefix, password confirmation, files),
// or nullopt when it passes all four.
std::optional<std::string> FirstFailedCheck(const ProjectForm& form);

}  // namespace brisko::core
