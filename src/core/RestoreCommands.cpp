// Restore, delete, copy and open of the listed archives.
#include "core/RestoreCommands.h"

#include <filesystem>

#include "core/ArchiveFileCopy.h"
#include "core/MainModel.h"
#include "core/TextUtil.h"
#include "platform/OpenDocument.h"
#include "platform/Platform.h"
#include "zip/ZipReader.h"

namespace brisko::core {

RestoreCommands::RestoreCommands(MainModel& model, ArchiveBrowser& browser, zip::TZipReader& reader)
    : openDocument(&platform::OpenDocument), model_(model), browser_(browser), reader_(reader) {}

std::string RestoreCommands::ConfirmationText(const std::string& name) const {
  return "Do you want to restore the file '" + name + "'?\r" + "Extract to:          '" +
         TrimBlanks(browser_.DirectoryRestore()) + "'\r" + "Use original folder: '" +
         (Options.useOriginalFolder ? "Yes" : "No") + "'\r" + "Overwrite Mode:      '" +
         OverwriteModeCaption(Options.overwriteMode) + "'";
}

RestoreOutcome RestoreCommands::Restore() {
  const std::string name = browser_.CurrentName();
  if (name.empty()) {
    model_.Ui().ShowMessage(MessageKind::Information, "No Zip file to restore!");
    return {};
  }
  browser_.TrimDirectoryView();
  const std::string archive = browser_.ArchivePath(name);
  if (!model_.Ui().Confirm(MessageKind::Warning, ConfirmationText(name))) return {};

  RestoreSettings settings;
  settings.archivePath = archive;
  settings.destDir = browser_.DirectoryRestore();
  settings.recreateDirs = Options.useOriginalFolder;
  settings.overwriteMode = Options.overwriteMode;
  settings.password = Options.password;

  RestoreRun run(reader_, model_.Ui(), model_.Log());
  run.onBusy = [this](bool busy) { model_.SetBusy(busy); };
  run.onProgress = [this](int percent) { model_.SetProgress(percent); };
  run.processEvents = model_.processEvents;
  run.onLogged = [this] { model_.Notify(ModelChange::Log); };
  return run.Run(settings, model_.SelectedName());
}

void RestoreCommands::DeleteSelected() {
  if (!browser_.HasArchives()) return;
  const int first = browser_.SelectionFirst() < 0 ? browser_.CurrentRow() : browser_.SelectionFirst();
  const int last = browser_.SelectionLast() < 0 ? browser_.CurrentRow() : browser_.SelectionLast();
  if (first < 0) return;
  const int n = last - first + 1;
  browser_.TrimDirectoryView();
  if (model_.Ui().Confirm(MessageKind::Warning, "Do you want to delete the " + std::to_string(n) + " files ")) {
    for (int row = first; row <= last; ++row) {
      std::error_code ec;  // a file that cannot be deleted is passed over
      std::filesystem::remove(browser_.ArchivePath(browser_.Archives()[static_cast<size_t>(row)].name), ec);
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
  std::string target = *folder;
  if (target.empty() || target.back() != platform::PathDelim) target += platform::PathDelim;
  target += name;
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
