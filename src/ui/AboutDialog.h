// The about box: version, licence and the help that comes with the program.
#pragma once

#include <QDialog>

namespace brisko::ui {

class AboutDialog : public QDialog {
  Q_OBJECT
 public:
  explicit AboutDialog(QWidget* parent = nullptr);
};

}  // namespace brisko::ui
