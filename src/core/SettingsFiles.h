// Names of the settings files kept in the data directory.
#pragma once

#include <string>

namespace brisko::core {

inline constexpr const char* kProjectIniName = "project.ini";
inline constexpr const char* kLogFileName = "log.txt";
inline constexpr const char* kStoreNumberName = "StoreNumber.txt";
inline constexpr const char* kScheduleMemoryName = "Schedule.txt";
inline constexpr const char* kCommonSection = "Common";

// dataDir ends with the path separator (see DataDir.h); a missing separator is added.
std::string ProjectIniPath(const std::string& dataDir);
std::string LogFilePath(const std::string& dataDir);
std::string StoreNumberPath(const std::string& dataDir);
std::string ScheduleMemoryPath(const std::string& dataDir);

}  // namespace brisko::core
