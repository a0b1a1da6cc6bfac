// A text link that turns red and underlined under the pointer and takes the theme's link colour when
// it leaves.
#include "ui/LinkLabel.h"

#include <QMetaMethod>
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
  // The theme's own link colour reads on light and dark palettes alike.
  QPalette p = palette();
  p.setColor(QPalette::WindowText, hovered ? QColor(Qt::red) : p.color(QPalette::Link));
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
  if (event->button() != Qt::LeftButton || !rect().contains(event->position().toPoint())) return;
  if (isSignalConnected(QMetaMethod::fromSignal(&LinkLabel::activated)))
    emit activated();
  else
    DesktopOpener::Open(target_);
}

}  // namespace brisko::ui
