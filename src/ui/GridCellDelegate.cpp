// Draws grid cells as the program's grids show them: 9-point text 2 pixels in, red rows where marked.
#include "ui/GridCellDelegate.h"

#include <QHeaderView>
#include <QPainter>
#include <QTableWidget>

#include "ui/ThemeColors.h"

namespace brisko::ui {

void GridCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
  painter->save();
  const bool selected = option.state & QStyle::State_Selected;
  painter->fillRect(option.rect, selected ? option.palette.highlight() : option.palette.base());
  QFont font = option.font;
  font.setPointSize(9);
  painter->setFont(font);
  QColor color = selected ? option.palette.highlightedText().color() : option.palette.text().color();
  if (index.data(kRedRole).toBool()) color = FailureTextColor(option.palette);
  painter->setPen(color);
  painter->setClipRect(option.rect);
  const QRect text = option.rect.adjusted(2, 2, 0, 0);
  painter->drawText(text, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                    index.data(Qt::DisplayRole).toString());
  painter->restore();
}

void GridCellDelegate::Prepare(QTableWidget* grid, const QStringList& headings) {
  grid->setColumnCount(static_cast<int>(headings.size()));
  grid->setHorizontalHeaderLabels(headings);
  PrepareView(grid);
}

void GridCellDelegate::PrepareView(QTableView* grid) {
  grid->setItemDelegate(new GridCellDelegate(grid));
  grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  // Headings in the theme's link colour: blue on light themes, a light blue on dark ones.
  QPalette headings = grid->horizontalHeader()->palette();
  headings.setColor(QPalette::ButtonText, headings.color(QPalette::Link));
  grid->horizontalHeader()->setPalette(headings);
  grid->horizontalHeader()->setHighlightSections(false);
  grid->verticalHeader()->hide();
  grid->verticalHeader()->setDefaultSectionSize(20);
  grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid->setWordWrap(false);
  QFont font = grid->font();
  font.setPointSize(9);
  grid->setFont(font);
}

}  // namespace brisko::ui
