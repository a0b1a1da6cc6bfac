// The restore of one archive.
#include "core/RestoreRun.h"

#include <exception>

#include "core/TextUtil.h"
#include "platform/Platform.h"
#include "zip/ZipExceptions.h"
#include "zip/ZipPaths.h"
#include "zip/ZipReader.h"

namespace brisko::core {

namespace {

// Thrown from the password handler to end the extraction without a further message.
struct SilentAbort {};

// Detaches the handlers a run installs on the shared reader, however the run ends.
class ReaderEventsGuard {
 public:
  explicit ReaderEventsGuard(zip::TZipReader& reader) : r_(reader) {}
  ~ReaderEventsGuard() {
    r_.OnTotalPercentDone = nullptr;
    r_.OnBadPassword = nullptr;
    r_.OnUnZipComplete = nullptr;
    r_.OnBadCRC = nullptr;
    r_.OnSkippingFile = nullptr;
    r_.OnPromptForOverwrite = nullptr;
    r_.OnMessageBox = nullptr;
    r_.OnProcessMessages = nullptr;
  }
  ReaderEventsGuard(const ReaderEventsGuard&) = delete;
  ReaderEventsGuard& operator=(const ReaderEventsGuard&) = delete;

 private:
  zip::TZipReader& r_;
};

}  // namespace

const char* OverwriteModeCaption(zip::TUZOverwriteMode mode) {
  switch (mode) {
    case zip::TUZOverwriteMode::Prompt: return "Prompt Before  Overwrite";
    case zip::TUZOverwriteMode::Always: return "Always";
    case zip::TUZOverwriteMode::Never: return "Never";
    case zip::TUZOverwriteMode::ifNewer: return "If Newer";
    case zip::TUZOverwriteMode::ifOlder: return "If Older";
  }
  return "Never";
}

RestoreRun::RestoreRun(zip::TZipReader& reader, UserInteraction& ui, ActivityLog& log)
    : reader_(reader), ui_(ui), log_(log) {}

RestoreOutcome RestoreRun::Run(const RestoreSettings& settings, const std::string& project) {
  RestoreOutcome outcome;
  bool completed = false;  // OnUnZipComplete fired: the run itself took place

  reader_.SetZipName(settings.archivePath);  // an unchanged name keeps the loaded directory
  reader_.SetDestDir(settings.destDir);
  reader_.RecreateDirs = settings.recreateDirs;
  reader_.DoAll = true;
  reader_.OverwriteMode = settings.overwriteMode;
  if (!TrimBlanks(settings.password).empty()) reader_.Password = settings.password;

  ReaderEventsGuard guard(reader_);
  reader_.OnTotalPercentDone = [this](zip::TZipReader&, int percent) {
    if (onProgress) onProgress(percent);
  };
  reader_.OnBadPassword = [this, &outcome](zip::TZipReader&, int, std::string&) {
    ui_.ShowMessage(MessageKind::Error, "The password is incorrect");
    outcome.badPassword = true;
    throw SilentAbort{};
  };
  reader_.OnBadCRC = [&outcome](zip::TZipReader&, uint32_t, uint32_t, int) { ++outcome.badCrc; };
  reader_.OnSkippingFile = [&outcome](zip::TZipReader&, zip::TSkipReason reason, const std::string&, int, bool&) {
    if (reason != zip::TSkipReason::srNoOverwrite) ++outcome.notWritten;
  };
  reader_.OnPromptForOverwrite = [this](zip::TZipReader& r, bool& overwrite, int index, std::string& fname) {
    overwrite = ui_.AskOverwrite("File Exists Alert", "Replace existing file " + zip::ExtractNamePart(fname) + "?");
    (void)r;
    (void)index;
  };
  reader_.OnMessageBox = [this, &outcome](const std::string&, const std::string& text, zip::TMessageButtons buttons) {
    if (buttons == zip::TMessageButtons::mbOK) {
      ++outcome.engineMessages;  // the engine only shows OK boxes for errors
      ui_.ShowMessage(MessageKind::Error, text);
      return true;
    }
    return ui_.Confirm(MessageKind::Warning, text);
  };
  reader_.OnUnZipComplete = [&outcome, &completed](zip::TZipReader&, int fileCount) {
    outcome.fileCount = fileCount;
    completed = true;
  };
  if (processEvents) reader_.OnProcessMessages = processEvents;

  struct BusyScope {
    RestoreRun& run;
    explicit BusyScope(RestoreRun& r) : run(r) {
      if (run.onBusy) run.onBusy(true);
    }
    ~BusyScope() {
      if (run.onProgress) run.onProgress(0);
      if (run.onBusy) run.onBusy(false);
    }
  } busy(*this);

  std::exception_ptr error;
  try {
    reader_.Extract();
  } catch (const SilentAbort&) {
    // the password handler has told the user already
  } catch (...) {
    error = std::current_exception();
  }
  if (!completed && !outcome.badPassword) {
    // The archive could not be read as one; the run never started.
    if (error) std::rethrow_exception(error);
    return outcome;
  }

  const std::string zipName = reader_.ZipName().empty() ? settings.archivePath : reader_.ZipName();
  const uint64_t kb = platform::StatFile(zipName).size / 1024;
  outcome.information = zipName + "  " + std::to_string(kb) + "Kb";
  const bool failed = outcome.badPassword || outcome.badCrc > 0 || outcome.notWritten > 0 ||
                      outcome.engineMessages > 0 || error != nullptr;
  outcome.status = failed ? RestoreStatus::Fails : RestoreStatus::Succeeds;
  if (failed) {
    ui_.ShowTimedMessage(MessageKind::Error, "", "Restore files fails!", 4);
    log_.AddLogEntry("Restore", "Fails", outcome.information, project);
  } else {
    ui_.ShowTimedMessage(MessageKind::Information, "",
                         "Restore Files Succeeds!\rProject Name: '" + project + "'\rFilename:     '" +
                             zip::ExtractNamePart(zipName) + "'",
                         4);
    log_.AddLogEntry("Restore", "Succeeds", outcome.information, project);
  }
  if (onLogged) onLogged();
  if (error) std::rethrow_exception(error);
  return outcome;
}

}  // namespace brisko::core
