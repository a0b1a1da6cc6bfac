// Opens a document with the program the desktop associates with it.
#pragma once

#include <string>

namespace brisko::platform {

// Hands `path` to the desktop's opener (xdg-open on POSIX, the shell on Windows) in a normal
// window and returns without waiting for the program. False when it could not be started.
bool OpenDocument(const std::string& path);

}  // namespace brisko::platform
