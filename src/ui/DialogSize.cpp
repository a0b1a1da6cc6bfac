// Dialogs the user can resize and that come back at the size they were left at.
#include "ui/DialogSize.h"

#include <QDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>

namespace brisko::ui {
namespace {

QString& SizeFile() {
  static QString file;
  return file;
}

QString Key(const QDialog* dialog) {
  return DialogSize::SizeKey(QStringLiteral("Dialogs/") + dialog->objectName(), dialog);
}

}  // namespace

void DialogSize::SetFile(const QString& path) {
  SizeFile() = path;
}

QString DialogSize::File() {
  return SizeFile();
}

QSize DialogSize::ScreenRoom(const QWidget* widget) {
  const QScreen* screen = widget && widget->screen() ? widget->screen() : QGuiApplication::primaryScreen();
  // The frame (title bar, borders) takes room too.
  const QSize area = screen ? screen->availableGeometry().size() : QSize(1024, 768);
  return area - QSize(8, 40);
}

QString DialogSize::SizeKey(const QString& key, const QWidget* widget) {
  const QScreen* screen = widget && widget->screen() ? widget->screen() : QGuiApplication::primaryScreen();
  if (!screen) return key;
  // The logical size changes with the scale factor as well as with the screen.
  const QSize logical = screen->size();
  return key + QStringLiteral("@%1x%2").arg(logical.width()).arg(logical.height());
}

void DialogSize::Keep(QDialog* dialog, QSize preferred) {
  dialog->setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                         Qt::WindowMaximizeButtonHint);
  dialog->setSizeGripEnabled(true);
  QSize size = preferred.isValid() ? preferred.expandedTo(dialog->sizeHint()) : dialog->sizeHint();
  if (!File().isEmpty()) {
    const QSize remembered = QSettings(File(), QSettings::IniFormat).value(Key(dialog)).toSize();
    if (remembered.isValid()) size = remembered;
  }
  dialog->resize(size.expandedTo(dialog->minimumSizeHint()).boundedTo(ScreenRoom(dialog)));
  QObject::connect(dialog, &QDialog::finished, dialog, [dialog] {
    if (File().isEmpty() || dialog->isMaximized()) return;
    QSettings(File(), QSettings::IniFormat).setValue(Key(dialog), dialog->size());
  });
}

}  // namespace brisko::ui
