// Draws grid cells as the program's grids show them: 9-point text 2 pixels in, red rows where marked.
#pragma once

#include <QStyledItemDelegate>

class QTableView;
class QTableWidget;

namespace brisko::ui {

class GridCellDelegate : public QStyledItemDelegate {
  Q_OBJECT
 public:
  // Items carrying true in this role are drawn in red.
  static constexpr int kRedRole = Qt::UserRole + 1;

  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

  // Sets up a grid: the delegate, navy headings, 9-point rows, whole-row selection.
  static void Prepare(QTableWidget* grid, const QStringList& headings);
  // The same for a view whose model gives the headings; its rows keep one height, so that large
  // models scroll without measuring every row.
  static void PrepareView(QTableView* view);
};

}  // namespace brisko::ui
