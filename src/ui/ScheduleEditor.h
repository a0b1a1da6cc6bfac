// The schedule choice of a project (none, daily at a time, every N minutes, weekly on a day), shared
// by the wizard's schedule page and the Backup tab.
#pragma once

#include <QWidget>

#include "core/view/ProjectForm.h"

class QComboBox;
class QLabel;
class QRadioButton;
class QSpinBox;
class QTimeEdit;

namespace brisko::ui {

class ScheduleEditor : public QWidget {
  Q_OBJECT

 public:
  // The four choices' captions and object names differ between the wizard and the tab.
  struct Choice {
    const char* caption;
    const char* objectName;
  };
  struct Choices {
    Choice none, daily, every, weekly;
  };

  ScheduleEditor(const Choices& choices, QWidget* parent);

  // Shows the form's schedule without raising edited.
  void Show(const core::ProjectForm& form);
  // Copies what is shown into the form (mode last, so a weekly choice gets a weekday).
  void Store(core::ProjectForm& form) const;
  void EnableFields(bool time, bool minutes, bool weekday);

 signals:
  // The user picked another choice or changed a time, a count or a day.
  void edited();

 private:
  core::ScheduleMode ShownMode() const;

  QRadioButton* none_;
  QRadioButton* daily_;
  QRadioButton* every_;
  QRadioButton* weekly_;
  QTimeEdit* time_;
  QSpinBox* minutes_;
  QLabel* minutesLabel_;
  QComboBox* weekday_;
  bool showing_ = false;
};

}  // namespace brisko::ui
