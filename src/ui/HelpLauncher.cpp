// Opens the help page of a numbered context and answers F1 for the focused window.
#include "ui/HelpLauncher.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QWidget>

#include "ui/HelpViewer.h"

namespace brisko::ui {

QString HelpLauncher::HelpFolder() {
  // Beside the program in a build or portable folder; in the shared data folder once installed.
  const QString beside = QCoreApplication::applicationDirPath() + QStringLiteral("/help");
  if (QFileInfo(beside).isDir()) return beside;
  return QDir::cleanPath(QCoreApplication::applicationDirPath() +
                         QStringLiteral("/" BRISKO_INSTALLED_HELP_DIR));
}

QString HelpLauncher::PageFor(int context) {
  const QString page = HelpFolder() + QStringLiteral("/%1.html").arg(context);
  if (QFileInfo::exists(page)) return page;
  return HelpFolder() + QStringLiteral("/%1.html").arg(static_cast<int>(kHelpMain));
}

void HelpLauncher::Open(int context) {
  // Our own window: a desktop may have no program for HTML files, and a browser would not follow
  // the program's theme.
  HelpViewer::ShowPage(PageFor(context));
}

void HelpLauncher::SetContext(QWidget* widget, int context) {
  widget->setProperty(kProperty, context);
}

int HelpLauncher::ContextOf(const QWidget* widget) {
  for (const QWidget* w = widget; w; w = w->parentWidget()) {
    const QVariant v = w->property(kProperty);
    if (v.isValid() && v.toInt() > 0) return v.toInt();
  }
  return kHelpMain;
}

void HelpLauncher::InstallF1Handler() {
  static HelpLauncher* filter = nullptr;
  if (filter) return;
  filter = new HelpLauncher();
  filter->setParent(qApp);
  qApp->installEventFilter(filter);
}

bool HelpLauncher::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1 &&
      watched->isWidgetType()) {
    // Every key press passes the filter once per receiving widget; answer only for the first one.
    QWidget* focus = QApplication::focusWidget();
    if (!focus) focus = QApplication::activeWindow();
    if (focus && (watched == focus || watched == focus->window())) {
      Open(ContextOf(focus));
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace brisko::ui
