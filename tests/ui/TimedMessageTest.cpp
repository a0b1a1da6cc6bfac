// The timed message box: closes itself, closes at once on Enter/Escape/OK, captions, icons, lines.
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "UiTestRegistry.h"
#include "UiTestSupport.h"
#include "ui/TimedMessageBox.h"

using brisko::core::MessageKind;
using brisko::ui::TimedMessageBox;

class TimedMessageTest : public QObject {
  Q_OBJECT
 private slots:
  void closesItselfAfterItsSeconds() {
    QElapsedTimer clock;
    clock.start();
    TimedMessageBox::ShowTimed(QStringLiteral("Backup Files Succeeds!"), MessageKind::Information, 1);
    const qint64 ms = clock.elapsed();
    QVERIFY2(ms >= 900 && ms < 3000, qPrintable(QString::number(ms)));
  }

  void keysAndButtonCloseAtOnce_data() {
    QTest::addColumn<int>("how");
    QTest::newRow("Escape") << 0;
    QTest::newRow("Enter") << 1;
    QTest::newRow("OK button") << 2;
  }
  void keysAndButtonCloseAtOnce() {
    QFETCH(int, how);
    brisko::uitest::ModalAnswerer answer;
    answer.Then([how](QWidget* d) {
      if (how == 0) QTest::keyClick(d, Qt::Key_Escape);
      if (how == 1) QTest::keyClick(d->focusWidget() ? d->focusWidget() : d, Qt::Key_Return);
      if (how == 2) d->findChild<QPushButton*>(QStringLiteral("OKButton"))->click();
    });
    QElapsedTimer clock;
    clock.start();
    TimedMessageBox::ShowTimed(QStringLiteral("text"), MessageKind::Warning, 30);
    QVERIFY(clock.elapsed() < 5000);
    QCOMPARE(answer.Answered(), 1);
  }

  void captionsAndIconsFollowTheKind_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("icon");
    QTest::newRow("warning") << int(MessageKind::Warning) << "Warning" << true;
    QTest::newRow("error") << int(MessageKind::Error) << "Error" << true;
    QTest::newRow("information") << int(MessageKind::Information) << "Information" << true;
    QTest::newRow("confirmation") << int(MessageKind::Confirmation) << "Confirm" << true;
    QTest::newRow("custom") << int(MessageKind::Custom) << "Brisko ZIP Backup" << false;
  }
  void captionsAndIconsFollowTheKind() {
    QFETCH(int, kind);
    QFETCH(QString, caption);
    QFETCH(bool, icon);
    TimedMessageBox form(QStringLiteral("x"), static_cast<MessageKind>(kind), 4);
    QCOMPARE(form.windowTitle(), caption);
    QCOMPARE(form.findChild<QLabel*>(QStringLiteral("IconLabel")) != nullptr, icon);
    QCOMPARE(form.Interval(), 4000);
    QCOMPARE(form.findChild<QPushButton*>(QStringLiteral("OKButton"))->text(), QStringLiteral("OK"));
  }

  void carriageReturnsBreakLinesAndLongLinesWrap() {
    TimedMessageBox form(QStringLiteral("one\rtwo\rthree"), MessageKind::Information, 4);
    auto* label = form.findChild<QLabel*>(QStringLiteral("Message"));
    QCOMPARE(label->text(), QStringLiteral("one\ntwo\nthree"));
    const QString longLine(2000, QLatin1Char('w'));
    TimedMessageBox wide(QString(longLine).replace(QStringLiteral("wwwww"), QStringLiteral("wwww ")),
                         MessageKind::Information, 4);
    const int half = wide.screen()->geometry().width() / 2;
    QVERIFY(wide.width() <= half + 32 + 200);
    QVERIFY(wide.height() > form.height());
  }
};

BRISKO_UI_TEST(TimedMessageTest);
#include "TimedMessageTest.moc"
