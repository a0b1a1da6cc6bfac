// The about box: version, licence and the help that comes with the program.
#pragma once

#include <QDialog>

namespace brisko::ui {

class Taboutform : public QDialog {
  Q_OBJECT
 public:
  explicit Taboutform(QWidget* parent = nullptr);
};

}  // namespace brisko::ui
