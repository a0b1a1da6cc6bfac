// The Common section, the project sections and the single keys other commands write.
#include "core/ProjectStore.h"

#include <algorithm>

#include "core/DataDir.h"
#include "core/DateTimeParseError.h"
#include "core/IniFile.h"
#include "core/PasswordCodec.h"
#include "core/ProjectList.h"
#include "core/SettingsFiles.h"
#include "core/SpinValue.h"
#include "core/TextUtil.h"
#include "zip/names/ZipPaths.h"

namespace brisko::core {
namespace {

constexpr const char* kBackupCount = "Backup Directory Count";
constexpr const char* kBackupStem = "Backup";
constexpr const char* kExcludeCount = "No Backup Directory Count";
constexpr const char* kExcludeStem = "NoBackup";

IniFile ProjectIni(const std::string& dataDir) {
  // It can hold an encoded password: only its owner may read it.
  return IniFile(ProjectIniPath(dataDir), FileAccess::OwnerOnly);
}

}  // namespace

std::string SettingsState::SelectedName() const {
  if (selected < 0 || selected >= static_cast<int>(projects.size())) return {};
  return projects[static_cast<size_t>(selected)];
}

std::string ExtractFileDir(const std::string& path) {
  for (size_t i = path.size(); i > 0; --i)
    if (zip::IsPathDelimOrDrive(path[i - 1])) return path.substr(0, i);
  return {};
}

void LoadSettings(const std::string& dataDir, SettingsState& state) {
  const IniDocument doc = ProjectIni(dataDir).Load();
  GlobalSettings& s = state.settings;
  const char* common = kCommonSection;

  s.promptBeforeBackup = doc.ReadBool(common, "PromptBeforeBackup", false);

  state.projects = doc.ReadList(common, "Project Count", "Count");
  state.selected = IndexOfProject(state.projects, doc.ReadString(common, "Last Project", ""));
  if (state.selected < 0 && !state.projects.empty()) state.selected = 0;

  int byField = doc.ReadInteger(common, "By Field", 2);
  if (byField >= 0 && byField <= 2) s.byField = byField;
  int sort = doc.ReadInteger(common, "Sort", 0);
  if (sort == 0 || sort == 1) s.sort = sort;

  s.autoRun = doc.ReadBool(common, "Auto Run", false);
  s.isMinimized = doc.ReadBool(common, "Is Minimized", false);
  if (s.autoRun && s.isMinimized) state.startMinimized = true;

  s.isAppend0 = doc.ReadBool(common, "Is Append 0", false);
  // Clamped as their preference fields would; a hand-edited Log Count of 0 would trim at every entry.
  s.width = ClampSpin(doc.ReadInteger(common, "Width", 2), 2, 30);
  s.isOverWrite = doc.ReadBool(common, "IsOverWrite", false);
  s.logCount = ClampSpin(doc.ReadInteger(common, "Log Count", 50), 10, 200);
  s.enableSchedule = doc.ReadBool(common, "Enable schedule", true);
  s.wildcards = doc.ReadList(common, "Wildcard Total", "Wildcard");
  s.threads = ClampSpin(doc.ReadInteger(common, "Threads", 0), 0, 16);
}

void SortProjectList(SettingsState& state) {
  const std::string selected = state.SelectedName();
  std::stable_sort(
      state.projects.begin(), state.projects.end(),
      [](const std::string& a, const std::string& b) { return zip::LowerAscii(a) < zip::LowerAscii(b); });
  if (!selected.empty()) state.selected = IndexOfProject(state.projects, selected);
}

void SaveSettings(const std::string& dataDir, const SettingsState& state) {
  if (state.projects.empty()) return;
  const GlobalSettings& s = state.settings;
  ProjectIni(dataDir).Update([&](IniDocument& doc) {
    const char* common = kCommonSection;
    doc.WriteBool(common, "Is Append 0", s.isAppend0);
    doc.WriteInteger(common, "Width", s.width);
    doc.WriteBool(common, "IsOverWrite", s.isOverWrite);
    doc.WriteBool(common, "PromptBeforeBackup", s.promptBeforeBackup);
    doc.WriteString(common, "Last Project", state.SelectedName());
    doc.WriteList(common, "Project Count", "Count", state.projects);
    doc.WriteInteger(common, "By Field", s.byField == 0 ? 0 : s.byField == 1 ? 1 : 2);
    doc.WriteInteger(common, "Sort", s.sort == 0 ? 0 : 1);
    doc.WriteInteger(common, "Log Count", s.logCount);
    doc.WriteBool(common, "Enable schedule", s.enableSchedule);
  });
}

Project ReadProject(const std::string& dataDir, const std::string& name) {
  const IniDocument doc = ProjectIni(dataDir).Load();
  Project p;
  p.name = TrimBlanks(name);
  const std::string& section = p.name;
  p.prefix = doc.ReadString(section, "Filename prefix", "");
  const int suffix = doc.ReadInteger(section, "Suffix", 2);
  p.suffixKnown = suffix >= 0 && suffix <= 2;
  if (p.suffixKnown) p.suffix = static_cast<SuffixKind>(suffix);
  p.increase = ClampSpin(doc.ReadInteger(section, "Increase Value", 1), kNumberMin, kNumberMax);
  p.value = doc.ReadInteger(section, "Value", 1);
  p.savePath = MapWindowsDefault(doc.ReadString(section, "Save Path", DefaultSaveFolder()));
  p.backupList = doc.ReadList(section, kBackupCount, kBackupStem);
  p.excludeList = doc.ReadList(section, kExcludeCount, kExcludeStem);
  p.includeSubfolders = doc.ReadBool(section, "Whether include Subdirectory", true);
  p.usePassword = doc.ReadBool(section, "Whether password Project", true);
  const std::string stored = doc.ReadString(section, "Password", "");
  if (p.usePassword && !stored.empty()) p.password = DecodePassword(stored, section);
  p.encryption = zip::SameTextAscii(TrimBlanks(doc.ReadString(section, "Encryption", "")), "AES256")
                     ? EncryptionKind::Aes256
                     : EncryptionKind::Traditional;
  p.verify = doc.ReadBool(section, "Verify", true);
  p.storePaths = doc.ReadBool(section, "Whether store path in Zip", true);
  p.useComment = doc.ReadBool(section, "Whether store comment in Zip", true);
  p.comment = doc.ReadString(section, "Comment", "");
  const int mode = doc.ReadInteger(section, "BackupMode", 3);
  p.scheduleKnown = mode >= 0 && mode <= 3;
  if (p.scheduleKnown) p.scheduleMode = static_cast<ScheduleMode>(mode);
  p.scheduleValue = doc.ReadString(section, "StartTime_or_Increase", "");
  p.packLevel = ClampSpin(doc.ReadInteger(section, "PackLevel", 6), 0, 9);
  p.storeNumber = ClampSpin(doc.ReadInteger(section, "Store Number", 50), kKeepMin, kKeepMax);
  p.useNew = doc.ReadBool(section, "isUseNew", false);
  p.useToday = doc.ReadBool(section, "isUseToday", false);
  if (doc.ValueExists(section, "NewDateTime")) p.newDateTime = doc.ReadString(section, "NewDateTime", "");
  p.newDateTimeUtc = doc.ReadString(section, kNewDateTimeUtcKey, "");
  return p;
}

void WriteProject(const std::string& dataDir, const Project& p) {
  const std::string& section = p.name;
  const bool storeComment = p.useComment && !TrimBlanks(p.comment).empty();
  ProjectIni(dataDir).Update([&](IniDocument& doc) {
    doc.WriteString(section, "Filename prefix", p.prefix);
    doc.WriteInteger(section, "Suffix", static_cast<int>(p.suffix));
    doc.WriteInteger(section, "Increase Value", p.increase);
    doc.WriteInteger(section, "Value", p.value);
    doc.WriteString(section, "Save Path", p.savePath);
    doc.WriteList(section, kBackupCount, kBackupStem, p.backupList);
    doc.WriteList(section, kExcludeCount, kExcludeStem, p.excludeList);
    doc.WriteBool(section, "Whether include Subdirectory", p.includeSubfolders);
    doc.WriteBool(section, "Whether password Project", p.usePassword);
    doc.WriteString(section, "Password",
                    p.usePassword && !p.password.empty() ? EncodePassword(p.password, section) : "");
    doc.WriteString(section, "Encryption", p.encryption == EncryptionKind::Aes256 ? "AES256" : "Traditional");
    doc.WriteBool(section, "Verify", p.verify);
    doc.WriteBool(section, "Whether store path in Zip", p.storePaths);
    doc.WriteBool(section, "Whether store comment in Zip", p.useComment);
    doc.WriteString(section, "Comment", storeComment ? p.comment : "");
    doc.WriteInteger(section, "BackupMode", static_cast<int>(p.scheduleMode));
    if (p.scheduleMode != ScheduleMode::None)
      doc.WriteString(section, "StartTime_or_Increase", p.scheduleValue);
    doc.WriteInteger(section, "PackLevel", p.packLevel);
    doc.WriteInteger(section, "Store Number", p.storeNumber);
    doc.WriteBool(section, "isUseNew", p.useNew);
    doc.WriteBool(section, "isUseToday", p.useToday);
    const std::string newer = p.newDateTime.value_or("");
    if (doc.ReadString(section, "NewDateTime", "") != newer)
      doc.WriteString(section, kNewDateTimeUtcKey, p.newDateTimeUtc);
    doc.WriteString(section, "NewDateTime", newer);
  });
}

int Project::NextNumber() const {
  return NextNumberFromStored(value, increase);
}

void WriteProjectValue(const std::string& dataDir, const std::string& name, int value) {
  ProjectIni(dataDir).WriteInteger(TrimBlanks(name), "Value", value);
}

std::optional<std::pair<std::string, std::string>> FirstMissingListKey(const std::string& dataDir,
                                                                       const std::string& name) {
  const IniDocument doc = ProjectIni(dataDir).Load();
  const std::string section = TrimBlanks(name);
  for (const auto& [countKey, stem] :
       {std::pair{kBackupCount, kBackupStem}, std::pair{kExcludeCount, kExcludeStem}}) {
    const int count = doc.ReadInteger(section, countKey, 0);
    // Stops at the first gap, so a huge count costs no more than the keys present.
    for (int i = 0; i < count; ++i) {
      const std::string key = stem + std::to_string(i);
      if (doc.ReadString(section, key, "").empty()) return std::pair{key, std::string(countKey)};
    }
  }
  return std::nullopt;
}

void WriteNewDateTime(const std::string& dataDir, const std::string& name, DateTime moment,
                      std::time_t instant) {
  ProjectIni(dataDir).Update([&](IniDocument& doc) {
    doc.WriteString(TrimBlanks(name), "NewDateTime", FormatDateTime(moment));
    doc.WriteString(TrimBlanks(name), kNewDateTimeUtcKey, FormatDateTime(UtcDateTimeOf(instant)));
  });
}

void EraseProjectSection(const std::string& dataDir, const std::string& name) {
  ProjectIni(dataDir).EraseSection(TrimBlanks(name));
}

void WriteAutoRun(const std::string& dataDir, bool autoRun, bool isMinimized) {
  ProjectIni(dataDir).Update([&](IniDocument& doc) {
    doc.WriteBool(kCommonSection, "Auto Run", autoRun);
    doc.WriteBool(kCommonSection, "Is Minimized", isMinimized);
  });
}

std::vector<std::string> ReadWildcards(const std::string& dataDir) {
  return ProjectIni(dataDir).ReadList(kCommonSection, "Wildcard Total", "Wildcard");
}

void WriteWildcards(const std::string& dataDir, const std::vector<std::string>& wildcards) {
  ProjectIni(dataDir).WriteList(kCommonSection, "Wildcard Total", "Wildcard", wildcards);
}

void WriteLastProject(const std::string& dataDir, const std::string& name) {
  ProjectIni(dataDir).WriteString(kCommonSection, "Last Project", name);
}

}  // namespace brisko::core
