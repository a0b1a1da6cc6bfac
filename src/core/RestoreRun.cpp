// The restore of one archive.
#include "core/RestoreRun.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <exception>
#include <optional>

#include "core/TextUtil.h"
#include "platform/Platform.h"
#include "zip/ZipErrors.h"
#include "zip/ZipPaths.h"
#include "zip/ZipReader.h"

namespace brisko::core {

namespace {

// Thrown from the password handler to end the extraction without a further message.
struct SilentAbort {};
// Thrown from the overwrite question when the user cancels the restore.
struct UserCancel {};

// Detaches the handlers a run installs on the shared reader, however the run ends.
class ReaderEventsGuard {
 public:
  explicit ReaderEventsGuard(zip::ZipReader& reader) : r_(reader) {}
  ~ReaderEventsGuard() {
    r_.OnTotalPercentDone = nullptr;
    r_.OnStartUnZip = nullptr;
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
  zip::ZipReader& r_;
};

// Why a member was not written, in words; `started` tells whether its target was being prepared
// (otherwise its stored path was refused), `error` is the errno the failing call left.
std::string SkipReasonText(zip::SkipReason reason, bool started, int error) {
  if (reason == zip::SkipReason::BadPassword) return "wrong password";
  if (!started) return "unsafe stored path";
  if (error == ENOSPC) return "disk full";
  if (error == 0) return "cannot create";
  std::string text = std::strerror(error);
  if (!text.empty()) text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
  return "cannot create: " + text;
}

// One line per failed member, for the message after the run.
std::string FailureList(const RestoreOutcome& outcome) {
  std::string text = "Not restored (" + std::to_string(outcome.fileCount) + " of " +
                     std::to_string(outcome.chosen) + " files restored):";
  for (const MemberFailure& f : outcome.failures) text += "\r" + f.name + ": " + f.reason;
  return text;
}

}  // namespace

const char* OverwriteModeCaption(zip::OverwriteRule mode) {
  switch (mode) {
    case zip::OverwriteRule::Prompt:
      return "Prompt Before  Overwrite";
    case zip::OverwriteRule::Always:
      return "Always";
    case zip::OverwriteRule::Never:
      return "Never";
    case zip::OverwriteRule::IfNewer:
      return "If Newer";
    case zip::OverwriteRule::IfOlder:
      return "If Older";
  }
  return "Never";
}

RestoreRun::RestoreRun(zip::ZipReader& reader, UserInteraction& ui, ActivityLog& log)
    : reader_(reader), ui_(ui), log_(log) {}

RestoreOutcome RestoreRun::Run(const RestoreSettings& settings, const std::string& project) {
  RestoreOutcome outcome;
  bool completed = false;  // OnUnZipComplete fired: the run itself took place
  int current = -1;        // the entry being written (OnStartUnZip)

  reader_.SetZipName(settings.archivePath);  // an unchanged name keeps the loaded directory
  reader_.SetDestDir(settings.destDir);
  reader_.RecreateDirs = settings.recreateDirs;
  reader_.OverwriteMode = settings.overwriteMode;
  // The overwrite rule has decided by then: a read-only file it lets go is replaced like any other.
  reader_.ReplaceReadOnly = true;
  if (!TrimBlanks(settings.password).empty()) reader_.Password = settings.password;

  ReaderEventsGuard guard(reader_);
  auto fail = [&outcome](const std::string& name, const std::string& reason) {
    outcome.failures.push_back({name, reason});
  };
  auto entryName = [this](int index) {
    return index >= 0 && index < reader_.EntryCount() ? reader_.Entry(index).FullName() : std::string();
  };
  reader_.OnTotalPercentDone = [this](zip::ZipReader&, int percent) {
    if (onProgress) onProgress(percent);
  };
  reader_.OnStartUnZip = [&current](zip::ZipReader&, int index, std::string&, bool&) {
    current = index;
    errno = 0;  // a later "cannot create" takes its reason from the call that failed
  };
  reader_.OnBadPassword = [this, &outcome, fail, entryName](zip::ZipReader&, int index, std::string&) {
    ui_.ShowMessage(MessageKind::Error, "The password is incorrect");
    outcome.badPassword = true;
    fail(entryName(index), "wrong password");
    throw SilentAbort{};
  };
  reader_.OnBadCRC = [this, &outcome, fail, entryName](zip::ZipReader&, uint32_t, uint32_t, int index) {
    ++outcome.badCrc;
    const bool authenticated = index >= 0 && index < reader_.EntryCount() && reader_.Entry(index).HasAuthCode();
    fail(entryName(index), authenticated ? "damaged or altered" : "bad CRC");
  };
  reader_.OnSkippingFile = [&outcome, &current, fail](zip::ZipReader&, zip::SkipReason reason,
                                                      const std::string& name, int index, bool&) {
    if (reason == zip::SkipReason::NoOverwrite) return;
    ++outcome.notWritten;
    fail(name, SkipReasonText(reason, index == current, errno));
  };
  std::optional<bool> forAll;  // the answer "Yes to all" or "No to all" gave
  reader_.OnPromptForOverwrite = [this, &forAll](zip::ZipReader&, bool& overwrite, int, std::string& fname) {
    if (forAll) {
      overwrite = *forAll;
      return;
    }
    switch (ui_.AskOverwriteDuringRestore("File Exists Alert", "Replace existing file " + fname + "?")) {
      case OverwriteAnswer::Yes:
        overwrite = true;
        break;
      case OverwriteAnswer::No:
        overwrite = false;
        break;
      case OverwriteAnswer::YesToAll:
        overwrite = *(forAll = true);
        break;
      case OverwriteAnswer::NoToAll:
        overwrite = *(forAll = false);
        break;
      case OverwriteAnswer::Cancel:
        throw UserCancel{};
    }
  };
  reader_.OnMessageBox = [this, &outcome, &current, fail, entryName](
                             const std::string&, const std::string& text, zip::MessageButtons buttons) {
    if (buttons == zip::MessageButtons::Ok) {
      ++outcome.engineMessages;  // the engine only shows OK boxes for errors
      fail(entryName(current), text);
      ui_.ShowMessage(MessageKind::Error, text);
      return true;
    }
    return ui_.Confirm(MessageKind::Warning, text);
  };
  reader_.OnUnZipComplete = [&outcome, &completed](zip::ZipReader&, int fileCount) {
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
    // The directory first: the selection is counted against it before anything is written.
    reader_.ReadDirectory();
    Select(settings, outcome);
    reader_.Extract();
  } catch (const SilentAbort&) {
    // the password handler has told the user already
  } catch (const UserCancel&) {
    outcome.cancelled = true;
  } catch (const zip::CanceledError&) {
    // Stopped by the user while data was written; before the run began it is an error like any other.
    if (completed) {
      outcome.cancelled = true;
    } else {
      error = std::current_exception();
    }
  } catch (const std::exception& e) {
    const int code = errno;
    error = std::current_exception();
    if (completed)
      fail(entryName(current), code == ENOSPC ? std::string("disk full") : std::string(e.what()));
  } catch (...) {
    error = std::current_exception();
  }
  if (!completed && !outcome.badPassword && !outcome.cancelled) {
    // The archive could not be read as one; the run never started.
    reader_.FilesList.clear();
    if (error) std::rethrow_exception(error);
    return outcome;
  }

  const std::string zipName = reader_.ZipName().empty() ? settings.archivePath : reader_.ZipName();
  const uint64_t kb = platform::StatFile(zipName).size / 1024;
  outcome.information = zipName + "  " + std::to_string(kb) + "Kb  " + std::to_string(outcome.fileCount) +
                        " of " + std::to_string(outcome.chosen) + " files restored";
  for (const MemberFailure& f : outcome.failures) outcome.information += "; " + f.name + ": " + f.reason;
  if (outcome.cancelled) {
    outcome.status = RestoreStatus::Interrupted;
    outcome.information += "; stopped by the user";
    ui_.ShowTimedMessage(MessageKind::Information, "",
                         "Restore stopped: " + std::to_string(outcome.fileCount) + " of " +
                             std::to_string(outcome.chosen) + " files restored",
                         4);
    log_.AddLogEntry("Restore", "Interrupt", outcome.information, project);
    if (onLogged) onLogged();
    return outcome;
  }
  const bool failed = !outcome.failures.empty() || outcome.badPassword || outcome.badCrc > 0 ||
                      outcome.notWritten > 0 || outcome.engineMessages > 0 || error != nullptr;
  outcome.status = failed ? RestoreStatus::Fails : RestoreStatus::Succeeds;
  if (failed) {
    if (!outcome.failures.empty()) ui_.ShowMessage(MessageKind::Error, FailureList(outcome));
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

void RestoreRun::Select(const RestoreSettings& settings, RestoreOutcome& outcome) {
  reader_.DoAll = settings.members.empty();
  reader_.FilesList.clear();
  std::vector<std::vector<std::string>> itemPatterns;
  for (const std::string& item : settings.members) {
    itemPatterns.push_back(zip::SelectionPatterns(item, settings.itemKind));
    reader_.FilesList.insert(reader_.FilesList.end(), itemPatterns.back().begin(), itemPatterns.back().end());
  }
  std::vector<bool> itemUsed(itemPatterns.size(), false);
  for (int i = 0; i < reader_.EntryCount(); ++i) {
    const zip::ZipEntry& entry = reader_.Entry(i);
    bool picked = reader_.DoAll;
    for (size_t k = 0; k < itemPatterns.size(); ++k) {
      if (zip::MatchesAnyPattern(itemPatterns[k], entry.FullName())) picked = itemUsed[k] = true;
    }
    if (picked && !entry.FileName().empty()) ++outcome.chosen;
  }
  for (size_t k = 0; k < itemUsed.size(); ++k)
    if (!itemUsed[k]) outcome.failures.push_back({settings.members[k], "not in the archive"});
}

}  // namespace brisko::core
