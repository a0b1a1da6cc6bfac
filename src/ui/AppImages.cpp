// The program's images: icons of the two scheduling states, the clock mark, document and folder.
#include "ui/AppImages.h"

#include <QApplication>
#include <QImage>
#include <QString>

#include "ui/ThemeColors.h"

// Resources of a static library are registered by hand, outside any namespace.
static void InitBriskoResources() {
  Q_INIT_RESOURCE(brisko);
}

namespace brisko::ui {

void AppImages::Init() {
  static bool done = false;
  if (done) return;
  done = true;
  InitBriskoResources();
}

QIcon AppImages::AppIcon() {
  return QIcon(QStringLiteral(":/icons/app.png"));
}

QIcon AppImages::SchedulingIcon(bool enabled) {
  return QIcon(enabled ? QStringLiteral(":/icons/forauto.png") : QStringLiteral(":/icons/fornormal.png"));
}

const QPixmap& AppImages::Clock() {
  // Kept until the process ends: a pixmap must not outlive the application object in a destructor.
  static const QPixmap* p = new QPixmap(QStringLiteral(":/icons/clock.png"));
  return *p;
}

const QPixmap& AppImages::Document() {
  // Kept until the process ends: a pixmap must not outlive the application object in a destructor.
  static const QPixmap* p = new QPixmap(QStringLiteral(":/icons/document.png"));
  return *p;
}

const QPixmap& AppImages::Folder() {
  // Kept until the process ends: a pixmap must not outlive the application object in a destructor.
  static const QPixmap* p = new QPixmap(QStringLiteral(":/icons/folder.png"));
  return *p;
}

QIcon AppImages::Tool(const char* name) {
  const QImage drawn(QStringLiteral(":/icons/%1.png").arg(QString::fromLatin1(name)));
  const QIcon bundled(QPixmap::fromImage(ImageForPalette(drawn, QApplication::palette())));
  // The desktop's own icon theme where it has a match; ours where it has none.
  static const struct {
    const char* ours;
    const char* theme;
  } kThemeNames[] = {
      {"add", "list-add"},          {"edit", "document-edit"},
      {"save", "document-save"},    {"cancel", "dialog-cancel"},
      {"copy", "edit-copy"},        {"delete", "edit-delete"},
      {"exit", "application-exit"}, {"browse", "document-open-folder"},
  };
  for (const auto& entry : kThemeNames) {
    if (qstrcmp(entry.ours, name) == 0 && QIcon::hasThemeIcon(QString::fromLatin1(entry.theme)))
      return QIcon::fromTheme(QString::fromLatin1(entry.theme), bundled);
  }
  return bundled;
}

}  // namespace brisko::ui
