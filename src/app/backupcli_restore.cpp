// brisko-backup restore: restores one archive into a folder, reports and logs the result.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "app/BackupCli.h"
#include "app/CliInteraction.h"
#include "app/CommandLine.h"
#include "core/InteractionObserver.h"
#include "core/RestoreRun.h"
#include "core/SystemClock.h"
#include "platform/FsPath.h"
#include "zip/names/PrintableText.h"
#include "zip/read/ArchiveDirectory.h"

namespace brisko::app {
namespace {

// Like the command line's usual answers, except that the overwrite question is asked on the
// terminal when the user chose "prompt".
class RestoreInteraction : public CliInteraction {
 public:
  bool AskOverwrite(const std::string& caption, const std::string& text) override {
    return AskOverwriteDuringRestore(caption, text) == core::OverwriteAnswer::Yes;
  }
  core::OverwriteAnswer AskOverwriteDuringRestore(const std::string&, const std::string& text) override {
    using core::OverwriteAnswer;
    for (;;) {
      std::fprintf(
          stderr, "%s [y]es, [n]o, [A]ll, [N]one, [c]ancel: ", zip::PrintableText(Lines(text), true).c_str());
      std::fflush(stderr);
      std::string answer;
      if (!std::getline(std::cin, answer)) {
        std::fprintf(stderr, "\n");
        return OverwriteAnswer::NoToAll;  // no terminal to answer: keep every existing file
      }
      if (answer == "y" || answer == "Y" || answer == "yes") return OverwriteAnswer::Yes;
      if (answer.empty() || answer == "n" || answer == "no") return OverwriteAnswer::No;
      if (answer == "A") return OverwriteAnswer::YesToAll;
      if (answer == "N") return OverwriteAnswer::NoToAll;
      if (answer == "c" || answer == "C") return OverwriteAnswer::Cancel;
    }
  }
};

// The run's messages and questions through RestoreInteraction; progress on a terminal only.
class RestoreReport : public core::InteractionObserver {
 public:
  explicit RestoreReport(RestoreInteraction& ui) : InteractionObserver(ui) {}
  void OnProgress(int percent) override {
    if (!showProgress_ || percent == shown_) return;
    shown_ = percent;
    std::fprintf(stderr, "\r%3d%%", percent);
    if (percent == 0 || percent == 100) std::fprintf(stderr, "\r    \r");
    std::fflush(stderr);
  }

 private:
  const bool showProgress_ = ::isatty(STDERR_FILENO) != 0;
  int shown_ = -1;
};

bool ParseOverwrite(const std::string& text, zip::OverwriteRule& mode) {
  if (text == "prompt")
    mode = zip::OverwriteRule::Prompt;
  else if (text == "always")
    mode = zip::OverwriteRule::Always;
  else if (text == "never")
    mode = zip::OverwriteRule::Never;
  else if (text == "newer")
    mode = zip::OverwriteRule::IfNewer;
  else if (text == "older")
    mode = zip::OverwriteRule::IfOlder;
  else
    return false;
  return true;
}

int CmdRestore(const BackupCliContext& context) {
  core::RestoreSettings settings;
  std::string project;
  bool haveTarget = false;
  CommandLine line;
  line.Value("--to", [&](const std::string& value) {
    settings.destDir = value;
    haveTarget = true;
    return std::string();
  });
  line.Value("--password", settings.password);
  line.Value("--overwrite", [&](const std::string& value) {
    return ParseOverwrite(value, settings.overwriteMode) ? "" : "unknown overwrite rule";
  });
  line.Flag("--flat", [&] { settings.recreateDirs = false; });
  line.Value("--project", project);
  std::vector<std::string> operands;
  if (!line.Parse(context.args, operands).empty()) return kExitUsage;
  for (const std::string& word : operands) {
    if (word.empty() || word[0] == '-') return kExitUsage;
    if (settings.archivePath.empty())
      settings.archivePath = word;
    else
      settings.members.push_back(word);  // a stored name, a folder or a wildcard
  }
  if (settings.archivePath.empty() || !haveTarget || settings.destDir.empty()) return kExitUsage;

  // Full paths, so that the log names the archive wherever the command was started.
  const auto fullPath = [](const std::string& path) {
    return platform::Utf8Of(std::filesystem::absolute(platform::FsPath(path)).lexically_normal());
  };
  settings.archivePath = fullPath(settings.archivePath);
  settings.destDir = fullPath(settings.destDir);
  if (!std::filesystem::is_regular_file(platform::FsPath(settings.archivePath))) {
    std::fprintf(stderr, "Error: no archive %s\n", settings.archivePath.c_str());
    return kExitFailed;
  }

  platform::InstanceLock lock;
  if (!LockDataDir(lock, context.dataDir, "Restore", "")) return kExitLocked;
  settings.itemKind = zip::SelectionItem::Typed;

  RestoreInteraction ui;
  RestoreReport observer(ui);
  core::RestoreRun run(context.dataDir, core::SystemClock::Instance(), observer);
  const core::RestoreOutcome outcome = run.Run(settings, project);
  return outcome.status == core::RestoreStatus::Succeeds ? kExitOk : kExitFailed;
}

const bool registered = RegisterBackupCommand(
    {"restore",
     "restore ARCHIVE --to DIR [--password PW] [--overwrite prompt|always|never|newer|older] [--flat] "
     "[--project NAME] [MEMBER...]",
     &CmdRestore});

}  // namespace
}  // namespace brisko::app
