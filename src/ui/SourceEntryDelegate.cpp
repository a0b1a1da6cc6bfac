// Draws a list entry with a document image (one file) or a folder image (a pattern) before its text.
#include "ui/SourceEntryDelegate.h"

#include <QPainter>

#include "core/view/SourceList.h"
#include "ui/AppImages.h"

namespace brisko::ui {

void SourceEntryDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
  painter->save();
  const bool selected = option.state & QStyle::State_Selected;
  painter->fillRect(option.rect, selected ? option.palette.highlight() : option.palette.base());
  const QString text = index.data(Qt::DisplayRole).toString();
  const bool wildcard = core::ClassifySourceEntry(text.toStdString()) == core::SourceEntryKind::Wildcard;
  const QPixmap& image = wildcard ? AppImages::Folder() : AppImages::Document();
  const int top = option.rect.top() + (option.rect.height() - 16) / 2;
  painter->drawPixmap(option.rect.left(), top, 16, 16, image);
  painter->setPen(selected ? option.palette.highlightedText().color() : option.palette.text().color());
  const QRect textRect = option.rect.adjusted(15 + 2, 0, 0, 0);
  painter->drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine, text);
  painter->restore();
}

QSize SourceEntryDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
  const QSize base = QStyledItemDelegate::sizeHint(option, index);
  return QSize(base.width() + 17, std::max(base.height(), 18));
}

}  // namespace brisko::ui
