// A second start hands over to the first instance, which comes forward; stale channels are taken over.
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTest>
#include <atomic>
#include <thread>

#include "UiTestRegistry.h"
#include "UiTestSupport.h"
#include "core/SystemClock.h"
#include "ui/MainWindow.h"
#include "ui/SingleInstance.h"

using brisko::ui::SingleInstance;

class SingleInstanceTest : public QObject {
  Q_OBJECT
 private:
  static QString UniqueName() {
    return QStringLiteral("brisko-test-%1-%2").arg(QCoreApplication::applicationPid()).arg(++counter_);
  }
  static inline int counter_ = 0;

 private slots:
  void secondStartHandsOverAndEnds() {
    const QString name = UniqueName();
    SingleInstance first(name);
    QVERIFY(first.Claim());
    QSignalSpy spy(&first, &SingleInstance::activationRequested);
    // The second start blocks on the channel as a second process would; it runs on its own thread
    // so that the first instance can answer from this thread's event loop.
    std::atomic<int> claimed{-1};
    std::thread second([&] {
      SingleInstance later(name);
      claimed = later.Claim() ? 1 : 0;
    });
    const bool done = brisko::uitest::WaitFor([&] { return claimed.load() >= 0; }, 8000);
    second.join();
    QVERIFY(done);
    QCOMPARE(claimed.load(), 0);  // the later start must end
    QCOMPARE(spy.count(), 1);     // and the first one comes forward
  }

  void firstStartWithNobodyListeningClaims() {
    SingleInstance only(UniqueName());
    QVERIFY(!only.NotifyRunning(200));
    QVERIFY(only.Claim());
  }

  void busyInstanceIsNeverTakenForDead() {
    const QString name = UniqueName();
    // A server that does not answer stands in for an instance busy with a backup.
    QLocalServer busy;
    QVERIFY(busy.listen(name));
    SingleInstance later(name);
    QVERIFY(later.NotifyRunning(300, 300));
    QVERIFY(QFileInfo::exists(busy.fullServerName()));  // its channel is left alone
  }

  void channelLeftByACrashedInstanceIsTakenOver() {
    const QString name = UniqueName();
    QString leftover;
    {
      QLocalServer gone;
      QVERIFY(gone.listen(name));
      leftover = gone.fullServerName();
    }
    QFile stale(leftover);  // the file stays behind, nobody listens on it
    QVERIFY(stale.open(QIODevice::WriteOnly));
    stale.close();
    SingleInstance next(name);
    QVERIFY(next.Claim());
  }

  void namesAreDistinctPerUser() {
    const QString mine = SingleInstance::DefaultName();
    QVERIFY(mine.startsWith(QStringLiteral("brisko-zip-backup-")));
    const QByteArray saved = qgetenv("USER");
    qputenv("USER", "someone-else");
    const QString other = SingleInstance::DefaultName();
    qputenv("USER", saved);
    QVERIFY(other != mine);
  }

  void runningWindowComesForwardFromTheTray() {
    brisko::uitest::DataFolder data;
    brisko::ui::MainWindow window(data.DataDir(), brisko::core::SystemClock::Instance());
    window.Start();
    window.ShowAtStart();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.showMinimized();
    window.hide();
    window.BringToFront();
    QVERIFY(window.isVisible());
    QVERIFY(!window.isMinimized());
    window.close();
  }
};

BRISKO_UI_TEST(SingleInstanceTest);
#include "SingleInstanceTest.moc"
