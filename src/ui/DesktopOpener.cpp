// Hands documents, web pages and mail addresses to the desktop's default programs.
#include "ui/DesktopOpener.h"

#include <QDesktopServices>

namespace brisko::ui {

void DesktopOpener::Open(const QUrl& url) {
  QDesktopServices::openUrl(url);
}

void DesktopOpener::OpenFile(const QString& path) {
  Open(QUrl::fromLocalFile(path));
}

}  // namespace brisko::ui
