// Every dialog: resizable within a laptop screen at text scaling, Esc cancels, buttons in a button box.
#include <QDialogButtonBox>
#include <QLabel>
#include <QPointer>
#include <QTest>
#include <functional>
#include <memory>

#include "UiTestRegistry.h"
#include "UiTestSupport.h"
#include "core/ManualClock.h"
#include "ui/AboutDialog.h"
#include "ui/AddProjectWizard.h"
#include "ui/HelpLauncher.h"
#include "ui/HelpViewer.h"
#include "ui/PreferencesDialog.h"
#include "ui/ProjectNameDialog.h"
#include "ui/QtUserInteraction.h"
#include "ui/SelectByWildcardDialog.h"
#include "ui/WildcardListDialog.h"

class DialogsTest : public QObject {
  Q_OBJECT
 private slots:
  void dialogsFitResizeAndCancelWithEsc() {
    brisko::uitest::DataFolder data;
    const std::string dir = data.DataDir();
    brisko::ui::QtUserInteraction ui(nullptr);
    brisko::core::ManualClock clock(45000);
    const struct {
      const char* name;
      std::function<QDialog*()> make;
    } dialogs[] = {
        {"about", [] { return new brisko::ui::AboutDialog(); }},
        {"rename",
         [] {
           return new brisko::ui::ProjectNameDialog(QStringLiteral("Copy Project"), QStringLiteral("x"));
         }},
        {"preferences", [] { return new brisko::ui::PreferencesDialog({}, {}, {}); }},
        {"wizard", [&] { return new brisko::ui::AddProjectWizard(dir, {}, {}, ui, clock); }},
        {"wildcard", [&] { return new brisko::ui::WildcardListDialog(dir, ui); }},
        {"select by wildcard", [&] { return new brisko::ui::SelectByWildcardDialog(dir, ui); }},
        {"help", [] { return new brisko::ui::HelpViewer(); }},
    };
    for (const auto& d : dialogs) {
      std::unique_ptr<QDialog> dialog(d.make());
      const QString label = QString::fromLatin1(d.name);
      QVERIFY2(dialog->minimumSize() != dialog->maximumSize(), d.name);
      QVERIFY2(dialog->findChild<QDialogButtonBox*>(), d.name);
      // 1366x768 at 125% and 150%, less a panel and the title bar.
      for (const double scale : {1.25, 1.5}) {
        const QSize room(static_cast<int>(1366 / scale), static_cast<int>(768 / scale) - 70);
        const QSize least = dialog->minimumSizeHint().expandedTo(dialog->minimumSize());
        QVERIFY2(least.width() <= room.width() && least.height() <= room.height(),
                 qPrintable(label + QStringLiteral(" needs %1x%2").arg(least.width()).arg(least.height())));
      }
      dialog->show();
      QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
      QTest::keyClick(dialog.get(), Qt::Key_Escape);
      QVERIFY2(!dialog->isVisible(), d.name);
      QCOMPARE(dialog->result(), int(QDialog::Rejected));
    }
  }

  // Help needs no desktop program for HTML, and stays usable when asked from a modal dialog.
  void helpOpensInOwnWindowOwnedByTheModalDialog() {
    QDialog modal;
    modal.setModal(true);
    modal.show();
    QVERIFY(QTest::qWaitForWindowExposed(&modal));
    brisko::ui::HelpLauncher::Open(brisko::ui::kHelpBackupTab);
    QPointer<brisko::ui::HelpViewer> viewer = brisko::ui::HelpViewer::Current();
    QVERIFY(viewer && viewer->isVisible());
    QCOMPARE(viewer->parentWidget(), &modal);
    QVERIFY(viewer->Source().isLocalFile());
    modal.close();
    brisko::ui::HelpLauncher::Open(brisko::ui::kHelpMain);
    QVERIFY(brisko::ui::HelpViewer::Current() && !brisko::ui::HelpViewer::Current()->parentWidget());
    brisko::ui::HelpViewer::Current()->close();
  }

  void aboutBoxNamesVersionLicenceAndLocalHelp() {
    brisko::ui::AboutDialog about;
    QCOMPARE(about.findChild<QLabel*>(QStringLiteral("LabelVersion"))->text(), QStringLiteral("1.10"));
    QVERIFY(!about.findChild<QLabel*>(QStringLiteral("LabelLicence"))->text().isEmpty());
    QVERIFY(
        about.findChild<QLabel*>(QStringLiteral("LinkHelp"))->toolTip().endsWith(QStringLiteral("1.html")));
    for (const QLabel* label : about.findChildren<QLabel*>())
      QVERIFY2(!label->text().contains(QStringLiteral("example")), qPrintable(label->text()));
  }
};

BRISKO_UI_TEST(DialogsTest);
#include "DialogsTest.moc"
