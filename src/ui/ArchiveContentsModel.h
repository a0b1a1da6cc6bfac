// The members of the listed archive as a table ("Filename", "Size(KB)", "Path", "Date"), read straight
// from the browser's rows so that large archives list at once. Every folder of the archive comes first
// as a row of its own, so that a folder can be chosen with everything below it. A filter keeps the
// rows whose stored name contains its text (ignoring case) or matches it as a wildcard when it holds
// "*" or "?"; the model filters itself and resets, which a view takes in one step even for 100,000 rows.
#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <string>
#include <vector>

#include "core/view/ArchiveBrowser.h"

namespace brisko::ui {

class ArchiveContentsModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  // The role that gives a member's stored name (a folder entry ends in "/").
  static constexpr int kStoredNameRole = Qt::UserRole + 2;

  using QAbstractTableModel::QAbstractTableModel;

  // Shows these rows (the browser keeps them; they must stay until the next call), filtered.
  void SetRows(const std::vector<core::ContentsRow>* rows);
  // Keeps only the rows that match; blank: every row.
  void SetFilter(const QString& text);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  // The stored name of row `row` of all rows (folders first, then files).
  const std::string& StoredName(size_t row) const;
  bool Matches(const std::string& storedName) const;
  // Recomputes shown_ from the filter.
  void ApplyFilter();

  const std::vector<core::ContentsRow>* rows_ = nullptr;
  std::vector<std::string> folders_;  // "docs/", "docs/old/", ... sorted
  std::vector<int> files_;            // the browser rows of members that are not folders
  std::vector<int> shown_;            // rows (folders first, then files) the filter keeps
  QString filter_;
  bool wildcard_ = false;
};

}  // namespace brisko::ui
