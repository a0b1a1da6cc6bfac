// A text link that turns red and underlined under the pointer and navy when it leaves.
#include "ui/LinkLabel.h"

#include <QMouseEvent>

#include "ui/DesktopOpener.h"

namespace brisko::ui {

LinkLabel::LinkLabel(const QString& text, QUrl target, QWidget* parent)
    : QLabel(text, parent), target_(std::move(target)) {
  setTextFormat(Qt::PlainText);
  SetHovered(false);
}

void LinkLabel::SetHovered(bool hovered) {
  hovered_ = hovered;
  QFont f = font();
  f.setUnderline(hovered);
  setFont(f);
  QPalette p = palette();
  p.setColor(QPalette::WindowText, hovered ? QColor(Qt::red) : QColor(0, 0, 128));
  setPalette(p);
  setCursor(hovered ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void LinkLabel::enterEvent(QEnterEvent* event) {
  QLabel::enterEvent(event);
  SetHovered(true);
}

void LinkLabel::leaveEvent(QEvent* event) {
  QLabel::leaveEvent(event);
  SetHovered(false);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
  QLabel::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
    DesktopOpener::Open(target_);
}

}  // namespace brisko::ui
