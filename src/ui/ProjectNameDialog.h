// The name dialog of Rename and Copy: a proposed name the user may change.
#pragma once

#include <QDialog>

class QLineEdit;

namespace brisko::ui {

class ProjectNameDialog : public QDialog {
  Q_OBJECT
 public:
  ProjectNameDialog(const QString& caption, const QString& proposed, QWidget* parent = nullptr);

  // The text as typed (the caller trims it).
  QString Name() const;

 private:
  void OnOk();

  QLineEdit* edit_;
};

}  // namespace brisko::ui
