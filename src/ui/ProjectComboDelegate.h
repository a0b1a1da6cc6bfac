// Draws the project selector's items: the clock mark before scheduled projects, the name 20 pixels in.
#pragma once

#include <QStyledItemDelegate>
#include <string>

namespace brisko::ui {

class ProjectComboDelegate : public QStyledItemDelegate {
  Q_OBJECT
 public:
  // dataDir holds project.ini, read on every paint so the mark follows what is stored.
  ProjectComboDelegate(std::string dataDir, QObject* parent = nullptr)
      : QStyledItemDelegate(parent), dataDir_(std::move(dataDir)) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

  // Whether a project has a stored schedule.
  static bool Scheduled(const std::string& dataDir, const std::string& name);

 private:
  std::string dataDir_;
};

}  // namespace brisko::ui
