// Full paths of the settings files inside the data directory.
#include "core/SettingsFiles.h"

#include "zip/names/ZipPaths.h"

namespace brisko::core {

namespace {
std::string InDir(const std::string& dataDir, const char* name) {
  return (dataDir.empty() ? std::string() : zip::IncludeTrailingDelim(dataDir)) + name;
}
}  // namespace

std::string ProjectIniPath(const std::string& dataDir) {
  return InDir(dataDir, kProjectIniName);
}
std::string LogFilePath(const std::string& dataDir) {
  return InDir(dataDir, kLogFileName);
}
std::string StoreNumberPath(const std::string& dataDir) {
  return InDir(dataDir, kStoreNumberName);
}
std::string ScheduleMemoryPath(const std::string& dataDir) {
  return InDir(dataDir, kScheduleMemoryName);
}

}  // namespace brisko::core
