// The members of the listed archive as a table ("Filename", "Size(KB)", "Path", "Date"), read straight
// from the browser's rows so that large archives list at once. Every folder of the archive comes first
// as a row of its own, so that a folder can be chosen with everything below it.
#pragma once

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>
#include <string>
#include <vector>

#include "core/ArchiveBrowser.h"

namespace brisko::ui {

class ArchiveContentsModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  // The role that gives a member's stored name (a folder entry ends in "/").
  static constexpr int kStoredNameRole = Qt::UserRole + 2;

  using QAbstractTableModel::QAbstractTableModel;

  // Shows these rows (the browser keeps them; they must stay until the next call).
  void SetRows(const std::vector<core::ContentsRow>* rows);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  const std::vector<core::ContentsRow>* rows_ = nullptr;
  std::vector<std::string> folders_;  // "docs/", "docs/old/", ... sorted
  std::vector<int> files_;            // the browser rows of members that are not folders
};

// Keeps the members whose stored name contains the filter text (ignoring case) or matches it as a
// wildcard when it holds "*" or "?".
class ContentsFilter : public QSortFilterProxyModel {
  Q_OBJECT
 public:
  using QSortFilterProxyModel::QSortFilterProxyModel;
  void SetText(const QString& text);

 protected:
  bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

 private:
  QString text_;
  bool wildcard_ = false;
};

}  // namespace brisko::ui
