// Hands documents, web pages and mail addresses to the desktop's default programs.
#pragma once

#include <QUrl>

namespace brisko::ui {

class DesktopOpener {
 public:
  // Opens the URL with the desktop's default program; failures are the desktop's to report.
  static void Open(const QUrl& url);
  static void OpenFile(const QString& path);
};

}  // namespace brisko::ui
