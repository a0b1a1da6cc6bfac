// brisko-screenshot-tour FOLDER: opens the main window on the data folder the desktop program would
// use, walks through the views, saves one picture each into FOLDER, and quits.
#include <QApplication>
#include <QLocale>
#include <QPalette>
#include <cstdio>

#include "ScreenshotTour.h"
#include "core/DataDir.h"
#include "core/SystemClock.h"
#include "ui/AppImages.h"
#include "ui/MainWindow.h"
#include "ui/ProductInfo.h"

namespace {

QPalette DarkPalette() {
  QPalette p;
  const QColor window(45, 45, 48), base(30, 30, 32), text(225, 225, 225), disabled(120, 120, 120);
  p.setColor(QPalette::Window, window);
  p.setColor(QPalette::WindowText, text);
  p.setColor(QPalette::Base, base);
  p.setColor(QPalette::AlternateBase, window);
  p.setColor(QPalette::ToolTipBase, base);
  p.setColor(QPalette::ToolTipText, text);
  p.setColor(QPalette::Text, text);
  p.setColor(QPalette::Button, window);
  p.setColor(QPalette::ButtonText, text);
  p.setColor(QPalette::BrightText, Qt::red);
  p.setColor(QPalette::Link, QColor(110, 170, 255));
  p.setColor(QPalette::Highlight, QColor(42, 130, 218));
  p.setColor(QPalette::HighlightedText, Qt::white);
  p.setColor(QPalette::PlaceholderText, disabled);
  for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
    p.setColor(QPalette::Disabled, role, disabled);
  return p;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: brisko-screenshot-tour FOLDER\n");
    return 2;
  }
  QApplication app(argc, argv);
  QLocale::setDefault(QLocale::c());
  // A dark desktop theme, as a user of one would have it: the program must read from the palette.
  if (qEnvironmentVariableIsSet("BRISKO_TOUR_DARK")) {
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setPalette(DarkPalette());
  }
  brisko::ui::AppImages::Init();
  QApplication::setWindowIcon(brisko::ui::AppImages::AppIcon());

  brisko::ui::MainWindow window(brisko::core::DataDirectory(), brisko::core::SystemClock::Instance());
  window.Start();
  window.ShowAtStart();
  brisko::ui::StartScreenshotTour(window, QString::fromLocal8Bit(argv[1]));
  return app.exec();
}
