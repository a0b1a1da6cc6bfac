// The main window: toolbar, the Backup, Restore and Log tabs, progress bar, tray and scheduler timer.
#include "ui/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QProgressBar>
#include <QScreen>
#include <QScrollArea>
#include <QSettings>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/IniFile.h"
#include "core/LastBackup.h"
#include "core/Scheduler.h"
#include "core/SettingsFiles.h"
#include "platform/Autostart.h"
#include "ui/AboutDialog.h"
#include "ui/AddProjectWizard.h"
#include "ui/AppImages.h"
#include "ui/BackupTab.h"
#include "ui/DesktopNotifier.h"
#include "ui/DialogSize.h"
#include "ui/ErrorDisplay.h"
#include "ui/HelpLauncher.h"
#include "ui/LogTab.h"
#include "ui/MessageBoxes.h"
#include "ui/PreferencesDialog.h"
#include "ui/ProductInfo.h"
#include "ui/ProjectComboDelegate.h"
#include "ui/RestoreTab.h"
#include "ui/ThemeColors.h"
#include "ui/TrayController.h"
#include "ui/WidgetHelpers.h"

namespace brisko::ui {
namespace {

constexpr int kWindowWidth = 1000;
constexpr int kWindowHeight = 640;

// A tab's page inside a scroll area: on a small or scaled screen the window may be smaller than the
// page, which then scrolls instead of being cut off.
QScrollArea* Scrolled(QWidget* page, QWidget* parent) {
  auto* area = new QScrollArea(parent);
  area->setObjectName(page->objectName() + QStringLiteral("Scroll"));
  area->setWidgetResizable(true);
  area->setFrameShape(QFrame::NoFrame);
  area->setWidget(page);
  return area;
}

}  // namespace

MainWindow::MainWindow(std::string dataDir, const core::Clock& clock, QWidget* parent)
    : QMainWindow(parent),
      ui_(this),
      model_(std::make_unique<core::MainModel>(std::move(dataDir), clock, ui_)) {
  AppImages::Init();
  setObjectName(QStringLiteral("MainWindow"));
  setWindowTitle(QString::fromLatin1(kMainCaption));
  setWindowIcon(AppImages::AppIcon());
  HelpLauncher::SetContext(this, kHelpMain);
  ui_.SetWizardRunner([this] { return RunWizard(); });
  model_->processEvents = [] { QCoreApplication::processEvents(); };

  tray_ = new TrayController(this);
  // Unattended work tells the desktop, which waits for nobody; the icon keeps a mark until the
  // window is looked at. Without a notification service: the tray's balloon, else a box that does
  // not hold anything up.
  auto* notifier = new DesktopNotifier(
      [this](const core::Notice& n) {
        if (tray_->Available()) {
          tray_->ShowBalloon(Q(n.title), Q(n.body), n.kind == core::NoticeKind::Failure);
          return;
        }
        auto* box = new QMessageBox(QMessageBox::Warning, QString::fromLatin1(kMainCaption),
                                    Q(n.title + "\n" + n.body), QMessageBox::Ok, this);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setModal(false);
        box->show();
      },
      this);
  ui_.SetNoticeHandler([this, notifier](const core::Notice& n) {
    notifier->Notify(n);
    if (n.kind == core::NoticeKind::Failure && !isActiveWindow()) tray_->SetAttention(true);
  });
  BuildMenu();
  BuildToolbar();

  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(2, 2, 2, 2);
  pages_ = new QTabWidget(central);
  pages_->setObjectName(QStringLiteral("PageControl1"));
  backupTab_ = new BackupTab(*model_, pages_);
  restoreTab_ = new RestoreTab(*model_, pages_);
  logTab_ = new LogTab(*model_, pages_);
  pages_->addTab(Scrolled(backupTab_, pages_), QStringLiteral("Backup "));
  pages_->addTab(Scrolled(restoreTab_, pages_), QStringLiteral("Restore"));
  pages_->addTab(logTab_, QStringLiteral("Log"));
  layout->addWidget(pages_, 1);
  setCentralWidget(central);
  // The status bar tells what runs (also a scheduled run, which leaves the tabs alone) and how far.
  runLabel_ = new QLabel(this);
  runLabel_->setObjectName(QStringLiteral("LabelRun"));
  statusBar()->addWidget(runLabel_);
  lastBackupLabel_ = new QLabel(this);
  lastBackupLabel_->setObjectName(QStringLiteral("LabelLastBackup"));
  statusBar()->addWidget(lastBackupLabel_);
  progress_ = new QProgressBar(this);
  progress_->setObjectName(QStringLiteral("ProgressBar1"));
  progress_->setRange(0, 100);
  progress_->setValue(0);
  progress_->setTextVisible(false);
  progress_->setFixedHeight(16);
  statusBar()->addPermanentWidget(progress_, 1);
  DialogSize::SetFile(WindowSettings().fileName());
  // The size the user left the window at, else the usual one; both shrink to fit the screen.
  const QSize remembered =
      WindowSettings().value(DialogSize::SizeKey(QStringLiteral("MainWindow/size"), this)).toSize();
  resize(remembered.isValid() ? remembered : QSize(kWindowWidth, kWindowHeight));

  connect(pages_, &QTabWidget::currentChanged, this, [this](int index) {
    if (static_cast<int>(model_->Page()) != index) model_->ShowPage(static_cast<core::MainPage>(index));
    if (index == static_cast<int>(core::MainPage::Restore)) restoreTab_->Enter();
  });

  timer_ = new QTimer(this);
  timer_->setObjectName(QStringLiteral("Timer1"));
  timer_->setInterval(core::kScheduleTickMilliseconds);
  connect(timer_, &QTimer::timeout, this,
          [this] { RunReportingErrors(this, [this] { model_->ScheduleTick(); }); });
  ConnectTray();

  listenerId_ = model_->Subscribe([this](unsigned changes) { OnModelChanged(changes); });
  OnModelChanged(core::ModelChange::All);
}

MainWindow::~MainWindow() {
  model_->Unsubscribe(listenerId_);
  model_->processEvents = nullptr;
  if (cursorOverridden_) QApplication::restoreOverrideCursor();
}

QToolButton* MainWindow::ToolButton(const char* name, const char* icon, const char* label,
                                    const char* tooltip) {
  auto* button = new QToolButton(this);
  button->setObjectName(QString::fromLatin1(name));
  button->setToolTip(QString::fromLatin1(tooltip));
  button->setIcon(AppImages::Tool(icon));
  button->setIconSize(QSize(24, 24));
  // A word under each icon: several icons alone are hard to tell apart.
  button->setText(QString::fromLatin1(label));
  button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  button->setAutoRaise(true);
  return button;
}

void MainWindow::BuildMenu() {
  menu_ = new QMenu(this);
  menu_->setObjectName(QStringLiteral("PopupMenuMain"));
  menuPreferences_ = menu_->addAction(QStringLiteral("Preferences..."));
  menuPreferences_->setObjectName(QStringLiteral("MenuPreferences"));
  menu_->addSeparator();
  QAction* help = menu_->addAction(QStringLiteral("Help..."));
  help->setObjectName(QStringLiteral("MenuHelp"));
  // Shown with its key; the key itself is answered for the focused window by the F1 handler.
  help->setShortcut(QKeySequence(Qt::Key_F1));
  help->setShortcutContext(Qt::WidgetShortcut);
  QAction* about = menu_->addAction(QStringLiteral("About..."));
  about->setObjectName(QStringLiteral("MenuAbout"));
  connect(menuPreferences_, &QAction::triggered, this, &MainWindow::ShowPreferences);
  connect(help, &QAction::triggered, this, [] { HelpLauncher::Open(kHelpMain); });
  connect(about, &QAction::triggered, this, &MainWindow::ShowAbout);
}

void MainWindow::BuildToolbar() {
  auto* bar = new QToolBar(this);
  toolBar_ = bar;
  bar->setObjectName(QStringLiteral("ToolBar1"));
  bar->setMovable(false);
  bar->setFloatable(false);
  bar->setContextMenuPolicy(Qt::PreventContextMenu);
  addToolBar(Qt::TopToolBarArea, bar);
  auto* label = new QLabel(QStringLiteral("Project:"), bar);
  label->setContentsMargins(4, 0, 4, 0);
  bar->addWidget(label);
  comboProject_ = new QComboBox(bar);
  comboProject_->setObjectName(QStringLiteral("comboProject"));
  comboProject_->setMinimumWidth(160);
  comboProject_->setItemDelegate(new ProjectComboDelegate(model_->DataDir(), comboProject_));
  bar->addWidget(comboProject_);
  bar->addSeparator();

  spNew_ = ToolButton("SpNew", "add", "Add", "Add Project (Ctrl+N)");
  spNew_->setShortcut(QKeySequence(QStringLiteral("Ctrl+N")));
  spEdit_ = ToolButton("SpEdit", "edit", "Edit", "Edit Project");
  spSave_ = ToolButton("SpSave", "save", "Save", "Save Project (Ctrl+S)");
  spSave_->setShortcut(QKeySequence(QStringLiteral("Ctrl+S")));
  spCancel_ = ToolButton("SpCancel", "cancel", "Cancel", "Cancel ");
  spRename_ = ToolButton("SpRename", "rename", "Rename", "Rename Project");
  spCopy_ = ToolButton("spCopy", "copy", "Copy", "Copy Project");
  spDelete_ = ToolButton("SpDelete", "delete", "Delete", "Delete Project");
  spMenu_ = ToolButton("SpMenu", "menu", "Menu", "Menu");
  spMenu_->setMenu(menu_);
  spMenu_->setPopupMode(QToolButton::InstantPopup);
  spEnable_ = ToolButton("spEnable", "schedule", "Schedule", "Enable Scheduling");
  spEnable_->setCheckable(true);
  spEnable_->setChecked(true);
  spStart_ = ToolButton("SpStart", "backup", "Back up", "Create Backup (Ctrl+B)");
  spStart_->setShortcut(QKeySequence(QStringLiteral("Ctrl+B")));
  spRestore_ = ToolButton("SpRestore", "restore", "Restore", "Restore File");
  spExit_ = ToolButton("SpExit", "exit", "Exit", "Exit (Ctrl+Q)");
  spExit_->setShortcut(QKeySequence(QStringLiteral("Ctrl+Q")));
  spStop_ = ToolButton("SpStop", "cancel", "Stop", "Stop the running backup or restore (Esc)");
  spStop_->setIcon(style()->standardIcon(QStyle::SP_BrowserStop));
  spStop_->setShortcut(QKeySequence(Qt::Key_Escape));
  spStop_->setEnabled(false);
  toolButtons_ = {spNew_,  spEdit_,   spSave_,  spCancel_,  spRename_, spCopy_, spDelete_,
                  spMenu_, spEnable_, spStart_, spRestore_, spStop_,   spExit_};
  for (QToolButton* b : {spNew_, spEdit_, spSave_, spCancel_, spRename_, spCopy_, spDelete_})
    bar->addWidget(b);
  bar->addSeparator();
  for (QToolButton* b : {spMenu_, spEnable_}) bar->addWidget(b);
  bar->addSeparator();
  for (QToolButton* b : {spStart_, spRestore_, spStop_}) bar->addWidget(b);
  bar->addSeparator();
  bar->addWidget(spExit_);

  connect(comboProject_, &QComboBox::activated, this, [this](int index) {
    RunReportingErrors(this, [&] {
      if (SettleUnsavedChanges(*model_)) {
        model_->SelectProject(index);
      } else {
        comboProject_->setCurrentIndex(model_->Selected());
      }
    });
  });
  connect(spNew_, &QToolButton::clicked, this, [this] { RunCommand(ProjectCommand::Add); });
  connect(spEdit_, &QToolButton::clicked, this, [this] { RunCommand(ProjectCommand::Edit); });
  connect(spSave_, &QToolButton::clicked, this, [this] { RunCommand(ProjectCommand::Save); });
  connect(spCancel_, &QToolButton::clicked, this, [this] { RunCommand(ProjectCommand::Cancel); });
  connect(spRename_, &QToolButton::clicked, this, [this] { RunCommand(ProjectCommand::Rename); });
  connect(spCopy_, &QToolButton::clicked, this, [this] { RunCommand(ProjectCommand::Copy); });
  connect(spDelete_, &QToolButton::clicked, this, [this] { RunCommand(ProjectCommand::Delete); });
  connect(spEnable_, &QToolButton::clicked, this, [this](bool checked) {
    const bool on = model_->SetSchedulingByUser(checked);
    spEnable_->setChecked(on);
    SyncScheduling();
  });
  connect(spStart_, &QToolButton::clicked, this, &MainWindow::CreateBackup);
  connect(spRestore_, &QToolButton::clicked, this, [this] { restoreTab_->Restore(); });
  connect(spExit_, &QToolButton::clicked, this, &QWidget::close);
  connect(spStop_, &QToolButton::clicked, this, &MainWindow::StopRun);
}

bool MainWindow::StopRun() {
  if (!model_->Busy()) return false;
  model_->RequestStop();
  return true;
}

void MainWindow::ConnectTray() {
  connect(tray_, &TrayController::openRequested, this, &MainWindow::RestoreFromTray);
  connect(tray_, &TrayController::schedulingToggled, this, [this] {
    const bool on = model_->SetSchedulingByUser(!model_->Settings().enableSchedule);
    spEnable_->setChecked(on);
    SyncScheduling();
  });
  connect(tray_, &TrayController::projectChosen, this, [this](const QString& name) {
    RunReportingErrors(this, [&] {
      if (SettleUnsavedChanges(*model_) && model_->SelectProjectByName(name.toStdString()))
        model_->RunBackup();
    });
  });
  connect(tray_, &TrayController::helpRequested, this, [] { HelpLauncher::Open(kHelpMain); });
  connect(tray_, &TrayController::exitRequested, this, &QWidget::close);
  connect(tray_, &TrayController::stopRequested, this, &MainWindow::StopRun);
}

void MainWindow::RunCommand(ProjectCommand command) {
  RunReportingErrors(this, [&] { RunProjectCommand(*model_, command); });
}

void MainWindow::CreateBackup() {
  RunReportingErrors(this, [this] { model_->RunBackup(); });
}

void MainWindow::Start() {
  tray_->SetIcon(AppImages::AppIcon());
  started_ = true;
  model_->Start();
  SyncTimer();
}

void MainWindow::ShowAtStart() {
  if (model_->StartMinimized()) {
    showMinimized();
  } else {
    show();
  }
}

QRect MainWindow::ScreenArea() const {
  const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
  return s ? s->availableGeometry() : QRect(0, 0, 1024, 768);
}

QPoint MainWindow::PlacedPosition() const {
  const QRect area = ScreenArea();
  const QPoint centred(area.x() + (area.width() - width()) / 2,
                       area.y() + (area.height() - height()) / 2 - 14);
  // Never above or left of the usable area, so that the title bar stays reachable.
  return QPoint(std::max(area.x(), centred.x()), std::max(area.y(), centred.y()));
}

void MainWindow::FitToScreen() {
  // The frame (title bar, borders) needs room too; before the first show it is estimated.
  const QRect area = ScreenArea();
  const int frameWidth = std::max(frameGeometry().width() - width(), 8);
  const int frameHeight = std::max(frameGeometry().height() - height(), 40);
  const QSize room(area.width() - frameWidth, area.height() - frameHeight);
  if (width() > room.width() || height() > room.height()) resize(size().boundedTo(room));
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  FitToolbar();
}

void MainWindow::FitToolbar() {
  // Words under the icons while they fit; icons alone (with their tooltips) on a narrow window,
  // so that no button, Stop least of all, hides behind the toolbar's overflow arrow.
  if (labelledWidth_ == 0) {
    for (QToolButton* b : toolButtons_) b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    labelledWidth_ = toolBar_->sizeHint().width();
  }
  const Qt::ToolButtonStyle style =
      width() >= labelledWidth_ ? Qt::ToolButtonTextUnderIcon : Qt::ToolButtonIconOnly;
  for (QToolButton* b : toolButtons_) b->setToolButtonStyle(style);
}

void MainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (isMinimized() || isMaximized()) return;
  FitToScreen();
  move(PlacedPosition());
}

QSettings MainWindow::WindowSettings() const {
  return QSettings(QString::fromStdString(model_->DataDir()) + QStringLiteral("window.ini"),
                   QSettings::IniFormat);
}

void MainWindow::OnModelChanged(unsigned changes) {
  using namespace core::ModelChange;
  if (changes & (ProjectList | Schedule)) SyncProjectList();
  if (changes & (Settings | Schedule)) SyncScheduling();
  if (changes & Schedule) SyncTimer();
  if (changes & (Form | State)) backupTab_->Sync();
  if (changes & State) SyncState();
  if (changes & Progress) progress_->setValue(model_->Progress());
  if (changes & (Progress | State)) SyncRunText();
  if (changes & (Log | Settings)) logTab_->Sync();
  if (changes & (Log | Form | ProjectList | Schedule)) SyncLastBackup();
  if (changes & Page) {
    const int index = static_cast<int>(model_->Page());
    if (pages_->currentIndex() != index) pages_->setCurrentIndex(index);
  }
  if ((changes & RestoreRefresh) && model_->Page() == core::MainPage::Restore) restoreTab_->Refresh();
}

void MainWindow::SyncProjectList() {
  const QSignalBlocker block(comboProject_);
  comboProject_->clear();
  for (const std::string& name : model_->Projects()) {
    const bool scheduled = ProjectComboDelegate::Scheduled(model_->DataDir(), name);
    comboProject_->addItem(scheduled ? QIcon(AppImages::Clock()) : QIcon(), Q(name));
  }
  comboProject_->setCurrentIndex(model_->Selected());
  tray_->SetProjects(model_->TrayItems());
  tray_->SetProjectItemsEnabled(model_->Enabling().trayProjectItems);
}

void MainWindow::SyncScheduling() {
  if (!started_) return;  // the look is set by the first settings load
  const bool on = model_->Settings().enableSchedule;
  spEnable_->setChecked(on);
  const QString caption = Q(model_->SchedulingCaption());
  spEnable_->setToolTip(caption);
  tray_->SetSchedulingCaption(Q(model_->SchedulingActionCaption()));
  const QIcon icon = AppImages::SchedulingIcon(on);
  setWindowIcon(icon);
  tray_->SetIcon(icon);
}

void MainWindow::SyncTimer() {
  if (model_->TimerActive() && !shutDown_) {
    if (!timer_->isActive()) timer_->start();
  } else {
    timer_->stop();
  }
}

QString MainWindow::RunText() const {
  if (!model_->Busy()) return {};
  const QString what = model_->RunInProgress()
                           ? QStringLiteral("Backing up '%1'").arg(Q(model_->SelectedName()))
                           : QStringLiteral("Restoring");
  return QStringLiteral("%1: %2%").arg(what).arg(model_->Progress());
}

void MainWindow::SyncRunText() {
  const QString text = RunText();
  runLabel_->setText(text);
  tray_->SetActivity(text);
}

void MainWindow::SyncLastBackup() {
  const std::string& dataDir = model_->DataDir();
  const core::DateTime now = model_->GetClock().Now();
  QString shown;
  bool warn = false;
  QStringList lines;
  for (const std::string& name : model_->Projects()) {
    const core::BackupStatus status = core::BackupStatusOf(dataDir, name, now);
    if (name == model_->SelectedName()) {
      shown = Q(status.text);
      warn = status.warning;
    }
    const QString line = Q(name + ": " + status.text);
    if (status.warning)
      lines.prepend(line);
    else
      lines.append(line);
  }
  // The selected project's line, in the failure colour when it warns; every project's in the tray.
  lastBackupLabel_->setText(model_->Busy() ? QString() : shown);
  QPalette palette = lastBackupLabel_->palette();
  palette.setColor(QPalette::WindowText,
                   warn ? FailureTextColor(palette) : this->palette().color(QPalette::WindowText));
  lastBackupLabel_->setPalette(palette);
  while (lines.size() > 8) lines.removeLast();
  tray_->SetStatusLines(lines.join(QLatin1Char('\n')));
}

void MainWindow::SyncState() {
  const core::ControlEnabling e = model_->Enabling();
  comboProject_->setEnabled(e.comboProject);
  spNew_->setEnabled(e.spNew);
  spEdit_->setEnabled(e.spEdit);
  spSave_->setEnabled(e.spSave);
  spCancel_->setEnabled(e.spCancel);
  spRename_->setEnabled(e.spRename);
  spCopy_->setEnabled(e.spCopy);
  spDelete_->setEnabled(e.spDelete);
  spMenu_->setEnabled(e.spMenu);
  menuPreferences_->setEnabled(e.menuPreferences);
  spEnable_->setEnabled(e.spEnable);
  spStart_->setEnabled(e.spStart);
  spRestore_->setEnabled(e.spRestore);
  spExit_->setEnabled(e.spExit);
  spStop_->setEnabled(model_->Busy());
  tray_->SetStopEnabled(model_->Busy());
  // A quit the user asked for during the run takes place once it has ended.
  if (quitAfterRun_ && !model_->Busy()) QTimer::singleShot(0, this, &QWidget::close);
  pages_->setEnabled(e.pageControl);
  tray_->SetProjectItemsEnabled(e.trayProjectItems);
  if (e.busyCursor && !cursorOverridden_) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    cursorOverridden_ = true;
  } else if (!e.busyCursor && cursorOverridden_) {
    QApplication::restoreOverrideCursor();
    cursorOverridden_ = false;
  }
  if (model_->Editing() && !wasEditing_) backupTab_->FocusBackupList();
  wasEditing_ = model_->Editing();
}

bool MainWindow::RunWizard() {
  model_->ShowPage(core::MainPage::Backup);
  AddProjectWizard wizard(model_->DataDir(), model_->Projects(), model_->Settings(), ui_, model_->GetClock(),
                          this);
  return wizard.exec() == QDialog::Accepted;
}

void MainWindow::ShowPreferences() {
  const core::IniFile ini(core::ProjectIniPath(model_->DataDir()));
  PreferencesValues values;
  values.autoRun = ini.ReadBool(core::kCommonSection, "Auto Run", false);
  values.isMinimized = ini.ReadBool(core::kCommonSection, "Is Minimized", false);
  const core::GlobalSettings& s = model_->Settings();
  values.prompt = s.promptBeforeBackup;
  values.appendZero = s.isAppend0;
  values.width = s.width;
  values.overwrite = s.isOverWrite;
  values.logCount = s.logCount;
  const std::string dataDir = model_->DataDir();
  const std::string autostartFolder = property("autostartFolder").toString().toStdString();
  PreferencesDialog dialog(
      values,
      [autostartFolder](bool enable) {
        const platform::Autostart entry =
            autostartFolder.empty() ? platform::Autostart() : platform::Autostart(autostartFolder);
        return enable ? entry.Set(QCoreApplication::applicationFilePath().toStdString()) : entry.Remove();
      },
      [this, dataDir](bool autoRun, bool isMinimized) {
        RunReportingErrors(this, [&] { core::WriteAutoRun(dataDir, autoRun, isMinimized); });
      },
      this);
  if (dialog.exec() != QDialog::Accepted) return;
  const PreferencesValues v = dialog.Values();
  core::GlobalSettings& g = model_->Settings();
  g.promptBeforeBackup = v.prompt;
  g.isAppend0 = v.appendZero;
  g.width = v.width;
  g.isOverWrite = v.overwrite;
  model_->SetLogLimit(v.logCount);
}

void MainWindow::ShowAbout() {
  AboutDialog about(this);
  about.exec();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (model_->Busy()) {
    // The run is in the middle of the call stack; the window closes after it has unwound.
    if (quitAfterRun_ || AskYesNo(this, core::MessageKind::Warning,
                                  QStringLiteral("A backup or restore is running. Stop it and quit?"))) {
      quitAfterRun_ = true;
      model_->RequestStop();
    }
    event->ignore();
    return;
  }
  if (!shutDown_) {
    // Changes waiting to be saved are shown, not asked about behind a hidden window.
    if (model_->HasUnsavedChanges() && !isVisible()) RestoreFromTray();
    bool settled = false;
    RunReportingErrors(this, [&] { settled = SettleUnsavedChanges(*model_); });
    if (!settled) {
      event->ignore();
      return;
    }
    shutDown_ = true;
    if (!isMaximized() && !isMinimized())
      WindowSettings().setValue(DialogSize::SizeKey(QStringLiteral("MainWindow/size"), this), size());
    timer_->stop();
    RunReportingErrors(this, [this] { model_->Shutdown(); });
  }
  event->accept();
  QMainWindow::closeEvent(event);
  emit closedForGood();
}

void MainWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() != QEvent::WindowStateChange || !isMinimized()) return;
  if (model_->StartMinimized()) {
    // The first minimise of a minimised start keeps the window where it started.
    model_->ClearStartMinimized();
    return;
  }
  if (isVisible()) QTimer::singleShot(0, this, &MainWindow::HideToTray);
}

void MainWindow::HideToTray() {
  if (!isMinimized()) return;
  if (!tray_->Available()) {
    // Without a notification area the taskbar entry is the only way back, so it stays.
    if (!toldNoTray_) {
      toldNoTray_ = true;
      auto* box = new QMessageBox(QMessageBox::Information, QStringLiteral("Information"),
                                  QStringLiteral("This desktop has no notification area: the program keeps "
                                                 "running and stays on the taskbar while minimised."),
                                  QMessageBox::Ok, this);
      box->setObjectName(QStringLiteral("NoTrayNotice"));
      box->setAttribute(Qt::WA_DeleteOnClose);
      box->open();
    }
    return;
  }
  hide();
}

void MainWindow::RestoreFromTray() {
  tray_->SetAttention(false);
  if (model_->StartMinimized()) model_->ClearStartMinimized();
  showNormal();
  raise();
  activateWindow();
}

void MainWindow::BringToFront() {
  RestoreFromTray();
  // A dialog the instance has open comes to the front over the window.
  if (QWidget* modal = QApplication::activeModalWidget()) {
    modal->show();
    modal->raise();
    modal->activateWindow();
  }
}

}  // namespace brisko::ui
