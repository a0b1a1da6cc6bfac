// The about box: version, support address and web site.
#pragma once

#include <QDialog>

namespace brisko::ui {

class Taboutform : public QDialog {
  Q_OBJECT
 public:
  explicit Taboutform(QWidget* parent = nullptr);
};

}  // namespace brisko::ui
