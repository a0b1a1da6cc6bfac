// The Restore tab's commands on the listed archives: restore, delete, copy and open.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/RestoreRun.h"
#include "core/view/ArchiveBrowser.h"
#include "zip/format/ZipTypes.h"

namespace brisko::zip {
class ArchiveDirectory;
}

namespace brisko::core {

class MainModel;

// The "Options" group of the Restore tab (the target folder is the browser's DirectoryRestore).
struct RestoreOptions {
  bool useOriginalFolder = true;  // "Use Original Folder Name"
  std::string password;           // "Input Password ( If has ):"
  zip::OverwriteRule overwriteMode = zip::OverwriteRule::Never;
};

class RestoreCommands {
 public:
  // model gives the busy state, progress, the log, the project selector and the questions.
  RestoreCommands(MainModel& model, ArchiveBrowser& browser, zip::ArchiveDirectory& archive);

  RestoreOptions options;
  // Stored names chosen in the contents (a folder ends in "/" and stands for everything below it);
  // empty: the whole archive.
  std::vector<std::string> selection;

  // The confirmation text of a restore of archive `name` with the current options; `replaced` is the
  // number of existing files the restore may replace.
  std::string ConfirmationText(const std::string& name, int replaced = 0) const;

  // "Restore File": restores the selection of the current row's archive after the confirmation
  // question. A blank "Extract to:" is refused. Errors of the engine are thrown after the result has
  // been reported (see RestoreRun).
  RestoreOutcome Restore();

  // "Delete Zip Files Selected...": asks (naming the archives), deletes the selected rows' files, lists
  // the folder again.
  void DeleteSelected();

  // "Copy the Zip File to...": asks for a folder, asks before replacing a file there, copies.
  // True when a copy was made.
  bool CopyCurrent();

  // "Test Zip File": reads the current row's archive back and checks every member (CRC and, for AES,
  // the authentication code) with the restore password, then reports the result. True when it passed.
  bool TestCurrent();

  // Opens the current row's archive with its associated program; false when there is none or the
  // desktop could not start one.
  bool OpenCurrent();

  // The password restores use: the last one typed that was not blank.
  const std::string& Password() const { return password_; }

  // How documents are opened (the platform's opener unless a test replaces it).
  std::function<bool(const std::string& path)> openDocument;

 private:
  // How many existing files a restore of `archive` with the current options and selection may
  // replace (0 when the rule is "Never" or the archive cannot be read).
  int CountReplaced(const std::string& archive);

  MainModel& model_;
  ArchiveBrowser& browser_;
  zip::ArchiveDirectory& archive_;
  std::string password_;
};

}  // namespace brisko::core
