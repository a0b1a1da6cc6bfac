// The restore folder proposed from a project's first source item.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace brisko::core {

// The folder part of a path, up to and including its last separator ("" when it has none).
std::string FolderPartOf(const std::string& path);

// Proposal for "Extract to:" from the first source item. Without stored full paths it is that
// item's folder; with them it is the root the stored paths hang from: the drive root ("C:\") or
// the share ("\\server\share") on Windows, the file-system root "/" on POSIX.
// nullopt when there is nothing to propose (no source, no usable folder): keep the old text.
std::optional<std::string> ProposeRestoreTarget(const std::vector<std::string>& sources, bool storePaths);

}  // namespace brisko::core
