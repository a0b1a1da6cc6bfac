// The backup run.
#include "core/BackupRun.h"

#include <cmath>
#include <filesystem>
#include <set>
#include <system_error>

#include "core/ArchiveName.h"
#include "core/EngineRelay.h"
#include "core/LastBackup.h"
#include "core/OwnArchives.h"
#include "core/ProjectStore.h"
#include "core/Rotation.h"
#include "core/SpinValue.h"
#include "core/TextUtil.h"
#include "platform/AtomicFile.h"
#include "platform/FileIo.h"
#include "platform/FsPath.h"
#include "platform/Platform.h"
#include "zip/extract/ArchiveCheck.h"
#include "zip/format/ZipErrors.h"
#include "zip/names/ZipPaths.h"
#include "zip/write/WriteJob.h"

namespace fs = std::filesystem;

namespace brisko::core {
namespace {

// The last-backup line is a convenience beside the log, which holds the truth: a settings folder
// that refuses it must not turn a finished run into a failed one.
void RememberLastBackup(const std::string& dataDir, const std::string& projectName, DateTime started,
                        const std::string& status, const std::string& detail) {
  try {
    RecordLastBackup(dataDir, projectName, started, status, detail);
  } catch (const std::exception&) {
  }
}

// The newer-than moment of the run as an instant: the one a run stored in UTC while the project
// still holds the local time stored with it (in the hour repeated when daylight saving time ends, the
// local time names two instants), else the local time's.
std::time_t NewerInstant(const Project& stored, DateTime moment) {
  const std::optional<DateTime> utc = TryStrToDateTime(stored.newDateTimeUtc);
  if (utc && stored.newDateTime == FormatDateTime(moment)) return TimeOfUtcDateTime(*utc);
  return ToTimeT(moment);
}

// Tells the observer that the archive is being written, and when no longer, however the run ends.
class WritingScope {
 public:
  explicit WritingScope(RunObserver& observer) : observer_(observer) { observer_.OnWriting(true); }
  ~WritingScope() { observer_.OnWriting(false); }
  WritingScope(const WritingScope&) = delete;
  WritingScope& operator=(const WritingScope&) = delete;

 private:
  RunObserver& observer_;
};

bool FileExists(const std::string& path) {
  return platform::StatFile(path).exists;
}

// A source named as a folder ("docs/") means the files in it, as "docs/*.*" does; the writer would
// take it for the folder's own entry.
std::vector<std::string> WriterSources(std::vector<std::string> sources) {
  for (std::string& source : sources) {
    const std::string trimmed = TrimBlanks(source);
    if (!trimmed.empty() && (trimmed.back() == '/' || trimmed.back() == platform::kPathDelim))
      source = trimmed + "*.*";
  }
  return sources;
}

// Whether a file begins as a ZIP archive does (a local header, or the end record of an empty one).
bool LooksLikeArchive(const std::string& path) {
  std::FILE* file = platform::OpenFile(path, "rb");
  if (!file) return false;
  unsigned char head[4] = {};
  const size_t got = std::fread(head, 1, sizeof head, file);
  std::fclose(file);
  return got == sizeof head && head[0] == 'P' && head[1] == 'K' &&
         ((head[2] == 3 && head[3] == 4) || (head[2] == 5 && head[3] == 6));
}

void RemoveQuietly(const std::string& path) {
  std::error_code ec;
  fs::remove(platform::FsPath(path), ec);
}

}  // namespace

std::optional<std::string> FirstFailedCheck(const Project& project) {
  if (TrimBlanks(project.prefix).empty()) return kMsgNoPrefix;
  if (project.backupList.empty()) return kMsgNoFiles;
  return std::nullopt;
}

bool IsOlderThanThreshold(const platform::FileStat& st, std::time_t moment) {
  if (!st.exists) return false;
  // A file moved or copied in with its old modification time changed status when it arrived.
  const std::time_t changed = static_cast<std::time_t>(st.identity.changedNs / 1000000000);
  return st.lastWrite < moment && changed < moment;
}

int64_t ArchiveSizeKb(const std::string& path) {
  std::error_code ec;
  const uintmax_t size = fs::file_size(platform::FsPath(path), ec);
  if (ec) throw std::runtime_error("Cannot open file \"" + path + "\". " + ec.message());
  return static_cast<int64_t>(size / 1024);
}

BackupRun::BackupRun(std::string dataDir, const Clock& clock, RunObserver& observer)
    : dataDir_(std::move(dataDir)), clock_(clock), observer_(observer), log_(dataDir_, clock_) {}

void BackupRun::AddLogEntry(const std::string& status, const std::string& information,
                            const std::string& detail) {
  log_.AddLogEntry("Backup", status, information, request_.project.name);
  observer_.OnLogged();
  RememberLastBackup(dataDir_, request_.project.name, started_, status, detail);
}

BackupOutcome BackupRun::Refuse(const std::string& projectName, const std::string& message) {
  observer_.OnError(message);
  // Logged too: a scheduled run has nobody watching its error box.
  try {
    log_.AddLogEntry("Backup", "Fails", "Not run: " + message, projectName);
    observer_.OnLogged();
    RememberLastBackup(dataDir_, projectName, clock_.Now(), "Fails", "not run: " + message);
  } catch (const std::exception& e) {
    observer_.OnError("The activity log could not be written: " + std::string(e.what()));
  }
  return BackupOutcome::CheckFailed;
}

std::string BackupRun::ArchivePath() const {
  const Project& p = request_.project;
  return TrimBlanks(ComposeArchivePath(p.savePath, p.prefix, p.suffix, p.NextNumber(),
                                       request_.settings.isAppend0, request_.settings.width, clock_.Now()));
}

BackupOutcome BackUpStoredProject(const std::string& dataDir, const Clock& clock,
                                  const GlobalSettings& settings, const std::string& listedName,
                                  RunObserver& observer) {
  BackupRequest request;
  request.project = ReadProject(dataDir, listedName);
  request.settings = settings;
  return BackupRun(dataDir, clock, observer).Execute(std::move(request));
}

BackupOutcome BackupRun::Execute(BackupRequest request) {
  request_ = std::move(request);
  const Project& project = request_.project;
  skipped_.clear();
  missing_.clear();
  notes_.clear();
  special_.clear();
  changed_.clear();
  tempPath_.clear();
  if (std::optional<std::string> message = FirstFailedCheck(project)) return Refuse(project.name, *message);
  // Files changed from here on are newer than the moment the next run starts from.
  started_ = clock_.Now();
  startedUtc_ = clock_.NowUtc();
  std::string archivePath = ArchivePath();

  try {
    if (const auto missing = FirstMissingListKey(dataDir_, project.name))
      return Fail(archivePath, "project.ini counts more entries in '" + missing->second +
                                   "' than it holds: '" + missing->first +
                                   "' is missing; correct the file, or check the lists and save the project");
    if (std::optional<BackupOutcome> refused = MakeRoom(archivePath)) return *refused;
    // A stored newer-than moment that cannot be read is never replaced by a made-up one.
    if (project.useNew) {
      const Project stored = ReadProject(dataDir_, project.name);
      if (!TryStrToDateTime(stored.newDateTime.value_or("")))
        return Fail(archivePath, "The moment of \"Only files newer than\" of the project, '" +
                                     stored.newDateTime.value_or("") +
                                     "', is not a valid date and time; correct it and save the project");
      const DateTime moment = TryStrToDateTime(project.newDateTime.value_or("")).value_or(0);
      newerMoment_ = moment;
      newerInstant_ = NewerInstant(stored, moment);
      // One run under a wrong clock must not pass over every file until that date comes.
      if (newerInstant_ > clock_.NowUtc())
        return Fail(archivePath,
                    "The moment of \"Only files newer than\" of the project, '" + FormatDateTime(moment) +
                        "', lies in the future, so no file would be backed up until then; correct "
                        "it (or the clock) and save the project");
    }
    WritingScope writing(observer_);
    return Write(archivePath);
  } catch (const std::exception& e) {
    if (!tempPath_.empty()) RemoveQuietly(tempPath_);
    if (dynamic_cast<const zip::CanceledError*>(&e) != nullptr && observer_.StopRequested())
      return Stopped(archivePath);
    return Fail(archivePath, e.what());
  }
}

// An existing file under the archive's name. This project's own archives are never overwritten
// unless replacing is their point (suffix None); a numbered project passes over them to the next
// free number. Anything else is refused as before unless overwriting is allowed; a numbered project
// then moves its counter past the file, so that it is refused once and not at every run.
// Returns the outcome when the run must end here.
std::optional<BackupOutcome> BackupRun::MakeRoom(std::string& archivePath) {
  Project& project = request_.project;
  const std::string& projectName = project.name;
  auto own = [&](const std::string& path) {
    return IsKeptArchive(dataDir_, projectName, path) || IsLastWrittenArchive(dataDir_, projectName, path);
  };
  if (project.suffix == SuffixKind::Number) {
    // A kill after an archive was put in place leaves it under the next name, counter unwritten.
    while (FileExists(archivePath) && (own(archivePath) || LooksLikeArchive(archivePath))) {
      notes_.push_back(zip::ExtractNamePart(archivePath) + ", already present, was kept and passed over");
      project.value = project.NextNumber();
      archivePath = ArchivePath();
    }
  }
  if (!FileExists(archivePath)) return std::nullopt;
  const bool kept = IsKeptArchive(dataDir_, projectName, archivePath);
  if (project.suffix == SuffixKind::None && IsLastWrittenArchive(dataDir_, projectName, archivePath))
    return std::nullopt;
  if (request_.settings.isOverWrite && !kept) return std::nullopt;

  std::string advice = kept ? "It is an archive this project keeps and is never overwritten."
                            : "It was not written by this project.";
  if (project.suffix == SuffixKind::Number) {
    advice += " It is left as it is; the next run uses the next number.";
    AdvanceCounter();
  } else {
    advice += " Move or rename it to let the backup run.";
  }
  observer_.OnResult(MessageKind::Warning, archivePath + " exists,backup will be interrupted!\r" + advice);
  AddLogEntry("Interrupt", "'" + archivePath + "'" + " exists,backup interripted  " + advice,
              archivePath + " exists");
  return BackupOutcome::Interrupted;
}

// Shows the failure naming the project and logs it under the archive's final name.
BackupOutcome BackupRun::Fail(const std::string& archivePath, std::string reason) {
  const std::string& projectName = request_.project.name;
  // Messages of the writer name the file it wrote; the user knows the archive by its own name.
  if (!tempPath_.empty())
    for (size_t at = reason.find(tempPath_); at != std::string::npos; at = reason.find(tempPath_, at))
      reason.replace(at, tempPath_.size(), archivePath);
  std::string message = reason + "\rProject Name: '" + TrimBlanks(projectName) + "'";
  try {
    AddLogEntry("Fails", archivePath + "  " + reason, reason);
  } catch (const std::exception& e) {
    message += "\rThe activity log could not be written: " + std::string(e.what());
  }
  observer_.OnError(message);
  return BackupOutcome::Failed;
}

// The user stopped the run: the partial archive is gone, the old one untouched.
BackupOutcome BackupRun::Stopped(const std::string& archivePath) {
  observer_.OnResult(MessageKind::Warning, "Backup stopped: " + archivePath + " was not written.");
  AddLogEntry("Interrupt", "'" + archivePath + "' not written, backup stopped by the user", "by the user");
  return BackupOutcome::Interrupted;
}

namespace {
std::string Summary(const std::vector<BackupRun::Problem>& problems, const std::string& what) {
  const BackupRun::Problem& first = problems.front();
  return std::to_string(problems.size()) + " " + what + ", first: " + first.path + " (" + first.reason + ")";
}

std::string Count(const std::vector<std::string>& paths, const std::string& what) {
  return std::to_string(paths.size()) + " " + what + ", first: " + paths.front();
}
}  // namespace

// What the run stored but could not promise: files that changed while read, special files met.
std::string BackupRun::Notes(const std::string& separator) const {
  std::string notes;
  if (!changed_.empty()) notes += separator + Count(changed_, "file(s) changed while being read");
  if (!special_.empty()) notes += separator + Count(special_, "special file(s) not backed up");
  return notes;
}

// Hears the writer: sources missing or passed over, this project's own files left out, progress and
// the user's stop.
class BackupRun::WriterObserver : public EngineRelay<zip::WriteObserver> {
 public:
  explicit WriterObserver(BackupRun& run) : EngineRelay(run.observer_), run_(run) {}

  bool completed = false;
  int storedFiles = 0;  // files stored; folder entries alone make no backup

  void OnNoSuchFile(const std::string& path) override { run_.missing_.push_back({path, "not found"}); }
  void OnUnreadableEntry(const std::string& path, const std::string& reason) override {
    run_.missing_.push_back({path, "cannot be read: " + reason});
  }
  void OnSpecialFile(const std::string& path) override { run_.special_.push_back(path); }
  void OnFileChanged(const std::string& path) override { run_.changed_.push_back(path); }
  zip::JobStart OnStartZipInfo(int, int64_t) override {
    if (!run_.missing_.empty())
      throw std::runtime_error(Summary(run_.missing_, "source(s) missing or unreadable"));
    return zip::JobStart::Go;
  }
  void OnEndZip(const std::string& fileName, int64_t, int64_t, int64_t) override {
    stored_.insert(fileName);
    if (fileName.empty() || fileName.back() != platform::kPathDelim) ++storedFiles;
  }
  void OnSkippingFile(zip::SkipReason reason, const std::string& fileName, int) override {
    // Source files on their way into the archive: one that two source entries name is stored once
    // and lost nowhere, unlike another file that would have the same member name.
    if (reason == zip::SkipReason::NoOverwrite && stored_.count(fileName) != 0) return;
    run_.skipped_.push_back({fileName, reason == zip::SkipReason::NoOverwrite
                                           ? "a member of that name is already present"
                                           : "cannot be read"});
  }
  void OnZipComplete(int) override { completed = true; }

 private:
  BackupRun& run_;
  std::set<std::string> stored_;
};

// Steps from the writer's set-up to putting the archive in place, then the bookkeeping and the
// report. Throws on failure; the previous archive of the same name is replaced only after the new
// one is complete.
BackupOutcome BackupRun::Write(const std::string& archivePath) {
  const Project& project = request_.project;
  const bool onlyNewer = project.useNew;
  const std::string saveFolder = zip::ExtractDirPart(archivePath);
  const std::string prefix = TrimBlanks(project.prefix);

  RemoveLeftoverTemporaries(saveFolder, prefix);
  tempPath_ = TemporaryArchiveName(archivePath);
  zip::WriteOptions options;
  options.recurse = project.includeSubfolders;
  options.storePaths = project.storePaths;
  options.filesList = WriterSources(project.backupList);
  options.excludeList = project.excludeList;
  const std::string password = TrimBlanks(project.password);
  options.password = project.usePassword && !password.empty() ? password : std::string();
  options.encryption = project.encryption == EncryptionKind::Aes256 ? zip::MemberEncryption::Aes256
                                                                    : zip::MemberEncryption::Traditional;
  options.packLevel = project.packLevel;
  options.threads = request_.settings.threads;
  // Folder entries let a restore recreate the tree, empty folders included; without stored paths
  // there is no tree to recreate.
  options.addDirEntriesOnRecurse = project.includeSubfolders && project.storePaths;
  // Links are kept as links: following them could leave the source or loop, and a restore puts the
  // link itself back.
  options.storeLinks = true;
  // Archives hold whatever the sources hold, private keys included.
  options.privateOutput = true;
  options.outputOpener = request_.writerOutput;
  options.beforeSourceRead = request_.beforeSourceRead;

  // This project's archives (the one being replaced too) and temporary files lie in the destination
  // folder, which may be inside a source: they must not end up in their successor. An only-newer run
  // decides from the walk's status alone: an older file costs no more than being listed.
  options.select = [&, threshold = newerInstant_](const std::string& path, const platform::FileStat& status) {
    return !IsOwnArchiveFile(path, saveFolder, prefix) &&
           !(onlyNewer && IsOlderThanThreshold(status, threshold));
  };
  WriterObserver observer(*this);
  zip::WriteJob writer(std::move(options), &observer);
  writer.SetZipName(tempPath_);
  const std::string comment = TrimBlanks(project.comment);
  writer.SetZipComment(project.useComment && !comment.empty() ? comment : std::string());

  writer.Run();
  writer.Archive().CloseArchive();  // release the new file before it is renamed
  if (!observer.completed) throw std::runtime_error("The archive " + archivePath + " was not completed");
  if (!missing_.empty()) throw std::runtime_error(Summary(missing_, "source(s) missing or unreadable"));
  if (observer.storedFiles == 0) {
    RemoveQuietly(tempPath_);
    if (!skipped_.empty()) throw std::runtime_error(Summary(skipped_, "file(s) not stored"));
    // Nothing to store: no empty archive may push a real one out of the ring.
    const std::string what = onlyNewer ? "No file is newer than " + FormatDateTime(newerMoment_)
                                       : std::string("No file was found");
    observer_.OnResult(MessageKind::Information, "Backup Files Succeeds!\rProject Name: '" + project.name +
                                                     "'\r" + what + ": no archive was written." +
                                                     Notes("\r"));
    AddLogEntry("Succeeds", what + ", no archive written (" + archivePath + ")" + Notes("; "),
                "nothing to store");
    return BackupOutcome::NothingToStore;
  }
  if (project.verify) Verify(writer.Options().password);
  // Recorded before it is put in place, so that a kill right after leaves an archive the next run
  // knows as its own.
  RecordWrittenArchive(dataDir_, project.name, archivePath, tempPath_);
  // The new archive reaches the disk, then replaces an existing one in one step; until here the old
  // one is untouched.
  platform::AtomicFile placed(archivePath);
  placed.Adopt(tempPath_);
  tempPath_.clear();
  if (!placed.Commit()) throw std::runtime_error("The archive " + archivePath + " could not be put in place");

  // The archive is in place: the bookkeeping follows it before anything else can fail.
  const bool complete = skipped_.empty();
  Advance(complete);
  // An incomplete archive is kept, but never pushes a complete one out of the ring.
  if (complete) {
    const size_t held =
        RotateArchives(dataDir_, project.name, project.suffix, project.storeNumber, archivePath,
                       DeleteArchiveFile, onlyNewer ? ArchiveScope::Incremental : ArchiveScope::Full);
    const std::string note = HeldArchivesNote(held, project.storeNumber);
    if (!note.empty()) notes_.push_back(note);
  } else {
    notes_.push_back("the archive is kept outside the rotation and no older archive was deleted");
  }
  return Report(archivePath);
}

// The completion message and log entry of an archive in place.
BackupOutcome BackupRun::Report(const std::string& archivePath) {
  const std::string& projectName = request_.project.name;
  const int64_t sizeKb = ArchiveSizeKb(archivePath);
  const std::string details = "Project Name: '" + projectName + "'\r" + "File Name:    '" +
                              zip::ExtractNamePart(archivePath) + "'\r" + "File Size:    '" +
                              std::to_string(sizeKb) + "Kb'";
  std::string information = archivePath + "  " + std::to_string(sizeKb) + "Kb";
  if (request_.project.verify) information += "  verified";
  const bool complete = skipped_.empty();
  if (complete) {
    observer_.OnResult(MessageKind::Information, "Backup Files Succeeds!\r" + details + Notes("\r"));
  } else {
    const Problem& first = skipped_.front();
    observer_.OnResult(MessageKind::Warning, "Backup Files Fails! " + std::to_string(skipped_.size()) +
                                                 " file(s) not stored.\r" + details + "\rNot stored:   '" +
                                                 first.path + "' (" + first.reason + ")" + Notes("\r"));
    information += "  " + Summary(skipped_, "file(s) not stored");
  }
  for (const std::string& note : notes_) information += "; " + note;
  information += Notes("; ");
  try {
    AddLogEntry(
        complete ? "Succeeds" : "Fails", information,
        complete ? (request_.project.verify ? "verified" : "") : Summary(skipped_, "file(s) not stored"));
  } catch (const std::exception& e) {
    observer_.OnError("The archive " + archivePath +
                      " was written, but the activity log could not be written: " + e.what() +
                      "\rProject Name: '" + TrimBlanks(projectName) + "'");
    return BackupOutcome::Failed;
  }
  return complete ? BackupOutcome::Succeeded : BackupOutcome::Incomplete;
}

// Reads the new archive back from the disk before it takes an old one's place or counts: every member
// decoded and checked. Throws, naming the first member that failed.
void BackupRun::Verify(const std::string& password) {
  // What the device holds is checked, not the pages just written.
  if (!platform::SyncAndDropCachedPages(tempPath_))
    throw std::runtime_error("The new archive could not be written to the disk: " + tempPath_);
  EngineRelay<zip::ArchiveObserver> observer(observer_);
  const zip::ArchiveCheck check = zip::CheckArchive(tempPath_, password, &observer);
  if (!check.Ok())
    throw std::runtime_error("The new archive failed verification and was not kept: " + check.Summary());
}

// Records the number just used and moves the counter on.
void BackupRun::AdvanceCounter() {
  Project& project = request_.project;
  const int used = project.NextNumber();
  WriteProjectValue(dataDir_, project.name, used);
  project.value = used;
}

// Advances the counter and the newer-than moment.
void BackupRun::Advance(bool complete) {
  Project& project = request_.project;
  if (project.suffix == SuffixKind::Number) AdvanceCounter();
  // After a run that missed files the moment stays, or the next run would pass over those files.
  if (project.useToday && complete) {
    WriteNewDateTime(dataDir_, project.name, started_, startedUtc_);
    project.newDateTime = FormatDateTime(started_);
    project.newDateTimeUtc = FormatDateTime(UtcDateTimeOf(startedUtc_));
  }
}

}  // namespace brisko::core
