// Dialogs the user can resize and that come back at the size they were left at.
#pragma once

#include <QSize>
#include <QString>

class QDialog;
class QWidget;

namespace brisko::ui {

class DialogSize {
 public:
  // The file sizes are remembered in (window.ini of the data folder); set by the main window. Without
  // one, sizes are not remembered.
  static void SetFile(const QString& path);
  static QString File();

  // Makes the dialog resizable and maximisable, gives it the size it was last closed at (else
  // `preferred`, else its size hint), never more than the screen's usable area, and remembers its
  // size whenever it closes. The dialog needs an object name and its layout before the call.
  static void Keep(QDialog* dialog, QSize preferred = {});

  // The usable area of the screen the widget is on (of the primary screen before it is shown).
  static QSize ScreenRoom(const QWidget* widget);

  // The settings key of a remembered size on the widget's screen: one per screen size and scale,
  // so that a size left at one text scaling is not reused at another.
  static QString SizeKey(const QString& key, const QWidget* widget);
};

}  // namespace brisko::ui
