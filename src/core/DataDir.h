// Where the settings files live, and the mapping of Windows default folders.
#pragma once

#include <string>

namespace brisko::core {

// The data directory, with a trailing separator: the program directory when it already holds
// project.ini or is writable; otherwise <configHome>/brisko-zip-backup/ (%APPDATA%\Brisko ZIP Backup\ on
// Windows), created (mode 0700) when missing. configHome is $XDG_CONFIG_HOME, or <home>/.config when that
// is empty or relative.
// Throws std::runtime_error when no usable folder can be made.
std::string ResolveDataDir(const std::string& programDir, const std::string& xdgConfigHome,
                           const std::string& home);

// The data directory of the running program (its executable's folder, $XDG_CONFIG_HOME, $HOME).
std::string DataDirectory();

// The folder of the running program's executable, with a trailing separator.
std::string ProgramDirectory();

// The default destination folder: "c:\" on Windows, the user's home folder (with a trailing
// separator) elsewhere.
std::string DefaultSaveFolder();

// On POSIX, a Windows drive root such as "c:\" or "C:/" (a default of settings written on
// Windows) maps to DefaultSaveFolder(); every other path is returned unchanged.
std::string MapWindowsDefault(const std::string& path);

}  // namespace brisko::core
