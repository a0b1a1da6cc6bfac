// The restore of one archive.
#include "core/RestoreRun.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <exception>
#include <optional>
#include <set>

#include "core/EngineRelay.h"
#include "core/TextUtil.h"
#include "platform/Platform.h"
#include "zip/extract/ExtractJob.h"
#include "zip/format/ZipErrors.h"
#include "zip/names/PrintableText.h"
#include "zip/names/ZipPaths.h"
#include "zip/read/ArchiveDirectory.h"

namespace brisko::core {

namespace {

// Thrown from the password question to end the extraction without a further message.
struct SilentAbort {};
// Thrown from the overwrite question when the user cancels the restore.
struct UserCancel {};

// Why a member was not written, in words; `started` tells whether its target was being prepared
// (otherwise its stored path was refused), `error` is the errno the failing call left.
std::string SkipReasonText(zip::SkipReason reason, bool started, int error) {
  if (reason == zip::SkipReason::BadPassword) return "wrong password";
  if (reason == zip::SkipReason::UnknownMethod) return zip::kMsgUnknownMethod;
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

// Files kept and files renamed, after "N of M files restored".
std::string Notes(const RestoreOutcome& outcome) {
  std::string text;
  if (outcome.kept > 0) text += ", " + std::to_string(outcome.kept) + " existing file(s) kept, not replaced";
  if (!outcome.renamed.empty())
    text += ", " + std::to_string(outcome.renamed.size()) +
            " file(s) renamed because their names collided without their folders, first: " +
            outcome.renamed.front().first + " as " + outcome.renamed.front().second;
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

RestoreRun::RestoreRun(const std::string& dataDir, const Clock& clock, RestoreObserver& observer)
    : observer_(observer), log_(dataDir, clock) {}

// Hears the extraction: counts and names what failed, asks the overwrite question.
class RestoreRun::Observer : public EngineRelay<zip::ExtractObserver> {
 public:
  Observer(RestoreRun& run, RestoreOutcome& outcome)
      : EngineRelay(run.observer_), run_(run), outcome_(outcome) {}

  bool completed = false;  // OnUnZipComplete fired: the run itself took place
  int current = -1;        // the entry being written (OnStartUnZip)

  // Names reach messages and the log escaped: an archive must not write to the user's terminal.
  void Fail(const std::string& name, const std::string& reason) {
    outcome_.failures.push_back({zip::PrintableText(name), zip::PrintableText(reason)});
  }
  std::string EntryName(int index) const {
    return index >= 0 && index < run_.archive_.EntryCount() ? run_.archive_.Entry(index).FullName()
                                                            : std::string();
  }

  std::optional<std::string> OnStartUnZip(int index, const std::string& target) override {
    current = index;
    errno = 0;  // a later "cannot create" takes its reason from the call that failed
    return flatten_ ? UnusedName(index, target) : target;
  }
  void OnEndUnZip(int, const std::string&) override { ++outcome_.fileCount; }
  std::optional<std::string> OnBadPassword(int index) override {
    run_.observer_.OnError("The password is incorrect");
    outcome_.badPassword = true;
    Fail(EntryName(index), "wrong password");
    throw SilentAbort{};
  }
  void OnBadCRC(uint32_t, uint32_t, int index) override {
    ++outcome_.badCrc;
    const bool authenticated =
        index >= 0 && index < run_.archive_.EntryCount() && run_.archive_.Entry(index).HasAuthCode();
    Fail(EntryName(index), authenticated ? "damaged or altered" : "bad CRC");
  }
  void OnSkippingFile(zip::SkipReason reason, const std::string& name, int index) override {
    if (reason == zip::SkipReason::NoOverwrite) {
      ++outcome_.kept;
      return;
    }
    ++outcome_.notWritten;
    Fail(name, SkipReasonText(reason, index == current, errno));
  }
  zip::ExistingFile OnPromptForOverwrite(int, const std::string& fname) override {
    if (!forAll_) {
      switch (run_.observer_.AskOverwrite("Replace existing file " + zip::PrintableText(fname) + "?")) {
        case OverwriteAnswer::Yes:
          return zip::ExistingFile::Replace;
        case OverwriteAnswer::No:
          return zip::ExistingFile::Keep;
        case OverwriteAnswer::YesToAll:
          forAll_ = true;
          break;
        case OverwriteAnswer::NoToAll:
          forAll_ = false;
          break;
        case OverwriteAnswer::Cancel:
          throw UserCancel{};
      }
    }
    return *forAll_ ? zip::ExistingFile::Replace : zip::ExistingFile::Keep;
  }
  void OnUnZipComplete(int) override { completed = true; }
  // Files land in the target folder without their own folders.
  void Flatten() { flatten_ = true; }

 private:
  // The target path itself, or, when this run has written a file of that name already, the name with
  // " (2)", " (3)"... before its extension that neither this run nor an existing file holds.
  std::string UnusedName(int index, const std::string& path) {
    std::string chosen = path;
    if (written_.count(zip::NameKey(path)) != 0) {
      const std::string name = zip::ExtractNamePart(path);
      const std::string folder = path.substr(0, path.size() - name.size());
      const size_t dot = name.find_last_of('.');
      const bool hasExtension = dot != std::string::npos && dot > 0;
      const std::string stem = hasExtension ? name.substr(0, dot) : name;
      const std::string extension = hasExtension ? name.substr(dot) : std::string();
      for (int n = 2;; ++n) {
        chosen = folder + stem + " (" + std::to_string(n) + ")" + extension;
        if (written_.count(zip::NameKey(chosen)) == 0 && !platform::StatFile(chosen, true).exists) break;
      }
      outcome_.renamed.emplace_back(EntryName(index), zip::ExtractNamePart(chosen));
    }
    written_.insert(zip::NameKey(chosen));
    return chosen;
  }

  RestoreRun& run_;
  RestoreOutcome& outcome_;
  bool flatten_ = false;
  std::set<std::string> written_;  // name keys of the targets of this run
  std::optional<bool> forAll_;     // the answer "Yes to all" or "No to all" gave
};

RestoreOutcome RestoreRun::Run(const RestoreSettings& settings, const std::string& project) {
  RestoreOutcome outcome;
  Observer observer(*this, outcome);
  if (!settings.recreateDirs) observer.Flatten();
  const bool& completed = observer.completed;
  auto fail = [&observer](const std::string& name, const std::string& reason) {
    observer.Fail(name, reason);
  };

  archive_.SetZipName(settings.archivePath);
  zip::ExtractOptions options;
  options.destDir = settings.destDir;
  options.recreateDirs = settings.recreateDirs;
  options.overwriteMode = settings.overwriteMode;
  // The overwrite rule has decided by then: a read-only file it lets go is replaced like any other.
  options.replaceReadOnly = true;
  if (!TrimBlanks(settings.password).empty()) options.password = settings.password;

  struct WritingScope {
    RestoreObserver& observer;
    explicit WritingScope(RestoreObserver& o) : observer(o) { observer.OnWriting(true); }
    ~WritingScope() {
      observer.OnProgress(0);
      observer.OnWriting(false);
    }
  } writing(observer_);

  std::exception_ptr error;
  try {
    // The directory first: the selection is counted against it before anything is written.
    archive_.ReadDirectory();
    Select(settings, options, outcome);
    zip::ExtractJob(archive_, std::move(options), &observer).Run();
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
      fail(observer.EntryName(observer.current),
           code == ENOSPC ? std::string("disk full") : std::string(e.what()));
  } catch (...) {
    error = std::current_exception();
  }
  if (!completed && !outcome.badPassword && !outcome.cancelled) {
    // The archive could not be read as one; the run never started.
    if (error) std::rethrow_exception(error);
    return outcome;
  }

  const std::string zipName = archive_.ZipName().empty() ? settings.archivePath : archive_.ZipName();
  const uint64_t kb = platform::StatFile(zipName).size / 1024;
  outcome.information = zipName + "  " + std::to_string(kb) + "Kb  " + std::to_string(outcome.fileCount) +
                        " of " + std::to_string(outcome.chosen) + " files restored";
  const std::string notes = Notes(outcome);
  outcome.information += notes;
  for (const MemberFailure& f : outcome.failures) outcome.information += "; " + f.name + ": " + f.reason;
  if (outcome.cancelled) {
    outcome.status = RestoreStatus::Interrupted;
    outcome.information += "; stopped by the user";
    observer_.OnResult(MessageKind::Information, "Restore stopped: " + std::to_string(outcome.fileCount) +
                                                     " of " + std::to_string(outcome.chosen) +
                                                     " files restored");
    log_.AddLogEntry("Restore", "Interrupt", outcome.information, project);
    observer_.OnLogged();
    return outcome;
  }
  const bool failed = !outcome.failures.empty() || outcome.badPassword || outcome.badCrc > 0 ||
                      outcome.notWritten > 0 || error != nullptr;
  outcome.status = failed ? RestoreStatus::Fails : RestoreStatus::Succeeds;
  if (failed) {
    if (!outcome.failures.empty()) observer_.OnError(FailureList(outcome));
    observer_.OnResult(MessageKind::Error, "Restore files fails!");
    log_.AddLogEntry("Restore", "Fails", outcome.information, project);
  } else {
    observer_.OnResult(MessageKind::Information, "Restore Files Succeeds!\rProject Name: '" + project +
                                                     "'\rFilename:     '" + zip::ExtractNamePart(zipName) +
                                                     "'" + (notes.empty() ? "" : "\r" + notes.substr(2)));
    log_.AddLogEntry("Restore", "Succeeds", outcome.information, project);
  }
  observer_.OnLogged();
  if (error) std::rethrow_exception(error);
  return outcome;
}

void RestoreRun::Select(const RestoreSettings& settings, zip::ExtractOptions& options,
                        RestoreOutcome& outcome) {
  options.doAll = settings.members.empty();
  options.members.clear();
  std::vector<zip::MemberSelector> items;
  for (const std::string& item : settings.members) items.emplace_back(item, settings.itemKind);
  std::vector<bool> itemUsed(items.size(), false);
  for (int i = 0; i < archive_.EntryCount(); ++i) {
    const zip::ZipEntry& entry = archive_.Entry(i);
    bool picked = options.doAll;
    for (size_t k = 0; k < items.size(); ++k) {
      if (items[k].Matches(entry.FullName())) picked = itemUsed[k] = true;
    }
    if (picked && !options.doAll) options.members.push_back(entry.FullName());
    if (picked && !entry.FileName().empty()) ++outcome.chosen;
  }
  for (size_t k = 0; k < itemUsed.size(); ++k)
    if (!itemUsed[k])
      outcome.failures.push_back({zip::PrintableText(settings.members[k]), "not in the archive"});
}

}  // namespace brisko::core
