// The folder tree of the select-by-wildcard dialog: the file system's folders, from the root down.
#pragma once

#include <QTreeView>
#include <functional>

#include "core/view/FolderTree.h"

class QFileSystemModel;

namespace brisko::ui {

class QtFolderTree : public QTreeView, public core::FolderTree {
  Q_OBJECT
 public:
  explicit QtFolderTree(QWidget* parent = nullptr);

  std::string SelectedFolderPath() const override;
  void SetSelectionChangedHandler(std::function<void()> handler) override;

  // Selects and reveals a folder; false when it is not in the tree.
  bool SelectFolder(const QString& path);

 private:
  QFileSystemModel* model_;
  std::function<void()> handler_;
};

}  // namespace brisko::ui
