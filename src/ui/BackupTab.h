// The "Backup " tab: the selected project's settings in the groups Source, Destination, Options, Schedule.
#pragma once

#include <QWidget>

#include "core/view/SourceList.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;
class QTimeEdit;
class QToolButton;

namespace brisko::core {
class MainModel;
}

namespace brisko::ui {

class DestinationFields;
class ScheduleEditor;
class SourceFields;
class SourceListPanel;

class BackupTab : public QWidget {
  Q_OBJECT
 public:
  BackupTab(core::MainModel& model, QWidget* parent = nullptr);

  // Shows the model's form and enabling; called on every change notification.
  void Sync();
  // The edit state gives the backup list the focus with its first entry selected.
  void FocusBackupList();
  SourceListPanel* BackupPanel() const { return backupPanel_; }

 private:
  void BuildSource();
  void BuildDestination();
  void BuildOptions();
  void BuildSchedule();
  // Feeds a control change into the form; recompose the file name when `compose` is set.
  void Changed(bool compose = false);
  void PickSaveFolder();

  core::MainModel& model_;
  bool syncing_ = false;
  core::SourceList backupList_;
  core::SourceList excludeList_;

  QGroupBox* source_;
  QGroupBox* destination_;
  QGroupBox* options_;
  QGroupBox* schedule_;
  SourceListPanel* backupPanel_;
  SourceListPanel* excludePanel_;
  SourceFields* sourceFields_;
  DestinationFields* destinationFields_;
  QCheckBox* usePassword_;
  QLineEdit* password_;
  QLineEdit* retype_;
  QComboBox* encryption_;
  QCheckBox* storePaths_;
  QCheckBox* useComment_;
  QLineEdit* comment_;
  QSpinBox* level_;
  QSpinBox* keep_;
  QLabel* keptBeyond_;
  ScheduleEditor* scheduleEditor_;
};

}  // namespace brisko::ui
