// Draws a list entry with a document image (one file) or a folder image (a pattern) before its text.
#pragma once

#include <QStyledItemDelegate>

namespace brisko::ui {

class SourceEntryDelegate : public QStyledItemDelegate {
  Q_OBJECT
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

}  // namespace brisko::ui
