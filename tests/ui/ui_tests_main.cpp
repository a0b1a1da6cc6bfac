// Runs every GUI test class on the offscreen platform with a fixed locale.
#include <QApplication>
#include <QLocale>
#include <QTest>

#include "UiTestRegistry.h"
#include "ui/AppImages.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("LC_ALL", "C");
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("brisko-zip-backup-tests"));
  QLocale::setDefault(QLocale::c());
  brisko::ui::AppImages::Init();
  int failures = 0;
  for (const auto& factory : brisko::uitest::Registry()) {
    std::unique_ptr<QObject> test(factory());
    failures += QTest::qExec(test.get(), argc, argv);
  }
  return failures == 0 ? 0 : 1;
}
