// The select-by-wildcard dialog: a folder from the tree plus a pattern.
#pragma once

#include <QDialog>
#include <string>

#include "core/view/SelectByWildcard.h"

class QComboBox;
class QLabel;

namespace brisko::core {
class UserInteraction;
}

namespace brisko::ui {

class QtFolderTree;

class SelectByWildcardDialog : public QDialog {
  Q_OBJECT
 public:
  SelectByWildcardDialog(std::string dataDir, core::UserInteraction& ui, QWidget* parent = nullptr);
  ~SelectByWildcardDialog() override;

  // The dialog's state; after OK its ComposeEntry() is the new list entry.
  const core::SelectByWildcard& Model() const { return model_; }
  QtFolderTree* Tree() const { return tree_; }

 private:
  void FillCombo();
  void OnOk();

  std::string dataDir_;
  core::UserInteraction& ui_;
  core::SelectByWildcard model_;
  QtFolderTree* tree_;
  QComboBox* combo_;
  QLabel* folderLabel_;
};

}  // namespace brisko::ui
