// Saves pictures of the windows for the documentation (scripts/screenshots.sh).
#include "ScreenshotTour.h"

#include <QApplication>
#include <QDir>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>

#include "core/view/MainModel.h"
#include "ui/AboutDialog.h"
#include "ui/AddProjectWizard.h"
#include "ui/ArchiveContentsModel.h"
#include "ui/HelpLauncher.h"
#include "ui/HelpViewer.h"
#include "ui/MainWindow.h"
#include "ui/PreferencesDialog.h"
#include "ui/RestoreTab.h"
#include "ui/TimedMessageBox.h"

namespace brisko::ui {
namespace {

void Save(QWidget* widget, const QString& folder, const QString& name) {
  QApplication::processEvents();
  // The whole screen shows what a person sees: the window manager's frame, and whether the
  // window fits at all.
  const QPixmap picture = qEnvironmentVariableIsSet("BRISKO_TOUR_WHOLE_SCREEN")
                              ? widget->window()->screen()->grabWindow(0)
                              : widget->grab();
  picture.save(QDir(folder).filePath(name + QStringLiteral(".png")));
}

void Settle(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

void Tour(MainWindow& window, const QString& folder) {
  auto* tabs = window.findChild<QTabWidget*>(QStringLiteral("PageControl1"));
  core::MainModel& model = window.Model();

  // Two backups give the Restore tab archives and the Log tab rows; the first one's timed
  // message is pictured while it is open (it closes itself).
  QTimer::singleShot(700, &window, [folder] {
    if (QWidget* modal = QApplication::activeModalWidget())
      Save(modal, folder, QStringLiteral("timed-message"));
  });
  model.RunBackup();
  model.RunBackup();

  // A third backup pictured while it runs, with its Stop button.
  bool pictured = false;
  const auto pump = model.processEvents;
  model.processEvents = [&] {
    if (pump) pump();
    if (!pictured && model.Progress() >= 40) {
      pictured = true;
      Save(&window, folder, QStringLiteral("main-backup-running"));
    }
  };
  model.RunBackup();
  model.processEvents = pump;

  for (int i = 0; i < 3; ++i) {
    tabs->setCurrentIndex(i);
    Settle(300);
    static const char* const kNames[] = {"main-backup", "main-restore", "main-log"};
    Save(&window, folder, QString::fromLatin1(kNames[i]));
    if (i == 1) {
      // Two files and a folder chosen for restoring.
      QTableView* contents = window.Restore().ContentsGrid();
      for (int r = 0; r < contents->model()->rowCount(); ++r) {
        const QModelIndex index = contents->model()->index(r, 0);
        const QString name = index.data(ArchiveContentsModel::kStoredNameRole).toString();
        if (name.endsWith(QStringLiteral("report1.txt")) || name.endsWith(QStringLiteral("report3.txt")) ||
            name.endsWith(QStringLiteral("letters/")))
          contents->selectionModel()->select(index, QItemSelectionModel::Select | QItemSelectionModel::Rows);
      }
      Settle(150);
      Save(&window, folder, QStringLiteral("main-restore-selection"));
    }
  }
  tabs->setCurrentIndex(0);

  AddProjectWizard wizard(model.DataDir(), model.Projects(), model.Settings(), model.Ui(), model.GetClock(),
                          &window);
  wizard.show();
  wizard.findChild<QLineEdit*>(QStringLiteral("EditProjectName"))->setText(QStringLiteral("Music"));
  if (!model.Form().backupList.empty())
    wizard.Model().BackupList().AppendAll({model.Form().backupList.front()});
  auto* next = wizard.findChild<QPushButton*>(QStringLiteral("ButtonNext"));
  for (int page = 1; page <= 6; ++page) {
    Settle(150);
    Save(&wizard, folder, QStringLiteral("wizard-step%1").arg(page));
    if (page < 6) next->click();
  }
  wizard.close();

  PreferencesValues values;
  values.logCount = model.Settings().logCount;
  PreferencesDialog preferences(values, {}, {}, &window);
  preferences.show();
  Settle(150);
  Save(&preferences, folder, QStringLiteral("preferences-general"));
  preferences.findChild<QTabWidget*>(QStringLiteral("PageControl"))->setCurrentIndex(1);
  Settle(150);
  Save(&preferences, folder, QStringLiteral("preferences-backup"));
  preferences.close();

  AboutDialog about(&window);
  about.show();
  Settle(150);
  Save(&about, folder, QStringLiteral("about"));
  about.close();

  HelpLauncher::Open(kHelpBackupTab);
  Settle(150);
  if (HelpViewer* help = HelpViewer::Current()) {
    Save(help, folder, QStringLiteral("help"));
    help->close();
  }
  window.close();
  QApplication::quit();
}

}  // namespace

void StartScreenshotTour(MainWindow& window, const QString& folder) {
  QDir().mkpath(folder);
  QTimer::singleShot(800, &window, [&window, folder] { Tour(window, folder); });
}

}  // namespace brisko::ui
