// The main window end to end: start-up, edit state, backup, restore, scheduling switch, preferences.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <optional>

#include "UiTestRegistry.h"
#include "UiTestSupport.h"
#include "core/IniFile.h"
#include "core/ProjectList.h"
#include "core/ProjectStore.h"
#include "core/Scheduler.h"
#include "core/SettingsFiles.h"
#include "core/SystemClock.h"
#include "core/view/ProjectFormStore.h"
#include "ui/MainWindow.h"
#include "ui/QtUserInteraction.h"
#include "ui/RestoreTab.h"
#include "ui/TrayController.h"

using brisko::uitest::DataFolder;
using brisko::uitest::ModalAnswerer;
using brisko::uitest::WaitFor;

namespace {

// Answers the desktop's choosers with fixed paths.
class FixedPicker : public brisko::ui::FilePicker {
 public:
  explicit FixedPicker(QStringList paths) : paths_(std::move(paths)) {}
  QString PickFolder(QWidget*, const QString&, const QString&) override { return paths_.value(0); }
  QStringList PickFiles(QWidget*, const QString&, const QString&) override { return paths_; }

 private:
  QStringList paths_;
};

// A project "Docs" backing up one file of `source` into `out`, without password or schedule.
void WriteProject(const std::string& dataDir, const QString& source, const QString& out) {
  brisko::core::ProjectForm form;
  form.backupList = {(source + QStringLiteral("/report.txt")).toStdString()};
  form.prefix = "Docs";
  form.suffix = brisko::core::SuffixKind::Number;
  form.nextNumber = 1;
  form.increase = 1;
  form.fileName = (out + QStringLiteral("/Docs1.zip")).toStdString();
  form.storePaths = true;
  form.includeSubfolders = true;
  form.packLevel = 6;
  form.newerDate = 45000;
  brisko::core::SaveProject(dataDir, "Docs", form);
  brisko::core::WriteProjectList(dataDir, {"Docs"});
  brisko::core::WriteLastProject(dataDir, "Docs");
}

template <typename T>
T* Find(QWidget* root, const char* name) {
  T* w = root->findChild<T*>(QString::fromLatin1(name));
  if (!w) qWarning("widget %s not found", name);
  return w;
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT
 private:
  std::unique_ptr<DataFolder> data_;
  std::unique_ptr<brisko::ui::MainWindow> window_;
  QString source_, out_;

  void Open(bool withProject) {
    data_ = std::make_unique<DataFolder>();
    source_ = data_->File(QStringLiteral("src"));
    out_ = data_->File(QStringLiteral("out"));
    QDir().mkpath(source_);
    QDir().mkpath(out_);
    QFile f(source_ + QStringLiteral("/report.txt"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(5000, 'r'));
    f.close();
    if (withProject) WriteProject(data_->DataDir(), source_, out_);
    window_ =
        std::make_unique<brisko::ui::MainWindow>(data_->DataDir(), brisko::core::SystemClock::Instance());
    window_->setProperty("autostartFolder", data_->File(QStringLiteral("autostart")));
    window_->Start();
    window_->ShowAtStart();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
  }

  QToolButton* Button(const char* name) { return Find<QToolButton>(window_.get(), name); }

 private slots:
  void cleanup() {
    if (window_) window_->close();
    window_.reset();
    data_.reset();
  }

  void startsWithoutProjectIni() {
    Open(false);
    QCOMPARE(window_->windowTitle(), QStringLiteral("Brisko ZIP Backup  V1.10"));
    QCOMPARE(Find<QComboBox>(window_.get(), "comboProject")->count(), 0);
    QVERIFY(Button("spEnable")->isChecked());
    auto* log = Find<QTableWidget>(window_.get(), "StringGridLog");
    QCOMPARE(log->rowCount() + 1, 51);  // 50 rows and the heading row
    QCOMPARE(log->horizontalHeaderItem(2)->text(), QStringLiteral("Status"));
    QVERIFY(!Button("SpSave")->isEnabled());
    QVERIFY(!Button("SpCancel")->isEnabled());
    QVERIFY(Button("SpNew")->isEnabled());
    QVERIFY(!Find<QGroupBox>(window_.get(), "GroupSource")->isEnabled());
    QVERIFY(window_->minimumSize() != window_->maximumSize());  // resizable
    // Centred, 14 pixels above the middle; the window system may shift the frame by its border.
    QVERIFY((window_->pos() - window_->PlacedPosition()).manhattanLength() <= 4);
    const QRect screen = window_->screen()->geometry();
    QCOMPARE(window_->PlacedPosition().y(), (screen.height() - window_->height()) / 2 - 14);
    auto* tabs = Find<QTabWidget>(window_.get(), "PageControl1");
    QCOMPARE(tabs->tabText(0), QStringLiteral("Backup "));
    QCOMPARE(Button("SpCancel")->toolTip(), QStringLiteral("Cancel "));
    // A word under every icon while the window is wide enough, the shortcut in the tooltip.
    window_->resize(1300, 600);
    QCOMPARE(Button("SpStart")->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
    QVERIFY(!Button("SpStart")->text().isEmpty());
    window_->resize(640, 480);
    QCOMPARE(Button("SpStop")->toolButtonStyle(), Qt::ToolButtonIconOnly);
    QCOMPARE(Button("SpStart")->toolTip(), QStringLiteral("Create Backup (Ctrl+B)"));
    // Closing with no project leaves the settings file untouched (here: not created).
    window_->close();
    QVERIFY(!QFileInfo::exists(data_->File(QStringLiteral("project.ini"))));
  }

  void editAndCancelFollowTheEnablingRules() {
    Open(true);
    auto* combo = Find<QComboBox>(window_.get(), "comboProject");
    QCOMPARE(combo->currentText(), QStringLiteral("Docs"));
    auto* fileName = Find<QLineEdit>(window_.get(), "EditFileName");
    QCOMPARE(fileName->text(), out_ + QStringLiteral("/Docs1.zip"));
    Button("SpEdit")->click();
    QVERIFY(Button("SpSave")->isEnabled());
    QVERIFY(!Button("SpStart")->isEnabled());
    QVERIFY(!combo->isEnabled());
    QVERIFY(Find<QGroupBox>(window_.get(), "GroupOptions")->isEnabled());
    // Dependencies: the password edits follow their box; the prefix recomposes the name.
    auto* password = Find<QLineEdit>(window_.get(), "EditPassword");
    QVERIFY(!password->isEnabled());
    Find<QCheckBox>(window_.get(), "CheckBoxPassword")->click();
    QVERIFY(password->isEnabled());
    auto* prefix = Find<QLineEdit>(window_.get(), "EditPrefix");
    prefix->selectAll();
    QTest::keyClicks(prefix, QStringLiteral("Mail"));
    QCOMPARE(fileName->text(), out_ + QStringLiteral("/Mail1.zip"));
    auto* level = Find<QSpinBox>(window_.get(), "SpinLevel");
    level->setValue(2);
    Button("SpCancel")->click();
    QCOMPARE(level->value(), 6);
    QCOMPARE(fileName->text(), out_ + QStringLiteral("/Docs1.zip"));
    QVERIFY(!Button("SpSave")->isEnabled());
    QVERIFY(Button("SpStart")->isEnabled());
  }

  void saveStoresTheEditedProject() {
    Open(true);
    Button("SpEdit")->click();
    Find<QSpinBox>(window_.get(), "SpinLevel")->setValue(3);
    Button("SpSave")->click();
    QVERIFY(!Button("SpSave")->isEnabled());
    QVERIFY(Button("SpEdit")->isEnabled());
    const brisko::core::IniFile ini(brisko::core::ProjectIniPath(data_->DataDir()));
    QCOMPARE(ini.ReadInteger("Docs", "PackLevel", 0), 3);
  }

  void wizardCreatesAProjectPageByPage() {
    Open(true);
    const QString file = source_ + QStringLiteral("/report.txt");
    FixedPicker picker({file});
    window_->Ui().SetFilePicker(&picker);
    ModalAnswerer answer;
    answer.Then([&](QWidget* wizard) {
      QCOMPARE(wizard->windowTitle(), QStringLiteral("Add project wizard - Step 1 of 6"));
      auto* next = wizard->findChild<QPushButton*>(QStringLiteral("ButtonNext"));
      QVERIFY(!wizard->findChild<QPushButton*>(QStringLiteral("ButtonBack"))->isEnabled());
      // A name that differs from an existing one only in case is refused.
      auto* name = wizard->findChild<QLineEdit*>(QStringLiteral("EditProjectName"));
      QTest::keyClicks(name, QStringLiteral("docs"));
      ModalAnswerer refused;
      refused.Then(brisko::uitest::Ok());
      next->click();
      QCOMPARE(refused.Seen().value(0), QStringLiteral("Project 'docs' exists,please input another name!"));
      name->clear();
      QTest::keyClicks(name, QStringLiteral("  Mail  "));
      next->click();
      QCOMPARE(wizard->windowTitle(), QStringLiteral("Add project wizard - Step 2 of 6"));
      ModalAnswerer empty;
      empty.Then(brisko::uitest::Ok());
      next->click();
      QCOMPARE(empty.Seen().value(0), QStringLiteral("Please select files to backup"));
      wizard->findChild<QToolButton*>(QStringLiteral("ListboxBackupFilename"))->click();
      next->click();
      QCOMPARE(wizard->findChild<QLabel*>(QStringLiteral("LabelSubfolders"))->text(),
               QStringLiteral("Subdirectories are included"));
      next->click();
      QCOMPARE(wizard->findChild<QLineEdit*>(QStringLiteral("EditPrefix"))->text(), QStringLiteral("Mail"));
      QVERIFY(wizard->findChild<QLineEdit*>(QStringLiteral("EditFileName"))
                  ->text()
                  .endsWith(QStringLiteral("Mail1.zip")));
      next->click();
      next->click();
      QCOMPARE(next->text(), QStringLiteral("Finish"));
      next->click();
    });
    Button("SpNew")->click();
    QVERIFY(answer.AllAnswered());
    auto* combo = Find<QComboBox>(window_.get(), "comboProject");
    QCOMPARE(combo->currentText(), QStringLiteral("Mail"));
    QCOMPARE(combo->count(), 2);
    QCOMPARE(window_->Tray().ProjectMenu()->actions().size(), 2);
  }

  void createBackupWritesArchiveShowsTimedMessageAndLogs() {
    Open(true);
    ModalAnswerer answer;
    answer.Then([](QWidget* d) {
      QCOMPARE(d->objectName(), QStringLiteral("TimedMessageBox"));
      brisko::uitest::ClickButton(d, QStringLiteral("OK"));
    });
    Button("SpStart")->click();
    QVERIFY(WaitFor([&] { return answer.AllAnswered(); }));
    QVERIFY(answer.Seen().value(0).startsWith(QStringLiteral("Backup Files Succeeds!")));
    QVERIFY(QFileInfo::exists(out_ + QStringLiteral("/Docs1.zip")));
    auto* log = Find<QTableWidget>(window_.get(), "StringGridLog");
    QCOMPARE(log->item(0, 1)->text(), QStringLiteral("Backup"));
    QCOMPARE(log->item(0, 2)->text(), QStringLiteral("Succeeds"));
    QCOMPARE(Find<QLineEdit>(window_.get(), "EditFileName")->text(), out_ + QStringLiteral("/Docs2.zip"));
    QVERIFY(Button("SpStart")->isEnabled());  // the busy state is over
  }

  void existingArchiveIsInterruptedAndDrawnRed() {
    Open(true);
    QFile existing(out_ + QStringLiteral("/Docs1.zip"));
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.close();
    ModalAnswerer answer;
    answer.Then(brisko::uitest::Ok());
    Button("SpStart")->click();
    QVERIFY(WaitFor([&] { return answer.AllAnswered(); }));
    QVERIFY(answer.Seen().value(0).contains(QStringLiteral(" exists,backup will be interrupted!")));
    auto* log = Find<QTableWidget>(window_.get(), "StringGridLog");
    QCOMPARE(log->item(0, 2)->text(), QStringLiteral("Interrupt"));
    QVERIFY(log->item(0, 0)->data(Qt::UserRole + 1).toBool());
  }

  void backupTabSaysWhenAChainKeepsMoreThanTheKeepCount() {
    Open(true);
    auto* note = Find<QLabel>(window_.get(), "LabelKeptBeyond");
    QVERIFY(note->isHidden());
    QFile ring(QString::fromStdString(brisko::core::StoreNumberPath(data_->DataDir())));
    QVERIFY(ring.open(QIODevice::WriteOnly));
    ring.write("[Docs]\r\nHeld Count=2\r\nHeld0=/b/Docs1.zip\r\nHeld1=/b/Docs2.zip\r\n");
    ring.close();
    window_->Model().Notify(brisko::core::ModelChange::Form);
    QVERIFY(!note->isHidden());
    QVERIFY(note->text().startsWith(QStringLiteral("2 archive(s) kept beyond the last 50")));
  }

  void windowFitsALaptopScreenAtTextScaling() {
    Open(true);
    QVERIFY(window_->minimumSize().width() < 1000);  // resizable, no longer fixed
    auto* tabs = Find<QTabWidget>(window_.get(), "PageControl1");
    QTableView* contents = window_->Restore().ContentsGrid();
    // 1366x768 at 125% and 150%, less a panel and the title bar: every tab fits, its contents scroll.
    for (const double scale : {1.25, 1.5}) {
      const QSize room(static_cast<int>(1366 / scale), static_cast<int>(768 / scale) - 70);
      window_->resize(room);
      QVERIFY2(window_->size() == room, qPrintable(QStringLiteral("%1").arg(scale)));
    }
    // The contents grid grows with the window.
    tabs->setCurrentIndex(1);
    window_->resize(900, 500);
    QTest::qWait(50);
    const int small = contents->height();
    window_->resize(900, 700);
    QTest::qWait(50);
    QVERIFY(contents->height() > small);
  }

  void stopDuringABackupRemovesThePartialArchive() {
    Open(true);
    {
      QFile big(source_ + QStringLiteral("/report.txt"));
      QVERIFY(big.open(QIODevice::WriteOnly));
      big.write(QByteArray(8 << 20, 'b'));
    }
    QToolButton* stop = Button("SpStop");
    QVERIFY(!stop->isEnabled());
    bool stopWasEnabled = false;
    auto& model = window_->Model();
    const auto pump = model.processEvents;
    model.processEvents = [&] {
      if (!stopWasEnabled && stop->isEnabled()) {
        stopWasEnabled = true;
        stop->click();  // as the user would, while the writer works
      }
      pump();
    };
    ModalAnswerer answer;
    answer.Then(brisko::uitest::Ok());
    Button("SpStart")->click();
    QVERIFY(WaitFor([&] { return answer.AllAnswered(); }));
    model.processEvents = pump;
    QVERIFY(stopWasEnabled);
    QVERIFY(answer.Seen().value(0).startsWith(QStringLiteral("Backup stopped: ")));
    QCOMPARE(QDir(out_).entryList(QDir::Files), QStringList());  // no archive, no temporary file
    auto* log = Find<QTableWidget>(window_.get(), "StringGridLog");
    QCOMPARE(log->item(0, 2)->text(), QStringLiteral("Interrupt"));
    QVERIFY(log->item(0, 4)->text().endsWith(QStringLiteral("backup stopped by the user")));
    QVERIFY(!stop->isEnabled());
  }

  void restoreTabListsArchivesAndRestores() {
    Open(true);
    {
      ModalAnswerer answer;
      answer.Then(brisko::uitest::Ok());
      Button("SpStart")->click();
      QVERIFY(WaitFor([&] { return answer.AllAnswered(); }));
    }
    auto* tabs = Find<QTabWidget>(window_.get(), "PageControl1");
    tabs->setCurrentIndex(1);
    auto* grid = Find<QTableWidget>(window_.get(), "StringGridZipfilename");
    QCOMPARE(grid->item(0, 0)->text(), QStringLiteral("Docs1.zip"));
    QCOMPARE(Find<QLabel>(window_.get(), "LabelZipNumber")->text(), QStringLiteral("(Total 1 files)"));
    // Folder rows come first, then the member itself.
    QAbstractItemModel* contents = Find<QTableView>(window_.get(), "StringGrid1")->model();
    const int last = contents->rowCount() - 1;
    QCOMPARE(contents->index(last, 0).data().toString(), QStringLiteral("report.txt"));
    QCOMPARE(contents->index(last, 1).data().toString(), QStringLiteral("4"));

    const QString target = data_->File(QStringLiteral("restored"));
    QDir().mkpath(target);
    auto* restoreTo = Find<QLineEdit>(window_.get(), "DirectoryRestore");
    restoreTo->setText(target);
    emit restoreTo->textEdited(target);
    Find<QCheckBox>(window_.get(), "CheckBoxUseFolder")->setChecked(false);
    ModalAnswerer answer;
    answer.Then([](QWidget* d) {
      auto* box = qobject_cast<QMessageBox*>(d);
      QVERIFY(box && box->text().startsWith(QStringLiteral("Do you want to restore the file 'Docs1.zip'?")));
      brisko::uitest::ClickButton(d, QStringLiteral("Yes"));
    });
    answer.Then(brisko::uitest::Ok());
    Button("SpRestore")->click();
    QVERIFY(WaitFor([&] { return answer.AllAnswered(); }));
    QVERIFY(answer.Seen().value(1).startsWith(QStringLiteral("Restore Files Succeeds!")));
    QCOMPARE(QFileInfo(target + QStringLiteral("/report.txt")).size(), qint64(5000));

    // The popup menu hides its file commands only while the list is empty.
    QMenu* menu = window_->Restore().BuildPopupMenu();
    QAction* open = menu->findChild<QAction*>(QStringLiteral("OpenZipFile1"));
    QVERIFY(open && open->isVisible());
  }

  void schedulingSwitchAsksBeforeTurningOff() {
    Open(true);
    QToolButton* toggle = Button("spEnable");
    QCOMPARE(toggle->toolTip(), QStringLiteral("Enabled Scheduling"));
    {
      ModalAnswerer answer;
      answer.Then(brisko::uitest::No());
      toggle->click();
      QVERIFY(WaitFor([&] { return answer.AllAnswered(); }));
      QCOMPARE(answer.Seen().value(0), QStringLiteral("Do you want to disable all scheduling?"));
      QVERIFY(toggle->isChecked());
    }
    {
      ModalAnswerer answer;
      answer.Then(brisko::uitest::Yes());
      toggle->click();
      QVERIFY(WaitFor([&] { return answer.AllAnswered(); }));
      QVERIFY(!toggle->isChecked());
      QCOMPARE(toggle->toolTip(), QStringLiteral("Disabled Scheduling"));
      QCOMPARE(window_->Tray().SchedulingAction()->text(), QStringLiteral("Enable scheduling"));
    }
    // Turning it on again never asks.
    toggle->click();
    QVERIFY(toggle->isChecked());
    QCOMPARE(window_->Tray().SchedulingAction()->text(), QStringLiteral("Disable scheduling"));
  }

  void trayMenuListsProjectsAndDisablesThemWhileBusy() {
    Open(true);
    QMenu* projects = window_->Tray().ProjectMenu();
    QCOMPARE(projects->actions().size(), 1);
    QCOMPARE(projects->actions().first()->text(), QStringLiteral("Docs"));
    window_->Model().SetBusy(true);
    QVERIFY(!projects->actions().first()->isEnabled());
    QVERIFY(!Button("SpStart")->isEnabled());
    QVERIFY(!Find<QTabWidget>(window_.get(), "PageControl1")->isEnabled());
    window_->Model().SetBusy(false);
    QVERIFY(projects->actions().first()->isEnabled());
  }

  void preferencesApplyWritesAutostartAndResizesTheLog() {
    Open(true);
    ModalAnswerer answer;
    answer.Then([](QWidget* d) {
      QCOMPARE(d->windowTitle(), QStringLiteral("Preferences"));
      auto* minimized = d->findChild<QCheckBox*>(QStringLiteral("CheckBoxMinimized"));
      QVERIFY(!minimized->isEnabled());
      d->findChild<QCheckBox*>(QStringLiteral("CheckBoxAutoRun"))->click();
      QVERIFY(minimized->isEnabled());
      d->findChild<QSpinBox*>(QStringLiteral("SpinLogCount"))->setValue(10);
      d->findChild<QPushButton*>(QStringLiteral("ButtonApply"))->click();
    });
    window_->ShowPreferences();
    QVERIFY(answer.AllAnswered());
    QCOMPARE(Find<QTableWidget>(window_.get(), "StringGridLog")->rowCount() + 1, 11);
    QVERIFY(QFileInfo::exists(data_->File(QStringLiteral("autostart/Brisko Compress Backup.desktop"))));
    const brisko::core::IniFile ini(brisko::core::ProjectIniPath(data_->DataDir()));
    QVERIFY(ini.ReadBool("Common", "Auto Run", false));

    // "Clo&se" takes nothing over.
    ModalAnswerer close;
    close.Then([](QWidget* d) {
      d->findChild<QSpinBox*>(QStringLiteral("SpinLogCount"))->setValue(100);
      d->findChild<QCheckBox*>(QStringLiteral("CheckBoxAutoRun"))->click();
      d->findChild<QPushButton*>(QStringLiteral("ButtonClose"))->click();
    });
    window_->ShowPreferences();
    QCOMPARE(Find<QTableWidget>(window_.get(), "StringGridLog")->rowCount() + 1, 11);
    QVERIFY(QFileInfo::exists(data_->File(QStringLiteral("autostart/Brisko Compress Backup.desktop"))));
  }

  void unsavedChangesAreAskedAboutBeforeClosing() {
    Open(true);
    Button("SpEdit")->click();
    Find<QSpinBox>(window_.get(), "SpinLevel")->setValue(3);
    const brisko::core::IniFile ini(brisko::core::ProjectIniPath(data_->DataDir()));
    for (const char* answer : {"Cancel", "Save"}) {
      ModalAnswerer ask;
      ask.Then(brisko::uitest::Press(QString::fromLatin1(answer)));
      window_->close();
      QVERIFY(ask.AllAnswered());
      QVERIFY(ask.Seen().value(0).startsWith(
          QStringLiteral("The project 'Docs' has changes that are not saved.")));
      QCOMPARE(window_->isVisible(), answer[0] == 'C');
    }
    QCOMPARE(ini.ReadInteger("Docs", "PackLevel", 0), 3);
    window_.reset();
    // Edits undone by hand leave nothing to ask about.
    Open(true);
    Button("SpEdit")->click();
    Find<QSpinBox>(window_.get(), "SpinLevel")->setValue(4);
    Find<QSpinBox>(window_.get(), "SpinLevel")->setValue(6);
    window_->close();
    QVERIFY(!window_->isVisible());
  }

  void scheduledRunLeavesTheRestoreTabAndShowsProgress() {
    Open(true);
    {
      QFile big(source_ + QStringLiteral("/report.txt"));
      QVERIFY(big.open(QIODevice::WriteOnly));
      big.write(QByteArray(4 << 20, 'b'));
    }
    {
      ModalAnswerer first;
      first.Then(brisko::uitest::Ok());
      Button("SpStart")->click();
      QVERIFY(WaitFor([&] { return first.AllAnswered(); }));
    }
    auto* tabs = Find<QTabWidget>(window_.get(), "PageControl1");
    tabs->setCurrentIndex(1);
    auto* restoreTo = Find<QLineEdit>(window_.get(), "DirectoryRestore");
    restoreTo->selectAll();
    QTest::keyClicks(restoreTo, QStringLiteral("/typed/target"));
    auto* filter = Find<QLineEdit>(window_.get(), "EditContentsFilter");
    QTest::keyClicks(filter, QStringLiteral("rep"));
    QTableView* contents = window_->Restore().ContentsGrid();
    contents->selectRow(contents->model()->rowCount() - 1);
    const std::vector<std::string> chosen = window_->Restore().SelectedMembers();
    QCOMPARE(chosen.size(), size_t(1));
    auto& model = window_->Model();
    model.Schedule() = {{"Docs", 0, 1.0, 0, "00:00:00", false}};
    QStringList shown;
    const auto pump = model.processEvents;
    model.processEvents = [&] {
      shown << Find<QLabel>(window_.get(), "LabelRun")->text() + QLatin1Char('|') + window_->Tray().Tooltip();
      pump();
    };
    int switches = 0;
    connect(tabs, &QTabWidget::currentChanged, this, [&] { ++switches; });
    // A scheduled run that succeeds shows no box.
    model.ScheduleTick();
    QVERIFY(!QApplication::activeModalWidget());
    model.processEvents = pump;
    QVERIFY(!shown.isEmpty());
    QVERIFY2(shown.first().startsWith(QStringLiteral("Backing up 'Docs': ")), qPrintable(shown.first()));
    QVERIFY2(shown.first().contains(QStringLiteral("|Brisko ZIP Backup: Backing up 'Docs': ")),
             qPrintable(shown.first()));
    QCOMPARE(switches, 0);  // never switched away and back
    QCOMPARE(tabs->currentIndex(), 1);
    QCOMPARE(restoreTo->text(), QStringLiteral("/typed/target"));
    QCOMPARE(filter->text(), QStringLiteral("rep"));
    QCOMPARE(window_->Restore().Browser().Archives().size(), size_t(2));
    QCOMPARE(window_->Restore().Browser().CurrentName(), std::string("Docs1.zip"));
    QVERIFY(window_->Restore().SelectedMembers() == chosen);
    QVERIFY(Find<QLabel>(window_.get(), "LabelRun")->text().isEmpty());
    // The last backup, in the status bar and below the tray's usual tooltip.
    const QString last = Find<QLabel>(window_.get(), "LabelLastBackup")->text();
    QVERIFY2(last.startsWith(QStringLiteral("Last backup: ")) &&
                 last.endsWith(QStringLiteral(", succeeded (verified)")),
             qPrintable(last));
    QCOMPARE(window_->Tray().Tooltip(),
             QString::fromLatin1(brisko::ui::TrayController::kTooltip) + QStringLiteral("\nDocs: ") + last);
  }

  void clearAllLogEmptiesTheGrid() {
    Open(true);
    {
      ModalAnswerer answer;
      answer.Then(brisko::uitest::Ok());
      Button("SpStart")->click();
      QVERIFY(WaitFor([&] { return answer.AllAnswered(); }));
    }
    auto* log = Find<QTableWidget>(window_.get(), "StringGridLog");
    QVERIFY(!log->item(0, 0)->text().isEmpty());
    QMenu* menu = log->parentWidget()->findChild<QMenu*>(QStringLiteral("PopupMenuLog"));
    menu->findChild<QAction*>(QStringLiteral("ClearAllLog"))->trigger();
    QVERIFY(log->item(0, 0)->text().isEmpty());
  }
};

BRISKO_UI_TEST(MainWindowTest);
#include "MainWindowTest.moc"
