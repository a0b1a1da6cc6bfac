// Notices through the desktop's notification service, else the fallback.
#include "ui/DesktopNotifier.h"

#ifdef BRISKO_HAVE_DBUS
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#endif

namespace brisko::ui {

DesktopNotifier::DesktopNotifier(Fallback fallback, QObject* parent)
    : DesktopNotifier(QString(), std::move(fallback), parent) {}

DesktopNotifier::DesktopNotifier(const QString& busConnectionName, Fallback fallback, QObject* parent)
    : QObject(parent), busName_(busConnectionName), fallback_(std::move(fallback)) {}

void DesktopNotifier::Notify(const core::Notice& notice) {
#ifdef BRISKO_HAVE_DBUS
  const QDBusConnection bus = busName_.isEmpty() ? QDBusConnection::sessionBus() : QDBusConnection(busName_);
  if (bus.isConnected()) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    QVariantMap hints;
    hints.insert(QStringLiteral("desktop-entry"), QStringLiteral("brisko-zip-backup"));
    // Critical: a failure stays on screen until the user has seen it.
    hints.insert(QStringLiteral("urgency"),
                 QVariant::fromValue(static_cast<uchar>(notice.kind == core::NoticeKind::Failure ? 2 : 1)));
    call << QStringLiteral("Brisko ZIP Backup") << 0u << QStringLiteral("brisko-zip-backup")
         << QString::fromStdString(notice.title) << QString::fromStdString(notice.body) << QStringList()
         << hints << -1;
    // Asynchronous: a slow or absent service must not hold up the window; no answer is a failure too.
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, 5000), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, notice](QDBusPendingCallWatcher* w) {
      if (QDBusPendingReply<uint>(*w).isError() && fallback_) fallback_(notice);
      w->deleteLater();
    });
    return;
  }
#endif
  if (fallback_) fallback_(notice);
}

}  // namespace brisko::ui
