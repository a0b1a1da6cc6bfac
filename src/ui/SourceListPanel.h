// One backup or exclude list with its six buttons; serves the main window and the wizard.
#pragma once

#include <QWidget>
#include <string>

class QListWidget;
class QToolButton;

namespace brisko::core {
class SourceList;
class UserInteraction;
}  // namespace brisko::core

namespace brisko::ui {

class SourceListPanel : public QWidget {
  Q_OBJECT
 public:
  // `name` prefixes the object names of the list and its buttons (e.g. "ListboxBackup").
  // dataDir holds the remembered wildcards offered by the wildcard dialog.
  SourceListPanel(const QString& name, core::SourceList& list, core::UserInteraction& ui, std::string dataDir,
                  QWidget* parent = nullptr);

  // Shows the list's entries and selection again (after the list changed outside the panel).
  void Refresh();
  // Rebinds the panel to another list object.
  void SetList(core::SourceList& list);
  QListWidget* ListWidget() const { return view_; }

 signals:
  // The entries changed through one of the buttons.
  void changed();

 private:
  QToolButton* AddButton(const char* role, const char* icon, const QString& tooltip);
  void AddByWildcard();
  void AddByFileName();
  void MoveUp();
  void MoveDown();
  void DeleteSelected();
  void DeleteAll();
  void AfterChange();

  core::SourceList* list_;
  core::UserInteraction& ui_;
  std::string dataDir_;
  QListWidget* view_;
  bool refreshing_ = false;
};

}  // namespace brisko::ui
