// The last backup of each project, in Schedule.txt.
#include "core/LastBackup.h"

#include "core/IniFile.h"
#include "core/ProjectStore.h"
#include "core/ScheduleInterval.h"
#include "core/ScheduleMemory.h"
#include "core/SettingsFiles.h"
#include "core/TextUtil.h"

namespace brisko::core {
namespace {

constexpr const char* kAtKey = "Last Backup";
constexpr const char* kResultKey = "Last Backup Result";
constexpr const char* kDetailKey = "Last Backup Detail";
constexpr const char* kSuccessKey = "Last Success";

// "yyyy-mm-dd HH:MM": seconds say nothing to a person looking for the last backup.
std::string ShortDateTime(DateTime value) {
  return FormatDateTime(value).substr(0, 16);
}

}  // namespace

LastBackup ReadLastBackup(const std::string& dataDir, const std::string& projectName) {
  const IniDocument doc = IniFile(ScheduleMemoryPath(dataDir)).Load();
  const std::string section = TrimBlanks(projectName);
  LastBackup last;
  last.at = TryStrToDateTime(doc.ReadString(section, kAtKey, ""));
  last.result = doc.ReadString(section, kResultKey, "");
  last.detail = doc.ReadString(section, kDetailKey, "");
  last.lastSuccess = TryStrToDateTime(doc.ReadString(section, kSuccessKey, ""));
  return last;
}

void RecordLastBackup(const std::string& dataDir, const std::string& projectName, DateTime started,
                      const std::string& result, const std::string& detail) {
  const std::string section = TrimBlanks(projectName);
  IniFile(ScheduleMemoryPath(dataDir)).Update([&](IniDocument& doc) {
    doc.WriteString(section, kAtKey, FormatDateTime(started));
    doc.WriteString(section, kResultKey, result);
    doc.WriteString(section, kDetailKey, detail);  // line breaks become blanks, as in every value
    if (result == "Succeeds") doc.WriteString(section, kSuccessKey, FormatDateTime(started));
  });
}

std::string DescribeLastBackup(const LastBackup& last) {
  if (!last.at) return "Last backup: none";
  std::string text = "Last backup: " + ShortDateTime(*last.at) + ", ";
  if (last.result == "Succeeds") {
    text += "succeeded";
    if (!last.detail.empty()) text += " (" + last.detail + ")";
  } else if (last.result == "Interrupt") {
    text += "stopped";
    if (!last.detail.empty()) text += ": " + last.detail;
  } else {
    text += "failed";
    if (!last.detail.empty()) text += ": " + last.detail;
  }
  return text;
}

bool BackupOverdue(const LastBackup& last, ScheduleMode mode, const std::string& value,
                   std::optional<DateTime> watchedSince, DateTime now) {
  const std::optional<DateTime> interval = ScheduleInterval(mode, value);
  const std::optional<DateTime> from = last.lastSuccess ? last.lastSuccess : watchedSince;
  return interval && from && now - *from > 2 * *interval;
}

std::string DescribeOverdue(const std::string& projectName, const LastBackup& last) {
  return "No successful backup of '" + projectName + "' " +
         (last.lastSuccess ? "since " + ShortDateTime(*last.lastSuccess) : std::string("yet"));
}

BackupStatus BackupStatusOf(const std::string& dataDir, const std::string& projectName, DateTime now) {
  const LastBackup last = ReadLastBackup(dataDir, projectName);
  const Project project = ReadProject(dataDir, projectName);
  const ScheduleMemory memory = ReadScheduleMemory(dataDir, projectName);
  if (BackupOverdue(last, project.scheduleMode, project.scheduleValue, memory.since, now))
    return {DescribeOverdue(projectName, last), true};
  return {DescribeLastBackup(last), false};
}

}  // namespace brisko::core
