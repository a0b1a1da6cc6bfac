// Copying an archive to another folder without ever leaving a half-written file under its name.
#pragma once

#include <string>

namespace brisko::core {

// Copies source to target through a temporary file beside the target, then renames it into place.
// Copying a file onto itself does nothing. False when the copy failed (the target is then unchanged).
bool CopyArchiveFile(const std::string& source, const std::string& target);

}  // namespace brisko::core
