// One restore of an archive: sets up the extraction, runs it, reports the result and logs it.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/ActivityLog.h"
#include "core/Clock.h"
#include "core/RestoreObserver.h"
#include "zip/extract/MemberSelection.h"
#include "zip/format/ZipTypes.h"
#include "zip/read/ArchiveDirectory.h"

namespace brisko::zip {
struct ExtractOptions;
}  // namespace brisko::zip

namespace brisko::core {

// Captions of the overwrite radio buttons, as the confirmation quotes them.
const char* OverwriteModeCaption(zip::OverwriteRule mode);

struct RestoreSettings {
  std::string archivePath;
  std::string destDir;  // taken as typed
  bool recreateDirs = true;
  zip::OverwriteRule overwriteMode = zip::OverwriteRule::Never;
  std::string password;
  // What to restore: stored names or folders (below which everything is restored), read as `itemKind`
  // says; all of the archive when empty.
  std::vector<std::string> members;
  zip::SelectionItem itemKind = zip::SelectionItem::Exact;
};

// A chosen member that was not restored, or a selection item that matched nothing.
struct MemberFailure {
  std::string name;
  std::string reason;  // "bad CRC", "wrong password", "cannot create: permission denied", "disk full"...
};

enum class RestoreStatus {
  NotRun,  // the archive could not be opened as one (the error was thrown, nothing logged)
  Succeeds,
  Fails,
  Interrupted,  // the user cancelled at an overwrite question; what was restored by then stays
};

struct RestoreOutcome {
  RestoreStatus status = RestoreStatus::NotRun;
  int fileCount = 0;  // files written (folders not counted)
  int chosen = 0;     // file members the selection picked
  int kept = 0;       // files not written because the overwrite rule or the user kept an existing file
  // Files written under another name because, without their folders, an earlier file had theirs:
  // the member's name and the name written.
  std::vector<std::pair<std::string, std::string>> renamed;
  bool badPassword = false;
  bool cancelled = false;
  int badCrc = 0;           // entries whose data did not match their CRC (output deleted)
  int notWritten = 0;       // entries skipped for a reason other than "existing file kept"
  std::string information;  // the log's information text
  std::vector<MemberFailure> failures;
};

// A run reads the archive on its own and reports through its observer only, so that it shares no
// state with whatever lists the archive.
class RestoreRun {
 public:
  // dataDir (with trailing separator) holds the log; clock and observer must outlive the run.
  RestoreRun(const std::string& dataDir, const Clock& clock, RestoreObserver& observer);

  // Restores one archive and reports it under `project`, writing from OnWriting(true) to
  // OnWriting(false) (progress is reset to 0 then). A wrong password shows "The password is
  // incorrect" and ends the run. Once the run has started, its result is shown in the timed message
  // box and logged: "Succeeds" only when every entry was written or deliberately kept (the files kept
  // are counted, and files renamed because their names collided without their folders are named, in
  // the message and the log); a password
  // failure, a CRC failure, a file that could not be written, or an error ending the run give
  // "Restore files fails!" and "Fails"; every member that failed is named with its reason in an error
  // message and in the log's information, which also counts the files restored of those chosen. An error that
  // ended the run is thrown after the report; one that stopped it before it started (not an archive) is
  // thrown without report or log entry.
  RestoreOutcome Run(const RestoreSettings& settings, const std::string& project);

 private:
  class Observer;

  // Sets the extraction's selection and counts the file members it picks; an item that picks nothing
  // is a failure.
  void Select(const RestoreSettings& settings, zip::ExtractOptions& options, RestoreOutcome& outcome);

  zip::ArchiveDirectory archive_;
  RestoreObserver& observer_;
  ActivityLog log_;
};

}  // namespace brisko::core
