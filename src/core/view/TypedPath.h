// Paths as users type them: "~" for the home folder, and whether what a source entry names is there.
#pragma once

#include <string>
#include <vector>

namespace brisko::core {

// "~" alone or followed by a separator stands for `home`; other text (also "~name") is returned as is.
std::string ExpandHome(const std::string& typed, const std::string& home);
// The same with the user's home folder.
std::string ExpandHome(const std::string& typed);

// The source entries whose file, or whose folder for a wildcard entry, does not exist.
std::vector<std::string> MissingSources(const std::vector<std::string>& entries);

// Creates a folder and the folders above it; false (with the reason in `error`) when it cannot.
bool CreateFolder(const std::string& folder, std::string& error);

}  // namespace brisko::core
