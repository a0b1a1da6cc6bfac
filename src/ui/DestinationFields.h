// The destination of a project: prefix, suffix with its counter, and the archive's name with a folder
// button. One widget for the Backup tab's "Destination" group and the wizard's destination page.
#pragma once

#include <QString>
#include <QWidget>

#include "core/ProjectKinds.h"
#include "core/view/ProjectForm.h"

class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;
class QToolButton;

namespace brisko::ui {

class DestinationFields : public QWidget {
  Q_OBJECT
 public:
  // The captions of the three rows, as each place words them.
  struct Captions {
    QString prefix;
    QString suffix;
    QString fileName;
  };
  DestinationFields(const Captions& captions, QWidget* parent = nullptr);

  // Shows the form's destination without emitting a signal; the counter fields follow the suffix.
  void Show(const core::ProjectForm& form);
  // Copies the fields into the form.
  void Store(core::ProjectForm& form) const;

 signals:
  // Signals of the user's edits only.
  void prefixEdited(const QString& text);
  void suffixChosen(core::SuffixKind kind);
  void numberChanged(int value);
  void increaseChanged(int value);
  void fileNameEdited(const QString& text);
  void pickFolderClicked();

 private:
  bool showing_ = false;
  QLineEdit* prefix_;
  QRadioButton* suffixNone_;
  QRadioButton* suffixDate_;
  QRadioButton* suffixNumber_;
  QSpinBox* number_;
  QLabel* increaseLabel_;
  QSpinBox* increase_;
  QLineEdit* fileName_;
};

}  // namespace brisko::ui
