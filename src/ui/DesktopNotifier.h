// Notices through the desktop's notification service on the session bus; where none answers (no
// bus, no service, a system without one), through the given fallback, the tray icon's balloon.
#pragma once

#include <QObject>
#include <QString>
#include <functional>

#include "core/Notifier.h"

namespace brisko::ui {

class DesktopNotifier : public QObject, public core::Notifier {
  Q_OBJECT
 public:
  using Fallback = std::function<void(const core::Notice&)>;

  // On the session bus.
  explicit DesktopNotifier(Fallback fallback, QObject* parent = nullptr);
  // On the bus of that connection name (tests use a private bus).
  DesktopNotifier(const QString& busConnectionName, Fallback fallback, QObject* parent = nullptr);

  void Notify(const core::Notice& notice) override;

 private:
  QString busName_;
  Fallback fallback_;
};

}  // namespace brisko::ui
