// Table model of the archive's members on the Restore tab, with its filter.
#include "ui/ArchiveContentsModel.h"

#include <set>

#include "platform/WildMatch.h"
#include "ui/WidgetHelpers.h"

namespace brisko::ui {

void ArchiveContentsModel::SetRows(const std::vector<core::ContentsRow>* rows) {
  beginResetModel();
  rows_ = rows;
  std::set<std::string> folders;
  files_.clear();
  if (rows_ != nullptr) {
    files_.reserve(rows_->size());
    for (size_t i = 0; i < rows_->size(); ++i) {
      const std::string& name = (*rows_)[i].storedName;
      // Every folder on the way, also those the archive holds no entry for; the members of one
      // folder follow each other, so the folder before is usually known already.
      for (size_t slash = name.find('/'); slash != std::string::npos; slash = name.find('/', slash + 1))
        if (slash > 0) folders.emplace_hint(folders.end(), name, 0, slash + 1);
      if (name.empty() || name.back() != '/') files_.push_back(static_cast<int>(i));
    }
  }
  folders_.assign(folders.begin(), folders.end());
  ApplyFilter();
  endResetModel();
}

void ArchiveContentsModel::SetFilter(const QString& text) {
  const QString trimmed = text.trimmed();
  if (trimmed == filter_) return;
  beginResetModel();
  filter_ = trimmed;
  wildcard_ = filter_.contains(QLatin1Char('*')) || filter_.contains(QLatin1Char('?'));
  ApplyFilter();
  endResetModel();
}

const std::string& ArchiveContentsModel::StoredName(size_t row) const {
  if (row < folders_.size()) return folders_[row];
  return (*rows_)[static_cast<size_t>(files_[row - folders_.size()])].storedName;
}

bool ArchiveContentsModel::Matches(const std::string& stored) const {
  if (!wildcard_) return Q(stored).contains(filter_, Qt::CaseInsensitive);
  // A pattern without a folder part matches the file name in any folder.
  const std::string pattern = filter_.toStdString();
  if (platform::WildMatch(pattern, stored)) return true;
  const size_t slash = stored.find_last_of('/', stored.size() > 1 ? stored.size() - 2 : 0);
  return !filter_.contains(QLatin1Char('/')) && slash != std::string::npos &&
         platform::WildMatch(pattern, stored.substr(slash + 1));
}

void ArchiveContentsModel::ApplyFilter() {
  shown_.clear();
  if (rows_ == nullptr) return;
  const size_t all = folders_.size() + files_.size();
  shown_.reserve(all);
  for (size_t row = 0; row < all; ++row)
    if (filter_.isEmpty() || Matches(StoredName(row))) shown_.push_back(static_cast<int>(row));
}

int ArchiveContentsModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(shown_.size());
}

int ArchiveContentsModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : 4;
}

QVariant ArchiveContentsModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || rows_ == nullptr || index.row() >= rowCount()) return {};
  const auto row = static_cast<size_t>(shown_[static_cast<size_t>(index.row())]);
  if (row < folders_.size()) {
    const std::string& folder = folders_[row];
    if (role == kStoredNameRole || role == Qt::ToolTipRole) return Q(folder);
    if (role != Qt::DisplayRole) return {};
    const size_t parentEnd = folder.find_last_of('/', folder.size() - 2);
    switch (index.column()) {
      case 0:
        return Q(folder.substr(parentEnd == std::string::npos ? 0 : parentEnd + 1));
      case 2:
        return Q(parentEnd == std::string::npos ? std::string() : folder.substr(0, parentEnd + 1));
      default:
        return {};
    }
  }
  const core::ContentsRow& entry = (*rows_)[static_cast<size_t>(files_[row - folders_.size()])];
  if (role == kStoredNameRole || role == Qt::ToolTipRole) return Q(entry.storedName);
  if (role != Qt::DisplayRole) return {};
  switch (index.column()) {
    case 0:
      return Q(entry.name);
    case 1:
      return Q(entry.sizeKb);
    case 2:
      return Q(entry.path);
    default:
      return Q(entry.date);
  }
}

QVariant ArchiveContentsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  static const char* const kHeadings[] = {"Filename", "Size(KB)", "Path", "Date"};
  return section >= 0 && section < 4 ? QString::fromLatin1(kHeadings[section]) : QVariant();
}

}  // namespace brisko::ui
