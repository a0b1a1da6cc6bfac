// The main window: toolbar, the Backup, Restore and Log tabs, progress bar, tray and scheduler timer.
#pragma once

#include <QMainWindow>
#include <memory>
#include <string>
#include <vector>

#include "core/view/MainModel.h"
#include "ui/ProjectCommandBinding.h"
#include "ui/QtUserInteraction.h"

class QAction;
class QComboBox;
class QLabel;
class QSettings;
class QMenu;
class QProgressBar;
class QTabWidget;
class QTimer;
class QToolBar;
class QToolButton;

namespace brisko::core {
class Clock;
}

namespace brisko::ui {

class BackupTab;
class LogTab;
class RestoreTab;
class TrayController;

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  // dataDir holds project.ini, log.txt and StoreNumber.txt (with a trailing separator); the clock
  // must outlive the window.
  MainWindow(std::string dataDir, const core::Clock& clock, QWidget* parent = nullptr);
  ~MainWindow() override;

  // Start-up in its fixed order: tray icon, settings and projects, schedule, log. Then the window
  // is to be shown with ShowAtStart().
  void Start();
  // Shows the window placed, or minimised when the start-minimised flag is set.
  void ShowAtStart();
  // A later start asked for this instance: bring the window (or its open dialog) to the front.
  void BringToFront();

  core::MainModel& Model() { return *model_; }
  QtUserInteraction& Ui() { return ui_; }
  TrayController& Tray() { return *tray_; }
  RestoreTab& Restore() { return *restoreTab_; }
  QTimer* ScheduleTimer() const { return timer_; }
  // Where the window is put whenever it is shown: centred in the screen's usable area, 14 pixels
  // above the middle, never beyond its top left corner.
  QPoint PlacedPosition() const;
  // Shrinks the window, frame included, to the screen's usable area.
  void FitToScreen();

  // Runs the wizard modally (the add-project command's dialog).
  bool RunWizard();
  void ShowPreferences();
  void ShowAbout();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 signals:
  // The window was closed for good: the program ends.
  void closedForGood();

 private:
  void BuildToolbar();
  // Labels under the toolbar icons when the window is wide enough for them.
  void FitToolbar();
  QRect ScreenArea() const;
  // The window's own remembered state (size), beside the program's settings.
  QSettings WindowSettings() const;
  void BuildMenu();
  QToolButton* ToolButton(const char* name, const char* icon, const char* label, const char* tooltip);
  void ConnectTray();
  void OnModelChanged(unsigned changes);
  void SyncProjectList();
  void SyncScheduling();
  void SyncState();
  // The selected project's last-backup line in the status bar, every project's in the tray.
  void SyncLastBackup();
  // What runs and how far ("Backing up 'Docs': 40%"); empty when nothing runs.
  QString RunText() const;
  void SyncRunText();
  void SyncTimer();
  void RunCommand(ProjectCommand command);
  void CreateBackup();
  void RestoreFromTray();
  void HideToTray();
  // Asks the running backup or restore to stop; true when there was one.
  bool StopRun();

  QtUserInteraction ui_;
  std::unique_ptr<core::MainModel> model_;
  int listenerId_ = 0;
  bool started_ = false;
  bool shutDown_ = false;
  bool wasEditing_ = false;
  bool cursorOverridden_ = false;
  bool toldNoTray_ = false;
  bool quitAfterRun_ = false;  // the user chose to quit while a run was going on

  QToolBar* toolBar_;
  std::vector<QToolButton*> toolButtons_;
  int labelledWidth_ = 0;  // the toolbar's width with labels under its icons
  QComboBox* comboProject_;
  QToolButton* spNew_;
  QToolButton* spEdit_;
  QToolButton* spSave_;
  QToolButton* spCancel_;
  QToolButton* spRename_;
  QToolButton* spCopy_;
  QToolButton* spDelete_;
  QToolButton* spMenu_;
  QToolButton* spEnable_;
  QToolButton* spStart_;
  QToolButton* spRestore_;
  QToolButton* spExit_;
  QToolButton* spStop_;
  QMenu* menu_;
  QAction* menuPreferences_;
  QTabWidget* pages_;
  BackupTab* backupTab_;
  RestoreTab* restoreTab_;
  LogTab* logTab_;
  QProgressBar* progress_;
  QLabel* lastBackupLabel_ = nullptr;
  QLabel* runLabel_;
  QTimer* timer_;
  TrayController* tray_;
};

}  // namespace brisko::ui
