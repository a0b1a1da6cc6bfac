// Draws the project selector's items: the clock mark before scheduled projects, the name 20 pixels in.
#include "ui/ProjectComboDelegate.h"

#include <QPainter>

#include "core/view/ProjectCommands.h"
#include "ui/AppImages.h"

namespace brisko::ui {

bool ProjectComboDelegate::Scheduled(const std::string& dataDir, const std::string& name) {
  return core::ProjectCommands::HasScheduleMark(dataDir, name);
}

void ProjectComboDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
  painter->save();
  const bool selected = option.state & (QStyle::State_Selected | QStyle::State_MouseOver);
  painter->fillRect(option.rect, selected ? option.palette.highlight() : option.palette.base());
  const QString name = index.data(Qt::DisplayRole).toString();
  if (Scheduled(dataDir_, name.toStdString()))
    painter->drawPixmap(option.rect.left(), option.rect.top() + (option.rect.height() - 16) / 2, 16, 16,
                        AppImages::Clock());
  painter->setPen(selected ? option.palette.highlightedText().color() : option.palette.text().color());
  painter->drawText(option.rect.adjusted(20, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                    name);
  painter->restore();
}

QSize ProjectComboDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
  const QSize base = QStyledItemDelegate::sizeHint(option, index);
  return QSize(base.width() + 20, std::max(base.height(), 18));
}

}  // namespace brisko::ui
