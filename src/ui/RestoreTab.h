// The "Restore" tab: a folder of archives, the contents of the selected one, and the restore options.
#pragma once

#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "core/view/ArchiveBrowser.h"
#include "core/view/RestoreCommands.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QRadioButton;
class QTableView;
class QTableWidget;

namespace brisko::zip {
class ArchiveDirectory;
}
namespace brisko::core {
class MainModel;
}

namespace brisko::ui {

class ArchiveContentsModel;

class RestoreTab : public QWidget {
  Q_OBJECT
 public:
  RestoreTab(core::MainModel& model, QWidget* parent = nullptr);
  ~RestoreTab() override;

  // The tab became the active page: browse the project's folder and propose a restore target.
  void Enter();
  // Lists the folder again (after a backup while this tab is shown).
  void Refresh();
  // "Restore File".
  void Restore();

  core::ArchiveBrowser& Browser() { return *browser_; }
  core::RestoreCommands& Commands() { return *commands_; }
  QTableWidget* ArchiveGrid() const { return archives_; }
  QTableView* ContentsGrid() const { return contents_; }
  // The stored names of the members selected in the contents (empty: the whole archive).
  std::vector<std::string> SelectedMembers() const;
  // Builds the archive list's popup menu as it would open now.
  QMenu* BuildPopupMenu();

 private:
  void Sync();
  void ReadOptions();
  void OnSelectionChanged();
  void PickFolder(bool restoreTarget);

  core::MainModel& model_;
  std::unique_ptr<zip::ArchiveDirectory> archive_;
  std::unique_ptr<core::ArchiveBrowser> browser_;
  std::unique_ptr<core::RestoreCommands> commands_;
  bool syncing_ = false;

  QLineEdit* directoryView_;
  QTableWidget* archives_;
  QLabel* zipCount_;
  QTableView* contents_;
  ArchiveContentsModel* contentsModel_;
  QLineEdit* filter_;
  int shownListing_ = -1;
  QLabel* fileCount_;
  QLineEdit* directoryRestore_;
  QCheckBox* useFolder_;
  QLineEdit* password_;
  QRadioButton* radios_[5];
  QMenu* popup_ = nullptr;
};

}  // namespace brisko::ui
