// LoadSettings, SaveSettings, LoadProject, SaveProject and the single keys other commands write.
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
#include "zip/ZipPaths.h"

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

int WeekdayIndex(std::string_view text) {
  for (int i = 0; i < 7; ++i)
    if (zip::SameTextAscii(text, kWeekdayNames[i])) return i;
  return -1;
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

namespace {
EncryptionKind ReadEncryption(const IniDocument& doc, const std::string& section) {
  return zip::SameTextAscii(TrimBlanks(doc.ReadString(section, "Encryption", "")), "AES256")
             ? EncryptionKind::Aes256
             : EncryptionKind::Traditional;
}
}  // namespace

void LoadProject(const std::string& dataDir, const std::string& name, ProjectForm& form, const Clock& clock,
                 const std::function<void(ProjectForm&)>& composeName) {
  const std::string section = TrimBlanks(name);
  if (section.empty()) return;
  const IniDocument doc = ProjectIni(dataDir).Load();

  form.prefix = doc.ReadString(section, "Filename prefix", "");

  int suffix = doc.ReadInteger(section, "Suffix", 2);
  if (suffix >= 0 && suffix <= 2) form.suffix = static_cast<SuffixKind>(suffix);
  if (form.suffix == SuffixKind::Number) {
    form.increase = ClampSpin(doc.ReadInteger(section, "Increase Value", 1), kNumberMin, kNumberMax);
    form.nextNumber = NextNumberFromStored(doc.ReadInteger(section, "Value", 1), form.increase);
  }

  form.saveFolder = MapWindowsDefault(doc.ReadString(section, "Save Path", DefaultSaveFolder()));
  if (composeName) composeName(form);

  form.backupList = doc.ReadList(section, kBackupCount, kBackupStem);
  form.excludeList = doc.ReadList(section, kExcludeCount, kExcludeStem);
  form.includeSubfolders = doc.ReadBool(section, "Whether include Subdirectory", true);

  form.usePassword = doc.ReadBool(section, "Whether password Project", true);
  std::string stored = doc.ReadString(section, "Password", "");
  if (form.usePassword && !stored.empty()) {
    form.password = DecodePassword(stored, section);
    form.passwordConfirm = form.password;
  } else {
    form.password.clear();
    form.passwordConfirm.clear();
  }
  form.encryption = ReadEncryption(doc, section);
  form.verify = doc.ReadBool(section, "Verify", true);

  form.storePaths = doc.ReadBool(section, "Whether store path in Zip", true);
  form.useComment = doc.ReadBool(section, "Whether store comment in Zip", true);
  form.comment = doc.ReadString(section, "Comment", "");

  std::string value = doc.ReadString(section, "StartTime_or_Increase", "");
  switch (doc.ReadInteger(section, "BackupMode", 3)) {
    case 0:
      form.scheduleMode = ScheduleMode::DailyAt;
      form.scheduleTime = TryStrToTime(value).value_or(0.5);
      break;
    case 1:
      form.scheduleMode = ScheduleMode::DailyEvery;
      form.scheduleMinutes = ClampSpin(ParseIniInteger(value).value_or(5), 2, 1000);
      break;
    case 2:
      form.scheduleMode = ScheduleMode::Weekly;
      form.scheduleWeekday = WeekdayIndex(value);
      break;
    case 3:
      form.scheduleMode = ScheduleMode::None;
      break;
    default:
      break;  // an unknown mode leaves the schedule fields alone
  }

  form.packLevel = ClampSpin(doc.ReadInteger(section, "PackLevel", 6), 0, 9);
  form.storeNumber = ClampSpin(doc.ReadInteger(section, "Store Number", 50), kKeepMin, kKeepMax);
  form.onlyNewer = doc.ReadBool(section, "isUseNew", false);
  form.useLastBackup = doc.ReadBool(section, "isUseToday", false);

  std::string moment = doc.ReadString(section, "NewDateTime", FormatDateTime(clock.Now()));
  DateTime newer = StrToDateTime(moment);  // DateTimeParseError "'%s' is not a valid date and time"
  form.newerDate = DateOf(newer);
  form.newerTime = TimeOf(newer);
}

void SaveProject(const std::string& dataDir, const std::string& name, ProjectForm& form) {
  const std::string section = TrimBlanks(name);
  const std::string folder = ExtractFileDir(TrimBlanks(form.fileName));
  const std::string password = TrimBlanks(form.password);
  const bool storePassword = form.usePassword && !password.empty();
  const bool storeComment = form.useComment && !TrimBlanks(form.comment).empty();

  ProjectIni(dataDir).Update([&](IniDocument& doc) {
    doc.WriteString(section, "Filename prefix", TrimBlanks(form.prefix));
    doc.WriteInteger(section, "Suffix", static_cast<int>(form.suffix));
    doc.WriteInteger(section, "Increase Value", form.increase);
    doc.WriteInteger(section, "Value", StoredValueFromNext(form.nextNumber, form.increase));
    doc.WriteString(section, "Save Path", folder);
    doc.WriteList(section, kBackupCount, kBackupStem, form.backupList);
    doc.WriteList(section, kExcludeCount, kExcludeStem, form.excludeList);
    doc.WriteBool(section, "Whether include Subdirectory", form.includeSubfolders);
    doc.WriteBool(section, "Whether password Project", form.usePassword);
    doc.WriteString(section, "Password", storePassword ? EncodePassword(password, section) : "");
    doc.WriteString(section, "Encryption",
                    form.encryption == EncryptionKind::Aes256 ? "AES256" : "Traditional");
    doc.WriteBool(section, "Verify", form.verify);
    doc.WriteBool(section, "Whether store path in Zip", form.storePaths);
    doc.WriteBool(section, "Whether store comment in Zip", form.useComment);
    doc.WriteString(section, "Comment", storeComment ? form.comment : "");

    int mode = form.scheduleMode == ScheduleMode::None         ? 3
               : form.scheduleMode == ScheduleMode::Weekly     ? 2
               : form.scheduleMode == ScheduleMode::DailyEvery ? 1
                                                               : 0;
    doc.WriteInteger(section, "BackupMode", mode);
    if (mode == 0) doc.WriteString(section, "StartTime_or_Increase", FormatTime(form.scheduleTime));
    if (mode == 1) doc.WriteString(section, "StartTime_or_Increase", std::to_string(form.scheduleMinutes));
    if (mode == 2) {
      int day = form.scheduleWeekday;
      doc.WriteString(section, "StartTime_or_Increase", day >= 0 && day < 7 ? kWeekdayNames[day] : "");
    }

    doc.WriteInteger(section, "PackLevel", form.packLevel);
    doc.WriteInteger(section, "Store Number", form.storeNumber);
    doc.WriteBool(section, "isUseNew", form.onlyNewer);
    doc.WriteBool(section, "isUseToday", form.useLastBackup);
    const std::string newer = FormatDate(form.newerDate) + " " + FormatTime(form.newerTime);
    // A moment set by hand is a local time; the instant a run stored no longer describes it.
    if (doc.ReadString(section, "NewDateTime", "") != newer) doc.WriteString(section, kNewDateTimeUtcKey, "");
    doc.WriteString(section, "NewDateTime", newer);
  });

  // The window reflects what was stored only once the write succeeded.
  form.saveFolder = folder;
  if (!storePassword) {
    form.password.clear();
    form.passwordConfirm.clear();
  }
  if (!storeComment) form.comment.clear();
}

Project ReadProject(const std::string& dataDir, const std::string& name) {
  const IniDocument doc = ProjectIni(dataDir).Load();
  Project p;
  p.name = TrimBlanks(name);
  const std::string& section = p.name;
  p.prefix = doc.ReadString(section, "Filename prefix", "");
  int suffix = doc.ReadInteger(section, "Suffix", 2);
  if (suffix >= 0 && suffix <= 2) p.suffix = static_cast<SuffixKind>(suffix);
  p.increase = ClampSpin(doc.ReadInteger(section, "Increase Value", 1), kNumberMin, kNumberMax);
  p.value = doc.ReadInteger(section, "Value", 1);
  p.savePath = MapWindowsDefault(doc.ReadString(section, "Save Path", DefaultSaveFolder()));
  p.backupList = doc.ReadList(section, kBackupCount, kBackupStem);
  p.excludeList = doc.ReadList(section, kExcludeCount, kExcludeStem);
  p.includeSubfolders = doc.ReadBool(section, "Whether include Subdirectory", true);
  p.usePassword = doc.ReadBool(section, "Whether password Project", true);
  std::string stored = doc.ReadString(section, "Password", "");
  if (p.usePassword && !stored.empty()) p.password = DecodePassword(stored, section);
  p.encryption = ReadEncryption(doc, section);
  p.verify = doc.ReadBool(section, "Verify", true);
  p.storePaths = doc.ReadBool(section, "Whether store path in Zip", true);
  p.useComment = doc.ReadBool(section, "Whether store comment in Zip", true);
  p.comment = doc.ReadString(section, "Comment", "");
  int mode = doc.ReadInteger(section, "BackupMode", 3);
  p.scheduleMode = mode >= 0 && mode <= 3 ? static_cast<ScheduleMode>(mode) : ScheduleMode::None;
  p.scheduleValue = doc.ReadString(section, "StartTime_or_Increase", "");
  p.packLevel = ClampSpin(doc.ReadInteger(section, "PackLevel", 6), 0, 9);
  p.storeNumber = ClampSpin(doc.ReadInteger(section, "Store Number", 50), kKeepMin, kKeepMax);
  p.useNew = doc.ReadBool(section, "isUseNew", false);
  p.useToday = doc.ReadBool(section, "isUseToday", false);
  p.newDateTime = doc.ReadString(section, "NewDateTime", "");
  p.newDateTimeUtc = doc.ReadString(section, kNewDateTimeUtcKey, "");
  return p;
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

int ReadBackupMode(const std::string& dataDir, const std::string& name) {
  return ProjectIni(dataDir).ReadInteger(TrimBlanks(name), "BackupMode", 3);
}

std::string ReadScheduleValue(const std::string& dataDir, const std::string& name) {
  return ProjectIni(dataDir).ReadString(TrimBlanks(name), "StartTime_or_Increase", "");
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
