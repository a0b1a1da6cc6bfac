// The notification-area icon and its menu: open, scheduling switch, per-project backups, help, exit.
#pragma once

#include <QIcon>
#include <QObject>
#include <functional>
#include <string>
#include <vector>

#include "core/view/MainModel.h"

class QAction;
class QMenu;
class QSystemTrayIcon;

namespace brisko::ui {

class TrayController : public QObject {
  Q_OBJECT
 public:
  static constexpr const char* kTooltip = "Brisko ZIP Backup. Right-click to backup";

  // The menu exists even where the desktop has no notification area, so its commands stay reachable.
  explicit TrayController(QObject* parent = nullptr);
  ~TrayController() override;

  // Whether an icon is actually shown in a notification area.
  bool Available() const { return icon_ != nullptr; }
  QMenu* Menu() const { return menu_; }
  QMenu* ProjectMenu() const { return projectMenu_; }
  QAction* SchedulingAction() const { return scheduling_; }

  void SetIcon(const QIcon& icon);
  void SetSchedulingCaption(const QString& caption);
  // One item per project, in list order, captioned exactly with the name (no accelerators).
  void SetProjects(const std::vector<core::TrayProjectItem>& items);
  // Disabled while a backup or restore runs.
  void SetProjectItemsEnabled(bool enabled);
  // "Stop" is offered only while a backup or restore runs.
  void SetStopEnabled(bool enabled);
  QAction* StopAction() const { return stop_; }
  // What is running, shown in the icon's tooltip; empty: the usual tooltip.
  void SetActivity(const QString& activity);
  // Lines below it in the tooltip: each project's last backup, warnings first.
  void SetStatusLines(const QString& lines);
  QString Tooltip() const { return tooltip_; }

  // An unattended run failed: the icon carries a mark until the user has looked (opened the window).
  void SetAttention(bool attention);
  bool Attention() const { return attention_; }
  // A message from the icon, where the desktop has no notification service.
  void ShowBalloon(const QString& title, const QString& body, bool failure);

 signals:
  void openRequested();
  void schedulingToggled();
  void projectChosen(const QString& name);
  void helpRequested();
  void exitRequested();
  void stopRequested();

 private:
  QSystemTrayIcon* icon_ = nullptr;
  QMenu* menu_;
  QMenu* projectMenu_;
  QAction* scheduling_;
  QAction* stop_;
  void UpdateTooltip();

  bool projectsEnabled_ = true;
  bool attention_ = false;
  QIcon baseIcon_;
  QString activity_;
  QString statusLines_;
  QString tooltip_ = QString::fromLatin1(kTooltip);
};

}  // namespace brisko::ui
