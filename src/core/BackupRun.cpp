// The backup run.
#include "core/BackupRun.h"

#include <cmath>
#include <filesystem>
#include <system_error>

#include "core/ArchiveName.h"
#include "core/MainModel.h"
#include "core/ProjectStore.h"
#include "core/Rotation.h"
#include "core/SpinValue.h"
#include "core/TextUtil.h"
#include "platform/Platform.h"
#include "zip/ZipWriter.h"

namespace fs = std::filesystem;

namespace brisko::core {
namespace {

constexpr int kResultSeconds = 4;

long long ToSeconds(DateTime value) { return std::llround(value * kSecondsPerDay); }

// Sets a flag for the lifetime of a scope.
class ScopedFlag {
 public:
  explicit ScopedFlag(bool& flag) : flag_(flag) { flag_ = true; }
  ~ScopedFlag() { flag_ = false; }
  ScopedFlag(const ScopedFlag&) = delete;
  ScopedFlag& operator=(const ScopedFlag&) = delete;

 private:
  bool& flag_;
};

// Leaves the busy state and resets the progress bar however the run ends.
class BusyScope {
 public:
  explicit BusyScope(MainModel& model) : model_(model) { model_.SetBusy(true); }
  ~BusyScope() {
    model_.SetBusy(false);
    model_.SetProgress(0);
  }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  MainModel& model_;
};

bool FileExists(const std::string& path) { return platform::StatFile(path).exists; }

void RemoveQuietly(const std::string& path) {
  std::error_code ec;
  fs::remove(path, ec);
}

}  // namespace

std::optional<std::string> FirstFailedCheck(const ProjectForm& form) {
  if (TrimBlanks(form.fileName).empty()) return kMsgNoFileName;
  if (TrimBlanks(form.prefix).empty()) return kMsgNoPrefix;
  if (form.usePassword && TrimBlanks(form.password) != TrimBlanks(form.passwordConfirm))
    return kMsgPasswordMismatch;
  if (form.backupList.empty()) return kMsgNoFiles;
  return std::nullopt;
}

bool IsOlderThanThreshold(const std::string& path, DateTime moment) {
  const platform::FileStat st = platform::StatFile(path);
  if (!st.exists) return false;
  return ToSeconds(FromTimeT(st.lastWrite)) < ToSeconds(moment);
}

int64_t ArchiveSizeKb(const std::string& path) {
  std::error_code ec;
  const uintmax_t size = fs::file_size(path, ec);
  if (ec) throw std::runtime_error("Cannot open file \"" + path + "\". " + ec.message());
  return static_cast<int64_t>(size / 1024);
}

std::string TemporaryArchiveName(const std::string& archivePath) {
  std::string name = archivePath + ".part";
  for (int i = 1; FileExists(name); ++i) name = archivePath + ".part" + std::to_string(i);
  return name;
}

bool MainModel::ValidateProject() {
  if (std::optional<std::string> message = FirstFailedCheck(form_)) {
    ui_.ShowMessage(MessageKind::Error, *message);
    return false;
  }
  return true;
}

BackupOutcome MainModel::RunBackup() { return BackupRun(*this).Execute(); }

BackupOutcome BackupRun::Execute() {
  MainModel& m = model_;
  unread_.clear();
  if (m.Projects().empty()) return BackupOutcome::NotRun;
  ScopedFlag running(m.runInProgress_);

  const std::string projectName = m.SelectedName();
  if (m.Settings().promptBeforeBackup &&
      !m.Ui().Confirm(MessageKind::Information,
                      "Do you want to backup the project '" + TrimBlanks(projectName) + "'?"))
    return BackupOutcome::NotRun;
  if (!m.ValidateProject()) return BackupOutcome::CheckFailed;

  const MainPage page = m.Page();
  if (m.Form().suffix == SuffixKind::Date) m.ComposeArchiveName();
  const std::string archivePath = TrimBlanks(m.Form().fileName);

  BackupOutcome outcome;
  try {
    if (FileExists(archivePath) && !m.Settings().isOverWrite) {
      m.Ui().ShowTimedMessage(MessageKind::Warning, "", archivePath + " exists,backup will be interrupted!",
                              kResultSeconds);
      m.Log().AddLogEntry("Backup", "Interrupt", "'" + archivePath + "'" + " exists,backup interripted",
                          projectName);
      m.Notify(ModelChange::Log);
      return BackupOutcome::Interrupted;
    }
    BusyScope busy(m);
    outcome = Write(archivePath);
    if (outcome == BackupOutcome::Succeeded || outcome == BackupOutcome::Incomplete)
      Finish(outcome == BackupOutcome::Succeeded);
    m.ShowPage(page);
    if (page == MainPage::Restore) m.Notify(ModelChange::RestoreRefresh);
  } catch (const std::exception& e) {
    // The application's error display: the message of whatever failed (writer, log, rotation).
    m.Ui().ShowMessage(MessageKind::Error, e.what());
    return BackupOutcome::Failed;
  }
  return outcome;
}

// Steps from the writer's set-up to the completion report and the rotation. Throws on failure;
// the previous archive of the same name is replaced only after the new one is complete.
BackupOutcome BackupRun::Write(const std::string& archivePath) {
  MainModel& m = model_;
  ProjectForm& form = m.Form();
  const std::string projectName = m.SelectedName();

  // The date field takes the time of the time field: it now holds the whole newer-than moment.
  form.newerDate = form.NewerThan();
  const DateTime threshold = form.newerDate;
  const bool onlyNewer = form.onlyNewer;

  const std::string tempPath = TemporaryArchiveName(archivePath);
  zip::TZipWriter writer;
  writer.SetZipName(tempPath);
  writer.Recurse = form.includeSubfolders;
  writer.SetStorePaths(form.storePaths);
  const std::string comment = TrimBlanks(form.comment);
  writer.SetZipComment(form.useComment && !comment.empty() ? comment : std::string());
  writer.FilesList = form.backupList;
  writer.ExcludeList = form.excludeList;
  const std::string password = TrimBlanks(form.password);
  writer.Password = form.usePassword && !password.empty() ? password : std::string();
  writer.PackLevel = form.packLevel;
  writer.AddDirEntriesOnRecurse = false;
  writer.DoProcessMessages = static_cast<bool>(m.processEvents);
  writer.OnProcessMessages = m.processEvents;

  writer.OnStartZip = [&](zip::TZipWriter&, const std::string& fileName, zip::TZipHeaderInfo&, bool& skip) {
    // The archive being replaced lies in the destination folder until the new one is complete;
    // it must not end up inside its successor.
    if (SamePath(fileName, archivePath)) {
      skip = true;
      return;
    }
    if (onlyNewer) skip = IsOlderThanThreshold(fileName, threshold);
  };
  writer.OnTotalPercentDone = [&](zip::TZipReader&, int percent) { m.SetProgress(percent); };
  writer.OnSkippingFile = [&](zip::TZipReader&, zip::TSkipReason reason, const std::string& fileName, int,
                              bool&) {
    if (reason == zip::TSkipReason::srFileOpenError) unread_.push_back(fileName);
  };
  bool completed = false;
  writer.OnZipComplete = [&](zip::TZipWriter&, int) { completed = true; };
  if (m.configureWriter) m.configureWriter(writer);

  try {
    writer.Zip();
    writer.CloseArchive();  // release the new file before it is renamed
    if (!completed) throw std::runtime_error("The archive " + archivePath + " was not completed");
    // rename() replaces an existing archive in one step; until here the old one is untouched.
    fs::rename(tempPath, archivePath);
  } catch (...) {
    RemoveQuietly(tempPath);
    throw;
  }

  // Completion: report, log entry, rotation.
  const int64_t sizeKb = ArchiveSizeKb(archivePath);
  const std::string details = "Project Name: '" + projectName + "'\r" + "File Name:    '" +
                              FileNamePart(archivePath) + "'\r" + "File Size:    '" +
                              std::to_string(sizeKb) + "Kb'";
  std::string information = archivePath + "  " + std::to_string(sizeKb) + "Kb";
  if (unread_.empty()) {
    m.Ui().ShowTimedMessage(MessageKind::Information, "", "Backup Files Succeeds!\r" + details, kResultSeconds);
    m.Log().AddLogEntry("Backup", "Succeeds", information, projectName);
  } else {
    const std::string count = std::to_string(unread_.size());
    m.Ui().ShowTimedMessage(MessageKind::Warning, "",
                            "Backup Files Fails! " + count + " file(s) could not be read.\r" + details +
                                "\rNot read:     '" + unread_.front() + "'",
                            kResultSeconds);
    information += "  " + count + " file(s) could not be read, first: " + unread_.front();
    m.Log().AddLogEntry("Backup", "Fails", information, projectName);
  }
  m.Notify(ModelChange::Log);
  RotateArchives(m.DataDir(), projectName, form.suffix, form.storeNumber, archivePath);
  return unread_.empty() ? BackupOutcome::Succeeded : BackupOutcome::Incomplete;
}

// Advances the counter and the newer-than moment and shows the next archive name.
void BackupRun::Finish(bool complete) {
  MainModel& m = model_;
  ProjectForm& form = m.Form();
  const std::string projectName = m.SelectedName();
  if (form.suffix == SuffixKind::Number) {
    WriteProjectValue(m.DataDir(), projectName, form.nextNumber);
    form.nextNumber = AdvanceNumber(form.nextNumber, form.increase);
  }
  // After a run that missed files the moment stays, or the next run would pass over those files.
  if (form.useLastBackup && complete) {
    const DateTime now = m.GetClock().Now();
    form.newerDate = now;
    form.newerTime = TimeOf(now);
    WriteNewDateTime(m.DataDir(), projectName, DateOf(form.newerDate) + TimeOf(form.newerTime));
  }
  m.ComposeArchiveName();
}

}  // namespace brisko::core
