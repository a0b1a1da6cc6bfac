// A text link that turns red and underlined under the pointer and takes the theme's link colour when
// it leaves.
#pragma once

#include <QLabel>
#include <QUrl>

namespace brisko::ui {

class LinkLabel : public QLabel {
  Q_OBJECT
 public:
  LinkLabel(const QString& text, QUrl target, QWidget* parent = nullptr);

  QUrl Target() const { return target_; }
  bool Hovered() const { return hovered_; }

 signals:
  // Clicked; when nothing is connected, the target opens in the desktop's program instead.
  void activated();

 protected:
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void SetHovered(bool hovered);

  QUrl target_;
  bool hovered_ = false;
};

}  // namespace brisko::ui
