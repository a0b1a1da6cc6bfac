// Notices reach the desktop's notification service on the session bus, and the fallback exactly
// once when no service answers. Runs on a private bus of its own.
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QProcess>
#include <QTest>
#include <vector>

#include "UiTestRegistry.h"
#include "ui/DesktopNotifier.h"

namespace {

// Stands in for the desktop's notification service.
class FakeNotifications : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
 public:
  QStringList received;
  int urgency = -1;

 public slots:
  uint Notify(const QString&, uint, const QString&, const QString& summary, const QString& body,
              const QStringList&, const QVariantMap& hints, int) {
    received << summary + QStringLiteral(": ") + body;
    urgency = hints.value(QStringLiteral("urgency")).toInt();
    return 1;
  }
};

}  // namespace

class DesktopNotifierTest : public QObject {
  Q_OBJECT
 private slots:
  void serviceGetsTheNoticeElseTheFallbackOnce() {
    QProcess daemon;
    daemon.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                                 QStringLiteral("--print-address=1")});
    if (!daemon.waitForStarted(5000)) QSKIP("no dbus-daemon");
    QVERIFY(daemon.waitForReadyRead(5000));
    const QString address = QString::fromUtf8(daemon.readLine()).trimmed();
    QDBusConnection client = QDBusConnection::connectToBus(address, QStringLiteral("notifier-client"));
    QDBusConnection service = QDBusConnection::connectToBus(address, QStringLiteral("notifier-service"));
    QVERIFY(client.isConnected() && service.isConnected());

    const brisko::core::Notice failure{brisko::core::NoticeKind::Failure, "Backup of 'Docs' failed",
                                       "The source folder /media/usb is missing"};
    std::vector<std::string> fallbacks;
    auto fallback = [&](const brisko::core::Notice& n) { fallbacks.push_back(n.title); };

    // No service on the bus: the fallback, once.
    brisko::ui::DesktopNotifier notifier(QStringLiteral("notifier-client"), fallback);
    notifier.Notify(failure);
    QTRY_COMPARE(fallbacks.size(), size_t{1});

    // A service: it gets the notice, critical, and the fallback stays quiet.
    FakeNotifications fake;
    QVERIFY(service.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &fake,
                                   QDBusConnection::ExportAllSlots));
    QVERIFY(service.registerService(QStringLiteral("org.freedesktop.Notifications")));
    notifier.Notify(failure);
    QTRY_COMPARE(fake.received.size(), 1);
    QCOMPARE(fake.received.front(),
             QStringLiteral("Backup of 'Docs' failed: The source folder /media/usb is missing"));
    QCOMPARE(fake.urgency, 2);
    QCOMPARE(fallbacks.size(), size_t{1});

    // No bus at all: the fallback at once.
    brisko::ui::DesktopNotifier unconnected(QStringLiteral("no-such-bus"), fallback);
    unconnected.Notify(failure);
    QCOMPARE(fallbacks.size(), size_t{2});

    QDBusConnection::disconnectFromBus(QStringLiteral("notifier-client"));
    QDBusConnection::disconnectFromBus(QStringLiteral("notifier-service"));
    daemon.kill();
    daemon.waitForFinished();
  }
};

BRISKO_UI_TEST(DesktopNotifierTest);
#include "DesktopNotifierTest.moc"
