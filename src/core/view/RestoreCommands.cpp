// Restore, delete, copy and open of the listed archives.
#include "core/view/RestoreCommands.h"

#include <algorithm>
#include <filesystem>

#include "core/ArchiveFileCopy.h"
#include "core/EngineRelay.h"
#include "core/TextUtil.h"
#include "core/view/MainModel.h"
#include "core/view/ModelRunObserver.h"
#include "platform/FsPath.h"
#include "platform/OpenDocument.h"
#include "platform/PathRules.h"
#include "platform/Platform.h"
#include "zip/extract/ArchiveCheck.h"
#include "zip/extract/MemberSelection.h"
#include "zip/format/ZipErrors.h"
#include "zip/read/ArchiveDirectory.h"

namespace brisko::core {

RestoreCommands::RestoreCommands(MainModel& model, ArchiveBrowser& browser, zip::ArchiveDirectory& archive)
    : openDocument(&platform::OpenDocument), model_(model), browser_(browser), archive_(archive) {}

std::string RestoreCommands::ConfirmationText(const std::string& name, int replaced) const {
  std::string text = "Do you want to restore the file '" + name + "'?\r" + "Extract to:          '" +
                     TrimBlanks(browser_.DirectoryRestore()) + "'\r" + "Use original folder: '" +
                     (options.useOriginalFolder ? "Yes" : "No") + "'\r" + "Overwrite Mode:      '" +
                     OverwriteModeCaption(options.overwriteMode) + "'";
  if (!selection.empty())
    text += "\rRestore only:        '" + std::to_string(selection.size()) + " selected item(s)'";
  if (replaced > 0)
    text += "\r\r" + std::to_string(replaced) +
            " existing file(s) there may be replaced by the archive's copies.";
  return text;
}

int RestoreCommands::CountReplaced(const std::string& archive) {
  if (options.overwriteMode == zip::OverwriteRule::Never) return 0;
  std::vector<zip::MemberSelector> items;
  for (const std::string& item : selection) items.emplace_back(item, zip::SelectionItem::Exact);
  std::string base = TrimBlanks(browser_.DirectoryRestore());
  if (base.empty() || base.back() != platform::kPathDelim) base += platform::kPathDelim;
  int count = 0;
  try {
    archive_.SetZipName(archive);
    archive_.ReadDirectory();
    for (int i = 0; i < archive_.EntryCount(); ++i) {
      const zip::ZipEntry& entry = archive_.Entry(i);
      if (entry.FileName().empty()) continue;
      if (!items.empty() && std::none_of(items.begin(), items.end(), [&](const zip::MemberSelector& item) {
            return item.Matches(entry.FullName());
          }))
        continue;
      std::string rel = options.useOriginalFolder ? entry.FullName() : entry.FileName();
      rel.erase(0, rel.find_first_not_of('/'));  // stored full paths land below the target too
      if (platform::StatFile(base + rel).exists) ++count;
    }
  } catch (const std::exception&) {
    return 0;  // the restore itself reports an archive it cannot read
  }
  return count;
}

RestoreOutcome RestoreCommands::Restore() {
  const std::string name = browser_.CurrentName();
  if (name.empty()) {
    model_.Ui().ShowMessage(MessageKind::Information, "No Zip file to restore!");
    return {};
  }
  if (TrimBlanks(browser_.DirectoryRestore()).empty()) {
    model_.Ui().ShowMessage(MessageKind::Warning,
                            "Please choose the folder to restore into (\"Extract to:\") first.");
    return {};
  }
  browser_.TrimDirectoryView();
  const std::string archive = browser_.ArchivePath(name);
  if (!model_.Ui().Confirm(MessageKind::Warning, ConfirmationText(name, CountReplaced(archive)))) return {};

  RestoreSettings settings;
  settings.archivePath = archive;
  settings.destDir = browser_.DirectoryRestore();
  settings.recreateDirs = options.useOriginalFolder;
  settings.overwriteMode = options.overwriteMode;
  // A blank password keeps the one of an earlier restore.
  if (!TrimBlanks(options.password).empty()) password_ = options.password;
  settings.password = password_;
  settings.members = selection;
  settings.itemKind = zip::SelectionItem::Exact;

  model_.ClearStopRequest();
  ModelRunObserver observer(model_);
  return RestoreRun(model_.DataDir(), model_.GetClock(), observer).Run(settings, model_.SelectedName());
}

bool RestoreCommands::TestCurrent() {
  const std::string name = browser_.CurrentName();
  if (name.empty()) {
    model_.Ui().ShowMessage(MessageKind::Information, "No Zip file to test!");
    return false;
  }
  browser_.TrimDirectoryView();
  const std::string archive = browser_.ArchivePath(name);
  ModelRunObserver run(model_);
  EngineRelay<zip::ArchiveObserver> observer(run);
  zip::ArchiveCheck check;
  model_.ClearStopRequest();
  model_.SetBusy(true);
  struct Idle {
    MainModel& model;
    ~Idle() {
      model.SetBusy(false);
      model.SetProgress(0);
    }
  } idle{model_};
  try {
    check = zip::CheckArchive(archive, options.password, &observer);
  } catch (const zip::CanceledError&) {
    model_.Ui().ShowMessage(MessageKind::Information, "Test of '" + name + "' stopped.");
    return false;
  }
  if (check.Ok()) {
    model_.Ui().ShowMessage(
        MessageKind::Information,
        "Test of '" + name + "' passed: " + std::to_string(check.members) + " member(s) verified");
    return true;
  }
  model_.Ui().ShowMessage(MessageKind::Error, "Test of '" + name + "' failed: " + check.Summary());
  return false;
}

void RestoreCommands::DeleteSelected() {
  if (!browser_.HasArchives()) return;
  const int first = browser_.SelectionFirst() < 0 ? browser_.CurrentRow() : browser_.SelectionFirst();
  const int last = browser_.SelectionLast() < 0 ? browser_.CurrentRow() : browser_.SelectionLast();
  if (first < 0) return;
  const int n = last - first + 1;
  browser_.TrimDirectoryView();
  std::string question = "Do you want to delete the " + std::to_string(n) + " files ";
  constexpr int kNamesShown = 10;
  for (int row = first; row <= last && row < first + kNamesShown; ++row)
    question += "\r" + browser_.Archives()[static_cast<size_t>(row)].name;
  if (n > kNamesShown) question += "\r... and " + std::to_string(n - kNamesShown) + " more";
  if (model_.Ui().Confirm(MessageKind::Warning, question)) {
    for (int row = first; row <= last; ++row) {
      std::error_code ec;  // a file that cannot be deleted is passed over
      std::filesystem::remove(
          platform::FsPath(browser_.ArchivePath(browser_.Archives()[static_cast<size_t>(row)].name)), ec);
    }
  }
  browser_.Refresh();
}

bool RestoreCommands::CopyCurrent() {
  const std::string name = browser_.CurrentName();
  if (name.empty()) return false;
  const std::string source = browser_.ArchivePath(name);
  auto folder = model_.Ui().PickFolder("Copy '" + name + "' to destination folder", platform::HomeDir());
  if (!folder) return false;
  const std::string target = platform::IncludeTrailingDelim(*folder) + name;
  if (platform::StatFile(target).exists &&
      !model_.Ui().AskOverwrite("Warning", "File already exists! Do you want to overwrite?"))
    return false;
  return CopyArchiveFile(source, target);
}

bool RestoreCommands::OpenCurrent() {
  const std::string name = browser_.CurrentName();
  if (name.empty() || !openDocument) return false;
  return openDocument(browser_.ArchivePath(name));
}

}  // namespace brisko::core
