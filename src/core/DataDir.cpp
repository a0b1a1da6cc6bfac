// Choosing the folder of the settings files and mapping Windows default folders.
#include "core/DataDir.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "platform/Platform.h"
#include "zip/ZipPaths.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace brisko::core {
namespace {

namespace fs = std::filesystem;

bool IsWritableDir(const std::string& dir) {
  std::error_code ec;
  if (!fs::is_directory(fs::u8path(dir), ec)) return false;
#ifndef _WIN32
  return ::access(dir.c_str(), W_OK | X_OK) == 0;
#else
  // No cheap permission test here: try a probe file.
  fs::path probe = fs::u8path(dir) / ".brisko-write-probe";
  FILE* f = std::fopen(probe.string().c_str(), "wb");
  if (!f) return false;
  std::fclose(f);
  fs::remove(probe, ec);
  return true;
#endif
}

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
    if (fs::exists(fs::u8path(dir + "project.ini"), ec) || (IsWritableDir(dir) && !IsInstalledProgramDir(dir)))
      return dir;
  }
  std::string configHome = xdgConfigHome;
  // Relative values are invalid and ignored, as the base-directory convention asks.
  if (configHome.empty() || !fs::u8path(configHome).is_absolute())
    configHome = zip::IncludeTrailingDelim(home) + ".config";
  std::string dir = zip::IncludeTrailingDelim(zip::IncludeTrailingDelim(configHome) + "brisko-zip-backup");
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
#ifdef _WIN32
  const char* config = std::getenv("APPDATA");
#else
  const char* config = std::getenv("XDG_CONFIG_HOME");
#endif
  return ResolveDataDir(ProgramDirectory(), config ? config : "", platform::HomeDir());
}

std::string DefaultSaveFolder() {
#ifdef _WIN32
  return "c:\\";
#else
  return zip::IncludeTrailingDelim(platform::HomeDir());
#endif
}

std::string MapWindowsDefault(const std::string& path) {
#ifdef _WIN32
  return path;
#else
  bool driveRoot = (path.size() == 2 || path.size() == 3) &&
                   ((path[0] >= 'a' && path[0] <= 'z') || (path[0] >= 'A' && path[0] <= 'Z')) &&
                   path[1] == ':' && (path.size() == 2 || path[2] == '\\' || path[2] == '/');
  return driveRoot ? DefaultSaveFolder() : path;
#endif
}

}  // namespace brisko::core
