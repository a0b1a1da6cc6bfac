// Choosing the folder of the settings files and mapping Windows default folders.
#include "core/DataDir.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "platform/FileIo.h"
#include "platform/Platform.h"
#include "zip/names/ZipPaths.h"

namespace brisko::core {
namespace {

namespace fs = std::filesystem;

// The settings' own folder under the user's configuration folder.
constexpr const char* kSettingsFolderName = platform::kWindows ? "Brisko ZIP Backup" : "brisko-zip-backup";

// An installed program (bin/ beside share/brisko-zip-backup/) never writes its settings into the
// system's program folder, even when it may (as root).
bool IsInstalledProgramDir(const std::string& dir) {
  std::error_code ec;
  return fs::is_directory(fs::u8path(dir) / ".." / "share" / "brisko-zip-backup", ec);
}

}  // namespace

std::string ResolveDataDir(const std::string& programDir, const std::string& xdgConfigHome,
                           const std::string& home) {
  if (!programDir.empty()) {
    std::string dir = zip::IncludeTrailingDelim(programDir);
    std::error_code ec;
    if (fs::exists(fs::u8path(dir + "project.ini"), ec) ||
        (platform::IsWritableFolder(dir) && !IsInstalledProgramDir(dir)))
      return dir;
  }
  const std::string configHome = platform::ConfigHome(xdgConfigHome, home);
  std::string dir = zip::IncludeTrailingDelim(zip::IncludeTrailingDelim(configHome) + kSettingsFolderName);
  std::error_code ec;
  fs::path path = fs::u8path(dir);
  if (!fs::is_directory(path, ec)) {
    fs::create_directories(path, ec);
    if (ec || !fs::is_directory(path, ec)) throw std::runtime_error("Unable to create folder " + dir);
    // The settings can hold passwords: keep the folder to its owner.
    fs::permissions(path, fs::perms::owner_all, fs::perm_options::replace, ec);
  }
  return dir;
}

std::string ProgramDirectory() {
  std::string exe = platform::ExecutablePath();
  if (exe.empty()) return {};
  std::string dir = zip::ExtractDirPart(exe);
  return dir.empty() ? std::string() : zip::IncludeTrailingDelim(dir);
}

std::string DataDirectory() {
  const char* config = std::getenv(platform::kConfigHomeVariable);
  return ResolveDataDir(ProgramDirectory(), config ? config : "", platform::HomeDir());
}

std::string DefaultSaveFolder() {
  if (platform::kHasDrives) return "c:\\";
  return zip::IncludeTrailingDelim(platform::HomeDir());
}

std::string MapWindowsDefault(const std::string& path) {
  if (platform::kHasDrives) return path;
  bool driveRoot = (path.size() == 2 || path.size() == 3) &&
                   ((path[0] >= 'a' && path[0] <= 'z') || (path[0] >= 'A' && path[0] <= 'Z')) &&
                   path[1] == ':' && (path.size() == 2 || path[2] == '\\' || path[2] == '/');
  return driveRoot ? DefaultSaveFolder() : path;
}

}  // namespace brisko::core
