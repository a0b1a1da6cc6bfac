// The project form read from and written to its stored record.
#include "core/view/ProjectFormStore.h"

#include "core/DateTimeValue.h"
#include "core/IniDocument.h"
#include "core/ProjectStore.h"
#include "core/SettingsFiles.h"
#include "core/SpinValue.h"
#include "core/TextUtil.h"
#include "zip/names/ZipPaths.h"

namespace brisko::core {
namespace {

int WeekdayIndex(std::string_view text) {
  for (int i = 0; i < 7; ++i)
    if (zip::SameTextAscii(text, kWeekdayNames[i])) return i;
  return -1;
}

std::string ScheduleValueOf(const ProjectForm& form) {
  switch (form.scheduleMode) {
    case ScheduleMode::DailyAt:
      return FormatTime(form.scheduleTime);
    case ScheduleMode::DailyEvery:
      return std::to_string(form.scheduleMinutes);
    case ScheduleMode::Weekly:
      return form.scheduleWeekday >= 0 && form.scheduleWeekday < 7 ? kWeekdayNames[form.scheduleWeekday] : "";
    case ScheduleMode::None:
      break;
  }
  return {};
}

void ShowSchedule(const Project& p, ProjectForm& form) {
  if (!p.scheduleKnown) return;  // an unknown mode leaves the schedule fields alone
  form.scheduleMode = p.scheduleMode;
  switch (p.scheduleMode) {
    case ScheduleMode::DailyAt:
      form.scheduleTime = TryStrToTime(p.scheduleValue).value_or(0.5);
      break;
    case ScheduleMode::DailyEvery:
      form.scheduleMinutes = ClampSpin(ParseIniInteger(p.scheduleValue).value_or(5), 2, 1000);
      break;
    case ScheduleMode::Weekly:
      form.scheduleWeekday = WeekdayIndex(p.scheduleValue);
      break;
    case ScheduleMode::None:
      break;
  }
}

}  // namespace

Project ProjectOfForm(const std::string& name, const ProjectForm& form) {
  Project p;
  p.name = TrimBlanks(name);
  p.prefix = TrimBlanks(form.prefix);
  p.suffix = form.suffix;
  p.increase = form.increase;
  p.value = StoredValueFromNext(form.nextNumber, form.increase);
  p.savePath = ExtractFileDir(TrimBlanks(form.fileName));
  p.backupList = form.backupList;
  p.excludeList = form.excludeList;
  p.includeSubfolders = form.includeSubfolders;
  p.usePassword = form.usePassword;
  p.password = TrimBlanks(form.password);
  p.encryption = form.encryption;
  p.verify = form.verify;
  p.storePaths = form.storePaths;
  p.useComment = form.useComment;
  p.comment = form.comment;
  p.scheduleMode = form.scheduleMode;
  p.scheduleValue = ScheduleValueOf(form);
  p.packLevel = form.packLevel;
  p.storeNumber = form.storeNumber;
  p.useNew = form.onlyNewer;
  p.useToday = form.useLastBackup;
  p.newDateTime = FormatDate(form.newerDate) + " " + FormatTime(form.newerTime);
  return p;
}

void LoadProject(const std::string& dataDir, const std::string& name, ProjectForm& form, const Clock& clock,
                 const std::function<void(ProjectForm&)>& composeName) {
  if (TrimBlanks(name).empty()) return;
  const Project p = ReadProject(dataDir, name);

  form.prefix = p.prefix;
  if (p.suffixKnown) form.suffix = p.suffix;
  if (form.suffix == SuffixKind::Number) {
    form.increase = p.increase;
    form.nextNumber = p.NextNumber();
  }
  form.saveFolder = p.savePath;
  if (composeName) composeName(form);

  form.backupList = p.backupList;
  form.excludeList = p.excludeList;
  form.includeSubfolders = p.includeSubfolders;
  form.usePassword = p.usePassword;
  form.password = p.password;
  form.passwordConfirm = p.password;
  form.encryption = p.encryption;
  form.verify = p.verify;
  form.storePaths = p.storePaths;
  form.useComment = p.useComment;
  form.comment = p.comment;
  ShowSchedule(p, form);
  form.packLevel = p.packLevel;
  form.storeNumber = p.storeNumber;
  form.onlyNewer = p.useNew;
  form.useLastBackup = p.useToday;

  // DateTimeParseError "'%s' is not a valid date and time"
  const DateTime newer = StrToDateTime(p.newDateTime.value_or(FormatDateTime(clock.Now())));
  form.newerDate = DateOf(newer);
  form.newerTime = TimeOf(newer);
}

void SaveProject(const std::string& dataDir, const std::string& name, ProjectForm& form) {
  const Project p = ProjectOfForm(name, form);
  WriteProject(dataDir, p);
  // The window reflects what was stored only once the write succeeded.
  form.saveFolder = p.savePath;
  if (!p.usePassword || p.password.empty()) {
    form.password.clear();
    form.passwordConfirm.clear();
  }
  if (!p.useComment || TrimBlanks(p.comment).empty()) form.comment.clear();
}

}  // namespace brisko::core
