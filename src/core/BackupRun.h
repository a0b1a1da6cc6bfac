// The backup run of the project shown: checks, archive name, writer, report, log, rotation, advance.
#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "core/BackupOutcome.h"
#include "core/DateTimeValue.h"
#include "core/ProjectForm.h"

namespace brisko::core {

class MainModel;

// Messages of the four checks, in the order they are made.
inline constexpr const char* kMsgNoFileName = "Please enter the backup filename";
inline constexpr const char* kMsgNoPrefix = "Please enter the prefix of backup filename";
inline constexpr const char* kMsgPasswordMismatch = "Confirm password is not matching";
inline constexpr const char* kMsgNoFiles = "Please select files to backup";

// The message of the first check the project fails, or nullopt when it passes all four.
std::optional<std::string> FirstFailedCheck(const ProjectForm& form);

// True when the file exists and its last-write and (POSIX) status-change times are both earlier than
// `moment` (seconds since the Unix epoch). A missing file gives false, so it is not passed over.
bool IsOlderThanThreshold(const std::string& path, std::time_t moment);

// The file's size in bytes divided by 1024, the remainder dropped. Throws std::runtime_error when
// the file cannot be opened.
int64_t ArchiveSizeKb(const std::string& path);

// One run of RunBackup on a model. The new archive is written under a temporary name in the
// destination folder, readable by its owner only, and put in place only when complete, so a failed
// run never costs the archive it would have replaced.
//  - A file already under the archive's name: see MakeRoom; this project's own archives are never
//    overwritten (suffix None replaces the one it wrote itself), a numbered project passes over them.
//  - A source that is missing or cannot be listed (a folder at any depth) fails the run: no
//    archive, no rotation, no advance; logged "Fails" with what was missing.
//  - Files the writer passed over (unreadable, a name already stored) make the run "Fails" with
//    their count and the first of them; the archive is kept outside the ring (it deletes no older
//    archive), the newer-than moment stays, so the next run tries those files again.
//  - A run that stores no file (folder entries alone included) writes no archive and rotates
//    nothing ("Succeeds").
//  - Unless the project turned it off (Verify=0), the new archive is read back from disk and every
//    member checked before it replaces, advances or rotates anything; a failure fails the run.
//  - Every failure is shown (naming the project) and logged "Fails" under the archive's name.
//  - Once the archive is in place the counter, the newer-than moment (the moment the run started)
//    and the ring follow it before the log is written, so a refused log costs no bookkeeping.
class BackupRun {
 public:
  explicit BackupRun(MainModel& model) : model_(model) {}
  BackupOutcome Execute();

  // A file or folder the last Execute left out against the user's wish, and why.
  struct Problem {
    std::string path;
    std::string reason;
  };
  const std::vector<Problem>& Skipped() const { return skipped_; }
  const std::vector<Problem>& MissingSources() const { return missing_; }

 private:
  BackupOutcome Write(const std::string& archivePath);
  BackupOutcome Report(const std::string& archivePath);
  std::string Notes(const std::string& separator) const;
  class WriterObserver;

  std::optional<BackupOutcome> MakeRoom(std::string& archivePath);
  void Verify(const std::string& password);
  void AdvanceCounter();
  void Advance(bool complete);
  BackupOutcome Fail(const std::string& archivePath, std::string reason);
  BackupOutcome Stopped(const std::string& archivePath);

  MainModel& model_;
  DateTime started_ = 0;
  std::time_t startedUtc_ = 0;
  std::time_t newerInstant_ = 0;  // files changed before it are passed over (only-newer projects)
  std::string tempPath_;
  std::vector<Problem> skipped_;
  std::vector<Problem> missing_;
  std::vector<std::string> notes_;    // said after the result in the log entry
  std::vector<std::string> special_;  // pipes, sockets and devices met by the walk
  std::vector<std::string> changed_;  // files still changing when read a third time
};

}  // namespace brisko::core
