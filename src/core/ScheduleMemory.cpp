// The scheduler's memory in Schedule.txt.
#include "core/ScheduleMemory.h"

#include "core/IniFile.h"
#include "core/SettingsFiles.h"
#include "core/TextUtil.h"
#include "zip/names/ZipPaths.h"

namespace brisko::core {
namespace {

constexpr const char* kLastRunKey = "Last Run";
constexpr const char* kResultKey = "Last Result";
constexpr const char* kSinceKey = "Since";

IniFile MemoryFile(const std::string& dataDir) {
  return IniFile(ScheduleMemoryPath(dataDir));
}

}  // namespace

ScheduleMemory ReadScheduleMemory(const std::string& dataDir, const std::string& projectName) {
  const IniDocument doc = MemoryFile(dataDir).Load();
  const std::string section = TrimBlanks(projectName);
  ScheduleMemory memory;
  memory.lastRun = TryStrToDateTime(doc.ReadString(section, kLastRunKey, ""));
  memory.result = doc.ReadString(section, kResultKey, "");
  memory.since = TryStrToDateTime(doc.ReadString(section, kSinceKey, ""));
  return memory;
}

void WriteLastScheduledRun(const std::string& dataDir, const std::string& projectName, DateTime started,
                           const std::string& result) {
  const std::string section = TrimBlanks(projectName);
  MemoryFile(dataDir).Update([&](IniDocument& doc) {
    doc.WriteString(section, kLastRunKey, FormatDateTime(started));
    doc.WriteString(section, kResultKey, result);
  });
}

void WriteScheduledSince(const std::string& dataDir, const std::string& projectName, DateTime since) {
  MemoryFile(dataDir).WriteString(TrimBlanks(projectName), kSinceKey, FormatDateTime(since));
}

void RenameScheduleMemory(const std::string& dataDir, const std::string& oldName,
                          const std::string& newName) {
  const std::string from = TrimBlanks(oldName);
  const std::string to = TrimBlanks(newName);
  MemoryFile(dataDir).Update([&](IniDocument& doc) {
    if (!doc.SectionExists(from)) return;
    // Names equal without regard to case are one section.
    if (!zip::SameTextAscii(from, to)) doc.EraseSection(to);
    doc.RenameSection(from, to);
  });
}

void EraseScheduleMemory(const std::string& dataDir, const std::string& projectName) {
  MemoryFile(dataDir).EraseSection(TrimBlanks(projectName));
}

}  // namespace brisko::core
