// brisko-screenshot-tour FOLDER: opens the main window on the data folder the desktop program would
// use, walks through the views, saves one picture each into FOLDER, and quits.
#include <QApplication>
#include <QLocale>
#include <cstdio>

#include "ScreenshotTour.h"
#include "core/DataDir.h"
#include "core/SystemClock.h"
#include "ui/AppImages.h"
#include "ui/MainWindow.h"
#include "ui/ProductInfo.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: brisko-screenshot-tour FOLDER\n");
    return 2;
  }
  QApplication app(argc, argv);
  QLocale::setDefault(QLocale::c());
  brisko::ui::AppImages::Init();
  QApplication::setWindowIcon(brisko::ui::AppImages::AppIcon());

  brisko::ui::MainWindow window(brisko::core::DataDirectory(), brisko::core::SystemClock::Instance());
  window.Start();
  window.ShowAtStart();
  brisko::ui::StartScreenshotTour(window, QString::fromLocal8Bit(argv[1]));
  return app.exec();
}
