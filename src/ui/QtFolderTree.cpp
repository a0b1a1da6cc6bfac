// The folder tree of the select-by-wildcard dialog: the file system's folders, from the root down.
#include "ui/QtFolderTree.h"

#include <QDir>
#include <QFileSystemModel>
#include <QHeaderView>

namespace brisko::ui {

QtFolderTree::QtFolderTree(QWidget* parent) : QTreeView(parent), model_(new QFileSystemModel(this)) {
  setObjectName(QStringLiteral("FolderTree"));
  model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
  model_->setRootPath(QString());
  setModel(model_);
  for (int column = 1; column < model_->columnCount(); ++column) hideColumn(column);
  header()->hide();
  setSelectionMode(QAbstractItemView::SingleSelection);
  connect(selectionModel(), &QItemSelectionModel::currentChanged, this, [this] {
    if (handler_) handler_();
  });
}

std::string QtFolderTree::SelectedFolderPath() const {
  const QModelIndex current = currentIndex();
  if (!current.isValid()) return {};
  const QString path = model_->filePath(current);
  if (path.isEmpty()) return {};
  return QDir::toNativeSeparators(path).toStdString();
}

void QtFolderTree::SetSelectionChangedHandler(std::function<void()> handler) {
  handler_ = std::move(handler);
}

bool QtFolderTree::SelectFolder(const QString& path) {
  const QModelIndex index = model_->index(path);
  if (!index.isValid()) return false;
  setCurrentIndex(index);
  scrollTo(index);
  expand(index);
  return true;
}

}  // namespace brisko::ui
