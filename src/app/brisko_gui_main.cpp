// The desktop program: one instance per user, the main window, and the event loop.
#include <QApplication>
#include <QLocale>
#include <QMessageBox>
#include <cstdio>

#include "app/StandardOptions.h"
#include "core/DataDir.h"
#include "core/SystemClock.h"
#include "platform/InstanceLock.h"
#include "ui/AppImages.h"
#include "ui/HelpLauncher.h"
#include "ui/MainWindow.h"
#include "ui/ProductInfo.h"
#include "ui/SingleInstance.h"

int main(int argc, char** argv) {
  // Answered before the window system is needed, so they also work without a display.
  switch (brisko::app::FindStandardOption(argc, argv)) {
    case brisko::app::StandardOption::Help:
      std::printf(
          "usage: brisko-zip-backup\n"
          "The desktop program: projects, backups on demand or on a schedule, restore, activity log.\n"
          "  --help     show this text\n"
          "  --version  show the version\n");
      return 0;
    case brisko::app::StandardOption::Version:
      brisko::app::PrintVersion("brisko-zip-backup");
      return 0;
    case brisko::app::StandardOption::None:
      break;
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("brisko-zip-backup"));
  // No display name: the desktop would add it to every window title, which names the program already.
  // Keeps the program alive while its window is hidden in the notification area.
  QApplication::setQuitOnLastWindowClosed(false);

  // A running instance of this user is brought forward; this start ends silently.
  brisko::ui::SingleInstance instance;
  if (!instance.Claim()) return 0;

  // Dates, times and numbers always use the fixed forms, whatever the desktop's language.
  QLocale::setDefault(QLocale::c());
  brisko::ui::AppImages::Init();
  QApplication::setWindowIcon(brisko::ui::AppImages::AppIcon());

  std::string dataDir;
  try {
    dataDir = brisko::core::DataDirectory();
  } catch (const std::exception& e) {
    QMessageBox::critical(nullptr, QStringLiteral("Error"), QString::fromStdString(e.what()));
    return 1;
  }
  // The backup daemon and this program never work on the same data folder at once.
  brisko::platform::InstanceLock lock;
  if (!lock.TryAcquire(dataDir)) {
    QMessageBox::critical(nullptr, QStringLiteral("Error"),
                          QStringLiteral("The data folder '%1' is in use by another Brisko program.\r%2")
                              .arg(QString::fromStdString(dataDir), QString::fromStdString(lock.ErrorText()))
                              .replace(QLatin1Char('\r'), QLatin1Char('\n')));
    return 1;
  }

  brisko::ui::HelpLauncher::InstallF1Handler();
  brisko::ui::MainWindow window(dataDir, brisko::core::SystemClock::Instance());
  QObject::connect(&instance, &brisko::ui::SingleInstance::activationRequested, &window,
                   &brisko::ui::MainWindow::BringToFront);
  // Closing the main window ends the program, also while it lives hidden in the notification area
  // (closing a hidden window closes no last visible window).
  QObject::connect(&window, &brisko::ui::MainWindow::closedForGood, &app, &QApplication::quit,
                   Qt::QueuedConnection);
  window.setAttribute(Qt::WA_DeleteOnClose, false);
  window.Start();
  window.ShowAtStart();
  QObject::connect(&app, &QApplication::lastWindowClosed, &app, [&window] {
    if (!window.isVisible() && !window.isMinimized()) QApplication::quit();
  });
  return app.exec();
}
