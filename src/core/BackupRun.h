// One backup run of a project: checks, archive name, writer, report, log, rotation, advance.
#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "core/ActivityLog.h"
#include "core/BackupOutcome.h"
#include "core/BackupRequest.h"
#include "core/Clock.h"
#include "core/DateTimeValue.h"
#include "core/RunObserver.h"
#include "platform/Platform.h"

namespace brisko::core {

// Messages of the four checks of a project, in the order the window makes them.
inline constexpr const char* kMsgNoFileName = "Please enter the backup filename";
inline constexpr const char* kMsgNoPrefix = "Please enter the prefix of backup filename";
inline constexpr const char* kMsgPasswordMismatch = "Confirm password is not matching";
inline constexpr const char* kMsgNoFiles = "Please select files to backup";

// The message of the first check a stored project fails (prefix, files), or nullopt. The name field
// and the password confirmation exist only in the window, which checks them too.
std::optional<std::string> FirstFailedCheck(const Project& project);

// True when the file exists and its last-write and (POSIX) status-change times are both earlier than
// `moment` (seconds since the Unix epoch). A missing file gives false, so it is not passed over.
bool IsOlderThanThreshold(const platform::FileStat& status, std::time_t moment);

// The file's size in bytes divided by 1024, the remainder dropped. Throws std::runtime_error when
// the file cannot be opened.
int64_t ArchiveSizeKb(const std::string& path);

// One run on its own copy of a project; it touches nothing but the files, and reports through its
// observer (results, errors, progress, log entries) and asks it whether to stop. The new archive is written
// under a temporary name in the destination folder, readable by its owner only, and put in place only when
// complete, so a failed run never costs the archive it would have replaced.
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
  // dataDir ends with the separator; clock and observer must outlive the run.
  BackupRun(std::string dataDir, const Clock& clock, RunObserver& observer);

  // Runs the request's project without asking anything (a confirmation is its caller's).
  BackupOutcome Execute(BackupRequest request);
  // Refuses to run the named project for a failed check: the message is shown and logged "Fails".
  BackupOutcome Refuse(const std::string& projectName, const std::string& message);
  // The project as the last Execute left it: the counter and the newer-than moment moved on as stored.
  const Project& Ran() const { return request_.project; }

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
  std::string ArchivePath() const;
  void AdvanceCounter();
  void Advance(bool complete);
  // Logs the run's result and remembers it as the project's last backup (`detail`: what the
  // last-backup line says after the result, e.g. "verified" or the reason of a failure).
  void AddLogEntry(const std::string& status, const std::string& information, const std::string& detail);
  BackupOutcome Fail(const std::string& archivePath, std::string reason);
  BackupOutcome Stopped(const std::string& archivePath);

  std::string dataDir_;
  const Clock& clock_;
  RunObserver& observer_;
  ActivityLog log_;
  BackupRequest request_;
  DateTime started_ = 0;
  std::time_t startedUtc_ = 0;
  DateTime newerMoment_ = 0;      // the newer-than moment of an only-newer run
  std::time_t newerInstant_ = 0;  // files changed before it are passed over (only-newer projects)
  std::string tempPath_;
  std::vector<Problem> skipped_;
  std::vector<Problem> missing_;
  std::vector<std::string> notes_;    // said after the result in the log entry
  std::vector<std::string> special_;  // pipes, sockets and devices met by the walk
  std::vector<std::string> changed_;  // files still changing when read a third time
};

// Backs up the stored project listed under `listedName` with the settings given, without asking.
BackupOutcome BackUpStoredProject(const std::string& dataDir, const Clock& clock,
                                  const GlobalSettings& settings, const std::string& listedName,
                                  RunObserver& observer);

}  // namespace brisko::core
