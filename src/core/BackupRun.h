// The backup run of the project shown: checks, archive name, writer, report, log, rotation, advance.
#pragma once

#include <cstdint>
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

// True when the file exists and its last-write time, in local time, is earlier than `moment`
// (compared to the second). A missing file gives false, so it is not passed over.
bool IsOlderThanThreshold(const std::string& path, DateTime moment);

// The file's size in bytes divided by 1024, the remainder dropped. Throws std::runtime_error when
// the file cannot be opened.
int64_t ArchiveSizeKb(const std::string& path);

// A name beside `archivePath` (same folder) that no file has yet, for writing the new archive before
// it replaces an old one.
std::string TemporaryArchiveName(const std::string& archivePath);

// One run of RunBackup on a model. The new archive is written under a temporary name in the
// destination folder and put in place only when complete, so a failed run never costs the archive
// it would have replaced. Files that could not be read make the run "Fails" (archive kept and
// rotated, newer-than moment not advanced, so the next run tries those files again).
class BackupRun {
 public:
  explicit BackupRun(MainModel& model) : model_(model) {}
  BackupOutcome Execute();

  // The files the last Execute could not read.
  const std::vector<std::string>& UnreadFiles() const { return unread_; }

 private:
  BackupOutcome Write(const std::string& archivePath);
  void Finish(bool complete);

  MainModel& model_;
  std::vector<std::string> unread_;
};

}  // namespace brisko::core
