// The editor of remembered wildcards.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "core/view/WildcardEditor.h"

class QLineEdit;
class QListWidget;

namespace brisko::ui {

class WildcardListDialog : public QDialog {
  Q_OBJECT
 public:
  // Shows the remembered wildcards of dataDir; "&Ok" stores the edited list there.
  WildcardListDialog(std::string dataDir, core::UserInteraction& ui, QWidget* parent = nullptr);

  const std::vector<std::string>& Patterns() const { return model_.Patterns(); }

 private:
  void Refresh();
  void OnOk();

  std::string dataDir_;
  core::UserInteraction& ui_;
  core::WildcardEditor model_;
  QListWidget* list_;
  QLineEdit* edit_;
  bool refreshing_ = false;
};

}  // namespace brisko::ui
