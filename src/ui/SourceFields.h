// What a project backs up: the backup list with its buttons, "include subfolders" and the newer-than
// moment. One widget for the Backup tab's "Source" group and the wizard's source page.
#pragma once

#include <QString>
#include <QWidget>
#include <string>

#include "core/UserInteraction.h"
#include "core/view/ProjectForm.h"
#include "core/view/SourceList.h"

class QCheckBox;
class QDateEdit;
class QTimeEdit;

namespace brisko::ui {

class SourceListPanel;

class SourceFields : public QWidget {
  Q_OBJECT
 public:
  // The check boxes' captions, as each place words them.
  struct Captions {
    QString subfolders;
    QString onlyNewer;
    QString useLast;
  };
  // `backupList` is the list the panel edits; it must outlive the widget.
  SourceFields(const Captions& captions, core::SourceList& backupList, core::UserInteraction& ui,
               const std::string& dataDir, QWidget* parent = nullptr);

  // Shows the form's switches and moment without emitting a signal (not the list: the panel
  // shows its SourceList); the pickers and "use last" follow the switches.
  void Show(const core::ProjectForm& form);
  // Copies the switches and the moment into the form.
  void Store(core::ProjectForm& form) const;
  SourceListPanel* BackupPanel() const { return backupPanel_; }

 signals:
  // The user changed a switch or the moment (the panel has its own signal for the list).
  void edited();

 private:
  bool showing_ = false;
  SourceListPanel* backupPanel_;
  QCheckBox* subfolders_;
  QCheckBox* onlyNewer_;
  QDateEdit* newerDate_;
  QTimeEdit* newerTime_;
  QCheckBox* useLast_;
};

}  // namespace brisko::ui
