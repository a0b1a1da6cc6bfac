// The notification-area icon and its menu: open, scheduling switch, per-project backups, help, exit.
#include "ui/TrayController.h"

#include <QAction>
#include <QMenu>
#include <QPainter>
#include <QSystemTrayIcon>

#include "ui/AppImages.h"

namespace brisko::ui {

TrayController::TrayController(QObject* parent) : QObject(parent), menu_(new QMenu()) {
  menu_->setObjectName(QStringLiteral("PopupMenuTray"));
  QAction* open = menu_->addAction(QStringLiteral("Open main window"));
  open->setObjectName(QStringLiteral("TrayOpen"));
  menu_->addSeparator();
  scheduling_ = menu_->addAction(QStringLiteral("Disable scheduling"));
  scheduling_->setObjectName(QStringLiteral("TrayScheduling"));
  projectMenu_ = menu_->addMenu(QStringLiteral("Backup Project"));
  projectMenu_->setObjectName(QStringLiteral("TrayBackupProject"));
  stop_ = menu_->addAction(QStringLiteral("Stop the running backup"));
  stop_->setObjectName(QStringLiteral("TrayStop"));
  stop_->setEnabled(false);
  menu_->addSeparator();
  QAction* help = menu_->addAction(QStringLiteral("Help...              F1"));
  help->setObjectName(QStringLiteral("TrayHelp"));
  QAction* exit = menu_->addAction(QStringLiteral("E&xit"));
  exit->setObjectName(QStringLiteral("TrayExit"));

  connect(open, &QAction::triggered, this, &TrayController::openRequested);
  connect(scheduling_, &QAction::triggered, this, &TrayController::schedulingToggled);
  connect(help, &QAction::triggered, this, &TrayController::helpRequested);
  connect(exit, &QAction::triggered, this, &TrayController::exitRequested);
  connect(stop_, &QAction::triggered, this, &TrayController::stopRequested);

  if (QSystemTrayIcon::isSystemTrayAvailable()) {
    icon_ = new QSystemTrayIcon(AppImages::AppIcon(), this);
    icon_->setToolTip(tooltip_);
    icon_->setContextMenu(menu_);
    connect(icon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
      if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick) emit openRequested();
    });
    icon_->show();
  }
}

TrayController::~TrayController() {
  if (icon_) icon_->hide();
  delete menu_;
}

void TrayController::SetIcon(const QIcon& icon) {
  baseIcon_ = icon;
  SetAttention(attention_);
}

void TrayController::SetAttention(bool attention) {
  attention_ = attention;
  if (!icon_) return;
  if (!attention || baseIcon_.isNull()) {
    icon_->setIcon(baseIcon_.isNull() ? AppImages::AppIcon() : baseIcon_);
    return;
  }
  // The usual icon with a red mark in its corner: visible in any theme and at any panel size.
  QPixmap marked = baseIcon_.pixmap(64, 64);
  QPainter painter(&marked);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(Qt::white, 3));
  painter.setBrush(QColor(220, 30, 30));
  painter.drawEllipse(QRect(30, 30, 32, 32));
  painter.setPen(QPen(Qt::white, 6, Qt::SolidLine, Qt::RoundCap));
  painter.drawLine(46, 37, 46, 49);
  painter.drawPoint(46, 56);
  painter.end();
  icon_->setIcon(QIcon(marked));
}

void TrayController::ShowBalloon(const QString& title, const QString& body, bool failure) {
  if (icon_)
    icon_->showMessage(title, body, failure ? QSystemTrayIcon::Critical : QSystemTrayIcon::Information);
}

void TrayController::SetStatusLines(const QString& lines) {
  statusLines_ = lines;
  UpdateTooltip();
}

void TrayController::SetSchedulingCaption(const QString& caption) {
  scheduling_->setText(caption);
}

void TrayController::SetProjects(const std::vector<core::TrayProjectItem>& items) {
  projectMenu_->clear();
  for (const core::TrayProjectItem& item : items) {
    QString caption = QString::fromStdString(item.name);
    // A single & would turn the next letter into an accelerator; the caption must show the name as is.
    caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
    QAction* action = projectMenu_->addAction(caption);
    action->setObjectName(QStringLiteral("TrayProject"));
    action->setData(QString::fromStdString(item.name));
    if (item.scheduled) action->setIcon(QIcon(AppImages::Clock()));
    action->setEnabled(projectsEnabled_);
    connect(action, &QAction::triggered, this,
            [this, action] { emit projectChosen(action->data().toString()); });
  }
}

void TrayController::SetActivity(const QString& activity) {
  activity_ = activity;
  UpdateTooltip();
}

void TrayController::UpdateTooltip() {
  QString tooltip =
      activity_.isEmpty() ? QString::fromLatin1(kTooltip) : QStringLiteral("Brisko ZIP Backup: ") + activity_;
  if (!statusLines_.isEmpty()) tooltip += QLatin1Char('\n') + statusLines_;
  if (tooltip == tooltip_) return;
  tooltip_ = tooltip;
  if (icon_) icon_->setToolTip(tooltip_);
}

void TrayController::SetStopEnabled(bool enabled) {
  stop_->setEnabled(enabled);
}

void TrayController::SetProjectItemsEnabled(bool enabled) {
  projectsEnabled_ = enabled;
  for (QAction* action : projectMenu_->actions()) action->setEnabled(enabled);
}

}  // namespace brisko::ui
