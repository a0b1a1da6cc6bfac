// Hands documents, web pages and mail addresses to the desktop's default programs.
#include "ui/DesktopOpener.h"

#include <QDesktopServices>

namespace brisko::ui {
namespace {
std::function<void(const QUrl&)>& Hook() {
  static std::function<void(const QUrl&)> hook;
  return hook;
}
}  // namespace

void DesktopOpener::Open(const QUrl& url) {
  if (Hook()) {
    Hook()(url);
    return;
  }
  QDesktopServices::openUrl(url);
}

void DesktopOpener::OpenFile(const QString& path) { Open(QUrl::fromLocalFile(path)); }

void DesktopOpener::SetHookForTests(std::function<void(const QUrl&)> hook) { Hook() = std::move(hook); }

}  // namespace brisko::ui
